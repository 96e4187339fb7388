#include "aftersales/customer_exchange.h"
#include "aftersales/customer_return.h"
#include "aftersales/problem_stock.h"
#include "aftersales/sales_rules_service.h"
#include "foundation/refusal.h"
#include "kit/fixtures.h"
#include "sale_kit.h"

#include <functional>
#include <utility>

namespace kestavion::test {
namespace {

class AfterSalesTest : public DbTest {
protected:
    QDate today() const { return clock.today(); }
    // Goods of `quantity` pairs with one lot at `buyPrice` dated 30 days ago.
    QString goods(const QString &typeNo, double price, double quantity, double buyPrice = 100) {
        GoodsSpec g;
        g.typeNo = typeNo;
        g.price = price;
        g.quantity = quantity;
        return plantIntake(*db, g, buyPrice, today().addDays(-30));
    }
    qint64 firstLot(const QString &storeGuid) {
        return db->scalar(QStringLiteral("SELECT min(ID) FROM BuyPrice WHERE StoreGUID=?"), {storeGuid}).toLongLong();
    }
    ResultSet sellRow(const QString &guid) {
        return db->exec(QStringLiteral("SELECT * FROM Sell WHERE GUID=?"), {guid});
    }
    ResultSet change(const QString &sellGuid, int state) {
        return db->exec(QStringLiteral("SELECT * FROM SellChange WHERE SellGUID=? AND State=?"), {sellGuid, state});
    }
};

TEST_F(AfterSalesTest, SavingRulesWritesTheRowAndTheSessionAtOnce) {
    SellRules r = ctx.session.rules;
    r.SellOrder = 1;
    r.BackDays = 7;
    r.SpecialCanNotBack = true;
    r.ChangeDays = 3;
    r.ChangeOneTime = true;
    r.IsPrint = true;
    r.PrinterType = 1;
    SalesRulesService(*db).save(ctx.session, r);

    ResultSet row = db->exec(QStringLiteral("SELECT * FROM SellRole"));
    ASSERT_EQ(row.rowCount(), 1);
    EXPECT_EQ(row.integer(QStringLiteral("SellOrder")), 1);
    EXPECT_EQ(row.integer(QStringLiteral("BackDays")), 7);
    EXPECT_EQ(row.integer(QStringLiteral("SpecialCanNotBack")), 1);
    EXPECT_EQ(row.integer(QStringLiteral("AbateCanNotBack")), 0);
    EXPECT_EQ(row.integer(QStringLiteral("ChangeDays")), 3);
    EXPECT_EQ(row.integer(QStringLiteral("ChangeOneTime")), 1);
    EXPECT_EQ(row.integer(QStringLiteral("PrinterType")), 1);
    EXPECT_EQ(ctx.session.rules.BackDays, 7);
    EXPECT_TRUE(ctx.session.rules.SpecialCanNotBack);
    EXPECT_EQ(ctx.session.rules.ShopNo, kShopKey);

    // The next return on the same login already follows the new limit.
    const QString g = goods(QStringLiteral("A1"), 199, 2);
    SaleSpec old;
    old.date = today().addDays(-7);
    const QString sale = sellPair(*db, ctx.session, g, old);
    EXPECT_FALSE(returnRefusal(ctx.session.rules, 0, QStringLiteral("全"), old.date, today()).isEmpty());
    (void)sale;
}

TEST_F(AfterSalesTest, SavingRulesWithoutARowFailsAndChangesNothing) {
    db->exec(QStringLiteral("DELETE FROM SellRole"));
    const SellRules before = ctx.session.rules;
    SellRules r = before;
    r.BackDays = 30;
    try {
        SalesRulesService(*db).save(ctx.session, r);
        FAIL() << "saving into a missing row must fail";
    } catch (const Refusal &e) {
        EXPECT_EQ(e.message(), kNoRulesRow);
    }
    EXPECT_EQ(ctx.session.rules.BackDays, before.BackDays);
    EXPECT_EQ(count(QStringLiteral("SellRole")), 0);  // never inserted
}

TEST_F(AfterSalesTest, ReturnRulesInTheirOrder) {
    SellRules r;
    const QDate d = today();
    // No rule set: everything returnable, however old.
    EXPECT_TRUE(returnRefusal(r, 1, QStringLiteral("特价"), d.addYears(-3), d).isEmpty());
    // Days: the day of sale is day 1.
    r.BackDays = 7;
    EXPECT_EQ(returnRefusal(r, 0, QStringLiteral("全"), d.addDays(-7), d),
              QStringLiteral("很遗憾！该商品已经超过了规定的退货时间，您无法退货！"));
    EXPECT_TRUE(returnRefusal(r, 0, QStringLiteral("全"), d.addDays(-6), d).isEmpty());
    r.BackDays = 1;
    EXPECT_TRUE(returnRefusal(r, 0, QStringLiteral("全"), d, d).isEmpty());
    EXPECT_FALSE(returnRefusal(r, 0, QStringLiteral("全"), d.addDays(-1), d).isEmpty());
    r.BackDays = 0;
    // Special price only with its own flag; discount only with its own.
    r.AbateCanNotBack = true;
    EXPECT_TRUE(returnRefusal(r, 0, QStringLiteral("特价"), d, d).isEmpty());
    EXPECT_TRUE(returnRefusal(r, 0, QStringLiteral("全"), d, d).isEmpty());
    EXPECT_EQ(returnRefusal(r, 0, QStringLiteral("8.5"), d, d), QStringLiteral("对不起！该商品是折扣商品，您无法退货！"));
    r.AbateCanNotBack = false;
    r.SpecialCanNotBack = true;
    EXPECT_EQ(returnRefusal(r, 0, QStringLiteral("特价"), d, d), QStringLiteral("对不起！该商品是特价商品，您无法退货！"));
    EXPECT_TRUE(returnRefusal(r, 0, QStringLiteral("8.5"), d, d).isEmpty());
    // Exchanged rows only with ChangNotToBack, and that check comes first.
    r.ChangNotToBack = true;
    EXPECT_EQ(returnRefusal(r, 1, QStringLiteral("特价"), d, d), QStringLiteral("对不起该商品已经调换过不能再退货！"));
    EXPECT_FALSE(returnRefusal(r, 0, QStringLiteral("特价"), d, d).isEmpty());
    EXPECT_TRUE(returnRefusal(r, 0, QStringLiteral("全"), d, d).isEmpty());

    SellRules x;
    x.ChangeDays = 1;
    EXPECT_TRUE(exchangeRefusal(x, 0, QStringLiteral("全"), d, d).isEmpty());
    EXPECT_EQ(exchangeRefusal(x, 0, QStringLiteral("全"), d.addDays(-1), d),
              QStringLiteral("很遗憾！该商品已经超过了规定的调货时间，您无法调换！"));
    x.ChangeDays = 0;
    EXPECT_TRUE(exchangeRefusal(x, 1, QStringLiteral("全"), d.addYears(-2), d).isEmpty());
    x.ChangeOneTime = true;
    EXPECT_EQ(exchangeRefusal(x, 1, QStringLiteral("全"), d, d),
              QStringLiteral("对不起，该商品已经调换过一次了，不能进行二次调换了！"));
    x.SpecialCanNotChange = true;
    EXPECT_EQ(exchangeRefusal(x, 0, QStringLiteral("特价"), d, d), QStringLiteral("对不起！该商品是特价商品，您无法调换！"));
    EXPECT_TRUE(exchangeRefusal(x, 0, QStringLiteral("9"), d, d).isEmpty());
    x.AbateCanNotChange = true;
    EXPECT_EQ(exchangeRefusal(x, 0, QStringLiteral("9"), d, d), QStringLiteral("对不起！该商品是折扣商品，您无法调换！"));
}

TEST_F(AfterSalesTest, ReturnIntoProblemStockLeavesNormalStockAlone) {
    const QString g = goods(QStringLiteral("A1"), 199, 3, 88.5);
    const qint64 lot = firstLot(g);
    SaleSpec s;
    s.abate = QStringLiteral("8.5");
    s.amount = 169;
    const QString sale = sellPair(*db, ctx.session, g, s);
    ASSERT_EQ(storeQuantity(*db, g), 2);

    CustomerReturn(*db, ctx.session, clock).returnPair(sale, CustomerReturn::Into::ProblemStock, QStringLiteral("开胶"));

    EXPECT_EQ(storeQuantity(*db, g), 2);
    EXPECT_EQ(lotQuantity(*db, lot), 2);
    ResultSet back = db->exec(QStringLiteral("SELECT * FROM BackStore"));
    ASSERT_EQ(back.rowCount(), 1);
    EXPECT_EQ(back.text(QStringLiteral("GUID")), g);
    EXPECT_EQ(back.number(QStringLiteral("Quantity")), 1);
    EXPECT_EQ(back.number(QStringLiteral("BuyPrice")), 88.5);
    EXPECT_EQ(back.text(QStringLiteral("BackResion")), QStringLiteral("开胶"));
    EXPECT_EQ(back.integer(QStringLiteral("IsBackFactory")), 0);
    EXPECT_TRUE(back.isNull(0, QStringLiteral("BackFactoryDate")));
    EXPECT_EQ(back.text(QStringLiteral("Seller")), ctx.session.user.No);

    EXPECT_EQ(sellRow(sale).integer(QStringLiteral("State")), 2);
    ResultSet rec = change(sale, 2);
    ASSERT_EQ(rec.rowCount(), 1);
    EXPECT_EQ(rec.number(QStringLiteral("Amount")), 169);
    EXPECT_EQ(rec.number(QStringLiteral("AddAmount")), 169);
    EXPECT_EQ(rec.text(QStringLiteral("Abate")), QStringLiteral("8.5"));
    EXPECT_EQ(rec.text(QStringLiteral("Datetime")), s.date.toString(Qt::ISODate));
    EXPECT_EQ(rec.text(QStringLiteral("ChangeDate")), QStringLiteral("2026-12-09"));
    EXPECT_EQ(rec.integer(QStringLiteral("BuyPriceID")), lot);
    EXPECT_EQ(rec.text(QStringLiteral("SellNo")), s.sellNo);
    EXPECT_EQ(rec.text(QStringLiteral("Resion")), QStringLiteral("开胶"));

    // The row is no longer a sale: a second return is refused and writes nothing.
    EXPECT_THROW(CustomerReturn(*db, ctx.session, clock).returnPair(sale, CustomerReturn::Into::NormalStock, {}),
                 Refusal);
    EXPECT_EQ(storeQuantity(*db, g), 2);
    EXPECT_EQ(count(QStringLiteral("SellChange")), 1);
    EXPECT_TRUE(findSaleRows(*db, kShopKey, SaleSearch{{}, s.sellNo, {}}).empty());
}

TEST_F(AfterSalesTest, ReturnIntoNormalStockRaisesExactlyTheRecordedLot) {
    const QString g = goods(QStringLiteral("A1"), 199, 1, 50);
    const qint64 older = firstLot(g);
    const QString sale = sellPair(*db, ctx.session, g);  // from the only lot
    const qint64 middle = plantLot(*db, g, 60, 2, today().addDays(-10));
    const qint64 newer = plantLot(*db, g, 70, 2, today().addDays(-1));
    db->exec(QStringLiteral("UPDATE Store SET Quantity=4 WHERE GUID=?"), {g});
    // The sale came out of the oldest lot, now empty: it goes back there, not by lot order.
    CustomerReturn(*db, ctx.session, clock).returnPair(sale, CustomerReturn::Into::NormalStock, QStringLiteral("不喜欢"));
    EXPECT_EQ(lotQuantity(*db, older), 1);
    EXPECT_EQ(lotQuantity(*db, middle), 2);
    EXPECT_EQ(lotQuantity(*db, newer), 2);
    EXPECT_EQ(storeQuantity(*db, g), 5);
    EXPECT_EQ(count(QStringLiteral("BackStore")), 0);

    // A pair sold with no lot left (lot 0) goes back into its Goods only.
    const QString bare = plantGoods(*db, GoodsSpec{.quantity = 1});
    const QString sale2 = sellPair(*db, ctx.session, bare);
    EXPECT_EQ(sellRow(sale2).text(QStringLiteral("BuyPriceId")), QStringLiteral("0"));
    CustomerReturn(*db, ctx.session, clock).returnPair(sale2, CustomerReturn::Into::NormalStock, {});
    EXPECT_EQ(storeQuantity(*db, bare), 1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT sum(Quantity) FROM BuyPrice")).toDouble(), 5);
}

TEST_F(AfterSalesTest, SearchNeedsEveryTickedCondition) {
    const QString a = goods(QStringLiteral("A1"), 100, 5);
    const QString b = goods(QStringLiteral("B2"), 100, 5);
    sellPair(*db, ctx.session, a, SaleSpec{.sellNo = QStringLiteral("202612090001")});
    sellPair(*db, ctx.session, b, SaleSpec{.sellNo = QStringLiteral("202612090001")});
    sellPair(*db, ctx.session, a, SaleSpec{.date = today().addDays(-1), .sellNo = QStringLiteral("202612080001")});
    sellPair(*db, ctx.session, a, SaleSpec{.sellNo = QStringLiteral("202612090002"), .state = 3});
    EXPECT_EQ(findSaleRows(*db, kShopKey, {{}, QStringLiteral("202612090001"), {}}).rowCount(), 2);
    EXPECT_EQ(findSaleRows(*db, kShopKey, {{}, QStringLiteral("202612090001"), QStringLiteral("A1")}).rowCount(), 1);
    EXPECT_EQ(findSaleRows(*db, kShopKey, {today(), {}, QStringLiteral("A1")}).rowCount(), 1);  // voided one hidden
    EXPECT_EQ(findSaleRows(*db, kShopKey, {{}, QStringLiteral("x' OR '1'='1"), {}}).rowCount(), 0);
    ResultSet rs = findSaleRows(*db, kShopKey, {{}, {}, QStringLiteral("A1")}, QStringLiteral("应收金额"));
    EXPECT_EQ(rs.columns().at(7), QStringLiteral("货号"));
    EXPECT_GE(rs.columnIndex(QStringLiteral("应收金额")), 0);
    EXPECT_EQ(rs.text(0, QStringLiteral("销售日期")).size(), 10);
}

// Sale searches are read a page at a time after the last row shown: rows that share a
// sale number (a sale of several pairs) straddle page ends, and no row may be read
// twice or lost, whatever the page size, and the voided ones stay out.
TEST_F(AfterSalesTest, PagedSearchReadsEveryRowOnceInListOrder) {
    const QString a = goods(QStringLiteral("A1"), 100, 40);
    const QString b = goods(QStringLiteral("B2"), 100, 10);
    const std::vector<int> pairsPerSale = {3, 1, 5, 2, 4, 1, 3};
    for (size_t i = 0; i < pairsPerSale.size(); ++i) {
        const QString no = QStringLiteral("2026120900%1").arg(i + 10);
        for (int p = 0; p < pairsPerSale[i]; ++p) sellPair(*db, ctx.session, a, SaleSpec{.sellNo = no});
        sellPair(*db, ctx.session, b, SaleSpec{.sellNo = no});
    }
    sellPair(*db, ctx.session, a, SaleSpec{.sellNo = QStringLiteral("202612090012"), .state = 3});
    auto guids = [](const ResultSet &rs) {
        QStringList out;
        for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, QStringLiteral("GUID"));
        return out;
    };
    const std::vector<SaleSearch> searches = {{{}, {}, QStringLiteral("A1")},
                                              {today(), {}, {}},
                                              {{}, QStringLiteral("202612090014"), {}},
                                              {today(), {}, QStringLiteral("A1")}};
    for (const SaleSearch &search : searches) {
        const QStringList whole = guids(findSaleRows(*db, kShopKey, search));
        ASSERT_GE(whole.size(), 5);
        for (int limit : {1, 2, 4, int(whole.size()), int(whole.size()) + 1}) {
            QStringList paged;
            std::optional<SaleRowKey> after;
            int pages = 0;
            for (;;) {
                ++pages;
                const int n = scanSaleRowPage(*db, ctx.session, QStringLiteral("ClientBack"), search,
                                              QStringLiteral("金额"), after, limit,
                                              [&](const RowView &row) { paged << QString::fromUtf8(row.utf8(0)); });
                EXPECT_LE(n, limit);
                if (n < limit) break;
                ASSERT_LT(pages, 100) << "no end";
            }
            EXPECT_EQ(paged, whole) << "limit " << limit;
            // A full last page is followed by one empty read; a short one ends it.
            EXPECT_EQ(pages, int(whole.size()) / limit + 1) << "limit " << limit;
        }
    }
}

TEST_F(AfterSalesTest, ExchangeRecordsTheDifferenceAndMovesBothPairs) {
    const QString sold = goods(QStringLiteral("A1"), 200, 2, 90);
    const qint64 soldLot = firstLot(sold);
    const QString dear = goods(QStringLiteral("B1"), 230, 3, 120);
    const qint64 dearOld = firstLot(dear);
    const qint64 dearNew = plantLot(*db, dear, 130, 2, today().addDays(-2));
    db->exec(QStringLiteral("UPDATE Store SET Quantity=5 WHERE GUID=?"), {dear});
    const QString cheap = goods(QStringLiteral("C1"), 150, 1, 70);

    const QString s1 = sellPair(*db, ctx.session, sold, SaleSpec{.date = today().addDays(-3)});
    const QString s2 = sellPair(*db, ctx.session, sold);
    ASSERT_EQ(lotQuantity(*db, soldLot), 0);

    // Newest lot first for the replacement.
    ctx.session.rules.SellOrder = 1;
    CustomerExchange(*db, ctx.session, clock)
        .commit({{s1, QStringLiteral("尺码不合适"), dear, QStringLiteral("全"), yuan(230)},
                 {s2, QStringLiteral("颜色"), cheap, QStringLiteral("全"), yuan(150)}});

    ResultSet r1 = change(s1, 1);
    ASSERT_EQ(r1.rowCount(), 1);
    EXPECT_EQ(r1.number(QStringLiteral("AddAmount")), 30);
    EXPECT_EQ(r1.text(QStringLiteral("TypeNo")), QStringLiteral("A1"));  // the goods as sold
    EXPECT_EQ(r1.number(QStringLiteral("Amount")), 200);
    EXPECT_EQ(r1.text(QStringLiteral("StoreGUID")), sold);
    EXPECT_EQ(r1.text(QStringLiteral("Resion")), QStringLiteral("尺码不合适"));
    EXPECT_EQ(r1.text(QStringLiteral("Datetime")), today().addDays(-3).toString(Qt::ISODate));
    EXPECT_EQ(change(s2, 1).number(QStringLiteral("AddAmount")), -50);

    // Both sold pairs back into their own lot; replacements out by the lot order.
    EXPECT_EQ(storeQuantity(*db, sold), 2);
    EXPECT_EQ(lotQuantity(*db, soldLot), 2);
    EXPECT_EQ(storeQuantity(*db, dear), 4);
    EXPECT_EQ(lotQuantity(*db, dearNew), 1);
    EXPECT_EQ(lotQuantity(*db, dearOld), 3);
    EXPECT_EQ(storeQuantity(*db, cheap), 0);

    ResultSet row = sellRow(s1);
    EXPECT_EQ(row.text(QStringLiteral("StoreGUID")), dear);
    EXPECT_EQ(row.text(QStringLiteral("TypeNo")), QStringLiteral("B1"));
    EXPECT_EQ(row.number(QStringLiteral("Price")), 230);
    EXPECT_EQ(row.number(QStringLiteral("Amount")), 230);
    EXPECT_EQ(row.number(QStringLiteral("BuyPrice")), 130);
    EXPECT_EQ(row.integer(QStringLiteral("BuyPriceId")), dearNew);
    EXPECT_EQ(row.integer(QStringLiteral("State")), 1);
    EXPECT_EQ(row.text(QStringLiteral("DateTime")), today().addDays(-3).toString(Qt::ISODate));  // kept
    EXPECT_EQ(row.text(QStringLiteral("SellNo")), QStringLiteral("202612090001"));

    // Exchanged again (no one-time rule): a second record; a void then puts back the
    // replacement recorded on the row.
    CustomerExchange(*db, ctx.session, clock).commit({{s2, {}, dear, QStringLiteral("特价"), yuan(180)}});
    EXPECT_EQ(count(QStringLiteral("SellChange"), QStringLiteral("SellGUID=?"), {s2}), 2);
    EXPECT_EQ(storeQuantity(*db, cheap), 1);
    const qint64 lotOfS2 = sellRow(s2).integer(QStringLiteral("BuyPriceId"));
    const double before = lotQuantity(*db, lotOfS2);
    SaleVoid(*db, ctx.session, clock).voidRow(s2, QStringLiteral("输错"));
    EXPECT_EQ(lotQuantity(*db, lotOfS2), before + 1);
    EXPECT_EQ(storeQuantity(*db, dear), 4);
    EXPECT_EQ(sellRow(s2).integer(QStringLiteral("State")), 3);
    ResultSet v = change(s2, 3);
    ASSERT_EQ(v.rowCount(), 1);
    EXPECT_EQ(v.number(QStringLiteral("AddAmount")), 180);
    EXPECT_EQ(v.text(QStringLiteral("TypeNo")), QStringLiteral("B1"));
    EXPECT_EQ(v.text(QStringLiteral("Resion")), QStringLiteral("输错"));
}

TEST_F(AfterSalesTest, ExchangeIsAllOrNothing) {
    const QString sold = goods(QStringLiteral("A1"), 200, 2);
    const QString repl = goods(QStringLiteral("B1"), 230, 1);
    const QString s1 = sellPair(*db, ctx.session, sold);
    const QString s2 = sellPair(*db, ctx.session, sold);
    SaleVoid(*db, ctx.session, clock).voidRow(s2, {});
    const qint64 changes = count(QStringLiteral("SellChange"));
    EXPECT_THROW(CustomerExchange(*db, ctx.session, clock)
                     .commit({{s1, {}, repl, QStringLiteral("全"), yuan(230)}, {s2, {}, repl, QStringLiteral("全"), yuan(230)}}),
                 Refusal);
    EXPECT_EQ(count(QStringLiteral("SellChange")), changes);
    EXPECT_EQ(storeQuantity(*db, repl), 1);
    EXPECT_EQ(storeQuantity(*db, sold), 1);
    EXPECT_EQ(sellRow(s1).integer(QStringLiteral("State")), 0);

    // Two replacements of a Goods with one pair left: the second finds no stock.
    const QString s3 = sellPair(*db, ctx.session, sold);
    try {
        CustomerExchange(*db, ctx.session, clock)
            .commit({{s1, {}, repl, QStringLiteral("全"), yuan(230)}, {s3, {}, repl, QStringLiteral("全"), yuan(230)}});
        FAIL();
    } catch (const Refusal &e) {
        EXPECT_EQ(e.message(), kNoReplacementStock);
        EXPECT_EQ(e.icon(), Refusal::Icon::Info);  // as the replacement screen shows it
    }
    EXPECT_EQ(storeQuantity(*db, repl), 1);
}

TEST_F(AfterSalesTest, ReplacementPriceRules) {
    EXPECT_EQ(exchangeAmount(yuan(199), false, QStringLiteral("全")), yuan(199));
    EXPECT_EQ(exchangeAmount(yuan(199), false, QStringLiteral("8.5")), yuan(169));
    EXPECT_EQ(exchangeAmount(yuan(125), false, QStringLiteral("9")), yuan(112));
    EXPECT_EQ(exchangeAmount(yuan(135), false, QStringLiteral("9")), yuan(122));
    EXPECT_EQ(exchangeAmount(yuan(135), false, QStringLiteral("0")), yuan(0));
    EXPECT_EQ(exchangeAmount(yuan(135), true, QStringLiteral("88.5")), yuan(88));
    EXPECT_EQ(exchangeAmount(yuan(135), true, QStringLiteral("1,00")), yuan(100));

    EXPECT_TRUE(exchangeDiscountRefusal(QStringLiteral("0")).isEmpty());
    EXPECT_TRUE(exchangeDiscountRefusal(QStringLiteral("全")).isEmpty());
    EXPECT_TRUE(exchangeDiscountRefusal(QStringLiteral("9.9")).isEmpty());
    EXPECT_EQ(exchangeDiscountRefusal(QStringLiteral("9.95")), QStringLiteral("请输入0.1-10的数字或小数！"));
    EXPECT_EQ(exchangeDiscountRefusal(QStringLiteral("-1")), QStringLiteral("请输入0.1-10的数字或小数！"));
    EXPECT_EQ(exchangeDiscountRefusal(QStringLiteral("八折")), QStringLiteral("数量的数据类型不正确！"));

    EXPECT_EQ(exchangeSpecialPriceRefusal(QStringLiteral("abc"), yuan(100)), QStringLiteral("请输入有效的数据！"));
    EXPECT_EQ(exchangeSpecialPriceRefusal(QStringLiteral("0"), yuan(100)), QStringLiteral("特价也不可能小于0的！"));
    EXPECT_EQ(exchangeSpecialPriceRefusal(QStringLiteral("101"), yuan(100)), QStringLiteral("特价比零售价还要贵么？"));
    EXPECT_TRUE(exchangeSpecialPriceRefusal(QStringLiteral("100"), yuan(100)).isEmpty());

    SellRules r;
    r.DearGoodsChange = true;
    EXPECT_FALSE(replacementRefusal(r, QStringLiteral("A"), yuan(120), QStringLiteral("B"), yuan(99)).isEmpty());
    EXPECT_TRUE(replacementRefusal(r, QStringLiteral("A"), yuan(120), QStringLiteral("B"), yuan(150)).isEmpty());
    EXPECT_TRUE(replacementRefusal(r, QStringLiteral("A"), yuan(120), QStringLiteral("B"), yuan(120)).isEmpty());
    r.DearGoodsChange = false;
    r.SameTypeChange = true;
    EXPECT_EQ(replacementRefusal(r, QStringLiteral("A"), yuan(120), QStringLiteral("a"), yuan(120)),
              QStringLiteral("对不起只有同类型的商品才可以调换！请你再选择其他的商品"));
    EXPECT_TRUE(replacementRefusal(r, QStringLiteral("A"), yuan(120), QStringLiteral("A"), yuan(10)).isEmpty());
}

TEST_F(AfterSalesTest, ProblemGoodsTakeUnitsByLotOrder) {
    GoodsSpec g;
    g.quantity = 6;
    const QString guid = plantGoods(*db, g);
    const qint64 l50 = plantLot(*db, guid, 50, 1, today().addDays(-20));
    const qint64 l60 = plantLot(*db, guid, 60, 5, today().addDays(-10));
    ProblemStock ps(*db, ctx.session);
    ps.setAside({{guid, 3, QStringLiteral("开胶")}});
    ResultSet back = db->exec(QStringLiteral("SELECT * FROM BackStore"));
    ASSERT_EQ(back.rowCount(), 1);
    EXPECT_EQ(back.number(QStringLiteral("Quantity")), 3);
    EXPECT_EQ(back.number(QStringLiteral("BuyPrice")), 170);
    EXPECT_EQ(back.text(QStringLiteral("TypeNo")), g.typeNo);
    EXPECT_EQ(lotQuantity(*db, l50), 0);
    EXPECT_EQ(lotQuantity(*db, l60), 3);
    EXPECT_EQ(storeQuantity(*db, guid), 3);

    // Newest first; two lines keep their own problem.
    ctx.session.rules.SellOrder = 1;
    const qint64 l45 = plantLot(*db, guid, 45.5, 1, today().addDays(-1));
    db->exec(QStringLiteral("UPDATE Store SET Quantity=4 WHERE GUID=?"), {guid});
    ps.setAside({{guid, 2, QStringLiteral("断底")}, {guid, 1, QStringLiteral("掉色")}});
    EXPECT_EQ(lotQuantity(*db, l45), 0);
    EXPECT_EQ(lotQuantity(*db, l60), 1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT BuyPrice FROM BackStore WHERE BackResion=?"), {QStringLiteral("断底")})
                  .toDouble(),
              105.5);
    EXPECT_EQ(count(QStringLiteral("BackStore"), QStringLiteral("BackResion=?"), {QStringLiteral("掉色")}), 1);
    EXPECT_EQ(storeQuantity(*db, guid), 1);

    // More than the Goods holds: refused, nothing written.
    EXPECT_THROW(ps.setAside({{guid, 1, {}}, {guid, 1, {}}}), Refusal);
    EXPECT_EQ(storeQuantity(*db, guid), 1);
    EXPECT_EQ(lotQuantity(*db, l60), 1);
    EXPECT_EQ(count(QStringLiteral("BackStore")), 3);
}

TEST_F(AfterSalesTest, FactoryReturnRecordsOneTotalAndMarksTheRows) {
    const QString a = goods(QStringLiteral("A1"), 200, 1, 120);
    const QString b = goods(QStringLiteral("B1"), 100, 1, 45.5);
    const QString c = goods(QStringLiteral("C1"), 100, 2, 30);
    ProblemStock ps(*db, ctx.session);
    ps.setAside({{a, 1, {}}, {b, 1, {}}, {c, 2, {}}});
    ResultSet open = ps.openRows();
    ASSERT_EQ(open.rowCount(), 3);
    EXPECT_EQ(open.number(0, QStringLiteral("进价")), 120);
    const qint64 idA = open.integer(0, QStringLiteral("ID"));
    const qint64 idB = open.integer(1, QStringLiteral("ID"));
    const qint64 idC = open.integer(2, QStringLiteral("ID"));

    EXPECT_THROW(ps.returnToFactory({}, today(), Money()), Refusal);
    EXPECT_EQ(count(QStringLiteral("FactoryBackTotal")), 0);

    EXPECT_EQ(ps.returnToFactory({idA, idB}, today().addDays(-1), *Money::parse(QStringLiteral("165.5"))), 2);
    ResultSet t = db->exec(QStringLiteral("SELECT * FROM FactoryBackTotal"));
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.number(QStringLiteral("Amount")), 165.5);
    EXPECT_EQ(t.integer(QStringLiteral("Quantity")), 2);
    EXPECT_EQ(t.text(QStringLiteral("DateTime")), QStringLiteral("2026-12-08"));
    EXPECT_EQ(t.text(QStringLiteral("Seller")), ctx.session.user.No);
    EXPECT_EQ(t.text(QStringLiteral("SellerNo")), ctx.session.user.Name);
    EXPECT_EQ(count(QStringLiteral("BackStore"), QStringLiteral("IsBackFactory=1 AND BackFactoryDate='2026-12-08'")), 2);
    ASSERT_EQ(ps.openRows().rowCount(), 1);

