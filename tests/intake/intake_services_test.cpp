#include "foundation/refusal.h"
#include "foundation/session.h"
#include "intake/batch_matrix.h"
#include "intake/goods_intake.h"
#include "intake/intake_history.h"
#include "intake/price_change.h"
#include "kit/fixtures.h"

using namespace kestavion;
using namespace kestavion::test;

namespace {

GoodsIntake sample() {
    GoodsIntake in;
    in.typeNo = QStringLiteral("B'52");
    in.name = QStringLiteral("女靴");
    in.brand = QStringLiteral("红蜻蜓");
    in.size = QStringLiteral("38");
    in.colour = QStringLiteral("红色");
    in.leather = QStringLiteral("羊皮");
    in.grade = QStringLiteral("一等");
    in.place = QStringLiteral("温州");
    in.quantity = 5;
    in.retailPrice = 1000;
    in.buyPrice = 88.5;
    in.block = QStringLiteral("A柜");
    in.floor = QStringLiteral("2");
    in.memo = QStringLiteral("供货商 'O''Neil'");
    in.date = QDate(2026, 12, 8);
    return in;
}

class IntakeServices : public DbTest {
protected:
    GoodsIntakeService intake() { return GoodsIntakeService(*db, kShopKey); }
    IntakeHistory history() { return IntakeHistory(*db, ctx.session); }
    QString recordOf(const QString &goods) {
        return db->scalar(QStringLiteral("SELECT GUID FROM StoreDetail WHERE ParentGUID=? ORDER BY rowid LIMIT 1"),
                          {goods})
            .toString();
    }
};

}  // namespace

TEST_F(IntakeServices, NewGoodsWritesThreeRowsAndNeverMerges) {
    const GoodsIntake in = sample();
    const QString a = intake().takeInNew(in);
    const QString b = intake().takeInNew(in);
    EXPECT_NE(a, b);
    EXPECT_EQ(count("Store"), 2);
    EXPECT_EQ(count("BuyPrice"), 2);
    EXPECT_EQ(count("StoreDetail"), 2);

    ResultSet s = db->exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {a});
    EXPECT_EQ(s.text("ShopNo"), kShopKey);
    EXPECT_EQ(s.text("TypeNo"), QStringLiteral("B'52"));
    EXPECT_EQ(s.text("Colour"), QStringLiteral("红色"));
    EXPECT_EQ(s.number("Quantity"), 5);
    EXPECT_EQ(s.value(0, "Price").toString(), QStringLiteral("1000"));
    EXPECT_EQ(s.text("GoodsBlock"), QStringLiteral("A柜"));
    ResultSet d = db->exec(QStringLiteral("SELECT * FROM StoreDetail WHERE ParentGUID=?"), {a});
    EXPECT_EQ(d.text("Memo"), QStringLiteral("供货商 'O''Neil'"));
    EXPECT_EQ(d.number("Price"), 88.5);
    EXPECT_EQ(d.text("DateTime"), QStringLiteral("2026-12-08"));
    ResultSet l = db->exec(QStringLiteral("SELECT * FROM BuyPrice WHERE StoreGUID=?"), {a});
    EXPECT_EQ(l.number("Price"), 88.5);
    EXPECT_EQ(l.number("Quantity"), 5);
    EXPECT_EQ(l.text("sDate"), QStringLiteral("2026-12-08"));

    GoodsRow row = GoodsRow::fromIntake(a, in);
    EXPECT_EQ(row.tabText().split(QLatin1Char('\t')).size(), 13);
    EXPECT_TRUE(row.tabText().startsWith(QLatin1Char('\t') + a));
}

TEST_F(IntakeServices, BatchIsOneTransaction) {
    std::vector<GoodsIntake> batch{sample(), sample()};
    batch[1].colour = QStringLiteral("黑色");
    EXPECT_EQ(intake().takeInBatch(batch).size(), 2u);
    EXPECT_EQ(count("Store"), 2);

    // A statement rejected midway leaves none of the batch behind.
    db->exec(QStringLiteral("CREATE TRIGGER no_blue BEFORE INSERT ON BuyPrice WHEN "
                            "(SELECT Colour FROM Store WHERE GUID=NEW.StoreGUID)='蓝色' "
                            "BEGIN SELECT RAISE(ABORT,'blue refused'); END"));
    batch.push_back(sample());
    batch[2].colour = QStringLiteral("蓝色");
    EXPECT_THROW(intake().takeInBatch(batch), DbError);
    EXPECT_EQ(count("Store"), 2);
    EXPECT_EQ(count("StoreDetail"), 2);
    EXPECT_EQ(count("BuyPrice"), 2);
}

