// Four tills on one server sell the same goods at once, with returns and exchanges of
// each other's latest sales in between; afterwards stock, lots, sales and problem stock
// must still add up.
#include "aftersales/customer_exchange.h"
#include "aftersales/customer_return.h"
#include "aftersales/sale_rows.h"
#include "foundation/pg_database.h"
#include "foundation/refusal.h"
#include "kit/fixtures.h"
#include "selling/checkout.h"

#include <QRandomGenerator>
#include <mutex>
#include <thread>

using namespace kestavion;
using namespace kestavion::test;

namespace {

constexpr int kTills = 4;
constexpr int kCheckouts = 500;
constexpr int kGoods = 20;

struct TillOutcome {
    int sales = 0;
    int refused = 0;
    int returned = 0;
    int exchanged = 0;
    QStringList failures;  // engine errors: a deadlock or a lost update shows here
};

// The latest sale rows of every till: a till returns or exchanges one of them, so two
// tills sometimes reach for the same row at once.
class RecentRows {
public:
    void add(const QStringList &rows) {
        std::lock_guard<std::mutex> lock(m_);
        rows_ << rows;
        while (rows_.size() > 12) rows_.removeFirst();
    }
    QString pick(QRandomGenerator &random) {
        std::lock_guard<std::mutex> lock(m_);
        return rows_.isEmpty() ? QString() : rows_.at(random.bounded(int(rows_.size())));
    }
    void drop(const QString &row) {
        std::lock_guard<std::mutex> lock(m_);
        rows_.removeAll(row);
    }

private:
    std::mutex m_;
    QStringList rows_;
};

SaleGoods goodsOf(Database &db, const QString &guid) {
    const ResultSet rs = db.exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {guid});
    SaleGoods g;
    g.storeGuid = guid;
    g.typeNo = rs.text(QStringLiteral("TypeNo"));
    g.name = rs.text(QStringLiteral("Name"));
    g.size = rs.text(QStringLiteral("Size"));
    g.colour = rs.text(QStringLiteral("Colour"));
    return g;
}

void runTill(const QString &conninfo, Session session, const QDate day, const QStringList goods, int till,
             RecentRows &recent, TillOutcome &out) {
    FixedClock clock;
    clock.set(QDateTime(day, QTime(10, 0)));
    std::unique_ptr<Database> db;
    try {
        db = PgDatabase::open(conninfo);
    } catch (const DbError &e) {
        out.failures << e.message();
        return;
    }
    QRandomGenerator random(1000 + till);
    for (int i = 0; i < kCheckouts; ++i) {
        try {
            std::vector<SaleLine> lines;
            const int pairs = 1 + random.bounded(3);
            for (int p = 0; p < pairs; ++p) {
                SaleLine l;
                l.goods = goodsOf(*db, goods.at(random.bounded(kGoods)));
                l.price = Money::fromWhole(100);
                l.abate = kFullPrice;
                l.amount = 100;
                lines.push_back(l);
            }
            const CheckoutResult r = Checkout(*db, session, clock).commit(lines, Money::fromWhole(400));
            ++out.sales;
            QStringList rows;
            for (const auto &row : r.rows) rows << row.sellGuid;
            recent.add(rows);
        } catch (const Refusal &) {
            ++out.refused;  // the last pairs went to another till
        } catch (const DbError &e) {
            out.failures << e.message();
        }
        const QString row = recent.pick(random);
        if (row.isEmpty()) continue;
        try {
            if (i % 5 == 4) {
                const auto into = i % 10 == 4 ? CustomerReturn::Into::NormalStock : CustomerReturn::Into::ProblemStock;
                CustomerReturn(*db, session, clock).returnPair(row, into, QStringLiteral("尺码不合适"));
                recent.drop(row);
                ++out.returned;
            } else if (i % 7 == 6) {
                ExchangePair p{row, QStringLiteral("颜色不喜欢"), goods.at(random.bounded(kGoods)), kFullPrice,
                               Money::fromWhole(100)};
                CustomerExchange(*db, session, clock).commit({p});
                recent.drop(row);
                ++out.exchanged;
            }
        } catch (const Refusal &e) {
            ++out.refused;  // the last pairs went elsewhere, or another till had the row
            if (e.message() == kSaleRowGone || e.message() == kSaleRowTaken) recent.drop(row);
        } catch (const DbError &e) {
            if (e.message() == kNoReplacementStock) ++out.refused;
            else out.failures << e.message();
        }
    }
}

