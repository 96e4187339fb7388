#include "foundation/ui/grid.h"
#include "printing/ui/print_screen.h"
#include "reports/query_shop_kit.h"
#include "reports/ui/reports_query_screens.h"
#include "reports/ui/sales_query_screen.h"
#include "reports/ui/sales_ranking_screen.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QPdfWriter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace kestavion::test {
namespace {

class SalesQueryScreenTest : public QueryShopTest {
protected:
    void SetUp() override {
        QueryShopTest::SetUp();
        const QString a = takeIn({QStringLiteral("Q1"), QStringLiteral("38")});
        const QString b = takeIn({QStringLiteral("Q2"), QStringLiteral("39"), QStringLiteral("白色"),
                                  QStringLiteral("女单鞋"), QStringLiteral("奥康"), 300});
        sell(a, QDate(2026, 12, 8), 200);
        sell(b, QDate(2026, 12, 8), 300);
        sell(b, QDate(2026, 12, 9), 255);
        returnPair(sell(a, QDate(2026, 12, 9), 200), QDate(2026, 12, 9));
    }
};

TEST_F(SalesQueryScreenTest, EnterFlowRunsTheQueryAndTheFiguresCountSaleRowsOnly) {
    clock.setDate(QDate(2026, 12, 9));
    SalesQueryScreen s(ctx);
    EXPECT_EQ(s.windowTitle(), QStringLiteral("售货查询"));
    EXPECT_EQ(s.SSTab->tabText(0), QStringLiteral("售货明细查询"));
    EXPECT_EQ(s.VSSell->textMatrix(0, 1), QStringLiteral("销售编号"));
    EXPECT_EQ(s.focusWidget(), s.DTBeginTime);
    s.DTBeginTime->setDate(QDate(2026, 12, 8));
    // Enter moves through the dates and lists to the button, and Enter clicks it.
    for (int i = 0; i < 4; ++i) QTest::keyClick(s.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(s.focusWidget(), s.cmdQuery);
    QTest::keyClick(s.cmdQuery, Qt::Key_Return);

    Grid *g = s.VSSell;
    EXPECT_EQ(column0(g), QStringList({"总合计", "合计", "", "合计", "", ""}));
    EXPECT_EQ(column(g, QStringLiteral("数量")), QStringList({"3", "1", "1", "2", "1", "1"}));
    EXPECT_EQ(column(g, QStringLiteral("实收金额")), QStringList({"755", "200", "200", "555", "300", "255"}));
    EXPECT_EQ(s.lbCount->text(), QStringLiteral("3"));
    EXPECT_EQ(s.lbAmount->text(), QStringLiteral("￥755"));

    // Printing hands the list over, its grand total first.
    int printedRows = 0;
    QString printedFirst;
    onNextModal([&](QWidget *dlg) {
        auto *print = qobject_cast<PrintScreen *>(dlg);
        ASSERT_NE(print, nullptr);
        printedRows = print->VSFlexGrid->rows();
        printedFirst = print->VSFlexGrid->textMatrix(1, 0);
        print->reject();
    });
    s.cmdPrint->click();
    EXPECT_EQ(printedRows, g->rows());
    EXPECT_EQ(printedFirst, QStringLiteral("总合计"));

    // An empty result clears the figures instead of keeping the last query's.
    s.comBrand->setCurrentText(QStringLiteral("其他"));
    ASSERT_GT(s.comBrand->currentIndex(), 0);
    s.cmdQuery->click();
    EXPECT_EQ(g->rows(), 1);
    EXPECT_TRUE(s.lbCount->text().isEmpty());
    EXPECT_TRUE(s.lbAmount->text().isEmpty());
    EXPECT_FALSE(s.chartTab->cmdChartPng->isEnabled());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SalesQueryScreenTest, ChartShowsEveryDayAndPrintsAndExports) {
    clock.setDate(QDate(2026, 12, 9));
    SalesQueryScreen s(ctx);
    s.DTBeginTime->setDate(QDate(2026, 12, 5));
    s.cmdQuery->click();
    const QList<QAbstractSeries *> series = s.chartTab->chart()->series();
    ASSERT_EQ(series.size(), 2);
    auto *pairs = qobject_cast<QLineSeries *>(series[0]);
    auto *money = qobject_cast<QLineSeries *>(series[1]);
    ASSERT_EQ(pairs->count(), 5);
    EXPECT_EQ(pairs->at(3).y(), 2);  // 12-08
    EXPECT_EQ(pairs->at(4).y(), 1);  // 12-09: the returned pair is gone
    EXPECT_EQ(money->at(3).y(), 500);
    EXPECT_EQ(money->at(0).y(), 0);
    ASSERT_TRUE(s.chartTab->cmdChartPrint->isEnabled());

    const QString png = path(QStringLiteral("chart.png"));
    ASSERT_TRUE(s.chartTab->savePng(png));
    QImage image(png);
    EXPECT_GE(image.width(), 1200);
    EXPECT_GE(image.height(), 800);
    const QString pdf = path(QStringLiteral("chart.pdf"));
    {
        QPdfWriter writer(pdf);
        ASSERT_TRUE(s.chartTab->printTo(writer));
    }
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_FALSE(s.chartTab->savePng(path(QStringLiteral("no/such/folder/chart.png"))));
}

using SalesRankingScreenTest = QueryShopTest;

TEST_F(SalesRankingScreenTest, RanksAndChartsTheBestTwenty) {
    // 22 Goods sold once each, the last one three times.
    for (int i = 1; i <= 22; ++i) {
        const QString g = takeIn({QStringLiteral("G%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("38"),
                                  QStringLiteral("黑色"), QStringLiteral("女单鞋"), QStringLiteral("自有品牌"), 100, 50});
        for (int n = 0; n < (i == 22 ? 3 : 1); ++n) sell(g, QDate(2026, 12, 9), 100);
    }
    SalesRankingScreen s(ctx);
    EXPECT_EQ(s.windowTitle(), QStringLiteral("销售排行"));
    EXPECT_EQ(s.cmdQuery->text(), QStringLiteral("排 行(&P)"));
    QTest::keyClick(s.DTBeginTime, Qt::Key_Return);
    QTest::keyClick(s.DTEndTime, Qt::Key_Return);
    EXPECT_EQ(s.focusWidget(), s.cmdQuery);
    QTest::keyClick(s.cmdQuery, Qt::Key_Return);
    EXPECT_EQ(s.VSSell->rows(), 23);
    EXPECT_EQ(s.VSSell->textMatrix(1, 1), QStringLiteral("G22"));
    EXPECT_EQ(s.VSSell->text(1, QStringLiteral("数量")), QStringLiteral("3"));
    // Equal counts stand by article number.
    EXPECT_EQ(s.VSSell->textMatrix(2, 1), QStringLiteral("G01"));

    auto *bars = qobject_cast<QAbstractBarSeries *>(s.chartTab->chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    QBarSet *set = bars->barSets().value(0);
    ASSERT_EQ(set->count(), SalesRankingScreen::kChartTop);
    // The best seller is the top bar (the last one drawn), the twentieth the bottom.
    EXPECT_EQ(set->at(19), 3);
    EXPECT_EQ(set->at(0), 1);
}

}  // namespace
}  // namespace kestavion::test
