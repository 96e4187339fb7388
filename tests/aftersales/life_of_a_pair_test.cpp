// One pair followed from intake to the factory, every table checked at each step.
#include "aftersales/customer_exchange.h"
#include "aftersales/customer_return.h"
#include "aftersales/problem_stock.h"
#include "kit/fixtures.h"
#include "sale_kit.h"

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
};

TEST_F(LifeOfAPairTest, IntakeSaleExchangeReturnFactory) {
    // Intake: two articles, one lot each (the intake screens' rows, planted).
    GoodsSpec black;
    black.typeNo = QStringLiteral("ZMN0001");
    black.quantity = 2;
    black.price = 200;
    const QString a = plantIntake(*db, black, 90, QDate(2026, 11, 1));
    GoodsSpec brown = black;
    brown.typeNo = QStringLiteral("ZMN0002");
    brown.colour = QStringLiteral("棕色");
    brown.price = 230;
    brown.quantity = 1;
    const QString b = plantIntake(*db, brown, 110, QDate(2026, 11, 2));
    const qint64 lotA = db->scalar(QStringLiteral("SELECT ID FROM BuyPrice WHERE StoreGUID=?"), {a}).toLongLong();
    const qint64 lotB = db->scalar(QStringLiteral("SELECT ID FROM BuyPrice WHERE StoreGUID=?"), {b}).toLongLong();
    EXPECT_EQ(counts(), (Counts{2, 2, 2, 0, 0, 0, 0}));

    // Sale at full price, three days ago.
    SaleSpec s;
    s.date = QDate(2026, 12, 6);
    s.sellNo = QStringLiteral("202612060001");
    const QString sale = sellPair(*db, ctx.session, a, s);
    EXPECT_EQ(counts(), (Counts{2, 2, 2, 1, 0, 0, 0}));
    EXPECT_EQ(storeQuantity(*db, a), 1);
    EXPECT_EQ(lotQuantity(*db, lotA), 1);

    // Exchange for the dearer brown pair: the customer pays 30 more.
    CustomerExchange(*db, ctx.session, clock).commit({{sale, QStringLiteral("颜色不合适"), b, QStringLiteral("全"), 230}});
    EXPECT_EQ(counts(), (Counts{2, 2, 2, 1, 1, 0, 0}));
    EXPECT_EQ(storeQuantity(*db, a), 2);
    EXPECT_EQ(lotQuantity(*db, lotA), 2);
    EXPECT_EQ(storeQuantity(*db, b), 0);
    EXPECT_EQ(lotQuantity(*db, lotB), 0);
    ResultSet row = db->exec(QStringLiteral("SELECT * FROM Sell WHERE GUID=?"), {sale});
    EXPECT_EQ(row.text(QStringLiteral("StoreGUID")), b);
    EXPECT_EQ(row.integer(QStringLiteral("State")), 1);
    EXPECT_EQ(row.number(QStringLiteral("BuyPrice")), 110);
    EXPECT_EQ(row.integer(QStringLiteral("BuyPriceId")), lotB);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT AddAmount FROM SellChange WHERE State=1")).toDouble(), 30);

    // Returned next day, faulty: into problem stock; normal stock stays as it was.
    clock.setDate(QDate(2026, 12, 10));
    EXPECT_TRUE(returnRefusal(ctx.session.rules, 1, QStringLiteral("全"), s.date, clock.today()).isEmpty());
    CustomerReturn(*db, ctx.session, clock).returnPair(sale, CustomerReturn::Into::ProblemStock, QStringLiteral("开胶"));
    EXPECT_EQ(counts(), (Counts{2, 2, 2, 1, 2, 1, 0}));
    EXPECT_EQ(storeQuantity(*db, b), 0);
    EXPECT_EQ(lotQuantity(*db, lotB), 0);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT State FROM Sell WHERE GUID=?"), {sale}).toInt(), 2);
    ResultSet ret = db->exec(QStringLiteral("SELECT * FROM SellChange WHERE State=2"));
    EXPECT_EQ(ret.number(QStringLiteral("AddAmount")), 230);
    EXPECT_EQ(ret.text(QStringLiteral("StoreGUID")), b);
    EXPECT_EQ(ret.text(QStringLiteral("ChangeDate")), QStringLiteral("2026-12-10"));
    ResultSet back = db->exec(QStringLiteral("SELECT * FROM BackStore"));
    EXPECT_EQ(back.text(QStringLiteral("GUID")), b);
    EXPECT_EQ(back.number(QStringLiteral("BuyPrice")), 110);

    // Sent back to the factory.
    ProblemStock ps(*db, ctx.session);
    ResultSet open = ps.openRows();
    ASSERT_EQ(open.rowCount(), 1);
    EXPECT_EQ(open.number(0, QStringLiteral("数量")), 1);
    ps.returnToFactory({open.integer(0, QStringLiteral("ID"))}, clock.today(), Money::fromWhole(110));
    EXPECT_EQ(counts(), (Counts{2, 2, 2, 1, 2, 1, 1}));
    EXPECT_EQ(ps.openRows().rowCount(), 0);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT BackFactoryDate FROM BackStore")).toString(),
              QStringLiteral("2026-12-10"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Quantity FROM FactoryBackTotal")).toInt(), 1);
    // Normal stock never moved after the exchange.
    EXPECT_EQ(storeQuantity(*db, a), 2);
    EXPECT_EQ(storeQuantity(*db, b), 0);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT sum(Quantity) FROM BuyPrice")).toDouble(), 2);
}

}  // namespace
}  // namespace kestavion::test