class ConcurrentTills : public DbTest {};

TEST_F(ConcurrentTills, StockLotsAndSaleNumbersAddUpAfterFourTillsSellTheSameGoods) {
    if (testServer().isEmpty()) GTEST_SKIP() << "needs the test server";
    QStringList goods;
    std::map<QString, double> takenIn;
    for (int g = 0; g < kGoods; ++g) {
        GoodsSpec planted;
        planted.typeNo = QStringLiteral("C%1").arg(g, 3, 10, QLatin1Char('0'));
        planted.quantity = 0;
        const QString guid = plantGoods(*db, planted);
        double total = 0;
        // Several lots of different dates and sizes, so lots run out at different times.
        for (int lot = 0; lot < 3; ++lot) {
            const double q = 10 + 7 * lot + g % 5;
            plantLot(*db, guid, 40 + lot, q, clock.today().addDays(-30 + lot));
            total += q;
        }
        db->exec(QStringLiteral("UPDATE Store SET Quantity=? WHERE GUID=?"), {total, guid});
        takenIn[guid] = total;
        goods << guid;
    }

    std::vector<TillOutcome> outcomes(kTills);
    RecentRows recent;
    std::vector<std::thread> tills;
    for (int t = 0; t < kTills; ++t)
        tills.emplace_back(runTill, serverConninfo(serverDatabase), ctx.session, clock.today(), goods, t,
                           std::ref(recent), std::ref(outcomes[t]));
    for (auto &t : tills) t.join();

    int sales = 0, refused = 0, returned = 0, exchanged = 0;
    for (const TillOutcome &o : outcomes) {
        EXPECT_TRUE(o.failures.isEmpty()) << o.failures.join(QLatin1Char('\n')).toStdString();
        sales += o.sales;
        refused += o.refused;
        returned += o.returned;
        exchanged += o.exchanged;
    }
    // The goods ran out during the run, so both sides of the last pair were tried.
    EXPECT_GT(refused, 0);
    EXPECT_GT(returned, 0);
    EXPECT_GT(exchanged, 0);

    for (const QString &g : goods) {
        SCOPED_TRACE(g.toStdString());
        const double store = storeQuantity(*db, g);
        const double lots = db->scalar(QStringLiteral("SELECT sum(Quantity) FROM BuyPrice WHERE StoreGUID=?"), {g}).toDouble();
        const double sold = db->scalar(QStringLiteral("SELECT count(*) FROM Sell WHERE StoreGUID=? AND State<2"), {g}).toDouble();
        const double problem =
            db->scalar(QStringLiteral("SELECT coalesce(sum(Quantity),0) FROM BackStore WHERE GUID=?"), {g}).toDouble();
        EXPECT_GE(store, 0);
        EXPECT_EQ(store, lots);
        EXPECT_EQ(takenIn[g], store + sold + problem);
    }
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM BuyPrice WHERE Quantity<0")).toInt(), 0);

    // One number per sale, counted up from 0001 without gaps or twins.
    const ResultSet numbers = db->exec(QStringLiteral("SELECT DISTINCT SellNo FROM Sell WHERE ShopNo=? ORDER BY SellNo"),
                                       {ctx.session.shopNo});
    ASSERT_EQ(numbers.rowCount(), sales);
    for (int i = 0; i < numbers.rowCount(); ++i)
        EXPECT_EQ(numbers.text(i, 0), QStringLiteral("20261209%1").arg(i + 1, 4, 10, QLatin1Char('0')));
}

}  // namespace
