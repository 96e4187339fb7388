#include "foundation/refusal.h"
#include "intake/delivery_import.h"
#include "intake/goods_intake.h"
#include "intake/sheet_reader.h"
#include "kit/fixtures.h"

using namespace kestavion;
using namespace kestavion::test;
using L = DeliveryLayout;

namespace {

QString fixture(const char *name) { return QStringLiteral(KESTAVION_INTAKE_DATA "/") + QLatin1String(name); }

const QDate kDay(2026, 12, 8);

class DeliveryImports : public DbTest {
protected:
    DeliveryImport importer() { return DeliveryImport(*db, kShopKey); }
    static DeliveryLayout rows(int first, int last) {
        DeliveryLayout l;
        l[L::BeginRow] = first;
        l[L::EndRow] = last;
        return l;
    }
    // The refusal a plan gives, or empty when it gives none.
    static QString refusalOf(const SheetReader &sheet, const DeliveryLayout &layout) {
        try {
            DeliveryImport::plan(sheet, layout, kDay);
        } catch (const Refusal &r) {
            return r.message();
        }
        return {};
    }
    // Every column of the three rows a Goods was written with, its keys left out.
    QStringList rowsOf(const QString &goods) {
        QStringList out;
        auto dump = [&](const QString &sql, const QStringList &skip) {
            ResultSet rs = db->exec(sql, {goods});
            for (int r = 0; r < rs.rowCount(); ++r)
                for (int c = 0; c < rs.columns().size(); ++c)
                    if (!skip.contains(rs.columns()[c], Qt::CaseInsensitive))
                        out << rs.columns()[c] + QLatin1Char('=') + rs.value(r, c).toString();
        };
        dump(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {QStringLiteral("GUID")});
        dump(QStringLiteral("SELECT * FROM StoreDetail WHERE ParentGUID=?"), {QStringLiteral("GUID"), QStringLiteral("ParentGUID")});
        dump(QStringLiteral("SELECT * FROM BuyPrice WHERE StoreGUID=?"), {QStringLiteral("ID"), QStringLiteral("StoreGUID")});
        return out;
    }
};

}  // namespace

TEST_F(DeliveryImports, NoteImportsOneGoodsPerFilledCellAsIfEnteredByHand) {
    for (const char *name : {"delivery_note.xls", "delivery_note.xlsx"}) {
        SCOPED_TRACE(name);
        db->exec(QStringLiteral("DELETE FROM Store"));
        db->exec(QStringLiteral("DELETE FROM StoreDetail"));
        db->exec(QStringLiteral("DELETE FROM BuyPrice"));
        const auto sheet = openSheet(fixture(name));
        // Rows 4 to 10, sizes 35 to 44: empty, 0 and -1 cells are skipped.
        const DeliveryPlan plan = DeliveryImport::plan(*sheet, rows(4, 10), kDay);
        EXPECT_EQ(plan.cellCount, 70);
        std::vector<int> heard;
        importer().write(plan, [&](int cell) { heard.push_back(cell); });
        EXPECT_EQ(heard, plan.cellOrdinal);
        ASSERT_GE(heard.size(), 3u);
        EXPECT_EQ(std::vector<int>(heard.begin(), heard.begin() + 3), (std::vector<int>{1, 5, 6}));  // 35, 39, 40 of row 4

        EXPECT_EQ(count("Store"), 21);
        EXPECT_EQ(count("StoreDetail"), 21);
        EXPECT_EQ(count("BuyPrice"), 21);
        EXPECT_EQ(db->scalar(QStringLiteral("SELECT SUM(Quantity) FROM Store")).toInt(), 30);
        EXPECT_EQ(count("Store", "Colour='黑色' AND Size='39' AND Quantity=3 AND Price=199 AND TypeNo='A1008'"), 1);
        EXPECT_EQ(count("Store", "Colour='米色' AND Size='44' AND Quantity=5"), 1);
        EXPECT_EQ(count("Store", "Colour='灰色'"), 10);
        EXPECT_EQ(count("Store", "Brand='O''Neil' AND TypeNo='B2051'"), 4);
        EXPECT_EQ(count("Store", "Name='Men''s'"), 1);
        // Material, grade and place columns not set: empty texts; shelf, level, memo empty.
        EXPECT_EQ(count("Store", "Leather='' AND Grade='' AND ProductPlace='' AND GoodsBlock='' AND GoodsFloor=''"), 21);
        EXPECT_EQ(count("StoreDetail", "Memo='' AND DateTime='2026-12-08'"), 21);
        EXPECT_EQ(count("BuyPrice", "Price=88.5 AND sDate='2026-12-08'"), 5);

        // One pair the way the batch intake writes it by hand: the same rows.
        const QString imported =
            db->scalar(QStringLiteral("SELECT GUID FROM Store WHERE Colour='黑色' AND Size='35' AND TypeNo='A1008'")).toString();
        GoodsIntake byHand;
        byHand.typeNo = QStringLiteral("A1008");
        byHand.brand = QStringLiteral("步履");
        byHand.name = QStringLiteral("男皮鞋");
        byHand.colour = QStringLiteral("黑色");
        byHand.size = QStringLiteral("35");
        byHand.quantity = 2;
        byHand.buyPrice = 88.5;
        byHand.retailPrice = 199;
        byHand.date = kDay;
        const QString hand = GoodsIntakeService(*db, kShopKey).takeInNew(byHand);
        EXPECT_EQ(rowsOf(imported), rowsOf(hand));
        EXPECT_EQ(rowsOf(imported).size(), 13 + 13 + 4);  // every column but the keys
    }
}

