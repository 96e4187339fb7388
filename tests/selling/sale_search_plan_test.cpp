// Sale numbers, the sale searches of the return, exchange and void screens, and every
// other list a screen reads with a filter from the large tables (Sell, StoreDetail,
// SellChange, BackStore) must read only the rows they need, however many years of
// history the shop has: each statement goes through an index that bounds it, never a
// scan of those tables or a walk over every row of the shop. Without collected
// statistics the engine picks the same plan on an empty file as on one with a million
// sales (checked by hand on such a file).
#include "aftersales/problem_stock.h"
#include "aftersales/sale_rows.h"
#include "intake/goods_intake.h"
#include "intake/intake_history.h"
#include "intake/price_change.h"
#include "kit/fixtures.h"
#include "reports/after_sales_query.h"
#include "reports/sales_query.h"
#include "reports/stock_query.h"
#include "selling/receipt.h"
#include "selling/sale_numbering.h"
#include "selling/till_goods.h"

namespace kestavion::test {
namespace {

// Passes every call on to the real database and keeps the statements it saw.
class RecordingDatabase : public Database {
public:
    explicit RecordingDatabase(Database &real) : real_(real) {}
    ResultSet exec(const QString &sql, const QVariantList &params) override {
        seen.push_back({sql, params});
        return real_.exec(sql, params);
    }
    int changes() const override { return real_.changes(); }
    qint64 lastInsertId() const override { return real_.lastInsertId(); }
    void begin() override { real_.begin(); }
    void commit() override { real_.commit(); }
    void rollback() override { real_.rollback(); }
    bool inTransaction() const override { return real_.inTransaction(); }
    std::vector<std::pair<QString, QVariantList>> seen;

private:
    Database &real_;
};

class SaleSearchPlanTest : public DbTest {
protected:
    // The plan of every statement the recorder saw, one detail line per step.
    QStringList plans(const RecordingDatabase &rec) {
        QStringList out;
        for (const auto &[sql, params] : rec.seen) {
            const ResultSet rs = db->exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params);
            for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, rs.columnCount() - 1);
        }
        return out;
    }
    // Fails on a scan of Sell or a search of Sell bound by the shop alone.
    void expectBounded(const QStringList &steps, const QString &index) {
        ASSERT_FALSE(steps.isEmpty());
        bool used = false;
        for (const QString &step : steps) {
            if (!step.contains(QStringLiteral("Sell"))) continue;
            EXPECT_FALSE(step.startsWith(QStringLiteral("SCAN"))) << step.toStdString();
            EXPECT_FALSE(step.endsWith(QStringLiteral("(ShopNo=?)"))) << step.toStdString();
            used = used || step.contains(index);
        }
        EXPECT_TRUE(used) << index.toStdString() << " not used: " << steps.join(QStringLiteral(" | ")).toStdString();
    }
};

TEST_F(SaleSearchPlanTest, SaleNumberAndSearchesGoThroughBoundingIndexes) {
    {
        RecordingDatabase rec(*db);
        SaleNumbering(rec, ctx.session.shopNo).next(clock.today());
        expectBounded(plans(rec), QStringLiteral("idx_sell_shop_no"));
    }
    struct Case {
        SaleSearch search;
        QString index;
    };
    const std::vector<Case> cases = {
        {{std::nullopt, QStringLiteral("202612090001"), std::nullopt}, QStringLiteral("idx_sell_shop_no")},
        {{std::nullopt, std::nullopt, QStringLiteral("A100")}, QStringLiteral("idx_sell_shop_type")},
        {{clock.today(), std::nullopt, std::nullopt}, QStringLiteral("idx_sell_shop_date")},
        {{clock.today(), QStringLiteral("202612090001"), QStringLiteral("A100")}, QString()},
    };
    // The whole search, its first page and the page after a row: each is read in list
    // order straight from the index, never collected and sorted first (a page would
    // then cost as much as the whole search). Only one sale's pairs, found by its
    // number, are put in GUID order after the read.
    const std::optional<SaleRowKey> none;
    const std::optional<SaleRowKey> afterRow = SaleRowKey{QStringLiteral("202612090001"), QStringLiteral("{R}")};
    for (const Case &c : cases) {
        const QString index = c.index.isEmpty() ? QStringLiteral("idx_sell_shop_") : c.index;
        RecordingDatabase rec(*db);
        findSaleRows(rec, ctx.session.shopNo, c.search, QStringLiteral("金额"));
        for (const auto &start : {none, afterRow}) {
            std::optional<SaleRowKey> after = start;
            scanSaleRowPage(rec, ctx.session, QStringLiteral("ClientBack"), c.search, QStringLiteral("金额"), after, 200,
                            [](const RowView &) {});
        }
        ASSERT_EQ(rec.seen.size(), 3u);
        for (const auto &seen : rec.seen) {
            RecordingDatabase one(*db);
            one.seen.push_back(seen);
            const QStringList steps = plans(one);
            expectBounded(steps, index);
            const QString sorted = c.search.sellNo && !c.search.date ? QStringLiteral("TEMP B-TREE FOR ORDER BY")
                                                                      : QStringLiteral("TEMP B-TREE");
            EXPECT_FALSE(steps.join(QLatin1Char('|')).contains(sorted))
                << seen.first.toStdString() << ": " << steps.join(QStringLiteral(" | ")).toStdString();
        }
    }
}

