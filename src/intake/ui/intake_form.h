#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace kestavion {

struct AppContext;
struct GoodsIntake;
class Grid;
class Prompter;

// Small builders shared by the intake screens: controls named as the screens'
// fields are named, laid out label-left in a grid.
namespace intakeform {

QLineEdit *lineEdit(QWidget *parent, const char *name);
// A drop-down list of one dictionary item (no typing), filled at once.
QComboBox *dictCombo(AppContext &ctx, QWidget *parent, const char *name, const QString &item);
// The "…" button beside a dictionary combo: opens the list, then refills the combo.
QPushButton *dictButton(AppContext &ctx, QWidget *parent, const char *name, const QString &item, QComboBox *combo);
// A date picker in yyyy-MM-dd with the calendar pop-up.
QDateEdit *datePicker(QWidget *parent, const char *name);
// The 备注 box `txtMemo`: 60 pixels high, Tab leaves it.
QPlainTextEdit *memoBox(QWidget *parent);
// Adds a row of cells to a list (cell 0 is the row-header column) at the end, or
// before `row` when row >= 1; a tab or line break typed into a field stays in its
// cell instead of spilling into the next columns. Returns the new row.
int addGridRow(Grid *grid, const QStringList &cells, int row = -1);
// Label in column `col`, the field in `col + 1` (and an optional "…" in `col + 2`).
void addRow(QGridLayout *grid, int row, int col, const QString &label, QWidget *field, QWidget *extra = nullptr);

// The description of one Goods as the new-goods and the correction forms show it:
// 货号, the seven dictionary lists each with its "…" button, 进价 and 数量.
struct GoodsFields {
    QLineEdit *txtNo;
    QComboBox *comName, *comBrand, *comSize, *comColour, *comLeather, *comGrade, *comProductPlace;
    QPushButton *cmdName, *cmdBrand, *cmdSize, *cmdColour, *cmdLeather, *cmdGrade, *cmdProductPlace;
    QLineEdit *txtPrice, *txtQuantity;

    // Creates the fields on `page` in the order above (the order Tab follows).
    void buildGoodsFields(AppContext &ctx, QWidget *page);
    // Lays them out in rows 0 to 4 of `g`, two a row; `nameCaption` labels comName.
    void layOutGoodsFields(QGridLayout *g, const QString &nameCaption);
    // Reads the description, 进价 and 数量 into `in`. An empty 货号 or 品牌, or a 进价 or
    // 数量 that is no number, is refused: false, its message shown through `prompter`
    // and the focus on the field.
    bool readGoodsFields(Prompter &prompter, GoodsIntake &in) const;
};

}  // namespace intakeform
}  // namespace kestavion
