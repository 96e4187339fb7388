#pragma once

#include "foundation/grid_snapshot.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kestavion {

// How a grid is printed: the title in every page header (empty: none), cell
// borders, the record-number column (grid column 0) and the page orientation.
struct ReportOptions {
    QString title;
    bool borders = true;
    bool recordNumbers = false;
    bool landscape = false;
};

// A grid laid out as a report: the printed columns from left to right and the
// printed lines. Line 0 holds the headings (printed once, as the first line of the
// first page); a grid's total row, when present, is line 1.
struct GridReport {
    struct Column {
        int gridCol = 0;
        QString heading;
        int widthTwips = 0;
    };
    struct Line {
        QStringList cells;  // one per printed column
        bool bold = false;  // total rows
    };
    QString title;
    bool borders = true;
    bool landscape = false;
    std::vector<Column> columns;
    std::vector<Line> lines;

    int widthTwips() const;
};

// The columns printed: column 0 only with record numbers, then every column from 1
// on that is not hidden, in grid order.
GridReport buildGridReport(const GridSnapshot &grid, const ReportOptions &options);

// The page footer: "3 of 12".
QString pageFooterText(int page, int pageCount);

// Splits `lineCount` lines into pages of at most `linesPerPage` (at least 1) each;
// returns the first line of every page. An empty report still has one page.
std::vector<int> pageStarts(int lineCount, int linesPerPage);

// The cells a spreadsheet export holds: the heading row first, then every data row;
// every column that is not hidden, from left to right, column 0 included.
std::vector<QStringList> sheetRows(const GridSnapshot &grid);

}  // namespace kestavion