// Every filtered read of a large table, run through the services the screens call.
// A read may cover the whole of the shop's rows of a table only where the screen
// shows that whole list; those are named here with the screen that shows them.
TEST_F(SaleSearchPlanTest, EveryFilteredReadOfALargeTableIsBoundedByAnIndex) {
    const QDate day = clock.today();
    const QStringList large = {QStringLiteral("Sell"), QStringLiteral("StoreDetail"), QStringLiteral("SellChange"),
                               QStringLiteral("BackStore")};
    struct Read {
        QString name;
        std::function<void(Database &)> run;
        bool wholeList = false;  // the screen lists every such row of the shop
    };
    const Session &s = ctx.session;
    const std::vector<Read> reads = {
        {QStringLiteral("reprint of the previous sale"),
         [&](Database &d) {
             ReceiptData out;
             db->exec(QStringLiteral("INSERT INTO Sell (GUID,ShopNo,SellNo,State,DateTime) VALUES ('{R}',?,?,0,?)"),
                      {s.shopNo, QStringLiteral("202612090001"), day.toString(Qt::ISODate)});
             ReprintSource(d, s, clock).previousSale(QStringLiteral("202612090002"), out);
         }},
        {QStringLiteral("sale row re-read before a return"),
         [&](Database &d) { readValidSaleRow(d, s.shopNo, QStringLiteral("{R}")); }},
        {QStringLiteral("intake history by date"),
         [&](Database &d) { IntakeHistory(d, s).list({true, day.addDays(-30), day, false, {}}); }},
        {QStringLiteral("intake history by article"),
         [&](Database &d) { IntakeHistory(d, s).list({false, {}, {}, true, QStringLiteral("A100")}); }},
        {QStringLiteral("intake history by date and article"),
         [&](Database &d) { IntakeHistory(d, s).list({true, day.addDays(-30), day, true, QStringLiteral("A100")}); }},
        // The intake history opens on every intake of the shop (read as its screen
        // reads it, row by row into the list).
        {QStringLiteral("intake history, all intakes"),
         [&](Database &d) { IntakeHistory(d, s).scan({}, [](const RowView &) {}); }, true},
        // The problem goods and stock query screens list every open problem row; the
        // index on (ShopNo, IsBackFactory) keeps the returned ones out.
        {QStringLiteral("open problem goods"),
         [&](Database &d) { ProblemStock(d, s).scanOpenRows([](const RowView &) {}); }},
        {QStringLiteral("problem stock query"), [&](Database &d) { StockQuery(d, s).problemStock(); }},
        {QStringLiteral("after-sales queries of a period"),
         [&](Database &d) {
             AfterSalesQuery q(d, s);
             q.exchanges(day.addDays(-30), day);
             q.returns(day.addDays(-30), day);
             q.voids(day.addDays(-30), day);
             q.factoryReturns(day.addDays(-30), day);
         }},
        {QStringLiteral("sales query and ranking of a period"),
         [&](Database &d) {
             SalesQuery(d, s).query({day.addDays(-30), day, QStringLiteral("男皮鞋"), QStringLiteral("奥康")});
             SalesQuery(d, s).ranking(day.addDays(-30), day);
         }},
    };
    for (const Read &read : reads) {
        RecordingDatabase rec(*db);
        read.run(rec);
        int checked = 0;
        for (const auto &[sql, params] : rec.seen) {
            if (sql.startsWith(QStringLiteral("INSERT"))) continue;
            const ResultSet plan = db->exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params);
            for (int r = 0; r < plan.rowCount(); ++r) {
                const QString step = plan.text(r, plan.columnCount() - 1);
                // A whole list comes in its order straight from the index (at most the
                // rows of one article or day are sorted among themselves).
                if (read.wholeList)
                    EXPECT_NE(step, QStringLiteral("USE TEMP B-TREE FOR ORDER BY")) << read.name.toStdString();
                for (const QString &table : large) {
                    if (!step.contains(QStringLiteral(" TABLE ") + table + QLatin1Char(' ')) &&
                        !step.endsWith(QStringLiteral(" TABLE ") + table))
                        continue;
                    ++checked;
                    EXPECT_FALSE(step.startsWith(QStringLiteral("SCAN"))) << read.name.toStdString() << ": " << step.toStdString();
                    if (!read.wholeList)
                        EXPECT_FALSE(step.endsWith(QStringLiteral("(ShopNo=?)")))
                            << read.name.toStdString() << ": " << step.toStdString();
                }
            }
        }
        EXPECT_GT(checked, 0) << read.name.toStdString() << " read no large table";
    }
}

