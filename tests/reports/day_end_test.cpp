// The day's end and the money reports on databases built by the real services.
#include "day_end_kit.h"

#include "aftersales/sale_rows.h"
#include "foundation/guid.h"
#include "foundation/refusal.h"
#include "reports/article_profit.h"
#include "reports/day_settlement.h"
#include "reports/other_expense.h"
#include "reports/profit.h"
#include "reports/settlement_summary.h"

namespace kestavion::test {
namespace {

const QDate kIntakeDay(2026, 12, 1);
const QDate kDay1(2026, 12, 6);
const QDate kDay2(2026, 12, 9);

OtherExpense expense(const QString &item, Money amount, const QDate &date, const QString &memo = {}) {
    return {item, amount, date, memo};
}

DayFigures figures(double sq, Money sa, double bq, Money ba, double cq, Money ca) {
    DayFigures f;
    f.sellQuantity = sq;
    f.sellAmount = sa;
    f.backQuantity = bq;
    f.backAmount = ba;
    f.changeQuantity = cq;
    f.changeAmount = ca;
    return f;
}

TEST_F(DayEndTest, TradingDaysMatchAHandCount) {
    // Intake: 3 × 90 + 2 × 110.5 + 2 × 80 = 651 for 7 pairs.
    const QString a = takeIn(QStringLiteral("RA001"), 200, 3, 90, kIntakeDay);
    const QString b = takeIn(QStringLiteral("RB002"), 230, 2, 110.5, kIntakeDay);
    const QString c = takeIn(QStringLiteral("RC003"), 150, 2, 80, kIntakeDay);

    // Day 1: A at full price (200), A at 8.5 (170), C at a special price (99); then B (230).
    const auto first = sell({{a, 200},
                             {a, 200, QStringLiteral("8.5"), 170},
                             {c, 150, QStringLiteral("特价"), 99}},
                            kDay1);
    const auto second = sell({{b, 230}}, kDay1);
    // The first pair exchanged the same day for B at 230: the customer pays 30 more.
    exchange(first[0], b, 230, kDay1);
    // Day 2: the 8.5 pair comes back faulty (170 paid out), the special-price sale was an
    // error and is voided, C sells at 150, and the rent is paid.
    returnPair(first[1], true, kDay2);
    voidSale(first[2], kDay2);
    sell({{c, 150}}, kDay2);
    OtherExpenseEntry expenses(*db, ctx.session);
    expenses.add(expense(QStringLiteral("房租"), cents(120050), kDay2, QStringLiteral("十二月'房租")));
    expenses.add(expense(QStringLiteral("电费"), yuan(300), QDate(2026, 11, 30)));

    // Day 1: four pairs at what they were sold for, 200 + 170 + 99 + 230 = 699 (the
    // exchanged pair counts once, at 200; the voided one still counts); the exchange
    // adds 30: the drawer holds 729.
    DaySettlement settlement(*db, ctx.session);
    const DayFigures day1 = settlement.settle(kDay1);
    EXPECT_EQ(day1, figures(4, yuan(699), 0, Money(), 1, yuan(30)));
    EXPECT_EQ(day1.receive(), yuan(729));
    // Day 2: 150 taken, 170 paid back: −20.
    const DayFigures day2 = settlement.settle(kDay2);
    EXPECT_EQ(day2, figures(1, yuan(150), 1, yuan(170), 0, Money()));
    EXPECT_EQ(day2.receive(), yuan(-20));

    ResultSet stored = db->exec(QStringLiteral("SELECT * FROM DayAmount WHERE DateTime=?"), {kDay1});
    ASSERT_EQ(stored.rowCount(), 1);
    EXPECT_EQ(stored.number(QStringLiteral("SellAmount")), 699);
    EXPECT_EQ(stored.number(QStringLiteral("ChangeAmount")), 30);
    EXPECT_EQ(stored.number(QStringLiteral("ReciveAmount")), 729);
    EXPECT_EQ(stored.text(QStringLiteral("Seller")), ctx.session.user.Name);
    EXPECT_EQ(stored.text(QStringLiteral("ShopName")), ctx.session.shopName);

    // Summary of both days: 849 sold, 170 back, 30 from exchanges, 709 handed in.
    const SettlementList summary = SettlementSummary(*db, ctx.session).list(kDay1, kDay2);
    ASSERT_EQ(summary.rows.rowCount(), 2);
    EXPECT_EQ(summary.rows.text(0, QStringLiteral("日期")), QStringLiteral("2026-12-06"));
    EXPECT_EQ(summary.sellQuantity, 5);
    EXPECT_EQ(summary.sellAmount, yuan(849));
    EXPECT_EQ(summary.backQuantity, 1);
    EXPECT_EQ(summary.backAmount, yuan(170));
    EXPECT_EQ(summary.changeQuantity, 1);
    EXPECT_EQ(summary.changeAmount, yuan(30));
    EXPECT_EQ(summary.receiveAmount, yuan(709));

    // Profit, 1 to 9 December. Sales still standing: the exchanged pair (B: 230, cost
    // 110.5), the B sale (230, 110.5) and C on day 2 (150, 80): 610 taken, gross
    // 119.5 + 119.5 + 70 = 309. Stock: A's lot holds 2 (3 − 2 sold + 1 back from the
    // exchange), B's none, C's 1 (2 − 1 voided back − 1): 2 × 90 + 80 = 260, plus
    // the faulty pair at 90 = 350. Rent 1200.5 (the electricity bill is out of range).
    const ProfitFigures p = ProfitAnalysis(*db, ctx.session).compute(kIntakeDay, kDay2);
    EXPECT_EQ(p.inQuantity, 7);
    EXPECT_EQ(p.inAmount, yuan(651));
    EXPECT_EQ(p.sellQuantity, 3);
    EXPECT_EQ(p.sellAmount, yuan(610));
    EXPECT_EQ(p.grossProfit, yuan(309));
    EXPECT_EQ(p.factoryQuantity, 0);
    EXPECT_EQ(p.factoryAmount, Money());
    EXPECT_EQ(p.stockQuantity, 3);
    EXPECT_EQ(p.problemQuantity, 1);
    EXPECT_EQ(p.stockCost, yuan(350));
    EXPECT_EQ(p.otherExpenses, cents(120050));
    EXPECT_EQ(p.netProfit(), cents(-89150));
    // A range ending before it begins leaves the dated figures at 0, the stock as it is.
    const ProfitFigures reversed = ProfitAnalysis(*db, ctx.session).compute(kDay2, kIntakeDay);
    EXPECT_EQ(reversed.inAmount + reversed.sellAmount + reversed.grossProfit + reversed.otherExpenses, Money());
    EXPECT_EQ(reversed.stockCost, yuan(350));

    // Single article: B twice (the exchanged row now describes B), by sale number.
    ArticleProfit articles(*db, ctx.session.shopNo);
    const ArticleProfitList bList = articles.list(QStringLiteral("RB002"), kIntakeDay, kDay2);
    ASSERT_EQ(bList.rows.rowCount(), 2);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(bList.rows.number(r, QStringLiteral("实收金额")), 230);
        EXPECT_EQ(bList.rows.number(r, QStringLiteral("成本价")), 110.5);
        EXPECT_EQ(bList.rows.number(r, QStringLiteral("利润")), 119.5);
    }
    EXPECT_EQ(bList.quantity, 2);
    EXPECT_EQ(bList.amount, yuan(460));
    EXPECT_EQ(bList.cost, yuan(221));
    EXPECT_EQ(bList.profit, yuan(239));
    // A: exchanged away and returned; C: the voided sale is out.
    EXPECT_EQ(articles.list(QStringLiteral("RA001"), kIntakeDay, kDay2).rows.rowCount(), 0);
    const ArticleProfitList cList = articles.list(QStringLiteral("RC003"), kIntakeDay, kDay2);
    ASSERT_EQ(cList.rows.rowCount(), 1);
    EXPECT_EQ(cList.profit, yuan(70));

