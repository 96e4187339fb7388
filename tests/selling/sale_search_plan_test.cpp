// Sale numbers and the sale searches of the return, exchange and void screens must read
// only the rows they need, however many years of sales the shop has: each statement
// they run goes through an index that bounds it, never a scan of Sell or a walk over
// every row of the shop. Without collected statistics the engine picks the same plan
// on an empty file as on one with a million sales (checked by hand on such a file).
#include "aftersales/sale_rows.h"
#include "kit/fixtures.h"
#include "selling/sale_numbering.h"

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
    for (const Case &c : cases) {
        RecordingDatabase rec(*db);
        findSaleRows(rec, ctx.session.shopNo, c.search, QStringLiteral("金额"));
        expectBounded(plans(rec), c.index.isEmpty() ? QStringLiteral("idx_sell_shop_") : c.index);
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
    plantSale(QStringLiteral("202612099999"), ctx.session.shopNo);
    EXPECT_EQ(numbering.next(day), QStringLiteral("2026120910000"));
    plantSale(QStringLiteral("2026120910000"), ctx.session.shopNo);
    EXPECT_EQ(numbering.next(day), QStringLiteral("2026120910001"));
}

}  // namespace
}  // namespace kestavion::test