TEST_F(DeliveryImports, SettingsReadTheirLeadingNumberAndAreCheckedAgainstTheSheet) {
    EXPECT_EQ(L::readSetting(QStringLiteral("")), 0);
    EXPECT_EQ(L::readSetting(QStringLiteral("abc")), 0);
    EXPECT_EQ(L::readSetting(QStringLiteral(" 12行")), 12);
    EXPECT_EQ(L::readSetting(QStringLiteral("4.5")), 4);  // halves to even
    EXPECT_EQ(L::readSetting(QStringLiteral("5.5")), 6);
    EXPECT_EQ(L::readSetting(QStringLiteral("-3")), -3);

    const auto sheet = openSheet(fixture("delivery_note.xlsx"));
    EXPECT_EQ(refusalOf(*sheet, DeliveryLayout()), QStringLiteral("请输入结束行！"));
    DeliveryLayout l = rows(4, 10);
    l[L::SizeEndCol] = 70000;
    EXPECT_EQ(refusalOf(*sheet, l), QStringLiteral("尺码结束列的值70000超出范围！"));
    EXPECT_EQ(refusalOf(*sheet, rows(4, 20)), QStringLiteral("数据结束行20超出了表格的范围（表格共15行）！"));
    l = rows(4, 10);
    l[L::SellPriceCol] = 25;
    EXPECT_EQ(refusalOf(*sheet, l), QStringLiteral("零售价列号25超出了表格的范围（表格共19列）！"));
    l = rows(0, 10);
    EXPECT_EQ(refusalOf(*sheet, l), QStringLiteral("数据开始行不能小于1！"));
    l = rows(4, 10);
    l[L::BuyPriceCol] = 0;
    EXPECT_EQ(refusalOf(*sheet, l), QStringLiteral("第4行有数量，请设置进价列号！"));
    try {
        DeliveryImport::plan(*sheet, l, kDay);
    } catch (const LayoutRefusal &r) {
        EXPECT_EQ(r.setting(), L::BuyPriceCol);
    }

    // A last row before the first reads nothing; the empty import still succeeds.
    const DeliveryPlan none = DeliveryImport::plan(*sheet, rows(10, 4), kDay);
    EXPECT_TRUE(none.goods.empty());
    importer().write(none);
    EXPECT_EQ(count("Store"), 0);

    // With the material and grade columns set, their cells are read.
    l = rows(4, 4);
    l[L::LeatherCol] = 4;
    l[L::GradeCol] = 16;
    const DeliveryPlan withMaterial = DeliveryImport::plan(*sheet, l, kDay);
    ASSERT_EQ(withMaterial.goods.size(), 3u);
    EXPECT_EQ(withMaterial.goods[0].leather, QStringLiteral("牛皮"));
    EXPECT_EQ(withMaterial.goods[0].grade, QStringLiteral("一等品"));
}

TEST_F(DeliveryImports, ACellThatCannotBeWrittenIsNamedAndNothingIsWritten) {
    const auto sheet = openSheet(fixture("delivery_note.xls"));
    const QString tail = QStringLiteral("，没有导入任何数据。请改正表格后重新选择文件。");
    // Rows 4 to 12: row 12 has a quantity and no purchase price.
    EXPECT_EQ(refusalOf(*sheet, rows(4, 12)), QStringLiteral("第12行第17列（Q12）的进价是空的") + tail);
    EXPECT_EQ(refusalOf(*sheet, rows(13, 13)), QStringLiteral("第13行第7列（G13）的数量“1.5”不是整数") + tail);
    EXPECT_EQ(refusalOf(*sheet, rows(14, 14)), QStringLiteral("第14行第8列（H14）的数量“两双”不是数字") + tail);
    EXPECT_EQ(refusalOf(*sheet, rows(15, 15)), QStringLiteral("第15行第18列（R15）的零售价是空的") + tail);
    EXPECT_EQ(count("Store"), 0);
    // An empty price in a row without quantities is never read (row 11 is empty).
    EXPECT_EQ(refusalOf(*sheet, rows(4, 11)), QString());
}
