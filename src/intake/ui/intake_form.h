#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kestavion {

struct AppContext;
class Grid;

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
QPushButton *button(QWidget *parent, const char *name, const QString &caption);
// Adds a row of cells to a list (cell 0 is the row-header column) at the end, or
// before `row` when row >= 1; a tab or line break typed into a field stays in its
// cell instead of spilling into the next columns. Returns the new row.
int addGridRow(Grid *grid, const QStringList &cells, int row = -1);
// Label in column `col`, the field in `col + 1` (and an optional "…" in `col + 2`).
void addRow(QGridLayout *grid, int row, int col, const QString &label, QWidget *field, QWidget *extra = nullptr);

}  // namespace intakeform
}  // namespace kestavion
