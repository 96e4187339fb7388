#include "kit/fixtures.h"
#include "selling/checkout.h"
#include "selling/kept_sale.h"

#include <QSysInfo>

using namespace kestavion;
using namespace kestavion::test;

namespace {

class KeptSaleTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        GoodsSpec a;
        a.quantity = 3;
        a.price = 199;
        guidA = plantIntake(*db, a, 80, QDate(2026, 11, 1));
        GoodsSpec b;
        b.typeNo = QStringLiteral("B200");
        b.size = QStringLiteral("38");
        b.colour = QStringLiteral("白色");
        b.quantity = 2;
        b.price = 299;
        guidB = plantIntake(*db, b, 150, QDate(2026, 11, 5));
    }
    SaleGoods goodsOf(const QString &guid) {
        return saleGoodsOf(db->exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {guid}), guid);
    }
    // Two pairs of A100 at 8.5 and one B200 at a special 250, kept as the till adds them.
    SaleList buildAndKeep(KeptSale &kept) {
        SaleList list;
        list.addDiscounted(goodsOf(guidA), QStringLiteral("199"), QStringLiteral("2"), QStringLiteral("8.5"));
        list.addSpecial(goodsOf(guidB), QStringLiteral("299"), QStringLiteral("1"), QStringLiteral("250"));
        const std::vector<qint64> ids = kept.add(list.lines(), 0);
        for (std::size_t i = 0; i < ids.size(); ++i) list.setKeptId(static_cast<int>(i), ids[i]);
        return list;
    }
    QString guidA, guidB;
};

}  // namespace

// Lines come back as they were kept, in order, with their keys; removing one forgets
// exactly it; the list is the seller's on this till alone; the stock, the lots and the
// sales never move.
TEST_F(KeptSaleTest, KeptLinesComeBackAsTheyWereForTheSameSellerAndTillOnly) {
    KeptSale kept(*db, ctx.session);
    EXPECT_FALSE(kept.exists());
    SaleList list = buildAndKeep(kept);
    ASSERT_EQ(list.size(), 3);
    EXPECT_TRUE(kept.exists());
    kept.remove(list.lines()[1].keptId);  // the second pair of A100

    const KeptSale::Restored r = kept.restore();
    EXPECT_TRUE(r.dropped.isEmpty());
    ASSERT_EQ(r.lines.size(), 2u);
    for (const auto &[got, was] : {std::pair{r.lines[0], list.lines()[0]}, std::pair{r.lines[1], list.lines()[2]}}) {
        EXPECT_EQ(got.goods.storeGuid, was.goods.storeGuid);
        EXPECT_EQ(got.goods.colour, was.goods.colour);
        EXPECT_EQ(got.goods.onHand, was.goods.onHand);
        EXPECT_EQ(got.price, was.price);
        EXPECT_EQ(got.abate, was.abate);
        EXPECT_EQ(got.amount, was.amount);
        EXPECT_EQ(got.keptId, was.keptId);
    }
    EXPECT_EQ(r.lines[1].abate, kSpecialPrice);

    // Another seller on this till, or this seller on another till, finds nothing.
    Session other = ctx.session;
    other.user.No = QStringLiteral("002");
    EXPECT_FALSE(KeptSale(*db, other).exists());
    Session otherTill = ctx.session;
    otherTill.tillKey = QStringLiteral("till-2");
    EXPECT_FALSE(KeptSale(*db, otherTill).exists());
    // Without a key of its own a till is the embedded file's single till, or on a
    // server this machine.
    Session namedTill = ctx.session;
    namedTill.tillKey =
        testServer().isEmpty() ? kSingleTillKey : QStringLiteral("机器 ") + QSysInfo::machineHostName();
    EXPECT_TRUE(KeptSale(*db, namedTill).exists());

    EXPECT_EQ(count(QStringLiteral("Sell")), 0);
    EXPECT_EQ(storeQuantity(*db, guidA), 3);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT sum(Quantity) FROM BuyPrice")).toInt(), 5);

    kept.discard();
    EXPECT_FALSE(kept.exists());
}

// Goods gone, repriced or sold out since are left out and named; the kept list then
// holds only what came back.
TEST_F(KeptSaleTest, RestoreLeavesOutWhatCanNoLongerBeSold) {
    GoodsSpec c;
    c.typeNo = QStringLiteral("C300");
    c.quantity = 1;
    const QString guidC = plantGoods(*db, c);
    KeptSale kept(*db, ctx.session);
    SaleList list = buildAndKeep(kept);
    list.addDiscounted(goodsOf(guidC), QStringLiteral("199"), QStringLiteral("1"), kFullPrice);
    kept.add(list.lines(), 3);

    db->exec(QStringLiteral("UPDATE Store SET Quantity=1 WHERE GUID=?"), {guidA});  // one A100 sold elsewhere
    db->exec(QStringLiteral("UPDATE Store SET Price=319 WHERE GUID=?"), {guidB});
    db->exec(QStringLiteral("DELETE FROM Store WHERE GUID=?"), {guidC});

    const KeptSale::Restored r = kept.restore();
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0].goods.storeGuid, guidA);
    EXPECT_EQ(r.lines[0].goods.onHand, 1);
    EXPECT_EQ(r.dropped, QStringList({QStringLiteral("货号 A100 尺码 40 颜色 黑色：库存不足"),
                                      QStringLiteral("货号 B200 尺码 38 颜色 白色：零售价已由 299 改为 319"),
                                      QStringLiteral("货号 C300 尺码 40 颜色 黑色：商品已不存在")}));
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 1);
    const KeptSale::Restored again = kept.restore();
    ASSERT_EQ(again.lines.size(), 1u);
    EXPECT_TRUE(again.dropped.isEmpty());
    EXPECT_EQ(again.lines[0].keptId, r.lines[0].keptId);
}

// The checkout removes the kept list with the sale it writes; a checkout that fails
// leaves it.
TEST_F(KeptSaleTest, CheckoutRemovesTheKeptListInItsOwnTransaction) {
    KeptSale kept(*db, ctx.session);
    SaleList list = buildAndKeep(kept);
    Session other = ctx.session;
    other.user.No = QStringLiteral("002");
    KeptSale(*db, other).add(list.lines(), 2);

    refuseWrites(*db, QStringLiteral("refuse_sell"), QStringLiteral("INSERT"), QStringLiteral("Sell"),
                 QStringLiteral("NEW.StoreGUID='") + guidB + QStringLiteral("'"), QStringLiteral("disk full"));
    EXPECT_THROW(Checkout(*db, ctx.session, clock).commit(list.lines(), yuan(600)), DbError);
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 4);
    db->exec(QStringLiteral("DROP TRIGGER refuse_sell") +
             (testServer().isEmpty() ? QString() : QStringLiteral(" ON Sell")));

    Checkout(*db, ctx.session, clock).commit(list.lines(), yuan(600));
    EXPECT_FALSE(kept.exists());
    EXPECT_TRUE(KeptSale(*db, other).exists());  // another seller's list stays
}
