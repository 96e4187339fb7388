#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kestavion {

// A copy of what a grid shows, for printing and export: headings, keys, hidden
// flags, widths (twips) and the text of every data row, total rows marked.
struct GridSnapshot {
    struct Column {
        QString heading;
        QString key;
        bool hidden = false;
        int widthTwips = 0;
        int alignment = 0;  // Qt::Alignment value
    };
    struct Row {
        QStringList cells;  // cells[0] is the row-header column
        bool isTotal = false;
    };
    std::vector<Column> columns;  // columns[0] is the row-header column
    std::vector<Row> rows;        // data rows only (grid rows 1..n)
};

}  // namespace kestavion
