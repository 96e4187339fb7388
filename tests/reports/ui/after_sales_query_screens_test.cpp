#include "foundation/ui/grid.h"
#include "foundation/ui/screen_registry.h"
#include "mainwindow/ui/main_window.h"
#include "reports/query_shop_kit.h"
#include "reports/ui/after_sales_query_screens.h"
#include "reports/ui/reports_query_screens.h"

#include <QAction>
#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace kestavion::test {
namespace {

class AfterSalesQueryScreensTest : public QueryShopTest {
protected:
    void SetUp() override {
        QueryShopTest::SetUp();
        a = takeIn({QStringLiteral("H1")});
        b = takeIn({QStringLiteral("H2"), QStringLiteral("39"), QStringLiteral("白色")});
    }
    QString a, b;
};

TEST_F(AfterSalesQueryScreensTest, ExchangeAndReturnTabsKeepTheirOwnDates) {
    exchange(sell(a, QDate(2026, 12, 1), 200), b, 200, QDate(2026, 12, 9));
    returnPair(sell(a, QDate(2026, 12, 2), 200), QDate(2026, 12, 9));
    returnPair(sell(a, QDate(2026, 12, 3), 200), QDate(2026, 12, 4));

    clock.setDate(QDate(2026, 12, 9));
    BackChangeQueryScreen s(ctx);
    EXPECT_EQ(s.windowTitle(), QStringLiteral("客户退换查询"));
    // Opening lists today's exchanges.
    EXPECT_EQ(column(s.VSChange, QStringLiteral("调换日期")), QStringList({"2026-12-09"}));
    EXPECT_EQ(s.VSBack->rows(), 1);
    s.DTB->setDate(QDate(2026, 12, 1));
    s.SSTab->setCurrentIndex(1);
    EXPECT_EQ(column(s.VSBack, QStringLiteral("退货日期")), QStringList({"2026-12-04", "2026-12-09"}));
    EXPECT_EQ(s.DTBeginTime->date(), QDate(2026, 12, 9));
    // The first tab's query, run by its own button, still uses its own dates.
    s.DTE->setDate(QDate(2026, 12, 4));
    s.SSTab->setCurrentIndex(0);
    EXPECT_EQ(s.VSChange->rows(), 2);
    QTest::keyClick(s.DTBeginTime, Qt::Key_Return);
    QTest::keyClick(s.DTEndTime, Qt::Key_Return);
    EXPECT_EQ(s.focusWidget(), s.cmdQuery_0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AfterSalesQueryScreensTest, FactoryReturnsTotalEachArticleAndVoidsListToday) {
    sendToFactory(setAside(a, 2, QStringLiteral("开胶")), QDate(2026, 12, 9));
    sendToFactory(setAside(a, 1, QStringLiteral("断底")), QDate(2026, 12, 9));
    sendToFactory(setAside(b, 1, QStringLiteral("色差")), QDate(2026, 12, 9));
    setAside(b, 1, QStringLiteral("还在店里"));
    clock.setDate(QDate(2026, 12, 9));
    BackFactoryQueryScreen f(ctx);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("厂家退货查询"));
    EXPECT_EQ(column0(f.VSFlexGrid), QStringList({"合计", "", "", "合计", ""}));
    EXPECT_EQ(column(f.VSFlexGrid, QStringLiteral("数量")), QStringList({"3", "2", "1", "1", "1"}));
    EXPECT_EQ(column(f.VSFlexGrid, QStringLiteral("退货金额")), QStringList({"270", "180", "90", "90", "90"}));

    voidSale(sell(b, QDate(2026, 12, 9), 200), QDate(2026, 12, 9));
    BlankOutQueryScreen v(ctx);
    EXPECT_EQ(v.windowTitle(), QStringLiteral("销售作废查询"));
    EXPECT_EQ(column(v.VSBlankOut, QStringLiteral("作废原因")), QStringList({"收银错误"}));
    v.DTBlankOutB->setDate(QDate(2026, 12, 10));
    v.DTBlankOutE->setDate(QDate(2026, 12, 10));
    v.cmdQuery->click();
    EXPECT_EQ(v.VSBlankOut->rows(), 1);
}

// Each query entry of the menu, and the two toolbar keys, open their screen.
TEST_F(AfterSalesQueryScreensTest, MenuEntriesAndToolbarKeysOpenTheQueries) {
    ScreenRegistry registry;
    registerReportQueryScreens(registry);
    MainWindow w(ctx, registry);
    const std::vector<std::pair<QString, QString>> entries = {
        {QStringLiteral("StoreQuery"), QStringLiteral("frmStore")},
        {QStringLiteral("SellQuery"), QStringLiteral("frmSellQuery")},
        {QStringLiteral("SellGroup"), QStringLiteral("frmSellGroup")},
        {QStringLiteral("ClientChangeQuery"), QStringLiteral("frmBackChangeQuery")},
        {QStringLiteral("Back"), QStringLiteral("frmBackFactoryQuery")},
        {QStringLiteral("BlankOutQuery"), QStringLiteral("frmBlankOutQuery")}};
    auto opened = [](QAction *action) {
        QString name;
        onNextModal([&name](QWidget *dlg) {
            name = dlg->objectName();
            static_cast<QDialog *>(dlg)->reject();
        });
        action->trigger();
        return name;
    };
    for (const auto &[entry, screen] : entries) EXPECT_EQ(opened(w.menuEntry(entry)), screen);
    EXPECT_EQ(opened(w.toolbarButton(QStringLiteral("StoreQuery"))), QStringLiteral("frmStore"));
    EXPECT_EQ(opened(w.toolbarButton(QStringLiteral("SellQuery"))), QStringLiteral("frmSellQuery"));
    EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace kestavion::test
