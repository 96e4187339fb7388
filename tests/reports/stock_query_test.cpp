#include "foundation/refusal.h"
#include "reports/query_shop_kit.h"
#include "reports/stock_query.h"

namespace kestavion::test {
namespace {

using StockQueryTest = QueryShopTest;

TEST_F(StockQueryTest, ShopStockIsSortedAndFilteredInMemory) {
    takeIn({QStringLiteral("ZB200"), QStringLiteral("39"), QStringLiteral("黑色")});
    takeIn({QStringLiteral("ZA100"), QStringLiteral("38"), QStringLiteral("白色")});
    takeIn({QStringLiteral("ZB200"), QStringLiteral("38"), QStringLiteral("黑色")});
    const QString soldOut = takeIn({QStringLiteral("xa105"), QStringLiteral("37"), QStringLiteral("红色"),
                                    QStringLiteral("女单鞋"), QStringLiteral("自有品牌"), 300, 1});
    sell(soldOut, QDate(2026, 12, 1), 300);
    Article other{QStringLiteral("ZA100")};
    other.shopNo = QStringLiteral("{OTHER-SHOP}");
    takeIn(other);

    StockQuery q(*db, ctx.session);
    const ResultSet all = q.shopStock();
    EXPECT_EQ(all.columns(), QStringList({"货号", "种类", "品牌", "面料", "等级", "产地", "颜色", "尺码", "数量", "零售价",
                                          "货柜号", "柜层"}));
    // Sold-out goods are read too; the other shop's are not. One run per article,
    // colours together, then sizes.
    EXPECT_EQ(column(all, QStringLiteral("货号")), QStringList({"ZA100", "ZB200", "ZB200", "xa105"}));
    EXPECT_EQ(column(all, QStringLiteral("尺码")), QStringList({"38", "38", "39", "37"}));
    EXPECT_EQ(column(all, QStringLiteral("数量")), QStringList({"5", "5", "5", "0"}));

    // The article number matches anywhere in it, whatever the letter case.
    EXPECT_EQ(column(StockQuery::filter(all, QStringLiteral("A10"), false), QStringLiteral("货号")),
              QStringList({"ZA100", "xa105"}));
    EXPECT_EQ(column(StockQuery::filter(all, QStringLiteral("A10"), true), QStringLiteral("货号")),
              QStringList({"ZA100"}));
    EXPECT_EQ(StockQuery::filter(all, QString(), true).rowCount(), 3);
    EXPECT_EQ(StockQuery::filter(all, QString(), false).rowCount(), 4);
    EXPECT_EQ(StockQuery::filter(all, QStringLiteral("nothing"), false).rowCount(), 0);
}

TEST_F(StockQueryTest, KindAndBrandQueryTakesEitherOrBoth) {
    takeIn({QStringLiteral("K1"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"), QStringLiteral("奥康")});
    takeIn({QStringLiteral("K2"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"), QStringLiteral("森达")});
    takeIn({QStringLiteral("K3"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("女单鞋"), QStringLiteral("奥康")});
    const QString gone = takeIn({QStringLiteral("K4"), QStringLiteral("38"), QStringLiteral("黑色"),
                                 QStringLiteral("男皮鞋"), QStringLiteral("奥康"), 100, 1});
    sell(gone, QDate(2026, 12, 1), 100);

    StockQuery q(*db, ctx.session);
    EXPECT_EQ(column(q.byKindBrand(QStringLiteral("男皮鞋"), {}, true), QStringLiteral("货号")), QStringList({"K1", "K2"}));
    EXPECT_EQ(column(q.byKindBrand(QStringLiteral("男皮鞋"), {}, false), QStringLiteral("货号")),
              QStringList({"K1", "K2", "K4"}));
    EXPECT_EQ(column(q.byKindBrand({}, QStringLiteral("奥康"), true), QStringLiteral("货号")), QStringList({"K1", "K3"}));
    EXPECT_EQ(column(q.byKindBrand(QStringLiteral("男皮鞋"), QStringLiteral("奥康"), false), QStringLiteral("货号")),
              QStringList({"K1", "K4"}));
}

TEST_F(StockQueryTest, ProblemStockListsOnlyPairsStillInTheShop) {
    const QString b = takeIn({QStringLiteral("P2")});
    const QString a = takeIn({QStringLiteral("P1")});
    setAside(b, 2, QStringLiteral("开胶"));
    const qint64 sent = setAside(a, 1, QStringLiteral("断底"));
    setAside(a, 1, QStringLiteral("色差"));
    sendToFactory(sent, QDate(2026, 12, 5));

    const ResultSet rs = StockQuery(*db, ctx.session).problemStock();
    EXPECT_EQ(rs.columns(), QStringList({"货号", "种类", "品牌", "面料", "等级", "产地", "进价", "颜色", "尺码", "数量", "问题"}));
    EXPECT_EQ(column(rs, QStringLiteral("货号")), QStringList({"P1", "P2"}));
    EXPECT_EQ(column(rs, QStringLiteral("问题")), QStringList({"色差", "开胶"}));
    EXPECT_EQ(column(rs, QStringLiteral("数量")), QStringList({"1", "2"}));
    EXPECT_EQ(column(rs, QStringLiteral("进价")), QStringList({"90", "180"}));
}

}  // namespace
}  // namespace kestavion::test
