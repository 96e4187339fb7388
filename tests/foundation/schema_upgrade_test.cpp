#include "foundation/schema.h"
#include "kit/fixtures.h"

namespace kestavion::test {
namespace {

// A file of the first version (without the article index) is brought up to date, and
// the single-article profit's query then goes through the new index.
TEST_F(DbTest, FirstVersionFileGainsTheArticleIndex) {
    db->exec(QStringLiteral("DROP INDEX idx_sell_shop_type_date"));
    db->exec(QStringLiteral("PRAGMA user_version = 1"));
    checkAndUpgradeSchema(*db);
    EXPECT_EQ(db->scalar(QStringLiteral("PRAGMA user_version")).toInt(), kSchemaVersion);
    ResultSet plan = db->exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT TypeNo FROM Sell WHERE ShopNo=? AND TypeNo=? "
                                             "AND DateTime>=? AND DateTime<=? AND State<2"),
                              {kShopKey, QStringLiteral("A100"), QStringLiteral("2026-01-01"),
                               QStringLiteral("2026-12-31")});
    ASSERT_FALSE(plan.empty());
    EXPECT_TRUE(plan.text(0, plan.columnCount() - 1).contains(QStringLiteral("idx_sell_shop_type_date")));
    // A file of the version before the till kept its list gains the table for it.
    db->exec(QStringLiteral("DROP TABLE PendingSaleLine"));
    db->exec(QStringLiteral("PRAGMA user_version = 6"));
    checkAndUpgradeSchema(*db);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM PendingSaleLine")).toInt(), 0);
    // An up-to-date file is left as it is.
    EXPECT_NO_THROW(checkAndUpgradeSchema(*db));
    EXPECT_EQ(db->scalar(QStringLiteral("PRAGMA user_version")).toInt(), kSchemaVersion);
}

}  // namespace
}  // namespace kestavion::test
