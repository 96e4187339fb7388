#include "reports/ui/after_sales_query_screens.h"

#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "reports/after_sales_query.h"
#include "reports/ui/reports_query_screens.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

using namespace reportsui;

namespace {
// One tab's page: 开始日期 [begin] 结束日期 [end] [查 询] over its list.
QWidget *queryPage(QTabWidget *tabs, const QString &caption, QDateEdit *&begin, const char *beginName, QDateEdit *&end,
                   const char *endName, QPushButton *&button, const char *buttonName, Grid *&grid,
                   const char *gridName, const QDate &today) {
    auto *page = new QWidget(tabs);
    tabs->addTab(page, caption);
    auto *beginLabel = new QLabel(QStringLiteral("开始日期"), page);
    begin = queryDatePicker(page, beginName, today);
    auto *endLabel = new QLabel(QStringLiteral("结束日期"), page);
    end = queryDatePicker(page, endName, today);
    button = namedButton(page, buttonName, QStringLiteral("查 询(&Q)"));
    grid = new Grid(page);
    grid->setObjectName(QString::fromLatin1(gridName));
    auto *row = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{beginLabel, begin, endLabel, end, button}) row->addWidget(w);
    row->addStretch();
    auto *v = new QVBoxLayout(page);
    v->addLayout(row);
    v->addWidget(grid, 1);
    EnterToTab::install({begin, end});
    return page;
}

QTabWidget *screenTabs(QDialog *screen) {
    auto *tabs = new QTabWidget(screen);
    tabs->setObjectName(QStringLiteral("SSTab"));
    auto *top = new QVBoxLayout(screen);
    top->addWidget(tabs);
    return tabs;
}

void finish(QDialog *screen, QTabWidget *tabs) {
    // A tab bar with one tab is no stop for the keyboard.
    if (tabs->count() == 1) tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    disableAutoDefault(screen);
    EnterClicksButtons::install(screen);
}
}  // namespace

// --- exchanges and returns ------------------------------------------------------

BackChangeQueryScreen::BackChangeQueryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmBackChangeQuery"));
    setWindowTitle(QStringLiteral("客户退换查询"));
    SSTab = screenTabs(this);
    queryPage(SSTab, QStringLiteral("调换记录"), DTBeginTime, "DTBeginTime", DTEndTime, "DTEndTime", cmdQuery_0,
              "cmdQuery_0", VSChange, "VSChange", ctx.today());
    queryPage(SSTab, QStringLiteral("退货记录"), DTB, "DTB", DTE, "DTE", cmdQuery_1, "cmdQuery_1", VSBack, "VSBack",
              ctx.today());
    resize(1150, 600);
    finish(this, SSTab);
    connect(cmdQuery_0, &QPushButton::clicked, this, [this] { query(0); });
    connect(cmdQuery_1, &QPushButton::clicked, this, [this] { query(1); });
    connect(SSTab, &QTabWidget::currentChanged, this, &BackChangeQueryScreen::query);
    query(0);
    DTBeginTime->setFocus();
}

void BackChangeQueryScreen::query(int index) {
    Grid *g = index == 0 ? VSChange : VSBack;
    const QDate from = index == 0 ? DTBeginTime->date() : DTB->date();
    const QDate to = index == 0 ? DTEndTime->date() : DTE->date();
    ResultSet rows;
    if (!runQuery(ctx_, [&] {
            AfterSalesQuery q(ctx_.database(), ctx_.session);
            rows = index == 0 ? q.exchanges(from, to) : q.returns(from, to);
        })) {
        g->clearRows();
        return;
    }
    showList(g, rows, 850);
}

// --- factory returns ----------------------------------------------------------

BackFactoryQueryScreen::BackFactoryQueryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmBackFactoryQuery"));
    setWindowTitle(QStringLiteral("厂家退货查询"));
    SSTab = screenTabs(this);
    queryPage(SSTab, QStringLiteral("厂家退货明细查询"), DTBeginTime, "DTBeginTime", DTEndTime, "DTEndTime", cmdQuery,
              "cmdQuery", VSFlexGrid, "VSFlexGrid", ctx.today());
    resize(1100, 600);
    finish(this, SSTab);
    connect(cmdQuery, &QPushButton::clicked, this, &BackFactoryQueryScreen::query);
    query();
    DTBeginTime->setFocus();
}

void BackFactoryQueryScreen::query() {
    Grid *g = VSFlexGrid;
    ResultSet rows;
    if (!runQuery(ctx_, [&] {
            rows = AfterSalesQuery(ctx_.database(), ctx_.session).factoryReturns(DTBeginTime->date(), DTEndTime->date());
        })) {
        g->clearRows();
        return;
    }
    showList(g, rows, 1100);
    if (g->rows() > 1) {
        g->subtotal(Grid::Aggregate::Sum, 1, g->colIndex(QStringLiteral("数量")));
        g->subtotal(Grid::Aggregate::Sum, 1, g->colIndex(QStringLiteral("退货金额")));
    }
}

// --- voids --------------------------------------------------------------------

BlankOutQueryScreen::BlankOutQueryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmBlankOutQuery"));
    setWindowTitle(QStringLiteral("销售作废查询"));
    SSTab = screenTabs(this);
    queryPage(SSTab, QStringLiteral("销售作废"), DTBlankOutB, "DTBlankOutB", DTBlankOutE, "DTBlankOutE", cmdQuery,
              "cmdQuery", VSBlankOut, "VSBlankOut", ctx.today());
    resize(1150, 600);
    finish(this, SSTab);
    connect(cmdQuery, &QPushButton::clicked, this, &BlankOutQueryScreen::query);
    query();
    DTBlankOutB->setFocus();
}

void BlankOutQueryScreen::query() {
    ResultSet rows;
    if (!runQuery(ctx_, [&] {
            rows = AfterSalesQuery(ctx_.database(), ctx_.session).voids(DTBlankOutB->date(), DTBlankOutE->date());
        })) {
        VSBlankOut->clearRows();
        return;
    }
    showList(VSBlankOut, rows, 850);
}

}  // namespace kestavion
