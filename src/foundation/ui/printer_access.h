#pragma once

#include "foundation/print_job.h"

#include <QString>

class QPrinter;

namespace kestavion {

// Sends a receipt's print calls to a printer in a monospaced CJK face (a Chinese
// character two columns wide), so the receipt's columns line up.
class PrinterAccess {
public:
    virtual ~PrinterAccess() = default;
    // False when there is no printer or it cannot be opened ("没有发现打印机！").
    virtual bool print(const PrintJob &job) = 0;
    // Why the last print failed, when the printer said so ("打印机缺纸！"); empty
    // means the printer was not found.
    virtual QString problem() const { return {}; }
    // A character (thermal) printer's line width, for which the receipt is laid out
    // in characters; 0 for a page printer.
    virtual int thermalColumns() const { return 0; }

    static const QString &faceName();
    // Paints the calls onto an opened printer, one line under the other, new pages
    // as needed. False when the painter cannot begin.
    static bool paint(QPrinter &printer, const PrintJob &job);
};

// The system's default printer (CUPS on Linux).
class SystemPrinterAccess final : public PrinterAccess {
public:
    bool print(const PrintJob &job) override;
};

// Writes each job into a PDF file (the last one replaces the one before); for tests
// and for shops without a printer driver.
class PdfPrinterAccess final : public PrinterAccess {
public:
    explicit PdfPrinterAccess(QString path) : path_(std::move(path)) {}
    bool print(const PrintJob &job) override;
    const QString &path() const { return path_; }
    int jobsPrinted() const { return jobs_; }

private:
    QString path_;
    int jobs_ = 0;
};

}  // namespace kestavion