TEST_F(IntakeServices, RestockAddsQuantityAndOneLotPerIntake) {
    GoodsSpec g;
    g.quantity = 4;
    const QString guid = plantIntake(*db, g, 100, QDate(2026, 11, 1));
    GoodsRow row;
    row.guid = guid;
    row.typeNo = g.typeNo;
    row.brand = g.brand;
    row.colour = g.colour;
    intake().restock(row, 90, 3, QDate(2026, 12, 9));
    intake().restock(row, 95.5, -1, QDate(2026, 12, 9));
    EXPECT_EQ(storeQuantity(*db, guid), 6);
    ResultSet lots = db->exec(QStringLiteral("SELECT Price,Quantity FROM BuyPrice WHERE StoreGUID=? ORDER BY ID"), {guid});
    ASSERT_EQ(lots.rowCount(), 3);
    EXPECT_EQ(lots.number(1, 0), 90);
    EXPECT_EQ(lots.number(1, 1), 3);
    EXPECT_EQ(lots.number(2, 0), 95.5);
    EXPECT_EQ(lots.number(2, 1), -1);
    EXPECT_EQ(count("StoreDetail", "ParentGUID=? AND Memo='' AND [DateTime]='2026-12-09'", {guid}), 2);
    // Price never changes through a restock.
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Price FROM Store WHERE GUID=?"), {guid}).toDouble(), 199);

    // A Goods deleted meanwhile: refused, nothing written.
    db->exec(QStringLiteral("DELETE FROM Store WHERE GUID=?"), {guid});
    EXPECT_THROW(intake().restock(row, 90, 3, QDate(2026, 12, 9)), Refusal);
    EXPECT_EQ(count("BuyPrice", "StoreGUID=?", {guid}), 3);
}

TEST_F(IntakeServices, GoodsListKeepsToTheShop) {
    GoodsSpec mine, other;
    other.shopNo = QStringLiteral("{OTHER}");
    plantGoods(*db, mine);
    plantGoods(*db, other);
    ResultSet rs = intake().goodsList();
    EXPECT_EQ(rs.rowCount(), 1);
    QStringList expected;
    for (const char *c : kGoodsListColumns) expected << QString::fromUtf8(c);
    EXPECT_EQ(rs.columns(), expected);
}

TEST_F(IntakeServices, DeleteIntakeRefusedOnceSoldAndStockTest) {
    GoodsSpec g;
    g.quantity = 10;
    const QString guid = plantIntake(*db, g, 100, QDate(2026, 12, 1));
    const QString rec = recordOf(guid);
    EXPECT_FALSE(history().findLot(rec).sold);

    // One pair sold: the lot holds 9.
    db->exec(QStringLiteral("UPDATE BuyPrice SET Quantity=9 WHERE StoreGUID=?"), {guid});
    EXPECT_TRUE(history().findLot(rec).sold);
    EXPECT_EQ(history().remove(rec), IntakeChange::Sold);
    EXPECT_EQ(history().correct(rec, sample()).outcome, IntakeChange::Sold);
    EXPECT_EQ(count("StoreDetail"), 1);
    EXPECT_EQ(count("Store"), 1);
    EXPECT_EQ(count("BuyPrice"), 1);

    // Back to untouched: the only intake of the Goods removes the Goods row.
    db->exec(QStringLiteral("UPDATE BuyPrice SET Quantity=10 WHERE StoreGUID=?"), {guid});
    EXPECT_EQ(history().remove(rec), IntakeChange::Done);
    EXPECT_EQ(count("Store"), 0);
    EXPECT_EQ(count("StoreDetail"), 0);
    EXPECT_EQ(count("BuyPrice"), 0);
    EXPECT_EQ(history().remove(rec), IntakeChange::NoGoods);
}

