#include "foundation/refusal.h"
#include "kit/fixtures.h"
#include "selling/checkout.h"
#include "selling/sale_numbering.h"

using namespace kestavion;
using namespace kestavion::test;

namespace {

class CheckoutTest : public DbTest {
protected:
    SaleGoods goodsOf(const QString &guid) {
        return saleGoodsOf(db->exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {guid}), guid);
    }
    CheckoutResult sell(const SaleList &list, const QString &payment) {
        return Checkout(*db, ctx.session, clock).commit(list.lines(), Checkout::paymentOf(payment));
    }
    QString nextNo() { return SaleNumbering(*db, ctx.session.shopNo).next(clock.today()); }
    void plantSale(const QString &sellNo, const QString &shopNo) {
        db->exec(QStringLiteral("INSERT INTO Sell (GUID,ShopNo,SellNo,State) VALUES (?,?,?,0)"),
                 {newGuidForTest(), shopNo, sellNo});
    }
    static QString newGuidForTest() {
        static int n = 0;
        return QStringLiteral("{PLANTED-%1}").arg(++n);
    }
};

}  // namespace

TEST_F(CheckoutTest, WritesOneSellRowPerPairWithTheLotsPriceOldestFirst) {
    GoodsSpec pair;
    pair.quantity = 3;
    const QString guid = plantGoods(*db, pair);
    // Two lots; the older one has a single unit left, so the sale runs it out midway.
    const qint64 newer = plantLot(*db, guid, 90, 2, QDate(2026, 11, 1));
    const qint64 older = plantLot(*db, guid, 80, 1, QDate(2026, 10, 1));

    SaleList list;
    list.addDiscounted(goodsOf(guid), QStringLiteral("199"), QStringLiteral("2"), QStringLiteral("8.5"));
    const CheckoutResult r = sell(list, QStringLiteral("400"));

    EXPECT_EQ(r.sellNo, QStringLiteral("202612090001"));
    EXPECT_EQ(storeQuantity(*db, guid), 1);
    EXPECT_EQ(lotQuantity(*db, older), 0);
    EXPECT_EQ(lotQuantity(*db, newer), 1);

    const ResultSet rs = db->exec(QStringLiteral("SELECT * FROM Sell WHERE SellNo=? ORDER BY BuyPrice"), {r.sellNo});
    ASSERT_EQ(rs.rowCount(), 2);
    EXPECT_EQ(rs.columnCount(), 24);
    EXPECT_EQ(rs.number(0, QStringLiteral("BuyPrice")), 80);
    EXPECT_EQ(rs.text(0, QStringLiteral("BuyPriceId")), QString::number(older));
    EXPECT_EQ(rs.number(1, QStringLiteral("BuyPrice")), 90);
    EXPECT_EQ(rs.text(1, QStringLiteral("BuyPriceId")), QString::number(newer));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(rs.text(i, QStringLiteral("StoreGUID")), guid);
        EXPECT_EQ(rs.text(i, QStringLiteral("ShopNo")), kShopKey);
        EXPECT_EQ(rs.text(i, QStringLiteral("TypeNo")), QStringLiteral("A100"));
        EXPECT_EQ(rs.text(i, QStringLiteral("Name")), QStringLiteral("男皮鞋"));
        EXPECT_EQ(rs.text(i, QStringLiteral("Size")), QStringLiteral("40"));
        EXPECT_EQ(rs.text(i, QStringLiteral("ProductPlace")), QStringLiteral("温州"));
        EXPECT_EQ(rs.text(i, QStringLiteral("Quantity")), QStringLiteral("1"));
        EXPECT_EQ(rs.text(i, QStringLiteral("Price")), QStringLiteral("199"));
        EXPECT_EQ(rs.text(i, QStringLiteral("Abate")), QStringLiteral("8.5"));
        EXPECT_EQ(rs.text(i, QStringLiteral("Amount")), QStringLiteral("169"));
        EXPECT_EQ(rs.text(i, QStringLiteral("Seller")), QStringLiteral("admin"));
        EXPECT_EQ(rs.text(i, QStringLiteral("SellerName")), QStringLiteral("管理员"));
        EXPECT_EQ(rs.text(i, QStringLiteral("DateTime")), QStringLiteral("2026-12-09"));
        EXPECT_EQ(rs.integer(i, QStringLiteral("State")), 0);
        EXPECT_EQ(rs.text(i, QStringLiteral("Money1")), QStringLiteral("400"));
        EXPECT_EQ(rs.text(i, QStringLiteral("Money2")), QStringLiteral("62"));
        EXPECT_EQ(rs.text(i, QStringLiteral("GUID")).size(), 38);
    }
    EXPECT_EQ(nextNo(), QStringLiteral("202612090002"));
}