// The lists of the shop's goods rows (till, restocking, price change, problem goods)
// are read in their order from the till's covering index, with no sort step.
TEST_F(SaleSearchPlanTest, GoodsListsComeInTheirOrderFromTheTillIndex) {
    const Session &s = ctx.session;
    const auto ignore = [](const RowView &) {};
    const std::vector<std::pair<QString, std::function<void(Database &)>>> reads = {
        {QStringLiteral("till goods"), [&](Database &d) { TillGoods::scan(d, s, ignore); }},
        {QStringLiteral("restocking list"),
         [&](Database &d) { GoodsIntakeService(d, s, QStringLiteral("BuyIn")).scanGoodsList(ignore); }},
        {QStringLiteral("price change"),
         [&](Database &d) {
             PriceChange(d, s).scan(std::nullopt, ignore);
             PriceChange(d, s).find(QStringLiteral("A100"));
         }},
        {QStringLiteral("problem goods"),
         [&](Database &d) {
             ProblemStock(d, s).scanGoodsInStock(QStringLiteral("Question"), ignore);
             ProblemStock(d, s).goodsByTypeNo(QStringLiteral("A100"));
         }},
    };
    for (const auto &[name, run] : reads) {
        RecordingDatabase rec(*db);
        run(rec);
        ASSERT_FALSE(rec.seen.empty()) << name.toStdString();
        for (const auto &[sql, params] : rec.seen) {
            const ResultSet plan = db->exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params);
            QStringList steps;
            for (int r = 0; r < plan.rowCount(); ++r) steps << plan.text(r, plan.columnCount() - 1);
            const std::string shown = name.toStdString() + ": " + steps.join(QStringLiteral(" | ")).toStdString();
            EXPECT_TRUE(steps.join(QLatin1Char(' ')).contains(QStringLiteral("idx_store_till"))) << shown;
            EXPECT_FALSE(steps.join(QLatin1Char(' ')).contains(QStringLiteral("TEMP B-TREE"))) << shown;
        }
    }
}

TEST_F(SaleSearchPlanTest, NumberingKeepsItsRulesOverTheIndexedRange) {
    const QDate day = clock.today();
    auto plantSale = [&](const QString &sellNo, const QString &shop) {
        db->exec(QStringLiteral("INSERT INTO Sell (GUID,ShopNo,SellNo,State) VALUES (?,?,?,0)"),
                 {QStringLiteral("{%1}").arg(sellNo + shop), shop, sellNo});
    };
    SaleNumbering numbering(*db, ctx.session.shopNo);
    EXPECT_EQ(numbering.next(day), QStringLiteral("202612090001"));
    plantSale(QStringLiteral("202612089998"), ctx.session.shopNo);  // the day before
    plantSale(QStringLiteral("202612100005"), ctx.session.shopNo);  // the day after
    plantSale(QStringLiteral("202612090007"), QStringLiteral("{OTHER-SHOP}"));
    EXPECT_EQ(numbering.next(day), QStringLiteral("202612090001"));
    plantSale(QStringLiteral("202612090041"), ctx.session.shopNo);
    plantSale(QStringLiteral("202612090009"), ctx.session.shopNo);
    EXPECT_EQ(numbering.next(day), QStringLiteral("202612090042"));
    plantSale(QStringLiteral("202612099999"), ctx.session.shopNo);
    EXPECT_EQ(numbering.next(day), QStringLiteral("2026120910000"));
    plantSale(QStringLiteral("2026120910000"), ctx.session.shopNo);
    EXPECT_EQ(numbering.next(day), QStringLiteral("2026120910001"));
}

}  // namespace
}  // namespace kestavion::test
