#include "reports/ui/stock_query_screen.h"

#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "printing/ui/print_screen.h"
#include "reports/stock_query.h"
#include "reports/ui/reports_query_screens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

using namespace reportsui;

namespace {
const QString kQuantity = QStringLiteral("数量");
const QString kAll = QStringLiteral("全部");
const QString kHelp = QStringLiteral(
    "使用帮助：可输入货号直接查询某个货号的库存情况，也可选择品牌和种类点查询查询某个品牌和种类的鞋子。窗口下面的【不显示零库存】"
    "如果勾选后已经出售完的鞋子就不再显示，如果不勾选则显示零库存的鞋子。点击打印可打印库存或者导出到Excel中。");
}  // namespace

StockQueryScreen::StockQueryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmStore"));
    setWindowTitle(QStringLiteral("库存查询"));

    TabStrip = new QTabWidget(this);
    TabStrip->setObjectName(QStringLiteral("TabStrip"));
    auto *sellable = new QWidget(TabStrip);
    auto *problem = new QWidget(TabStrip);
    TabStrip->addTab(sellable, QStringLiteral("可售库存  "));
    TabStrip->addTab(problem, QStringLiteral("问题库存  "));

    auto *noLabel = new QLabel(QStringLiteral("货  号"), sellable);
    txtNo = new QLineEdit(sellable);
    txtNo->setObjectName(QStringLiteral("txtNo"));
    noLabel->setBuddy(txtNo);
    auto *nameLabel = new QLabel(QStringLiteral("种 类："), sellable);
    comName = new QComboBox(sellable);
    comName->setObjectName(QStringLiteral("comName"));
    comName->setMinimumWidth(120);
    auto *brandLabel = new QLabel(QStringLiteral("品 牌："), sellable);
    comBrand = new QComboBox(sellable);
    comBrand->setObjectName(QStringLiteral("comBrand"));
    comBrand->setMinimumWidth(120);
    cmdQuery = namedButton(sellable, "cmdQuery", QStringLiteral("查 询(&Q)"));
    VSFlexGrid = new Grid(sellable);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    VSQuestion = new Grid(problem);
    VSQuestion->setObjectName(QStringLiteral("VSQuestion"));

    auto *filters = new QHBoxLayout;
    filters->addWidget(noLabel);
    filters->addWidget(txtNo);
    filters->addSpacing(16);
    filters->addWidget(nameLabel);
    filters->addWidget(comName);
    filters->addWidget(brandLabel);
    filters->addWidget(comBrand);
    filters->addWidget(cmdQuery);
    filters->addStretch();
    auto *sv = new QVBoxLayout(sellable);
    sv->addLayout(filters);
    sv->addWidget(VSFlexGrid, 1);
    auto *pv = new QVBoxLayout(problem);
    pv->addWidget(VSQuestion, 1);

    chkZero = new QCheckBox(QStringLiteral("不显示零库存商品"), this);
    chkZero->setObjectName(QStringLiteral("chkZero"));
    chkZero->setChecked(true);
    cmdPrint = namedButton(this, "cmdPrint", QStringLiteral("打印(&P)"));
    lbTitle = helpLabel(this, kHelp);
    auto *foot = new QHBoxLayout;
    foot->addWidget(chkZero);
    foot->addStretch();
    foot->addWidget(cmdPrint);
    auto *top = new QVBoxLayout(this);
    top->addWidget(TabStrip, 1);
    top->addLayout(foot);
    top->addWidget(lbTitle);
    resize(1100, 680);

    wireArticleFilters(this, ctx, txtNo, comName, comBrand, cmdQuery, VSFlexGrid, chkZero);
    setTabOrder(chkZero, cmdPrint);

    connect(txtNo, &QLineEdit::textChanged, this, &StockQueryScreen::articleChanged);
    connect(cmdQuery, &QPushButton::clicked, this, &StockQueryScreen::queryKindBrand);
    connect(chkZero, &QCheckBox::toggled, this, &StockQueryScreen::zeroSwitched);
    connect(TabStrip, &QTabWidget::currentChanged, this, &StockQueryScreen::tabChanged);
    connect(cmdPrint, &QPushButton::clicked, this, &StockQueryScreen::print);

    loadAllStock();
    txtNo->setFocus();
}

void StockQueryScreen::showSellable(const ResultSet &rows, int mergeTo) {
    Grid *g = VSFlexGrid;
    g->bind(rows);
    g->sizeColumns(1160);
    if (g->rows() > 1) {
        g->setRow(1);
        const int qty = g->colIndex(kQuantity);
        g->subtotal(Grid::Aggregate::Sum, 1, qty);
        g->subtotal(Grid::Aggregate::Sum, -1, qty);
        // The total rows went in above the current row: show the list from its top,
        // the grand total first.
        g->scrollToTop();
    }
    QList<int> merge;
    for (int c = 1; c <= mergeTo && c < g->cols(); ++c) merge << c;
    g->setMergeCols(merge);
}

void StockQueryScreen::loadAllStock() {
    {
        const QSignalBlocker quiet(txtNo);
        txtNo->clear();
    }
    shown_ = Shown::All;
    stock_ = ResultSet();
    if (!runQuery(ctx_, [&] { stock_ = StockQuery(ctx_.database(), ctx_.session).shopStock(); })) {
        VSFlexGrid->clearRows();
        return;
    }
    showSellable(StockQuery::filter(stock_, QString(), chkZero->isChecked()), 7);
}

void StockQueryScreen::articleChanged() {
    // The article number matches anywhere in it, which no index serves: the shop's
    // stock read on opening is filtered here instead of asking the database.
    shown_ = txtNo->text().isEmpty() ? Shown::All : Shown::Article;
    showSellable(StockQuery::filter(stock_, txtNo->text(), chkZero->isChecked()), 7);
}

void StockQueryScreen::queryKindBrand() {
    const QString kind = chosen(comName), brand = chosen(comBrand);
    if (kind.isEmpty() && brand.isEmpty()) {
        loadAllStock();
        return;
    }
    shown_ = Shown::KindBrand;
    ResultSet rows;
    if (!runQuery(ctx_, [&] {
            rows = StockQuery(ctx_.database(), ctx_.session).byKindBrand(kind, brand, chkZero->isChecked());
        })) {
        VSFlexGrid->clearRows();
        return;
    }
    showSellable(rows, 6);
}

void StockQueryScreen::zeroSwitched() {
    // The list shown follows the switch at once.
    switch (shown_) {
    case Shown::All:
    case Shown::Article: articleChanged(); break;
    case Shown::KindBrand: queryKindBrand(); break;
    }
}

void StockQueryScreen::loadProblemStock() {
    Grid *g = VSQuestion;
    ResultSet rows;
    if (!runQuery(ctx_, [&] { rows = StockQuery(ctx_.database(), ctx_.session).problemStock(); })) {
        g->clearRows();
        return;
    }
    g->bind(rows);
    g->sizeColumns(1280);
    if (g->rows() > 1) {
        g->subtotal(Grid::Aggregate::Sum, 1, g->colIndex(kQuantity));
        g->subtotal(Grid::Aggregate::Sum, 1, g->colIndex(QStringLiteral("进价")));
    }
}

void StockQueryScreen::tabChanged(int index) {
    if (index == 0) {
        loadAllStock();
        txtNo->setFocus();
    } else {
        loadProblemStock();
    }
}

void StockQueryScreen::print() {
    // The sellable list is printed, whichever tab is showing.
    openPrintScreen(ctx_, *VSFlexGrid, this);
}

}  // namespace kestavion
