#include "reports/ui/sales_query_screen.h"

#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "printing/ui/print_screen.h"
#include "reports/ui/reports_query_screens.h"

#include <QChart>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace kestavion {

using namespace reportsui;

SalesQueryScreen::SalesQueryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSellQuery"));
    setWindowTitle(QStringLiteral("售货查询"));
    SSTab = new QTabWidget(this);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    auto *page = new QWidget(SSTab);
    SSTab->addTab(page, QStringLiteral("售货明细查询"));
    chartTab = new ChartTab(SSTab, ctx.prompt(), QStringLiteral("售货图表.png"));
    chartTab->setObjectName(QStringLiteral("chartTab"));
    SSTab->addTab(chartTab, QStringLiteral("每日售货图"));

    auto *beginLabel = new QLabel(QStringLiteral("开始日期"), page);
    DTBeginTime = queryDatePicker(page, "DTBeginTime", ctx.today());
    auto *endLabel = new QLabel(QStringLiteral("结束日期"), page);
    DTEndTime = queryDatePicker(page, "DTEndTime", ctx.today());
    auto *nameLabel = new QLabel(QStringLiteral("种 类："), page);
    comName = new QComboBox(page);
    comName->setObjectName(QStringLiteral("comName"));
    comName->setMinimumWidth(110);
    auto *brandLabel = new QLabel(QStringLiteral("品 牌："), page);
    comBrand = new QComboBox(page);
    comBrand->setObjectName(QStringLiteral("comBrand"));
    comBrand->setMinimumWidth(110);
    cmdQuery = namedButton(page, "cmdQuery", QStringLiteral("查 询(&Q)"));
    cmdPrint = namedButton(page, "cmdPrint", QStringLiteral("打印(&P)"));
    VSSell = new Grid(page);
    VSSell->setObjectName(QStringLiteral("VSSell"));
    auto *countCaption = new QLabel(QStringLiteral("共销售数量"), page);
    countCaption->setObjectName(QStringLiteral("lbCountCaption"));
    lbCount = new QLabel(page);
    lbCount->setObjectName(QStringLiteral("lbCount"));
    lbCount->setMinimumWidth(80);
    auto *amountCaption = new QLabel(QStringLiteral("金额累计"), page);
    amountCaption->setObjectName(QStringLiteral("lbAmountCaption"));
    lbAmount = new QLabel(page);
    lbAmount->setObjectName(QStringLiteral("lbAmount"));
    lbAmount->setMinimumWidth(120);
    for (QLabel *l : {lbCount, lbAmount}) l->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));

    auto *filters = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{beginLabel, DTBeginTime, endLabel, DTEndTime, nameLabel, comName,
                                                       brandLabel, comBrand, cmdQuery, cmdPrint})
        filters->addWidget(w);
    filters->addStretch();
    auto *figures = new QHBoxLayout;
    figures->addWidget(countCaption);
    figures->addWidget(lbCount);
    figures->addSpacing(24);
    figures->addWidget(amountCaption);
    figures->addWidget(lbAmount);
    figures->addStretch();
    auto *v = new QVBoxLayout(page);
    v->addLayout(filters);
    v->addWidget(VSSell, 1);
    v->addLayout(figures);
    auto *top = new QVBoxLayout(this);
    top->addWidget(SSTab);
    resize(1180, 680);

    fillComboFromDictionaryWithAll(ctx, QStringLiteral("种类"), comName);
    fillComboFromDictionaryWithAll(ctx, QStringLiteral("品牌"), comBrand);
    EnterToTab::install({DTBeginTime, DTEndTime, comName, comBrand});
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    connect(cmdQuery, &QPushButton::clicked, this, &SalesQueryScreen::query);
    connect(cmdPrint, &QPushButton::clicked, this, &SalesQueryScreen::print);

    VSSell->bind(SalesQuery::headings());
    VSSell->sizeColumns(820);
    DTBeginTime->setFocus();
}

