#pragma once

#include "aftersales/sale_rows.h"

#include <QString>
#include <optional>

class QCheckBox;
class QDateEdit;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kestavion {

struct AppContext;
class Grid;

// The search row of the return and exchange screens: sale date, sale number,
// article number, each with its tick box, and the search button.
struct SaleSearchControls {
    QCheckBox *chkDate = nullptr;
    QDateEdit *DT = nullptr;
    QCheckBox *chkNo = nullptr;
    QLineEdit *txtSellNo = nullptr;
    QCheckBox *chkType = nullptr;
    QLineEdit *txtType = nullptr;
    QPushButton *cmdQuery = nullptr;

    // Creates the controls (children of `parent`) into one row of `layout`.
    void build(QWidget *parent, QGridLayout *layout, int row, const QDate &today);
    // nullopt when no box is ticked.
    std::optional<SaleSearch> conditions() const;
};

// A sold-rows grid after binding: the key columns 1 to 7 hidden (and 等级 when asked),
// columns sized to `widthTwips`.
void dressSoldGrid(Grid *grid, bool hideGrade, double widthTwips);

// Columns sized to `widthTwips` each, and wider where a heading or a shown value
// (a date, a long reason) needs more room.
void fitColumns(Grid *grid, double widthTwips);

// A grid's cell read as a number (empty or not numeric reads 0).
double gridNumber(const Grid *grid, int row, const QString &key);

}  // namespace kestavion
