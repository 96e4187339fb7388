#include "printing/grid_report.h"

#include <algorithm>

namespace kestavion {

int GridReport::widthTwips() const {
    int w = 0;
    for (const Column &c : columns) w += c.widthTwips;
    return w;
}

GridReport buildGridReport(const GridSnapshot &grid, const ReportOptions &options) {
    GridReport report;
    report.title = options.title;
    report.borders = options.borders;
    report.landscape = options.landscape;
    const int first = options.recordNumbers ? 0 : 1;
    for (int c = first; c < int(grid.columns.size()); ++c) {
        const GridSnapshot::Column &col = grid.columns[size_t(c)];
        if (col.hidden) continue;
        report.columns.push_back({c, col.heading, std::max(col.widthTwips, 0)});
    }
    report.lines.reserve(grid.rows.size() + 1);
    GridReport::Line headings;
    for (const GridReport::Column &c : report.columns) headings.cells << c.heading;
    report.lines.push_back(std::move(headings));
    for (const GridSnapshot::Row &row : grid.rows) {
        GridReport::Line line;
        line.bold = row.isTotal;
        line.cells.reserve(int(report.columns.size()));
        for (const GridReport::Column &c : report.columns)
            line.cells << (c.gridCol < row.cells.size() ? row.cells[c.gridCol] : QString());
        report.lines.push_back(std::move(line));
    }
    return report;
}

QString pageFooterText(int page, int pageCount) {
    return QStringLiteral("%1 of %2").arg(page).arg(pageCount);
}

std::vector<int> pageStarts(int lineCount, int linesPerPage) {
    linesPerPage = std::max(linesPerPage, 1);
    std::vector<int> starts{0};
    for (int at = linesPerPage; at < lineCount; at += linesPerPage) starts.push_back(at);
    return starts;
}

std::vector<QStringList> sheetRows(const GridSnapshot &grid) {
    std::vector<int> cols;
    for (int c = 0; c < int(grid.columns.size()); ++c)
        if (!grid.columns[size_t(c)].hidden) cols.push_back(c);
    std::vector<QStringList> out;
    out.reserve(grid.rows.size() + 1);
    QStringList headings;
    for (int c : cols) headings << grid.columns[size_t(c)].heading;
    out.push_back(std::move(headings));
    for (const GridSnapshot::Row &row : grid.rows) {
        QStringList cells;
        cells.reserve(int(cols.size()));
        for (int c : cols) cells << (c < row.cells.size() ? row.cells[c] : QString());
        out.push_back(std::move(cells));
    }
    return out;
}

}  // namespace kestavion
