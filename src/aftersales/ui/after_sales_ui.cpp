#include "aftersales/ui/after_sales_ui.h"

#include "admin/ui/dictionary_screen.h"
#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace kestavion {

void SaleSearchControls::build(QWidget *parent, QGridLayout *layout, int row, const QDate &today) {
    chkDate = new QCheckBox(QStringLiteral("销售日期"), parent);
    chkDate->setObjectName(QStringLiteral("chkDate"));
    DT = new QDateEdit(today, parent);
    DT->setObjectName(QStringLiteral("DT"));
    DT->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DT->setCalendarPopup(true);
    chkNo = new QCheckBox(QStringLiteral("销售编号"), parent);
    chkNo->setObjectName(QStringLiteral("chkNo"));
    txtSellNo = new QLineEdit(parent);
    txtSellNo->setObjectName(QStringLiteral("txtSellNo"));
    chkType = new QCheckBox(QStringLiteral("货 号"), parent);
    chkType->setObjectName(QStringLiteral("chkType"));
    txtType = new QLineEdit(parent);
    txtType->setObjectName(QStringLiteral("txtType"));
    cmdQuery = namedButton(parent, "cmdQuery", QStringLiteral("查 询(&Q)"));
    layout->addWidget(chkDate, row, 0);
    layout->addWidget(DT, row, 1);
    layout->addWidget(chkNo, row, 2);
    layout->addWidget(txtSellNo, row, 3);
    layout->addWidget(chkType, row, 4);
    layout->addWidget(txtType, row, 5);
    layout->addWidget(cmdQuery, row, 6);
}

std::optional<SaleSearch> SaleSearchControls::conditions() const {
    if (!chkDate->isChecked() && !chkNo->isChecked() && !chkType->isChecked()) return std::nullopt;
    SaleSearch s;
    if (chkDate->isChecked()) s.date = DT->date();
    if (chkNo->isChecked()) s.sellNo = txtSellNo->text();
    if (chkType->isChecked()) s.typeNo = txtType->text();
    return s;
}

void dressSoldGrid(Grid *grid, bool hideGrade, double widthTwips) {
    for (int c = 1; c <= 7 && c < grid->cols(); ++c) grid->setColHidden(c, true);
    const int grade = grid->colIndex(QStringLiteral("等级"));
    if (grade > 0) grid->setColHidden(grade, hideGrade);
    fitColumns(grid, widthTwips);
}

void fitColumns(Grid *grid, double widthTwips, const QStringList &fixedKeys) {
    grid->sizeColumns(widthTwips);
    for (int c = 1; c < grid->cols(); ++c)
        if (!fixedKeys.contains(grid->colKey(c))) grid->widenToContents(c, c);
}

void showEmptySoldGrid(AppContext &ctx, Grid *grid, bool hideGrade, const QString &amountHeading) {
    try {
        grid->bind(emptySaleRows(ctx.database(), amountHeading));
    } catch (const DbError &e) {
        showDbError(ctx.prompt(), e);
    }
    dressSoldGrid(grid, hideGrade, 860);
}

int bindSaleSearch(AppContext &ctx, Grid *grid, const QString &permission, const SaleSearch &search,
                   const QString &amountHeading) {
    // Each search keeps its own place: a search that finds nothing leaves the list and
    // its place as they were.
    auto after = std::make_shared<std::optional<SaleRowKey>>();
    const int n = grid->bindRows(saleRowColumns(amountHeading), [&](const GridModel::RowSink &sink) {
        scanSaleRowPage(ctx.database(), ctx.session, permission, search, amountHeading, *after, kSaleSearchPage, sink);
    }, true);
    if (n < kSaleSearchPage) return n;
    grid->setMoreRows([&ctx, permission, search, amountHeading, after](const GridModel::RowSink &sink) {
        int read = 0;
        if (!runReporting(ctx.prompt(), [&] {
                read = scanSaleRowPage(ctx.database(), ctx.session, permission, search, amountHeading, *after,
                                       kSaleSearchPage, sink);
            }))
            return false;
        return read == kSaleSearchPage;
    });
    return n;
}

void showFoundSoldRows(Grid *grid, QLabel *lbTip, bool hideGrade) {
    lbTip->clear();
    grid->setFocus();
    grid->setRow(1);
    dressSoldGrid(grid, hideGrade, 860);
}

void enterMovesOn(Grid *grid, QWidget *next) {
    QObject::connect(grid, &Grid::keyPressed, next, [grid, next](QKeyEvent *e, bool *handled) {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && grid->row() > 0) {
            next->setFocus();
            *handled = true;
        }
    });
}

void addOnlyTab(QTabWidget *tabs, QWidget *page, const QString &caption) {
    tabs->addTab(page, caption);
    tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
}

QLabel *tipLabel(QWidget *parent) {
    auto *l = new QLabel(parent);
    l->setObjectName(QStringLiteral("lbTip"));
    l->setStyleSheet(QStringLiteral("color: red"));
    return l;
}

QLabel *helpLabel(QWidget *parent, const QString &text) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("lbTitle"));
    l->setWordWrap(true);
    return l;
}

void addReasonRow(AppContext &ctx, QWidget *screen, QBoxLayout *row, const QString &caption, const char *labelName,
                  int minWidth, const QString &item, QComboBox *&comResion, QPushButton *&cmdLeather) {
    auto *label = new QLabel(caption, screen);
    label->setObjectName(QString::fromLatin1(labelName));
    row->addWidget(label);
    // A long reason added through "…" neither widens the box nor pushes the row
    // sideways: the box keeps its width and shows a long entry ending in "…".
    comResion = fixedWidthComboBox(screen, minWidth);
    comResion->setObjectName(QStringLiteral("comResion"));
    row->addWidget(comResion);
    cmdLeather = namedButton(screen, "cmdLeather", QStringLiteral("…"));
    cmdLeather->setMaximumWidth(30);
    row->addWidget(cmdLeather);
    QComboBox *combo = comResion;
    QObject::connect(cmdLeather, &QPushButton::clicked, screen,
                     [&ctx, screen, item, combo] { openDictionaryFor(ctx, screen, item, combo); });
}

double gridNumber(const Grid *grid, int row, const QString &key) {
    return parseNumber(grid->text(row, key)).value_or(0);
}

}  // namespace kestavion