TEST_F(IntakeServices, DeleteOneOfTwoIntakesLowersStockAndTakesItsOwnLot) {
    GoodsSpec g;
    g.quantity = 4;
    const QString guid = plantIntake(*db, g, 100, QDate(2026, 12, 1));
    GoodsRow row;
    row.guid = guid;
    // A second intake on the same day at another price and quantity.
    intake().restock(row, 80, 6, QDate(2026, 12, 1));
    const QString second =
        db->scalar(QStringLiteral("SELECT GUID FROM StoreDetail WHERE ParentGUID=? AND Quantity=6"), {guid}).toString();
    EXPECT_EQ(history().remove(second), IntakeChange::Done);
    EXPECT_EQ(storeQuantity(*db, guid), 4);
    ResultSet lots = db->exec(QStringLiteral("SELECT Price,Quantity FROM BuyPrice WHERE StoreGUID=?"), {guid});
    ASSERT_EQ(lots.rowCount(), 1);
    EXPECT_EQ(lots.number(0, 0), 100);  // the first intake's lot stays
    EXPECT_EQ(lots.number(0, 1), 4);

    // Stock 3 from an intake of 3, an older intake of 5 sold out: the Goods row goes.
    GoodsSpec h;
    h.typeNo = QStringLiteral("C9");
    h.quantity = 5;
    const QString g2 = plantIntake(*db, h, 50, QDate(2026, 10, 1));
    db->exec(QStringLiteral("UPDATE BuyPrice SET Quantity=0 WHERE StoreGUID=?"), {g2});
    db->exec(QStringLiteral("UPDATE Store SET Quantity=0 WHERE GUID=?"), {g2});
    GoodsRow r2;
    r2.guid = g2;
    intake().restock(r2, 50, 3, QDate(2026, 12, 9));
    const QString today =
        db->scalar(QStringLiteral("SELECT GUID FROM StoreDetail WHERE ParentGUID=? AND [DateTime]='2026-12-09'"), {g2})
            .toString();
    EXPECT_EQ(history().remove(today), IntakeChange::Done);
    EXPECT_EQ(count("Store", "GUID=?", {g2}), 0);
}

TEST_F(IntakeServices, CorrectionMovesTheIntakeToANewGoods) {
    GoodsSpec g;
    g.quantity = 7;
    g.price = 259;
    g.block = QStringLiteral("B");
    g.floor = QStringLiteral("3");
    const QString old = plantIntake(*db, g, 100, QDate(2026, 12, 1));
    GoodsRow row;
    row.guid = old;
    intake().restock(row, 100, 2, QDate(2026, 12, 2));  // the old Goods keeps this one
    const QString rec =
        db->scalar(QStringLiteral("SELECT GUID FROM StoreDetail WHERE ParentGUID=? AND Quantity=7"), {old}).toString();

    GoodsIntake fix = sample();
    fix.quantity = 6;
    fix.retailPrice = 1;  // ignored: the old retail price is kept
    const CorrectionResult r = history().correct(rec, fix);
    ASSERT_EQ(r.outcome, IntakeChange::Done);
    EXPECT_NE(r.goodsGuid, old);
    EXPECT_EQ(storeQuantity(*db, old), 2);
    ResultSet s = db->exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {r.goodsGuid});
    EXPECT_EQ(s.number("Price"), 259);
    EXPECT_EQ(s.number("Quantity"), 6);
    EXPECT_EQ(s.text("GoodsBlock"), QString());
    EXPECT_EQ(s.text("GoodsFloor"), QString());
    EXPECT_EQ(s.text("TypeNo"), QStringLiteral("B'52"));
    EXPECT_EQ(count("StoreDetail", "GUID=? AND ParentGUID=?", {r.recordGuid, r.goodsGuid}), 1);
    EXPECT_EQ(count("BuyPrice", "StoreGUID=? AND Quantity=6 AND Price=88.5", {r.goodsGuid}), 1);
    EXPECT_EQ(count("StoreDetail", "GUID=?", {rec}), 0);
}