TEST_F(CheckoutTest, NewestLotFirstAndNoLotMeansZeroPriceAndKey) {
    setRule(QStringLiteral("SellOrder"), 1);
    GoodsSpec pair;
    pair.quantity = 5;
    const QString guid = plantGoods(*db, pair);
    const qint64 old1 = plantLot(*db, guid, 70, 1, QDate(2026, 9, 1));
    const qint64 new1 = plantLot(*db, guid, 95, 1, QDate(2026, 12, 1));
    const qint64 empty = plantLot(*db, guid, 99, 0, QDate(2026, 12, 5));

    SaleList list;
    list.addSpecial(goodsOf(guid), QStringLiteral("199"), QStringLiteral("3"), QStringLiteral("150"));
    // Payment typed with a thousands separator: the parsed amount is written.
    const CheckoutResult r = sell(list, QStringLiteral("1,000"));
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].lotId, new1);
    EXPECT_EQ(r.rows[0].buyPrice, yuan(95));
    EXPECT_EQ(r.rows[1].lotId, old1);
    EXPECT_EQ(r.rows[2].lotId, 0);
    EXPECT_EQ(r.rows[2].buyPrice, Money());
    EXPECT_EQ(lotQuantity(*db, empty), 0);
    EXPECT_EQ(storeQuantity(*db, guid), 2);
    const ResultSet rs = db->exec(QStringLiteral("SELECT BuyPrice,BuyPriceId,Abate,Amount,Money1,Money2 FROM Sell "
                                                 "WHERE GUID=?"),
                                  {r.rows[2].sellGuid});
    EXPECT_EQ(rs.text(QStringLiteral("BuyPrice")), QStringLiteral("0"));
    EXPECT_EQ(rs.text(QStringLiteral("BuyPriceId")), QStringLiteral("0"));
    EXPECT_EQ(rs.text(QStringLiteral("Abate")), QStringLiteral("特价"));
    EXPECT_EQ(rs.text(QStringLiteral("Amount")), QStringLiteral("150"));
    EXPECT_EQ(rs.text(QStringLiteral("Money1")), QStringLiteral("1000"));
    EXPECT_EQ(rs.text(QStringLiteral("Money2")), QStringLiteral("550"));

    // Payment checks: exact payment is enough, change 0; text that is no number pays 0.
    EXPECT_TRUE(Checkout::paymentCovers(Money::fromWhole(450), Checkout::paymentOf(QStringLiteral("450"))));
    EXPECT_FALSE(Checkout::paymentCovers(Money::fromWhole(450), Checkout::paymentOf(QStringLiteral("449.9"))));
    EXPECT_FALSE(Checkout::paymentCovers(Money::fromWhole(450), Checkout::paymentOf(QStringLiteral("5x00"))));
}

// The till's list was made when two pairs were left; another till sold one since.
TEST_F(CheckoutTest, StockNeverGoesBelowZeroTheWholeSaleIsRefused) {
    GoodsSpec pair;
    pair.quantity = 2;
    const QString guid = plantGoods(*db, pair);
    const qint64 lot = plantLot(*db, guid, 80, 2, QDate(2026, 1, 1));
    SaleList list;
    list.addDiscounted(goodsOf(guid), QStringLiteral("199"), QStringLiteral("2"), kFullPrice);
    db->exec(QStringLiteral("UPDATE Store SET Quantity=1 WHERE GUID=?"), {guid});
    try {
        sell(list, QStringLiteral("500"));
        ADD_FAILURE() << "sold a pair that was not there";
    } catch (const Refusal &r) {
        EXPECT_TRUE(r.message().contains(QStringLiteral("库存不足"))) << r.message().toStdString();
    }
    EXPECT_EQ(count(QStringLiteral("Sell")), 0);
    EXPECT_EQ(storeQuantity(*db, guid), 1);
    EXPECT_EQ(lotQuantity(*db, lot), 2);
    EXPECT_FALSE(db->inTransaction());
}

