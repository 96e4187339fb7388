#include "foundation/refusal.h"
#include "reports/after_sales_query.h"
#include "reports/query_shop_kit.h"
#include "reports/sales_query.h"
#include "reports/size_run_query.h"
#include "reports/stock_query.h"

namespace kestavion::test {
namespace {

using AfterSalesQueryTest = QueryShopTest;

TEST_F(AfterSalesQueryTest, EachListHoldsItsOwnKindOfRecordByItsDate) {
    const QString a = takeIn({QStringLiteral("R1")});
    const QString b = takeIn({QStringLiteral("R2"), QStringLiteral("39"), QStringLiteral("白色")});
    exchange(sell(a, QDate(2026, 12, 1), 200), b, 200, QDate(2026, 12, 3));
    returnPair(sell(a, QDate(2026, 12, 2), 200), QDate(2026, 12, 4));
    voidSale(sell(b, QDate(2026, 12, 4), 200), QDate(2026, 12, 4));
    // Another shop's return on the same day never shows.
    db->exec(QStringLiteral("INSERT INTO SellChange (GUID,ShopNo,TypeNo,ChangeDate,State) VALUES ('{X}','{OTHER}','Z',?,2)"),
             {QStringLiteral("2026-12-04")});

    AfterSalesQuery q(*db, ctx.session);
    const ResultSet ex = q.exchanges(QDate(2026, 12, 1), QDate(2026, 12, 9));
    EXPECT_EQ(ex.columns(), QStringList({"货号", "种类", "品牌", "尺码", "颜色", "面料", "等级", "产地", "数量", "零售价", "折扣",
                                         "应收金额", "销售员", "销售日期", "调换日期", "调换原因"}));
    // The exchange record describes the pair as it was sold.
    EXPECT_EQ(column(ex, QStringLiteral("货号")), QStringList({"R1"}));
    EXPECT_EQ(column(ex, QStringLiteral("销售日期")), QStringList({"2026-12-01"}));
    EXPECT_EQ(column(ex, QStringLiteral("调换原因")), QStringList({"颜色不合适"}));

    const ResultSet back = q.returns(QDate(2026, 12, 1), QDate(2026, 12, 9));
    EXPECT_EQ(back.columns().mid(14), QStringList({"退货日期", "退货原因"}));
    EXPECT_EQ(column(back, QStringLiteral("退货日期")), QStringList({"2026-12-04"}));
    const ResultSet voided = q.voids(QDate(2026, 12, 1), QDate(2026, 12, 9));
    EXPECT_EQ(voided.columns().mid(14), QStringList({"作废日期", "作废原因"}));
    EXPECT_EQ(column(voided, QStringLiteral("货号")), QStringList({"R2"}));

    // The record's date counts, not the sale's; both ends are included.
    EXPECT_EQ(q.exchanges(QDate(2026, 12, 3), QDate(2026, 12, 3)).rowCount(), 1);
    EXPECT_EQ(q.exchanges(QDate(2026, 12, 1), QDate(2026, 12, 2)).rowCount(), 0);
    EXPECT_EQ(q.returns(QDate(2026, 12, 4), QDate(2026, 12, 4)).rowCount(), 1);
    EXPECT_EQ(q.returns(QDate(2026, 12, 5), QDate(2026, 12, 9)).rowCount(), 0);
}

TEST_F(AfterSalesQueryTest, FactoryReturnsAreTheSentBackProblemGoodsByTheirSendingDate) {
    const QString a = takeIn({QStringLiteral("F2")});
    const QString b = takeIn({QStringLiteral("F1")});
    const qint64 first = setAside(a, 2, QStringLiteral("开胶"));
    const qint64 second = setAside(b, 1, QStringLiteral("断底"));
    setAside(b, 1, QStringLiteral("色差"));  // still in the shop
    sendToFactory(first, QDate(2026, 12, 5));
    sendToFactory(second, QDate(2026, 12, 8));

    AfterSalesQuery q(*db, ctx.session);
    const ResultSet rs = q.factoryReturns(QDate(2026, 12, 1), QDate(2026, 12, 9));
    EXPECT_EQ(rs.columns(), QStringList({"货号", "种类", "品牌", "尺码", "颜色", "面料", "等级", "产地", "数量", "退货金额",
                                         "退货日期"}));
    EXPECT_EQ(column(rs, QStringLiteral("货号")), QStringList({"F1", "F2"}));
    EXPECT_EQ(column(rs, QStringLiteral("退货金额")), QStringList({"90", "180"}));
    EXPECT_EQ(column(rs, QStringLiteral("退货日期")), QStringList({"2026-12-08", "2026-12-05"}));
    EXPECT_EQ(column(q.factoryReturns(QDate(2026, 12, 5), QDate(2026, 12, 5)), QStringLiteral("货号")),
              QStringList({"F2"}));
}

// Every query answers to the key of the menu entry that opens its screen, and to no
// other.
TEST_F(AfterSalesQueryTest, EachQueryNeedsItsEntrysPermission) {
    const QDate d(2026, 12, 9);
    const std::vector<std::pair<QString, std::function<void()>>> queries = {
        {QStringLiteral("StoreQuery"), [&] { StockQuery(*db, ctx.session).shopStock(); }},
        {QStringLiteral("StoreQuery"), [&] { StockQuery(*db, ctx.session).byKindBrand({}, {}, true); }},
        {QStringLiteral("StoreQuery"), [&] { StockQuery(*db, ctx.session).problemStock(); }},
        {QStringLiteral("SellQuery"), [&] { SalesQuery(*db, ctx.session).query({d, d, {}, {}}); }},
        {QStringLiteral("SellGroup"), [&] { SalesQuery(*db, ctx.session).ranking(d, d); }},
        {QStringLiteral("ClientChangeQuery"), [&] { AfterSalesQuery(*db, ctx.session).exchanges(d, d); }},
        {QStringLiteral("ClientChangeQuery"), [&] { AfterSalesQuery(*db, ctx.session).returns(d, d); }},
        {QStringLiteral("BlankOutQuery"), [&] { AfterSalesQuery(*db, ctx.session).voids(d, d); }},
        {QStringLiteral("FactoryBackQuery"), [&] { AfterSalesQuery(*db, ctx.session).factoryReturns(d, d); }},
    };
    const Role admin = ctx.session.user.role;
    for (const auto &[key, run] : queries) {
        SCOPED_TRACE(key.toStdString());
        ctx.session.user.role = admin;
        EXPECT_NO_THROW(run());
        ctx.session.user.role.set(key, false);
        try {
            run();
            ADD_FAILURE() << "not refused";
        } catch (const Refusal &r) {
            EXPECT_EQ(r.message(), kNoPermission);
        }
    }
}

// The date, shop and exact-article conditions are served by indexes: no statement
// of the query services reads a whole large table.
TEST_F(AfterSalesQueryTest, QueriesGoThroughIndexes) {
    // The plan read here is the embedded engine's; a server plans its own way.
    if (!testServer().isEmpty()) GTEST_SKIP() << "reads the embedded engine's query plan";
    RecordingDatabase rec(*db);
    const QDate d(2026, 12, 9);
    StockQuery(rec, ctx.session).shopStock();
    StockQuery(rec, ctx.session).byKindBrand(QStringLiteral("女单鞋"), QStringLiteral("奥康"), true);
    StockQuery(rec, ctx.session).problemStock();
    SalesQuery(rec, ctx.session).query({d.addYears(-1), d, QStringLiteral("女单鞋"), QStringLiteral("奥康")});
    SalesQuery(rec, ctx.session).ranking(d.addYears(-2), d);
    AfterSalesQuery a(rec, ctx.session);
    a.exchanges(d, d);
    a.returns(d, d);
    a.voids(d, d);
    a.factoryReturns(d, d);
    SizeRunQuery(rec, ctx.session).load();
    SizeRunQuery(rec, ctx.session).load(QStringLiteral("女单鞋"), QStringLiteral("奥康"));
    // Each size-run read also reads the size list (a small table).
    std::erase_if(rec.statements, [](const auto &s) { return s.first.contains(QLatin1String("DataDictionary")); });
    ASSERT_EQ(rec.statements.size(), 11u);
    for (const auto &[sql, params] : rec.statements) {
        SCOPED_TRACE(sql.toStdString());
        const ResultSet plan = db->exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params);
        ASSERT_FALSE(plan.empty());
        for (int r = 0; r < plan.rowCount(); ++r) {
            const QString step = plan.text(r, plan.columnCount() - 1);
            EXPECT_FALSE(step.startsWith(QLatin1String("SCAN TABLE"))) << step.toStdString();
        }
    }
}

}  // namespace
}  // namespace kestavion::test
