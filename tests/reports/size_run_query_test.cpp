#include "foundation/dictionary.h"
#include "foundation/refusal.h"
#include "reports/query_shop_kit.h"
#include "reports/size_run_query.h"

namespace kestavion::test {
namespace {

class SizeRunQueryTest : public QueryShopTest {
protected:
    QString soldOut(const QString &typeNo, const QString &size, const QString &colour) {
        const QString goods = takeIn({typeNo, size, colour, QStringLiteral("女单鞋"), QStringLiteral("自有品牌"), 200, 1});
        sell(goods, QDate(2026, 12, 1), 200);
        return goods;
    }
    static std::vector<qint64> pairs(const SizeRun &r) { return r.pairs; }
    static QStringList gapSizes(const SizeRunTable &t, const SizeRun &r) {
        QStringList out;
        for (int g : r.gaps) out << t.sizes[g];
        return out;
    }
};

TEST_F(SizeRunQueryTest, RunsSpanSizesEverTakenInAndMarkBrokenSizes) {
    // A1 black: 36 and 38 in stock, 37 and 39 sold out.
    takeIn({QStringLiteral("A1"), QStringLiteral("36"), QStringLiteral("黑色"), QStringLiteral("女单鞋"), QStringLiteral("自有品牌"), 200, 2});
    soldOut(QStringLiteral("A1"), QStringLiteral("37"), QStringLiteral("黑色"));
    takeIn({QStringLiteral("A1"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("女单鞋"), QStringLiteral("自有品牌"), 200, 1});
    soldOut(QStringLiteral("A1"), QStringLiteral("39"), QStringLiteral("黑色"));
    // A1 white: one size only.
    takeIn({QStringLiteral("A1"), QStringLiteral("38"), QStringLiteral("白色"), QStringLiteral("女单鞋"), QStringLiteral("自有品牌"), 200, 3});
    // B2: 35 and 40 only ever taken in: the sizes between are inside its run and broken.
    takeIn({QStringLiteral("B2"), QStringLiteral("40"), QStringLiteral("黑色")});
    takeIn({QStringLiteral("B2"), QStringLiteral("35"), QStringLiteral("黑色")});
    // Sizes the list does not know come after it, numbers by value, then text.
    takeIn({QStringLiteral("C3"), QStringLiteral("XL"), QStringLiteral("红色")});
    takeIn({QStringLiteral("C3"), QStringLiteral("46"), QStringLiteral("红色")});
    takeIn({QStringLiteral("C3"), QStringLiteral("9"), QStringLiteral("红色")});
    // All sold out: kept, hidden by the switch.
    soldOut(QStringLiteral("D4"), QStringLiteral("41"), QStringLiteral("黑色"));
    Article other{QStringLiteral("A1"), QStringLiteral("44")};
    other.shopNo = QStringLiteral("{OTHER-SHOP}");
    takeIn(other);
    // The list's order rules, not the sizes' values: 36 moved to the list's end.
    Dictionary(*db).remove(QStringLiteral("尺码"), QStringLiteral("36"));
    Dictionary(*db).add(QStringLiteral("尺码"), QStringLiteral("36"));

    const SizeRunTable all = SizeRunQuery(*db, ctx.session).load();
    EXPECT_EQ(all.sizes, QStringList({"34", "35", "37", "38", "39", "40", "41", "42", "43", "44", "45", "36", "9",
                                      "46", "XL"}));
    ASSERT_EQ(all.runs.size(), 5u);
    const SizeRun &white = all.runs[0], &black = all.runs[1], &b2 = all.runs[2], &c3 = all.runs[3];
    EXPECT_EQ(black.typeNo + black.colour, QStringLiteral("A1黑色"));
    EXPECT_EQ(white.typeNo + white.colour, QStringLiteral("A1白色"));
    // A1 black now runs 37..36 in list order: 37 0, 38 1, 39 0, ..., 36 2.
    EXPECT_EQ(all.sizes[black.first], QStringLiteral("37"));
    EXPECT_EQ(all.sizes[black.last], QStringLiteral("36"));
    EXPECT_EQ(gapSizes(all, black), QStringList({"39", "40", "41", "42", "43", "44", "45"}));
    EXPECT_EQ(black.total, 3);
    EXPECT_EQ(white.first, white.last);
    EXPECT_TRUE(white.gaps.empty());
    EXPECT_EQ(gapSizes(all, b2), QStringList({"37", "38", "39"}));
    EXPECT_EQ(c3.total, 15);
    EXPECT_EQ(all.sizes[c3.first], QStringLiteral("9"));
    EXPECT_EQ(all.sizes[c3.last], QStringLiteral("XL"));
    EXPECT_EQ(all.runs[4].total, 0);

    // Filters: article part (any case), empty runs, broken runs; columns shrink to
    // the sizes the kept runs span.
    const SizeRunTable b = SizeRunQuery::filter(all, QStringLiteral("b"), true, false);
    ASSERT_EQ(b.runs.size(), 1u);
    EXPECT_EQ(b.sizes, QStringList({"35", "37", "38", "39", "40"}));
    EXPECT_EQ(pairs(b.runs[0]), std::vector<qint64>({5, 0, 0, 0, 5}));
    EXPECT_EQ(gapSizes(b, b.runs[0]), QStringList({"37", "38", "39"}));
    EXPECT_EQ(SizeRunQuery::filter(all, {}, true, false).runs.size(), 4u);
    EXPECT_EQ(SizeRunQuery::filter(all, {}, false, false).runs.size(), 5u);
    const SizeRunTable broken = SizeRunQuery::filter(all, {}, true, true);
    ASSERT_EQ(broken.runs.size(), 2u);
    EXPECT_EQ(broken.runs[0].colour + broken.runs[1].typeNo, QStringLiteral("黑色B2"));
}

TEST_F(SizeRunQueryTest, KindAndBrandNarrowTheReadAndThePermissionIsChecked) {
    takeIn({QStringLiteral("K1"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"), QStringLiteral("奥康")});
    takeIn({QStringLiteral("K2"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("女单鞋"), QStringLiteral("奥康")});
    takeIn({QStringLiteral("K3"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"), QStringLiteral("森达")});
    SizeRunQuery q(*db, ctx.session);
    auto numbers = [](const SizeRunTable &t) {
        QStringList out;
        for (const SizeRun &r : t.runs) out << r.typeNo + r.kind + r.brand;
        return out;
    };
    EXPECT_EQ(numbers(q.load(QStringLiteral("男皮鞋"))), QStringList({"K1男皮鞋奥康", "K3男皮鞋森达"}));
    EXPECT_EQ(numbers(q.load({}, QStringLiteral("奥康"))), QStringList({"K1男皮鞋奥康", "K2女单鞋奥康"}));
    EXPECT_EQ(numbers(q.load(QStringLiteral("男皮鞋"), QStringLiteral("森达"))), QStringList({"K3男皮鞋森达"}));

    ctx.session.user.role.set(QStringLiteral("StoreQuery"), false);
    EXPECT_THROW(q.load(), Refusal);
}

}  // namespace
}  // namespace kestavion::test
