#pragma once

#include "printing/grid_report.h"

#include <QString>

class QPagedPaintDevice;

namespace kestavion {

// Paints a grid report page by page onto any paged device (the preview's printer,
// a real printer, a PDF writer): the title centred in every page header, the lines
// as a table (with cell borders when asked), and "N of M" centred in every page
// footer. A table wider than the page is scaled down to fit its width.
class ReportRenderer {
public:
    explicit ReportRenderer(GridReport report) : report_(std::move(report)) {}

    const GridReport &report() const { return report_; }
    // The report's orientation and margins, set on a device before painting.
    void setUpPage(QPagedPaintDevice &device) const;
    // Paints every page; false when the device cannot be painted on.
    bool paint(QPagedPaintDevice &device) const;
    // Pages the report fills on this device (as set up).
    int pageCount(QPagedPaintDevice &device) const;

    // The report's font family list: 宋体 where installed, else a CJK sans face.
    static QStringList fontFamilies();

private:
    struct Metrics;
    Metrics measure(QPagedPaintDevice &device) const;

    GridReport report_;
};

// Writes the report into a PDF file (complete or not at all). Throws ExportError.
void writeReportPdf(const ReportRenderer &renderer, const QString &path);

}  // namespace kestavion
