// One pair followed from intake to the factory through the services the screens use,
// every table checked at each step.
#include "aftersales/customer_exchange.h"
#include "aftersales/customer_return.h"
#include "aftersales/problem_stock.h"
#include "intake/goods_intake.h"
#include "kit/fixtures.h"
#include "selling/checkout.h"

namespace kestavion::test {
namespace {

class LifeOfAPairTest : public DbTest {
protected:
    // Rows of every table the life of a pair touches.
    struct Counts {
        qint64 store, detail, lots, sell, change, back, factory;
        bool operator==(const Counts &) const = default;
    };
    Counts counts() {
        return {count(QStringLiteral("Store")),      count(QStringLiteral("StoreDetail")),
                count(QStringLiteral("BuyPrice")),   count(QStringLiteral("Sell")),
                count(QStringLiteral("SellChange")), count(QStringLiteral("BackStore")),
                count(QStringLiteral("FactoryBackTotal"))};
    }
    static GoodsIntake article(const QString &typeNo, const QString &colour, double retail, double quantity,
                               double buyPrice, const QDate &date) {
        GoodsIntake in;
        in.typeNo = typeNo;
        in.name = QStringLiteral("女单鞋");
        in.brand = QStringLiteral("自有品牌");
        in.size = QStringLiteral("37");
        in.colour = colour;
        in.leather = QStringLiteral("牛皮");
        in.grade = QStringLiteral("合格品");
        in.place = QStringLiteral("温州");
        in.quantity = quantity;
        in.retailPrice = retail;
        in.buyPrice = buyPrice;
        in.date = date;
        return in;
    }
    // The lots of a Goods as "price×units" in ID order.
    QStringList lots(const QString &storeGuid) {
        QStringList out;
        ResultSet rs = db->exec(QStringLiteral("SELECT Price,Quantity FROM BuyPrice WHERE StoreGUID=? ORDER BY ID"),
                                {storeGuid});
        for (int r = 0; r < rs.rowCount(); ++r)
            out << QStringLiteral("%1x%2").arg(rs.number(r, QStringLiteral("Price"))).arg(
                       rs.number(r, QStringLiteral("Quantity")));
        return out;
    }
    qint64 lotId(const QString &storeGuid, double price) {
        return db->scalar(QStringLiteral("SELECT ID FROM BuyPrice WHERE StoreGUID=? AND Price=?"), {storeGuid, price})
            .toLongLong();
    }
};

TEST_F(LifeOfAPairTest, IntakeSaleExchangeReturnFactory) {
    // Last in, first out: the replacement must come from the newest lot, while the
    // sold pair goes back to the lot it came from.
    setRule(QStringLiteral("SellOrder"), 1);

    // --- intake: two new articles, then a restock of the second one.
    clock.setDate(QDate(2026, 11, 1));
    GoodsIntakeService intake(*db, ctx.session.shopNo);
    const QString a = intake.takeInNew(article(QStringLiteral("ZMN0001"), QStringLiteral("黑色"), 200, 2, 90,
                                               QDate(2026, 11, 1)));
    const QString b = intake.takeInNew(article(QStringLiteral("ZMN0002"), QStringLiteral("棕色"), 230, 1, 110,
                                               QDate(2026, 11, 2)));
    GoodsRow brown;
    brown.guid = b;
    brown.typeNo = QStringLiteral("ZMN0002");
    brown.colour = QStringLiteral("棕色");
    intake.restock(brown, 120, 1, QDate(2026, 11, 20));
    EXPECT_EQ(counts(), (Counts{2, 3, 3, 0, 0, 0, 0}));
    EXPECT_EQ(storeQuantity(*db, a), 2);
    EXPECT_EQ(storeQuantity(*db, b), 2);
    EXPECT_EQ(lots(a), QStringList({QStringLiteral("90x2")}));
    EXPECT_EQ(lots(b), QStringList({QStringLiteral("110x1"), QStringLiteral("120x1")}));
    const qint64 lotA = lotId(a, 90), lotNew = lotId(b, 120);

    // --- sale at the till, full price, three days before the exchange.
    clock.setDate(QDate(2026, 12, 6));
    SaleLine line;
    line.goods.storeGuid = a;
    line.goods.typeNo = QStringLiteral("ZMN0001");
    line.goods.name = QStringLiteral("女单鞋");
    line.goods.size = QStringLiteral("37");
    line.goods.colour = QStringLiteral("黑色");
    line.price = yuan(200);
    line.abate = QStringLiteral("全");
    line.amount = 200;
    const CheckoutResult sold = Checkout(*db, ctx.session, clock).commit({line}, Money::fromWhole(200));
    ASSERT_EQ(sold.rows.size(), 1u);
    const QString sale = sold.rows[0].sellGuid;
    EXPECT_EQ(sold.sellNo, QStringLiteral("202612060001"));
    EXPECT_EQ(counts(), (Counts{2, 3, 3, 1, 0, 0, 0}));
    EXPECT_EQ(storeQuantity(*db, a), 1);
    EXPECT_EQ(lots(a), QStringList({QStringLiteral("90x1")}));
    ResultSet row = db->exec(QStringLiteral("SELECT * FROM Sell WHERE GUID=?"), {sale});
    EXPECT_EQ(row.integer(QStringLiteral("State")), 0);
    EXPECT_EQ(row.number(QStringLiteral("BuyPrice")), 90);
    EXPECT_EQ(row.integer(QStringLiteral("BuyPriceId")), lotA);
    // The after-sales screens find it by its number.
    SaleSearch byNo;
    byNo.sellNo = sold.sellNo;
    EXPECT_EQ(findSaleRows(*db, ctx.session.shopNo, byNo).rowCount(), 1);

    // --- exchanged for the dearer brown pair: the customer pays 30 more.
    clock.setDate(QDate(2026, 12, 9));
    EXPECT_TRUE(exchangeRefusal(ctx.session.rules, 0, QStringLiteral("全"), QDate(2026, 12, 6), clock.today()).isEmpty());
    CustomerExchange(*db, ctx.session, clock)
        .commit({{sale, QStringLiteral("颜色不合适"), b, QStringLiteral("全"), exchangeAmount(yuan(230), false, QStringLiteral("全"))}});
    EXPECT_EQ(counts(), (Counts{2, 3, 3, 1, 1, 0, 0}));
    EXPECT_EQ(storeQuantity(*db, a), 2);
    EXPECT_EQ(storeQuantity(*db, b), 1);
    EXPECT_EQ(lots(a), QStringList({QStringLiteral("90x2")}));
    EXPECT_EQ(lots(b), QStringList({QStringLiteral("110x1"), QStringLiteral("120x0")}));
    row = db->exec(QStringLiteral("SELECT * FROM Sell WHERE GUID=?"), {sale});
    EXPECT_EQ(row.text(QStringLiteral("StoreGUID")), b);
    EXPECT_EQ(row.text(QStringLiteral("TypeNo")), QStringLiteral("ZMN0002"));
    EXPECT_EQ(row.text(QStringLiteral("Colour")), QStringLiteral("棕色"));
    EXPECT_EQ(row.number(QStringLiteral("Price")), 230);
    EXPECT_EQ(row.number(QStringLiteral("Amount")), 230);
    EXPECT_EQ(row.number(QStringLiteral("BuyPrice")), 120);
    EXPECT_EQ(row.integer(QStringLiteral("BuyPriceId")), lotNew);
    EXPECT_EQ(row.integer(QStringLiteral("State")), 1);
    // … and keeps its number, date and seller.
    EXPECT_EQ(row.text(QStringLiteral("SellNo")), sold.sellNo);
    EXPECT_EQ(row.text(QStringLiteral("DateTime")), QStringLiteral("2026-12-06"));
    EXPECT_EQ(row.text(QStringLiteral("Seller")), ctx.session.user.No);
    ResultSet ex = db->exec(QStringLiteral("SELECT * FROM SellChange WHERE State=1"));
    ASSERT_EQ(ex.rowCount(), 1);
    EXPECT_EQ(ex.text(QStringLiteral("StoreGUID")), a);  // the sold goods as they were
    EXPECT_EQ(ex.number(QStringLiteral("Amount")), 200);
    EXPECT_EQ(ex.number(QStringLiteral("AddAmount")), 30);
    EXPECT_EQ(ex.number(QStringLiteral("BuyPrice")), 90);
    EXPECT_EQ(ex.integer(QStringLiteral("BuyPriceID")), lotA);
    EXPECT_EQ(ex.text(QStringLiteral("SellGUID")), sale);
    EXPECT_EQ(ex.text(QStringLiteral("ChangeDate")), QStringLiteral("2026-12-09"));
    EXPECT_EQ(ex.text(QStringLiteral("Resion")), QStringLiteral("颜色不合适"));

    // --- returned next day, faulty: into problem stock; normal stock does not move.
    clock.setDate(QDate(2026, 12, 10));
    EXPECT_TRUE(returnRefusal(ctx.session.rules, 1, QStringLiteral("全"), QDate(2026, 12, 6), clock.today()).isEmpty());
    CustomerReturn(*db, ctx.session, clock).returnPair(sale, CustomerReturn::Into::ProblemStock, QStringLiteral("开胶"));
    EXPECT_EQ(counts(), (Counts{2, 3, 3, 1, 2, 1, 0}));
    EXPECT_EQ(storeQuantity(*db, a), 2);
    EXPECT_EQ(storeQuantity(*db, b), 1);
    EXPECT_EQ(lots(b), QStringList({QStringLiteral("110x1"), QStringLiteral("120x0")}));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT State FROM Sell WHERE GUID=?"), {sale}).toInt(), 2);
    EXPECT_EQ(findSaleRows(*db, ctx.session.shopNo, byNo).rowCount(), 0);
    ResultSet ret = db->exec(QStringLiteral("SELECT * FROM SellChange WHERE State=2"));
    ASSERT_EQ(ret.rowCount(), 1);
    EXPECT_EQ(ret.text(QStringLiteral("StoreGUID")), b);
    EXPECT_EQ(ret.number(QStringLiteral("Amount")), 230);
    EXPECT_EQ(ret.number(QStringLiteral("AddAmount")), 230);
    EXPECT_EQ(ret.text(QStringLiteral("ChangeDate")), QStringLiteral("2026-12-10"));
    EXPECT_EQ(ret.text(QStringLiteral("Resion")), QStringLiteral("开胶"));
    ResultSet back = db->exec(QStringLiteral("SELECT * FROM BackStore"));
    EXPECT_EQ(back.text(QStringLiteral("GUID")), b);
    EXPECT_EQ(back.number(QStringLiteral("Quantity")), 1);
    EXPECT_EQ(back.number(QStringLiteral("BuyPrice")), 120);
    EXPECT_EQ(back.integer(QStringLiteral("IsBackFactory")), 0);
    EXPECT_TRUE(back.isNull(0, QStringLiteral("BackFactoryDate")));

    // --- sent back to the factory a week later.
    clock.setDate(QDate(2026, 12, 17));
    ProblemStock ps(*db, ctx.session);
    ResultSet open = ps.openRows();
    ASSERT_EQ(open.rowCount(), 1);
    EXPECT_EQ(open.number(0, QStringLiteral("数量")), 1);
    EXPECT_EQ(open.number(0, QStringLiteral("进价")), 120);
    EXPECT_EQ(ps.returnToFactory({open.integer(0, QStringLiteral("ID"))}, clock.today(), Money::fromWhole(120)), 1);
    EXPECT_EQ(counts(), (Counts{2, 3, 3, 1, 2, 1, 1}));
    EXPECT_EQ(ps.openRows().rowCount(), 0);
    back = db->exec(QStringLiteral("SELECT * FROM BackStore"));
    EXPECT_EQ(back.integer(QStringLiteral("IsBackFactory")), 1);
    EXPECT_EQ(back.text(QStringLiteral("BackFactoryDate")), QStringLiteral("2026-12-17"));
    ResultSet total = db->exec(QStringLiteral("SELECT * FROM FactoryBackTotal"));
    EXPECT_EQ(total.text(QStringLiteral("DateTime")), QStringLiteral("2026-12-17"));
    EXPECT_EQ(total.text(QStringLiteral("Seller")), ctx.session.user.No);
    EXPECT_EQ(total.text(QStringLiteral("SellerNo")), ctx.session.user.Name);
    EXPECT_EQ(total.number(QStringLiteral("Quantity")), 1);
    EXPECT_EQ(total.number(QStringLiteral("Amount")), 120);
    // Normal stock never moved after the exchange.
    EXPECT_EQ(storeQuantity(*db, a), 2);
    EXPECT_EQ(storeQuantity(*db, b), 1);
    EXPECT_EQ(lots(a), QStringList({QStringLiteral("90x2")}));
    EXPECT_EQ(lots(b), QStringList({QStringLiteral("110x1"), QStringLiteral("120x0")}));
}

}  // namespace
}  // namespace kestavion::test
