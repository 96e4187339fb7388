#pragma once

#include "intake/goods_intake.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kestavion {

// The colour × size quantities of a batch intake: rows are the ticked colours, columns
// the ticked sizes, each in the order ticked. A quantity stays with its colour and
// size when other rows or columns come and go.
class BatchMatrix {
public:
    // Ticking adds the row/column at the end; unticking removes it with its cells.
    void setColour(const QString &colour, bool ticked);
    void setSize(const QString &size, bool ticked);

    const QStringList &colours() const { return colours_; }
    const QStringList &sizes() const { return sizes_; }

    // Quantity of (colour row, size column), both 0-based; 0 when empty.
    double quantity(int row, int col) const;
    // Cell text: empty, or the quantity's plain number.
    QString cellText(int row, int col) const;
    // A typed quantity: a number above 0 is kept (as its value, "1,000" → 1000);
    // anything else empties the cell. Returns the cell's new text.
    QString setCell(int row, int col, const QString &typed);
    void clearQuantities();

    double rowTotal(int row) const;
    double colTotal(int col) const;
    double total() const;
    // A total as a cell shows it: empty for 0.
    static QString totalText(double sum);

    // One intake per filled cell, row by row from the top, left to right; `base`
    // gives the description, prices and date, the cell its colour, size and quantity.
    std::vector<GoodsIntake> intakes(const GoodsIntake &base) const;

private:
    struct Cell {
        QString colour, size;
        double quantity;
    };
    const Cell *find(const QString &colour, const QString &size) const;

    QStringList colours_, sizes_;
    std::vector<Cell> cells_;
};

}  // namespace kestavion
