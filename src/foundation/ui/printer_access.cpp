#include "foundation/ui/printer_access.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kestavion {

const QString &PrinterAccess::faceName() {
    static const QString face = QStringLiteral("WenQuanYi Zen Hei Mono");
    return face;
}

bool PrinterAccess::paint(QPrinter &printer, const PrintJob &job) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QFont font(faceName());
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int bottom = page.height();
    int y = 0;
    for (const PrintCall &call : job) {
        if (call.fontSize > 0) font.setPointSize(call.fontSize);
        font.setBold(call.bold);
        painter.setFont(font);
        const QFontMetrics fm(font, &printer);
        // Each call ends with a line break: its lines, then the cursor on the next line.
        const QStringList lines = call.text.split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (y + fm.height() > bottom) {
                printer.newPage();
                y = 0;
            }
            if (!line.isEmpty()) painter.drawText(0, y + fm.ascent(), line);
            y += fm.lineSpacing();
        }
    }
    return painter.end();
}

bool SystemPrinterAccess::print(const PrintJob &job) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("结帐单"));
    return paint(printer, job);
}

bool PdfPrinterAccess::print(const PrintJob &job) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path_);
    if (!paint(printer, job)) return false;
    ++jobs_;
    return true;
}

}  // namespace kestavion
