#pragma once

#include "aftersales/sale_rows.h"

#include <QString>
#include <QStringList>
#include <optional>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
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
// (a date, an article number) needs more room. The columns keyed in `fixedKeys` (free
// text such as a reason) keep the width and end a long text in "…".
void fitColumns(Grid *grid, double widthTwips, const QStringList &fixedKeys = {});

// Binds the empty sold-rows list (its headings; a failed read shows the engine's text)
// and dresses it as dressSoldGrid does.
void showEmptySoldGrid(AppContext &ctx, Grid *grid, bool hideGrade,
                       const QString &amountHeading = QStringLiteral("金额"));
// Rows a sale search reads at a time into a sold-rows list: more than a screen shows.
inline constexpr int kSaleSearchPage = 200;
// Binds the first page of a sale search (entry key `permission`) into the sold-rows
// list and reads each next page when the list is scrolled or moved to its end. No row
// found leaves the list as it was (with its own next pages); what the first read throws
// goes on; a later page that fails is reported and the list ends there. Returns the
// rows of the first page.
int bindSaleSearch(AppContext &ctx, Grid *grid, const QString &permission, const SaleSearch &search,
                   const QString &amountHeading = QStringLiteral("金额"));
// After the rows found were bound into the sold-rows list: the tip cleared, the
// first row chosen and the list focused and dressed.
void showFoundSoldRows(Grid *grid, QLabel *lbTip, bool hideGrade);
// Enter on a chosen row of the list moves the focus on to `next`.
void enterMovesOn(Grid *grid, QWidget *next);

// Adds `page` as the one tab of `tabs`; with one tab only, the tab bar is no stop for
// the keyboard.
void addOnlyTab(QTabWidget *tabs, QWidget *page, const QString &caption);
// The red tip line `lbTip` ("无记录！" and the like).
QLabel *tipLabel(QWidget *parent);
// The help text `lbTitle` at the foot of a screen.
QLabel *helpLabel(QWidget *parent, const QString &text);

// The reason row: its caption (label `labelName`), the reason list `comResion` and the
// "…" button `cmdLeather` that opens dictionary item `item` for it, added to `row`.
// The list is filled by the screen (fillComboFromDictionary) once its grid is read.
void addReasonRow(AppContext &ctx, QWidget *screen, QBoxLayout *row, const QString &caption, const char *labelName,
                  int minWidth, const QString &item, QComboBox *&comResion, QPushButton *&cmdLeather);

// A grid's cell read as a number (empty or not numeric reads 0).
double gridNumber(const Grid *grid, int row, const QString &key);

}  // namespace kestavion