TEST_F(IntakeServices, HistoryFilters) {
    GoodsSpec a, b, other;
    a.quantity = 1;
    b.typeNo = QStringLiteral("Z1");
    b.quantity = 2;
    other.shopNo = QStringLiteral("{OTHER}");
    plantIntake(*db, a, 10, QDate(2026, 11, 9));
    plantIntake(*db, b, 10, QDate(2026, 12, 9));
    plantIntake(*db, other, 10, QDate(2026, 12, 9));
    EXPECT_EQ(history().list().rowCount(), 2);
    IntakeFilter f;
    f.byDate = true;
    f.from = QDate(2026, 11, 9);
    f.to = QDate(2026, 11, 9);
    EXPECT_EQ(history().list(f).rowCount(), 1);
    f.to = QDate(2026, 12, 9);
    EXPECT_EQ(history().list(f).rowCount(), 2);
    f.byTypeNo = true;
    f.typeNo = QStringLiteral("Z1");
    EXPECT_EQ(history().list(f).rowCount(), 1);
    f.byDate = false;
    f.typeNo = QString();
    EXPECT_EQ(history().list(f).rowCount(), 0);
}

TEST_F(IntakeServices, PriceChangeByArticleStaysInTheShop) {
    GoodsSpec a, b, c, other;
    b.size = QStringLiteral("41");
    c.typeNo = QStringLiteral("X");
    other.shopNo = QStringLiteral("{OTHER}");
    const QString ga = plantGoods(*db, a);
    plantGoods(*db, b);
    plantGoods(*db, c);
    plantGoods(*db, other);
    PriceChange pc(*db, ctx.session);
    EXPECT_EQ(pc.find(QStringLiteral("A100")).rowCount(), 2);
    EXPECT_EQ(pc.find(QString()).rowCount(), 0);
    EXPECT_EQ(pc.setPriceForTypeNo(QStringLiteral("A100"), 1000), 2);
    EXPECT_EQ(count("Store", "Price=1000"), 2);
    EXPECT_EQ(count("Store", "ShopNo='{OTHER}' AND Price=199"), 1);
    EXPECT_EQ(pc.setPrice(ga, 12.5), 1);
    EXPECT_EQ(pc.setPrice(QStringLiteral("{NONE}"), 12.5), 0);
    EXPECT_EQ(count("Store", "Price=12.5"), 1);
}

TEST(BatchMatrix, TickingEditingAndUnticking) {
    BatchMatrix m;
    m.setColour(QStringLiteral("红"), true);
    m.setColour(QStringLiteral("黑"), true);
    for (const char *s : {"38", "39", "40"}) m.setSize(QString::fromLatin1(s), true);
    EXPECT_EQ(m.setCell(0, 0, QStringLiteral("2")), QStringLiteral("2"));
    EXPECT_EQ(m.setCell(0, 2, QStringLiteral(" 1,000 ")), QStringLiteral("1000"));
    EXPECT_EQ(m.setCell(1, 1, QStringLiteral("3")), QStringLiteral("3"));
    for (const char *bad : {"0", "-2", "abc", ""}) EXPECT_EQ(m.setCell(1, 2, QString::fromLatin1(bad)), QString());
    EXPECT_EQ(m.rowTotal(0), 1002);
    EXPECT_EQ(m.colTotal(1), 3);
    EXPECT_EQ(m.total(), 1005);

    // Unticking the middle size: 40's quantity moves into the second column.
    m.setSize(QStringLiteral("39"), false);
    EXPECT_EQ(m.sizes(), QStringList({QStringLiteral("38"), QStringLiteral("40")}));
    EXPECT_EQ(m.cellText(0, 1), QStringLiteral("1000"));
    EXPECT_EQ(m.cellText(1, 1), QString());
    EXPECT_EQ(m.total(), 1002);
    EXPECT_EQ(BatchMatrix::totalText(m.rowTotal(1)), QString());

    GoodsIntake base = sample();
    auto rows = m.intakes(base);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].size, QStringLiteral("38"));
    EXPECT_EQ(rows[1].size, QStringLiteral("40"));
    EXPECT_EQ(rows[1].quantity, 1000);
    EXPECT_EQ(rows[1].typeNo, base.typeNo);

    // Retick: the size comes back empty at the right.
    m.setSize(QStringLiteral("39"), true);
    EXPECT_EQ(m.sizes().last(), QStringLiteral("39"));
    EXPECT_EQ(m.cellText(1, 2), QString());
    m.setColour(QStringLiteral("红"), false);
    EXPECT_EQ(m.total(), 0);
}