    // Expenses of the range, item and memo as typed.
    const OtherExpenseList inRange = OtherExpenseQuery(*db, ctx.session).list(kIntakeDay, kDay2);
    ASSERT_EQ(inRange.rows.rowCount(), 1);
    EXPECT_EQ(inRange.rows.text(0, QStringLiteral("支出项目")), QStringLiteral("房租"));
    EXPECT_EQ(inRange.rows.text(0, QStringLiteral("备注")), QStringLiteral("十二月'房租"));
    EXPECT_EQ(inRange.rows.text(0, QStringLiteral("记录员")), ctx.session.user.Name);
    EXPECT_EQ(inRange.total, cents(120050));
}

TEST_F(DayEndTest, SettlingOverwritesTheDaysRowAndCountsByStaffNumber) {
    const QString a = takeIn(QStringLiteral("RA001"), 200, 5, 90, kIntakeDay);
    const QString b = takeIn(QStringLiteral("RB002"), 230, 5, 110, kIntakeDay);
    DaySettlement settlement(*db, ctx.session);
    auto rowsOf = [&](const QDate &d) { return count(QStringLiteral("DayAmount"), QStringLiteral("DateTime=?"), {d}); };

    // A day without trade settles to zero and still stores its row, under that date.
    EXPECT_EQ(settlement.settle(kDay1), DayFigures());
    EXPECT_EQ(rowsOf(kDay1), 1);
    const QString key = db->scalar(QStringLiteral("SELECT GUID FROM DayAmount")).toString();

    // A sale, then settling again: the same row, new figures.
    const auto sold = sell({{a, 200}}, kDay1);
    EXPECT_EQ(settlement.settle(kDay1).receive(), yuan(200));
    EXPECT_EQ(rowsOf(kDay1), 1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT GUID FROM DayAmount")).toString(), key);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ReciveAmount FROM DayAmount")).toDouble(), 200);

    // Exchanged three days later for a dearer pair: the sale's day keeps its 200; the
    // 30 belongs to the exchange's day. A second exchange (back to A at 200) pays 30
    // out on its day, and the sale's day still counts the pair once.
    exchange(sold[0], b, 230, kDay2);
    EXPECT_EQ(settlement.count(kDay1), figures(1, yuan(200), 0, Money(), 0, Money()));
    EXPECT_EQ(settlement.count(kDay2), figures(0, Money(), 0, Money(), 1, yuan(30)));
    exchange(sold[0], a, 200, kDay2.addDays(1));
    EXPECT_EQ(settlement.count(kDay1).sellAmount, yuan(200));
    EXPECT_EQ(settlement.count(kDay2.addDays(1)).receive(), yuan(-30));
    // Returned later still: the sale's day keeps 200, the return's day pays 200 back.
    returnPair(sold[0], false, kDay2.addDays(2));
    EXPECT_EQ(settlement.count(kDay1).sellAmount, yuan(200));
    EXPECT_EQ(settlement.count(kDay2.addDays(2)), figures(0, Money(), 1, yuan(200), 0, Money()));

    // A read that fails stops the settlement: the stored row keeps its figures.
    db->exec(QStringLiteral("UPDATE DayAmount SET ReciveAmount=1"));
    db->exec(QStringLiteral("ALTER TABLE SellChange RENAME TO SellChangeAway"));
    EXPECT_THROW(settlement.settle(kDay1), DbError);
    db->exec(QStringLiteral("ALTER TABLE SellChangeAway RENAME TO SellChange"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ReciveAmount FROM DayAmount")).toInt(), 1);
    EXPECT_EQ(rowsOf(kDay1), 1);

}

TEST_F(DayEndTest, SummaryListsOnlyTheShopsDaysInRangeWithExactSums) {
    auto store = [&](const QString &shop, const QString &seller, const QDate &d, double sold, double back,
                     double change) {
        db->exec(QStringLiteral("INSERT INTO DayAmount (GUID,SellQuantity,SellAmount,BackQuantity,BackAmount,"
                                "ChangeQuantity,ChangeAmount,ReciveAmount,Seller,DateTime,ShopNo,ShopName) "
                                "VALUES (?,1,?,1,?,1,?,?,?,?,?,'店')"),
                 {newGuid(), sold, back, change, sold - back + change, seller, d, shop});
    };
    store(ctx.session.shopNo, QStringLiteral("甲"), kDay1, 100.1, 0.2, -0.1);
    store(ctx.session.shopNo, QStringLiteral("乙"), kDay1, 200.2, 0.1, 0.3);
    store(ctx.session.shopNo, QStringLiteral("甲"), kDay2.addDays(1), 50, 0, 0);       // after the range
    store(QStringLiteral("{OTHER-SHOP}"), QStringLiteral("甲"), kDay1, 999, 0, 0);   // another shop
    SettlementSummary summary(*db, ctx.session);
    const SettlementList list = summary.list(kDay1, kDay2);
    ASSERT_EQ(list.rows.rowCount(), 2);
    EXPECT_EQ(list.rows.columns(), summary.headings().columns());
    EXPECT_EQ(list.sellQuantity, 2);
    EXPECT_EQ(list.sellAmount, cents(30030));
    EXPECT_EQ(list.backAmount, cents(30));
    EXPECT_EQ(list.changeAmount, cents(20));
    EXPECT_EQ(list.receiveAmount, cents(30020));  // sold − back + change, to the cent
    EXPECT_EQ(summary.list(kDay2, kDay1).rows.rowCount(), 0);

    withoutPermission(QStringLiteral("TotalAmount"));
    EXPECT_THROW(summary.list(kDay1, kDay2), Refusal);
}

TEST_F(DayEndTest, ArticleProfitMatchesExactlyAndSortsBySizeAndColour) {
    std::vector<Pair> pairs;
    for (const auto &[size, colour] : {std::pair{"39", "黑色"}, std::pair{"38", "白色"}, std::pair{"38", "黑色"}}) {
        GoodsSpec g;
        g.typeNo = QStringLiteral("RS100");
        g.size = QString::fromUtf8(size);
        g.colour = QString::fromUtf8(colour);
        g.price = 100;
        g.quantity = 1;
        const QString guid = plantIntake(*db, g, 95, kIntakeDay);
        pairs.push_back({guid, 100});
    }
    pairs[0].abate = QStringLiteral("8");  // 80: below the cost of 95
    pairs[0].amount = 80;
    sell(pairs, kDay1);

    // No permission is needed for this one.
    for (const QString &key : kPermissionKeys) withoutPermission(key);
    ArticleProfit articles(*db, ctx.session.shopNo);
    const ArticleProfitList list = articles.list(QStringLiteral("RS100"), kDay1, kDay1);
    ASSERT_EQ(list.rows.rowCount(), 3);
    QStringList order;
    for (int r = 0; r < 3; ++r)
        order << list.rows.text(r, QStringLiteral("尺码")) + list.rows.text(r, QStringLiteral("颜色"));
    EXPECT_EQ(order, (QStringList{QStringLiteral("38白色"), QStringLiteral("38黑色"), QStringLiteral("39黑色")}));
    EXPECT_EQ(list.rows.number(2, QStringLiteral("利润")), -15);
    // 100 − 95 twice, 80 − 95 once.
    EXPECT_EQ(list.profit, yuan(-5));
    EXPECT_EQ(list.amount, yuan(280));
    EXPECT_EQ(list.cost, yuan(285));
    // The article number must match exactly.
    EXPECT_EQ(articles.list(QStringLiteral("RS10"), kDay1, kDay1).rows.rowCount(), 0);
    EXPECT_EQ(articles.list(QStringLiteral("RS100"), kDay2, kDay2).rows.rowCount(), 0);
}

TEST_F(DayEndTest, ExpensesAreCheckedListedByShopAndRangeAndDeleted) {
    // The typed amount (the refusals' messages are checked on the entry screen).
    EXPECT_EQ(OtherExpenseEntry::readAmount(QStringLiteral("12.5")), cents(1250));
    EXPECT_EQ(OtherExpenseEntry::readAmount(QStringLiteral("0")), Money());
    EXPECT_EQ(OtherExpenseEntry::readAmount(QStringLiteral(" 1,000 ")), yuan(1000));
    for (const QString &bad : {QString(), QStringLiteral("-"), QStringLiteral("-0.5")})
        EXPECT_THROW(OtherExpenseEntry::readAmount(bad), Refusal) << bad.toStdString();

    OtherExpenseEntry expenses(*db, ctx.session);
    OtherExpenseQuery query(*db, ctx.session);
    EXPECT_THROW(expenses.add(expense(QStringLiteral("水费"), cents(-1), kDay1)), Refusal);
    expenses.add(expense(QString(), cents(1250), kDay1));
    expenses.add(expense(QStringLiteral("工资"), cents(10), kDay2));
    expenses.add(expense(QStringLiteral("工资"), cents(20), kDay2));
    expenses.add(expense(QStringLiteral("房租"), yuan(800), kDay2.addDays(1)));  // after the range
    db->exec(QStringLiteral("INSERT INTO OtherOut (GUID,ShopNo,ShopName,Item,Amount,DateTime,Memo,OptName) "
                            "VALUES (?,'{OTHER-SHOP}','别店','房租',700,?,'','x')"),
             {newGuid(), kDay1});
    EXPECT_EQ(count(QStringLiteral("OtherOut"), QStringLiteral("Amount=12.5")), 1);

    OtherExpenseList list = query.list(kDay1, kDay2);
    ASSERT_EQ(list.rows.rowCount(), 3);
    EXPECT_EQ(list.rows.text(0, QStringLiteral("日期")), QStringLiteral("2026-12-06"));
    EXPECT_EQ(list.total, cents(1280));
    // Deleting the first leaves the rest; a second delete of it finds nothing.
    const QString gone = list.rows.text(0, QStringLiteral("GUID"));
    EXPECT_TRUE(query.remove(gone));
    EXPECT_FALSE(query.remove(gone));
    list = query.list(kDay1, kDay2);
    EXPECT_EQ(list.rows.rowCount(), 2);
    EXPECT_EQ(list.total, cents(30));

    // The entry and the list have keys of their own.
    withoutPermission(QStringLiteral("OtherOurQuery"));
    EXPECT_THROW(query.list(kDay1, kDay2), Refusal);
    expenses.add(expense(QStringLiteral("杂费"), yuan(1), kDay1));
    withoutPermission(QStringLiteral("OtherOut"));
    EXPECT_THROW(expenses.add(expense(QStringLiteral("杂费"), yuan(1), kDay1)), Refusal);
}

}  // namespace
}  // namespace kestavion::test