    // A row already returned cannot be returned again; amount 0 is fine.
    EXPECT_THROW(ps.returnToFactory({idA, idC}, today(), Money()), Refusal);
    EXPECT_EQ(count(QStringLiteral("FactoryBackTotal")), 1);
    EXPECT_EQ(ps.returnToFactory({idC}, today(), Money()), 2);
    EXPECT_EQ(ps.openRows().rowCount(), 0);
    EXPECT_EQ(storeQuantity(*db, c), 0);
}

TEST_F(AfterSalesTest, ShopGoodsAreCopiedWithTheirWholeDescriptionInColumnOrder) {
    GoodsSpec g;
    g.typeNo = QStringLiteral("D7");
    const QString guid = plantGoods(*db, g);
    const ResultSet goods = readShopGoods(*db, ctx.session.shopNo, guid);
    ASSERT_EQ(goods.rowCount(), 1);
    EXPECT_EQ(goodsDescription(goods), (QVariantList{g.typeNo, g.name, g.brand, g.size, g.colour, g.leather,
                                                     g.grade, g.place}));
    EXPECT_EQ(readShopGoods(*db, QStringLiteral("另一家店"), guid).rowCount(), 0);
}

// Another till changes the sale row just after this till's operation has read it
// (the read is stale): the operation is refused whole, and no pair moves.
class ChangedAfterRead final : public PassThroughDatabase {
public:
    ChangedAfterRead(Database &db, QString meanwhile, QVariantList params)
        : PassThroughDatabase(db), meanwhile_(std::move(meanwhile)), params_(std::move(params)) {}
    ResultSet exec(const QString &sql, const QVariantList &params) override {
        ResultSet rs = db_.exec(sql, params);
        if (!meanwhile_.isEmpty() && sql.startsWith(QLatin1String("SELECT GUID,StoreGUID,ShopNo,TypeNo"))) {
            db_.exec(std::exchange(meanwhile_, QString()), params_);
        }
        return rs;
    }

private:
    QString meanwhile_;
    QVariantList params_;
};

TEST_F(AfterSalesTest, ASaleRowChangedByAnotherTillAfterTheReadIsRefusedAndNothingMoves) {
    const QString sold = goods(QStringLiteral("A1"), 200, 3);
    const QString repl = goods(QStringLiteral("B1"), 230, 2);
    const qint64 soldLot = firstLot(sold), replLot = firstLot(repl);
    const QString sale = sellPair(*db, ctx.session, sold);
    const QString returned = QStringLiteral("UPDATE Sell SET State=2 WHERE GUID=?");
    const QString exchanged = QStringLiteral("UPDATE Sell SET State=1,StoreGUID=? WHERE GUID=?");
    struct Case {
        const char *what;
        QString meanwhile;
        QVariantList params;
        std::function<void(Database &)> act;
    };
    const std::vector<Case> cases{
        {"second return", returned, {sale},
         [&](Database &d) {
             CustomerReturn(d, ctx.session, clock).returnPair(sale, CustomerReturn::Into::NormalStock, {});
         }},
        {"return into problem stock", returned, {sale},
         [&](Database &d) {
             CustomerReturn(d, ctx.session, clock).returnPair(sale, CustomerReturn::Into::ProblemStock, {});
         }},
        {"void of an exchanged row", exchanged, {repl, sale},
         [&](Database &d) { SaleVoid(d, ctx.session, clock).voidRow(sale, {}); }},
        {"exchange of a returned row", returned, {sale},
         [&](Database &d) {
             CustomerExchange(d, ctx.session, clock).commit({{sale, {}, repl, QStringLiteral("全"), yuan(230)}});
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ChangedAfterRead stale(*db, c.meanwhile, c.params);
        try {
            c.act(stale);
            ADD_FAILURE() << "not refused";
        } catch (const Refusal &e) {
            EXPECT_EQ(e.message(), kSaleRowTaken);
        }
        EXPECT_FALSE(db->inTransaction());
        EXPECT_EQ(storeQuantity(*db, sold), 2);
        EXPECT_EQ(storeQuantity(*db, repl), 2);
        EXPECT_EQ(lotQuantity(*db, soldLot), 2);
        EXPECT_EQ(lotQuantity(*db, replLot), 2);
        EXPECT_EQ(count(QStringLiteral("SellChange")), 0);
        EXPECT_EQ(count(QStringLiteral("BackStore")), 0);
        EXPECT_EQ(sellRow(sale).integer(QStringLiteral("State")), 0);
    }
    // Read afresh, the same return goes through once.
    CustomerReturn(*db, ctx.session, clock).returnPair(sale, CustomerReturn::Into::NormalStock, {});
    EXPECT_EQ(storeQuantity(*db, sold), 3);

    // A row another till exchanged after this till's screen showed it as sold: the
    // shop's rules hold for the row as it now is.
    setRule(QStringLiteral("ChangNotToBack"), 1);
    setRule(QStringLiteral("ChangeOneTime"), 1);
    const QString later = sellPair(*db, ctx.session, sold);
    CustomerExchange(*db, ctx.session, clock).commit({{later, {}, repl, QStringLiteral("全"), yuan(230)}});
    auto refusalOf = [](const std::function<void()> &act) {
        try {
            act();
        } catch (const Refusal &e) {
            return e.message().toStdString();
        }
        return std::string();
    };
    EXPECT_EQ(refusalOf([&] {
                  CustomerReturn(*db, ctx.session, clock).returnPair(later, CustomerReturn::Into::NormalStock, {});
              }),
              "对不起该商品已经调换过不能再退货！");
    EXPECT_EQ(refusalOf([&] {
                  CustomerExchange(*db, ctx.session, clock).commit({{later, {}, sold, QStringLiteral("全"), yuan(200)}});
              }),
              "对不起，该商品已经调换过一次了，不能进行二次调换了！");
    EXPECT_EQ(storeQuantity(*db, sold), 3);
    EXPECT_EQ(storeQuantity(*db, repl), 1);

    // A row without its goods key is still as read, and can be voided.
    const QString keyless = sellPair(*db, ctx.session, sold);
    db->exec(QStringLiteral("UPDATE Sell SET StoreGUID=NULL WHERE GUID=?"), {keyless});
    SaleVoid(*db, ctx.session, clock).voidRow(keyless, {});
    EXPECT_EQ(sellRow(keyless).integer(QStringLiteral("State")), 3);
}

}  // namespace
}  // namespace kestavion::test
