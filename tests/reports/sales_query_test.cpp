#include "reports/query_shop_kit.h"
#include "reports/sales_query.h"

namespace kestavion::test {
namespace {

class SalesQueryTest : public QueryShopTest {
protected:
    // Six pairs over three days: three stand as sold, one was exchanged for a dearer
    // pair, one returned, one voided; and another shop's sale on the same day.
    void SetUp() override {
        QueryShopTest::SetUp();
        black38 = takeIn({QStringLiteral("S200"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("女单鞋"),
                          QStringLiteral("自有品牌"), 200});
        black37 = takeIn({QStringLiteral("S200"), QStringLiteral("37"), QStringLiteral("黑色"), QStringLiteral("女单鞋"),
                          QStringLiteral("自有品牌"), 200});
        boots = takeIn({QStringLiteral("S100"), QStringLiteral("40"), QStringLiteral("棕色"), QStringLiteral("靴子"),
                        QStringLiteral("奥康"), 350});
        sell(black38, QDate(2026, 12, 7), 200);
        sell(black38, QDate(2026, 12, 7), 169);
        const QString exchanged = sell(black37, QDate(2026, 12, 8), 180);
        exchange(exchanged, boots, 350, QDate(2026, 12, 9));
        returnPair(sell(black37, QDate(2026, 12, 8), 200), QDate(2026, 12, 9));
        voidSale(sell(boots, QDate(2026, 12, 9), 350), QDate(2026, 12, 9));
        sell(black37, QDate(2026, 12, 9), 200);
        plantOtherShopSale(QDate(2026, 12, 9));
    }
    SalesQueryResult run(const QDate &from, const QDate &to, const QString &kind = {}, const QString &brand = {}) {
        return SalesQuery(*db, ctx.session).query({from, to, kind, brand});
    }
    QString black38, black37, boots;
};

TEST_F(SalesQueryTest, ListsStandingSalesOfThePeriodWithTheirFigures) {
    const SalesQueryResult r = run(QDate(2026, 12, 7), QDate(2026, 12, 9));
    EXPECT_EQ(r.rows.columns(), QStringList({"货号", "种类", "品牌", "尺码", "颜色", "面料", "等级", "产地", "数量", "零售价",
                                             "折扣", "实收金额", "销售员", "销售编号", "销售日期"}));
    // Returned and voided pairs never show; the exchanged one shows as the pair the
    // customer took home. Sorted by article, size and colour.
    EXPECT_EQ(column(r.rows, QStringLiteral("货号")), QStringList({"S100", "S200", "S200", "S200"}));
    EXPECT_EQ(column(r.rows, QStringLiteral("尺码")), QStringList({"40", "37", "38", "38"}));
    EXPECT_EQ(column(r.rows, QStringLiteral("实收金额")), QStringList({"350", "200", "200", "169"}));
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(r.pairs, 4);
    EXPECT_EQ(r.amount, Money::fromWhole(919));

    // Both ends are included; a single day; an end before the beginning.
    EXPECT_EQ(run(QDate(2026, 12, 7), QDate(2026, 12, 7)).count, 2);
    EXPECT_EQ(run(QDate(2026, 12, 9), QDate(2026, 12, 9)).count, 1);
    const SalesQueryResult none = run(QDate(2026, 12, 9), QDate(2026, 12, 7));
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(none.amount, Money());

    // Kind, brand, both.
    EXPECT_EQ(run(QDate(2026, 12, 1), QDate(2026, 12, 9), QStringLiteral("女单鞋")).count, 3);
    EXPECT_EQ(run(QDate(2026, 12, 1), QDate(2026, 12, 9), {}, QStringLiteral("奥康")).amount, Money::fromWhole(350));
    EXPECT_EQ(run(QDate(2026, 12, 1), QDate(2026, 12, 9), QStringLiteral("女单鞋"), QStringLiteral("奥康")).count, 0);
}

TEST_F(SalesQueryTest, PerDayCoversEveryDayOfThePeriod) {
    const SalesQueryResult r = run(QDate(2026, 12, 6), QDate(2026, 12, 10));
    const std::vector<DaySales> days = SalesQuery::perDay(r, QDate(2026, 12, 6), QDate(2026, 12, 10));
    ASSERT_EQ(days.size(), 5u);
    EXPECT_EQ(days[0].day, QDate(2026, 12, 6));
    EXPECT_EQ(days[4].day, QDate(2026, 12, 10));
    std::vector<qint64> pairs;
    std::vector<Money> money;
    for (const DaySales &d : days) {
        pairs.push_back(d.pairs);
        money.push_back(d.amount);
    }
    EXPECT_EQ(pairs, (std::vector<qint64>{0, 2, 1, 1, 0}));
    // The exchanged pair counts on its sale day at the replacement's money.
    EXPECT_EQ(money, (std::vector<Money>{Money(), Money::fromWhole(369), Money::fromWhole(350), Money::fromWhole(200),
                                         Money()}));
    EXPECT_TRUE(SalesQuery::perDay(r, QDate(2026, 12, 10), QDate(2026, 12, 6)).empty());
}

TEST_F(SalesQueryTest, RankingCountsPairsPerGoodsBestFirst) {
    const ResultSet rs = SalesQuery(*db, ctx.session).ranking(QDate(2026, 12, 1), QDate(2026, 12, 9));
    EXPECT_EQ(rs.columns(), QStringList({"货号", "种类", "品牌", "尺码", "颜色", "面料", "等级", "产地", "数量"}));
    // Two sizes of one article rank apart; the returned and voided pairs count for
    // nothing; equal counts stand by article number, then size.
    EXPECT_EQ(column(rs, QStringLiteral("货号")), QStringList({"S200", "S100", "S200"}));
    EXPECT_EQ(column(rs, QStringLiteral("尺码")), QStringList({"38", "40", "37"}));
    EXPECT_EQ(column(rs, QStringLiteral("数量")), QStringList({"2", "1", "1"}));
    EXPECT_TRUE(SalesQuery(*db, ctx.session).ranking(QDate(2026, 12, 9), QDate(2026, 12, 1)).empty());
}

}  // namespace
}  // namespace kestavion::test
