#include "reports/ui/sales_ranking_screen.h"

#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "reports/sales_query.h"
#include "reports/ui/reports_query_screens.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegend>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace kestavion {

using namespace reportsui;

SalesRankingScreen::SalesRankingScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSellGroup"));
    setWindowTitle(QStringLiteral("销售排行"));
    SSTab = new QTabWidget(this);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    auto *page = new QWidget(SSTab);
    SSTab->addTab(page, QStringLiteral("售货明细查询"));
    chartTab = new ChartTab(SSTab, ctx.prompt(), QStringLiteral("销售排行.png"));
    chartTab->setObjectName(QStringLiteral("chartTab"));
    SSTab->addTab(chartTab, QStringLiteral("排行图（前%1名）").arg(kChartTop));

    auto *beginLabel = new QLabel(QStringLiteral("开始日期"), page);
    DTBeginTime = queryDatePicker(page, "DTBeginTime", ctx.today());
    auto *endLabel = new QLabel(QStringLiteral("结束日期"), page);
    DTEndTime = queryDatePicker(page, "DTEndTime", ctx.today());
    cmdQuery = namedButton(page, "cmdQuery", QStringLiteral("排 行(&P)"));
    VSSell = new Grid(page);
    VSSell->setObjectName(QStringLiteral("VSSell"));
    auto *filters = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{beginLabel, DTBeginTime, endLabel, DTEndTime, cmdQuery})
        filters->addWidget(w);
    filters->addStretch();
    auto *v = new QVBoxLayout(page);
    v->addLayout(filters);
    v->addWidget(VSSell, 1);
    auto *top = new QVBoxLayout(this);
    top->addWidget(SSTab);
    resize(1100, 640);

    EnterToTab::install({DTBeginTime, DTEndTime});
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    connect(cmdQuery, &QPushButton::clicked, this, &SalesRankingScreen::query);
    VSSell->bind(SalesQuery::rankingHeadings());
    VSSell->sizeColumns(1400);
    DTBeginTime->setFocus();
}

void SalesRankingScreen::query() {
    ResultSet rows;
    if (!runQuery(ctx_, [&] {
            rows = SalesQuery(ctx_.database(), ctx_.session).ranking(DTBeginTime->date(), DTEndTime->date());
        })) {
        VSSell->clearRows();
        showChart(ResultSet());
        return;
    }
    VSSell->bind(rows);
    VSSell->sizeColumns(1400);
    showChart(rows);
}

void SalesRankingScreen::showChart(const ResultSet &ranking) {
    auto *chart = new QChart;
    chart->setTitle(QStringLiteral("销售排行前%1名（%2 至 %3）")
                        .arg(kChartTop)
                        .arg(DTBeginTime->date().toString(Qt::ISODate), DTEndTime->date().toString(Qt::ISODate)));
    chart->legend()->hide();
    const int n = std::min(ranking.rowCount(), kChartTop);
    auto *set = new QBarSet(QStringLiteral("数量"));
    set->setLabelColor(Qt::black);
    QStringList labels;
    double most = 0;
    // Best seller at the top: horizontal bars run from the bottom up.
    for (int i = n - 1; i >= 0; --i) {
        const double qty = ranking.number(i, QStringLiteral("数量"));
        *set << qty;
        most = std::max(most, qty);
        labels << QStringLiteral("%1. %2 %3 %4")
                      .arg(i + 1)
                      .arg(ranking.text(i, QStringLiteral("货号")), ranking.text(i, QStringLiteral("尺码")),
                           ranking.text(i, QStringLiteral("颜色")));
    }
    auto *series = new QHorizontalBarSeries(chart);
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    chart->addSeries(series);
    auto *y = new QBarCategoryAxis(chart);
    y->append(labels);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    auto *x = new QValueAxis(chart);
    x->setTitleText(QStringLiteral("双"));
    x->setLabelFormat(QStringLiteral("%d"));
    x->setRange(0, std::max(4.0, std::ceil(most * 1.15)));
    x->applyNiceNumbers();
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    chartTab->setChart(chart, n == 0);
}

}  // namespace kestavion