void SalesQueryScreen::query() {
    SalesFilter f;
    f.from = DTBeginTime->date();
    f.to = DTEndTime->date();
    f.kind = chosen(comName);
    f.brand = chosen(comBrand);
    SalesQueryResult result;
    const bool ok = runQuery(ctx_, [&] { result = SalesQuery(ctx_.database(), ctx_.session).query(f); });
    Grid *g = VSSell;
    if (!ok) {
        g->clearRows();
    } else {
        g->bind(result.rows);
        g->sizeColumns(820);
        g->setColWidth(1, 1600);
        // A sale number and a date are wider than the other columns.
        for (const QString &key : {QStringLiteral("销售编号"), QStringLiteral("销售日期")}) {
            const int c = g->colIndex(key);
            g->autoSize(c, c);
        }
    }
    // The figures count the sale rows only: they are set before any total row is
    // added, and an empty list clears them.
    if (ok && result.count > 0) {
        lbCount->setText(QString::number(result.count));
        lbAmount->setText(QStringLiteral("￥") + result.amount.toString());
        const int qty = g->colIndex(QStringLiteral("数量"));
        const int amount = g->colIndex(QStringLiteral("实收金额"));
        g->subtotal(Grid::Aggregate::Sum, 1, qty);
        g->subtotal(Grid::Aggregate::Sum, 1, amount);
        g->subtotal(Grid::Aggregate::Sum, -1, amount);
        g->subtotal(Grid::Aggregate::Sum, -1, qty);
        // The total rows went in above the current row: show the list from its top,
        // the grand total first.
        g->scrollToTop();
    } else {
        lbCount->clear();
        lbAmount->clear();
    }
    showChart(ok ? SalesQuery::perDay(result, f.from, f.to) : std::vector<DaySales>{});
}

void SalesQueryScreen::showChart(const std::vector<DaySales> &days) {
    auto *chart = new QChart;
    chart->setTitle(QStringLiteral("每日售货（%1 至 %2）")
                        .arg(DTBeginTime->date().toString(Qt::ISODate), DTEndTime->date().toString(Qt::ISODate)));
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto *pairs = new QLineSeries(chart);
    pairs->setName(QStringLiteral("数量（双）"));
    auto *money = new QLineSeries(chart);
    money->setName(QStringLiteral("金额（元）"));
    double maxPairs = 0, maxMoney = 0;
    bool any = false;
    for (const DaySales &d : days) {
        const qreal x = qreal(QDateTime(d.day, QTime(0, 0)).toMSecsSinceEpoch());
        pairs->append(x, qreal(d.pairs));
        money->append(x, d.amount.toDouble());
        maxPairs = std::max(maxPairs, double(d.pairs));
        maxMoney = std::max(maxMoney, d.amount.toDouble());
        any = any || d.pairs != 0 || d.amount != Money();
    }
    // A single day still shows as a point.
    pairs->setPointsVisible(days.size() < 62);
    money->setPointsVisible(days.size() < 62);
    chart->addSeries(pairs);
    chart->addSeries(money);
    auto *x = new QDateTimeAxis(chart);
    x->setFormat(days.size() > 400 ? QStringLiteral("yyyy-MM") : QStringLiteral("MM-dd"));
    // One tick a day for a fortnight or so; beyond that the ticks fall between days.
    x->setTickCount(int(days.size() <= 16 ? std::max<size_t>(days.size(), 2) : 12));
    if (!days.empty()) {
        const QDateTime first(days.front().day, QTime(0, 0)), last(days.back().day, QTime(0, 0));
        x->setRange(days.size() == 1 ? first.addSecs(-43200) : first, days.size() == 1 ? last.addSecs(43200) : last);
    }
    chart->addAxis(x, Qt::AlignBottom);
    // The legend names the units; the axes get round steps.
    auto *yPairs = new QValueAxis(chart);
    yPairs->setLabelFormat(QStringLiteral("%d"));
    yPairs->setRange(0, std::max(4.0, maxPairs * 1.1));
    yPairs->applyNiceNumbers();
    auto *yMoney = new QValueAxis(chart);
    yMoney->setLabelFormat(QStringLiteral("%.0f"));
    yMoney->setRange(0, std::max(4.0, maxMoney * 1.1));
    yMoney->applyNiceNumbers();
    chart->addAxis(yPairs, Qt::AlignLeft);
    chart->addAxis(yMoney, Qt::AlignRight);
    pairs->attachAxis(x);
    pairs->attachAxis(yPairs);
    money->attachAxis(x);
    money->attachAxis(yMoney);
    chartTab->setChart(chart, !any);
}

void SalesQueryScreen::print() { openPrintScreen(ctx_, *VSSell, this); }

}  // namespace kestavion