TEST_F(CheckoutTest, AFailingStatementLeavesNothingWritten) {
    GoodsSpec pair;
    pair.quantity = 3;
    const QString guid = plantGoods(*db, pair);
    const qint64 lot = plantLot(*db, guid, 80, 3, QDate(2026, 1, 1));
    // The engine refuses the second sale row of the sale.
    refuseWrites(*db, QStringLiteral("refuse_second"), QStringLiteral("INSERT"), QStringLiteral("Sell"),
                 QStringLiteral("(SELECT count(*) FROM Sell)>=1"), QStringLiteral("disk full"));
    SaleList list;
    list.addDiscounted(goodsOf(guid), QStringLiteral("199"), QStringLiteral("2"), kFullPrice);
    EXPECT_THROW(sell(list, QStringLiteral("500")), DbError);
    EXPECT_EQ(count(QStringLiteral("Sell")), 0);
    EXPECT_EQ(storeQuantity(*db, guid), 3);
    EXPECT_EQ(lotQuantity(*db, lot), 3);
    EXPECT_FALSE(db->inTransaction());
}

TEST_F(CheckoutTest, SaleNumbersRunPerShopAndDayAndStayUnique) {
    EXPECT_EQ(nextNo(), QStringLiteral("202612090001"));
    EXPECT_EQ(SaleNumbering::firstOfDay(QDate(2011, 7, 18)), QStringLiteral("201107180001"));
    // Another shop's and another day's numbers are never continued.
    plantSale(QStringLiteral("202612090007"), QStringLiteral("{OTHER-SHOP}"));
    plantSale(QStringLiteral("202612080042"), kShopKey);
    EXPECT_EQ(nextNo(), QStringLiteral("202612090001"));
    plantSale(QStringLiteral("202612090009"), kShopKey);
    plantSale(QStringLiteral("202612090010"), kShopKey);
    EXPECT_EQ(nextNo(), QStringLiteral("202612090011"));
    // Past 9999 the running number grows a digit instead of running into tomorrow.
    plantSale(QStringLiteral("202612099999"), kShopKey);
    EXPECT_EQ(nextNo(), QStringLiteral("2026120910000"));
    plantSale(QStringLiteral("2026120910000"), kShopKey);
    EXPECT_EQ(nextNo(), QStringLiteral("2026120910001"));

    EXPECT_EQ(SaleNumbering::previous(QStringLiteral("2026120910000")), QStringLiteral("202612099999"));
    EXPECT_EQ(SaleNumbering::previous(QStringLiteral("202612090002")), QStringLiteral("202612090001"));
    EXPECT_EQ(SaleNumbering::previous(QStringLiteral("202612090001")), std::nullopt);
    EXPECT_EQ(SaleNumbering::previous(QString()), std::nullopt);
}

TEST_F(CheckoutTest, TheNumberIsTakenAgainInsideTheCheckout) {
    GoodsSpec pair;
    pair.quantity = 2;
    const QString guid = plantGoods(*db, pair);
    const QString shown = nextNo();
    // Meanwhile a sale took the number the till shows.
    plantSale(shown, kShopKey);
    SaleList list;
    list.addDiscounted(goodsOf(guid), QStringLiteral("199"), QStringLiteral("1"), kFullPrice);
    const CheckoutResult r = sell(list, QStringLiteral("200"));
    EXPECT_EQ(r.sellNo, QStringLiteral("202612090002"));
    EXPECT_EQ(count(QStringLiteral("Sell"), QStringLiteral("SellNo=?"), {r.sellNo}), 1);
}
