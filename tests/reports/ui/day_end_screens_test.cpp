// The day's end screens: wiring, keys, focus and messages. The figures themselves are
// checked in the service tests.
#include "../day_end_kit.h"

#include "foundation/dictionary.h"
#include "foundation/refusal.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/screen_registry.h"
#include "reports/day_settlement.h"
#include "reports/other_expense.h"
#include "reports/ui/article_profit_screen.h"
#include "reports/ui/day_settlement_screen.h"
#include "reports/ui/other_expense_screen.h"
#include "reports/ui/profit_screen.h"
#include "reports/ui/reports_screens.h"
#include "reports/ui/settlement_summary_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace kestavion::test {
namespace {

using Kind = Prompter::Kind;

class DayEndScreenTest : public DayEndTest {
protected:
    static void showActive(QWidget &w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static void enter(QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }
    // Enter on a button clicks it.
    static void press(QPushButton *b) {
        b->setFocus();
        enter(b);
    }
    QDate intakeDay() const { return clock.today().addDays(-30); }
    void expectLast(Kind kind, const QString &text, const QString &title) {
        ASSERT_NE(prompter.last(), nullptr);
        EXPECT_EQ(prompter.last()->kind, kind);
        EXPECT_EQ(prompter.last()->text, text);
        EXPECT_EQ(prompter.last()->title, title);
    }
};

TEST_F(DayEndScreenTest, EachMenuEntryOpensItsScreen) {
    ScreenRegistry reg;
    registerReportsScreens(reg);
    const struct {
        const char *menu, *object, *caption;
    } screens[] = {{"DayAmount", "frmDayAmount", "日结算"},       {"AmountTotal", "frmAmountTotal", "结算汇总"},
                   {"Profit", "frmProfit", "利润分析"},           {"ProfitByNo", "frmProfitByNo", "单品利润分析"},
                   {"OtherOut", "frmOtherOut", "其他支出"},       {"OtherOutQuery", "frmOtherOutQuery", "其他指出查询"}};
    for (const auto &s : screens) {
        const ScreenEntry *e = reg.byMenu(QString::fromLatin1(s.menu));
        ASSERT_NE(e, nullptr) << s.menu;
        EXPECT_TRUE(e->modalFromMenu);
        std::unique_ptr<QDialog> screen(e->create(ctx, nullptr));
        EXPECT_EQ(screen->objectName(), QString::fromLatin1(s.object));
        EXPECT_EQ(screen->windowTitle(), QString::fromUtf8(s.caption));
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DayEndScreenTest, DaySettlementFromTheKeyboard) {
    const QString a = takeIn(QStringLiteral("RA001"), 200, 2, 90, intakeDay());
    const QString b = takeIn(QStringLiteral("RB002"), 230, 2, 110, intakeDay());
    const QDate today = clock.today();
    exchange(sell({{a, 200}}, today)[0], b, 230, today);

    DaySettlementScreen w(ctx);
    showActive(w);
    EXPECT_EQ(w.DTDate->date(), today);
    EXPECT_TRUE(w.lbRecive->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), w.DTDate);
    enter(w.DTDate);
    EXPECT_EQ(QApplication::focusWidget(), w.cmdCheckOut);
    enter(w.cmdCheckOut);
    EXPECT_EQ(w.lbSellCount->text(), QStringLiteral("1"));
    EXPECT_EQ(w.lbBackAmount->text(), QStringLiteral("￥0"));
    EXPECT_EQ(w.lbChangeAmount->text(), QStringLiteral("￥30"));
    EXPECT_EQ(w.lbRecive->text(), QStringLiteral("￥230"));
    EXPECT_EQ(w.LbSeller->text(), ctx.session.user.Name);
    EXPECT_EQ(w.lbDate->text(), today.toString(Qt::ISODate));
    EXPECT_EQ(count(QStringLiteral("DayAmount")), 1);
    EXPECT_TRUE(prompter.messages.empty());

    // Refused: the message, empty figures, nothing stored for the other day.
    withoutPermission(QStringLiteral("DayAmount"));
    w.DTDate->setDate(today.addDays(-1));
    QTest::mouseClick(w.cmdCheckOut, Qt::LeftButton);
    expectLast(Kind::Warning, kNoPermission, kTitleHint);
    EXPECT_TRUE(w.lbRecive->text().isEmpty());
    EXPECT_EQ(count(QStringLiteral("DayAmount")), 1);
}

TEST_F(DayEndScreenTest, SummaryAndArticleProfitPutTheirTotalRowFirst) {
    const QString a = takeIn(QStringLiteral("RA001"), 200, 3, 90.5, intakeDay());
    sell({{a, 200}, {a, 200, QStringLiteral("9"), 180}}, clock.today());
    DaySettlement(*db, ctx.session).settle(clock.today());

    SettlementSummaryScreen summary(ctx);
    showActive(summary);
    EXPECT_EQ(summary.VSAmountTotal->colIndex(QStringLiteral("结算金额")), 10);
    EXPECT_EQ(summary.VSAmountTotal->rows(), 1);
    press(summary.cmdQuery);
    Grid *g = summary.VSAmountTotal;
    ASSERT_EQ(g->rows(), 3);
    EXPECT_TRUE(g->isSubtotal(1));
    EXPECT_EQ(g->textMatrix(1, 0), QStringLiteral("总计"));
    EXPECT_EQ(g->text(1, QStringLiteral("结算金额")), QStringLiteral("380"));
    EXPECT_EQ(g->text(1, QStringLiteral("售货数量")), QStringLiteral("2"));
    EXPECT_EQ(g->text(2, QStringLiteral("销售员")), ctx.session.user.Name);

    // Enter in the article number runs the query.
    ArticleProfitScreen articles(ctx);
    showActive(articles);
    EXPECT_EQ(QApplication::focusWidget(), articles.txtNo);
    QTest::keyClicks(articles.txtNo, QStringLiteral("RA001"));
    enter(articles.txtNo);
    Grid *v = articles.VSSell;
    ASSERT_EQ(v->rows(), 4);
    EXPECT_EQ(v->textMatrix(1, 0), QStringLiteral("总合计"));
    EXPECT_EQ(v->text(1, QStringLiteral("利润")), QStringLiteral("199"));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DayEndScreenTest, ProfitShowsItsFiguresOrTheRefusal) {
    OtherExpenseEntry(*db, ctx.session).add({QStringLiteral("房租"), Money::fromCents(50050), clock.today(), {}});
    ProfitScreen w(ctx);
    showActive(w);
    EXPECT_TRUE(w.lbProfitEx->text().isEmpty());
    press(w.cmdQuery);
    EXPECT_EQ(w.lbOtherAmount->text(), QStringLiteral("500.5"));
    EXPECT_EQ(w.lbProfitEx->text(), QStringLiteral("-500.5"));
    withoutPermission(QStringLiteral("Profit"));
    press(w.cmdQuery);
    expectLast(Kind::Warning, kNoPermission, kTitleHint);
    EXPECT_TRUE(w.lbProfitEx->text().isEmpty());
}

TEST_F(DayEndScreenTest, ExpenseEntryChecksSavesAndKeepsItemAndDate) {
    OtherExpenseScreen w(ctx);
    showActive(w);
    const QStringList items = Dictionary(*db).entries(kExpenseItemList);
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(w.comItem->count(), items.size());
    w.comItem->setCurrentIndex(1);
    w.DT->setDate(clock.today().addDays(-2));
    EXPECT_EQ(QApplication::focusWidget(), w.comItem);
    enter(w.comItem);
    EXPECT_EQ(QApplication::focusWidget(), w.txtAmount);

    for (const auto &[typed, message] : {std::pair{"abc", kExpenseNotNumeric}, std::pair{"-3", kExpenseNegative}}) {
        w.txtAmount->setText(QString::fromLatin1(typed));
        w.cmdQuery->setFocus();
        enter(w.cmdQuery);
        expectLast(Kind::Info, message, kAppTitle);
        EXPECT_EQ(QApplication::focusWidget(), w.txtAmount);
    }
    EXPECT_EQ(count(QStringLiteral("OtherOut")), 0);

    // Enter runs amount → date → memo → save, and on to the save itself.
    w.txtAmount->setText(QStringLiteral("12.5"));
    enter(w.txtAmount);
    EXPECT_EQ(QApplication::focusWidget(), w.DT);
    enter(w.DT);
    EXPECT_EQ(QApplication::focusWidget(), w.txtMemo);
    w.txtMemo->insert(QStringLiteral("三月'工资"));
    enter(w.txtMemo);
    EXPECT_EQ(QApplication::focusWidget(), w.cmdQuery);
    enter(w.cmdQuery);
    expectLast(Kind::Info, QStringLiteral("保存成功！"), kAppTitle);
    EXPECT_TRUE(w.txtAmount->text().isEmpty());
    EXPECT_TRUE(w.txtMemo->text().isEmpty());
    EXPECT_EQ(w.comItem->currentText(), items[1]);
    EXPECT_EQ(w.DT->date(), clock.today().addDays(-2));
    EXPECT_EQ(count(QStringLiteral("OtherOut"), QStringLiteral("Item=? AND Amount=12.5 AND Memo=?"),
                    {items[1], QStringLiteral("三月'工资")}),
              1);
}

TEST_F(DayEndScreenTest, ExpenseListDeletesWithoutAskingAndRetotals) {
    OtherExpenseEntry expenses(*db, ctx.session);
    for (qint64 c : {1250, 10, 20}) expenses.add({QStringLiteral("杂费"), Money::fromCents(c), clock.today(), {}});
    OtherExpenseQueryScreen w(ctx);
    showActive(w);
    Grid *g = w.VSSell;
    EXPECT_TRUE(g->colHidden(1));
    press(w.cmdQuery);
    ASSERT_EQ(g->rows(), 5);
    EXPECT_EQ(g->textMatrix(1, 0), QStringLiteral("总合计"));
    EXPECT_EQ(g->text(1, QStringLiteral("金额")), QStringLiteral("12.8"));

    // The total row is never deleted.
    g->setRow(1);
    press(w.cmdDel);
    EXPECT_EQ(g->rows(), 5);
    EXPECT_EQ(count(QStringLiteral("OtherOut")), 3);

    // A row goes at once, and the total follows.
    const int row = g->findRow(QStringLiteral("12.5"), 2, g->colIndex(QStringLiteral("金额")));
    ASSERT_GE(row, 2);
    g->setRow(row);
    press(w.cmdDel);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(count(QStringLiteral("OtherOut")), 2);
    ASSERT_EQ(g->rows(), 4);
    EXPECT_TRUE(g->isSubtotal(1));
    EXPECT_EQ(g->text(1, QStringLiteral("金额")), QStringLiteral("0.3"));
    EXPECT_GE(g->row(), 2);
}

}  // namespace
}  // namespace kestavion::test
