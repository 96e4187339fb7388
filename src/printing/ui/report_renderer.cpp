#include "printing/ui/report_renderer.h"

#include "printing/xlsx_export.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>

namespace kestavion {

namespace {

constexpr double kBodyPoints = 9;
constexpr double kTitlePoints = 16;
constexpr double kMarginMm = 12;
constexpr double kPadInches = 0.03;  // text inside a cell's borders

QFont reportFont(double points, bool bold) {
    QFont f;
    f.setFamilies(ReportRenderer::fontFamilies());
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QStringList titleLines(const QString &title) {
    if (title.isEmpty()) return {};
    QString t = title;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t.split(QLatin1Char('\n'));
}

}  // namespace

struct ReportRenderer::Metrics {
    double width = 0, height = 0;  // the page's paint area, device pixels
    double dpi = 96;
    double lineSpacing = 0;        // title lines
    double tableTop = 0;
    double rowHeight = 0;          // unscaled
    double scale = 1;
    double tableWidth = 0;         // unscaled
    double footerHeight = 0;
    std::vector<double> colWidths;
    std::vector<int> starts;       // first line of each page
};

QStringList ReportRenderer::fontFamilies() {
    return {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei"),
            QStringLiteral("Noto Sans CJK SC")};
}

void ReportRenderer::setUpPage(QPagedPaintDevice &device) const {
    device.setPageOrientation(report_.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

ReportRenderer::Metrics ReportRenderer::measure(QPagedPaintDevice &device) const {
    Metrics m;
    m.width = device.width();
    m.height = device.height();
    m.dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 96;
    const QFontMetricsF body(reportFont(kBodyPoints, false), &device);
    const QFontMetricsF title(reportFont(kTitlePoints, true), &device);
    const double gap = m.dpi * 0.08;
    const int nTitle = int(titleLines(report_.title).size());
    m.lineSpacing = title.lineSpacing();
    m.tableTop = nTitle > 0 ? nTitle * m.lineSpacing + gap : 0;
    m.footerHeight = body.height() + gap;
    m.rowHeight = body.height() * 1.6;
    const QFontMetricsF boldBody(reportFont(kBodyPoints, true), &device);
    const double pad = m.dpi * kPadInches;
    for (size_t i = 0; i < report_.columns.size(); ++i) {
        double w = report_.columns[i].widthTwips * m.dpi / 1440.0;
        if (report_.columns[i].gridCol == 0) {
            // The record-number column is narrow; it still shows "合计" and the
            // largest number whole.
            for (const GridReport::Line &ln : report_.lines)
                if (i < size_t(ln.cells.size()) && !ln.cells[int(i)].isEmpty())
                    w = std::max(w, boldBody.horizontalAdvance(ln.cells[int(i)]) + 3 * pad);
        }
        m.colWidths.push_back(w);
        m.tableWidth += w;
    }
    m.scale = (m.tableWidth > m.width && m.tableWidth > 0) ? m.width / m.tableWidth : 1.0;
    const double room = m.height - m.tableTop - m.footerHeight;
    const int perPage = std::max(1, int(std::floor(room / (m.rowHeight * m.scale))));
    m.starts = pageStarts(int(report_.lines.size()), perPage);
    return m;
}

int ReportRenderer::pageCount(QPagedPaintDevice &device) const { return int(measure(device).starts.size()); }

bool ReportRenderer::paint(QPagedPaintDevice &device) const {
    const Metrics m = measure(device);
    QPainter p;
    if (!p.begin(&device)) return false;
    const QFont bodyFont = reportFont(kBodyPoints, false);
    const QFont boldFont = reportFont(kBodyPoints, true);
    const QFont titleFont = reportFont(kTitlePoints, true);
    const QFontMetricsF bodyMetrics(bodyFont, &device);
    const QFontMetricsF boldMetrics(boldFont, &device);
    const QStringList title = titleLines(report_.title);
    const int pages = int(m.starts.size());
    QPen line(Qt::black);
    line.setWidthF(std::max(1.0, m.dpi / 150.0));
    const double pad = m.dpi * kPadInches;

    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage()) {
            p.end();
            return false;
        }
        p.setPen(Qt::black);
        p.setFont(titleFont);
        for (int i = 0; i < title.size(); ++i)
            p.drawText(QRectF(0, i * m.lineSpacing, m.width, m.lineSpacing), Qt::AlignCenter, title[i]);

        const int first = m.starts[size_t(page)];
        const int last = page + 1 < pages ? m.starts[size_t(page) + 1] : int(report_.lines.size());
        p.save();
        p.translate(std::max(0.0, (m.width - m.tableWidth * m.scale) / 2), m.tableTop);
        p.scale(m.scale, m.scale);
        for (int li = first; li < last; ++li) {
            const GridReport::Line &ln = report_.lines[size_t(li)];
            const double y = (li - first) * m.rowHeight;
            const QFontMetricsF &fm = ln.bold ? boldMetrics : bodyMetrics;
            p.setFont(ln.bold ? boldFont : bodyFont);
            double x = 0;
            for (size_t c = 0; c < m.colWidths.size(); ++c) {
                const QRectF cell(x, y, m.colWidths[c], m.rowHeight);
                QString text = c < size_t(ln.cells.size()) ? ln.cells[int(c)] : QString();
                text.replace(QLatin1Char('\n'), QLatin1Char(' '));
                text = fm.elidedText(text, Qt::ElideRight, std::max(0.0, cell.width() - 2 * pad));
                p.setPen(Qt::black);
                p.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignCenter, text);
                if (report_.borders) {
                    p.setPen(line);
                    p.drawLine(cell.topRight(), cell.bottomRight());
                    p.drawLine(cell.topLeft(), cell.topRight());
                    p.drawLine(cell.bottomLeft(), cell.bottomRight());
                    if (c == 0) p.drawLine(cell.topLeft(), cell.bottomLeft());
                }
                x += m.colWidths[c];
            }
        }
        p.restore();

        p.setPen(Qt::black);
        p.setFont(bodyFont);
        p.drawText(QRectF(0, m.height - bodyMetrics.height(), m.width, bodyMetrics.height()), Qt::AlignCenter,
                   pageFooterText(page + 1, pages));
    }
    return p.end();
}

void writeReportPdf(const ReportRenderer &renderer, const QString &path) {
    const QFileInfo info(path);
    QString tmpPath;
    {
        QTemporaryFile probe(info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX")).arg(info.fileName()));
        if (!probe.open())
            throw ExportError(
                QStringLiteral("无法在文件夹 %1 中写入文件。").arg(QDir::toNativeSeparators(info.absolutePath())));
        tmpPath = probe.fileName();
        probe.setAutoRemove(false);
    }
    bool ok = false;
    {
        QPdfWriter writer(tmpPath);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(renderer.report().title.trimmed());
        writer.setCreator(QStringLiteral("Kestavion"));
        renderer.setUpPage(writer);
        ok = renderer.paint(writer);
    }
    if (!ok || QFileInfo(tmpPath).size() == 0) {
        QFile::remove(tmpPath);
        throw ExportError(QStringLiteral("无法写入文件 %1。").arg(QDir::toNativeSeparators(path)));
    }
    replaceFile(tmpPath, path);
}

}  // namespace kestavion
