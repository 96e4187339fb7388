// Two tills on one server handle the same sale row at the same moment: one goes
// through, the other is refused, and the pair moves once.
#include "aftersales/customer_exchange.h"
#include "aftersales/customer_return.h"
#include "foundation/pg_database.h"
#include "foundation/refusal.h"
#include "kit/fixtures.h"
#include "sale_kit.h"

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using namespace kestavion;
using namespace kestavion::test;

namespace {

// Till B's database: its commit waits until the test lets it go, so till A runs
// into B's open transaction.
class HeldCommit final : public PassThroughDatabase {
public:
    using PassThroughDatabase::PassThroughDatabase;
    void commit() override {
        reached.set_value();
        release.get_future().wait();
        db_.commit();
    }
    std::promise<void> reached, release;
};

class SaleRowRace : public DbTest {
protected:
    // Till B does `first` and holds its commit; till A meanwhile does `second` and
    // waits for B's row locks. Returns the message A was refused with (empty when A
    // went through).
    QString race(const std::function<void(Database &)> &first, const std::function<void(Database &)> &second) {
        auto tillA = PgDatabase::open(serverConninfo(serverDatabase));
        auto tillB = PgDatabase::open(serverConninfo(serverDatabase));
        const qint64 pidA = tillA->scalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong();
        HeldCommit heldB(*tillB);
        bool failedB = false;
        std::thread b([&] {
            try {
                first(heldB);
            } catch (...) {
                failedB = true;
                try {
                    heldB.reached.set_value();  // never got to its commit: nothing to hold
                } catch (const std::future_error &) {
                }
            }
        });
        heldB.reached.get_future().wait();

        QString refusedA;
        std::atomic<bool> doneA{false};
        std::thread a([&] {
            try {
                second(*tillA);
            } catch (const Refusal &e) {
                refusedA = e.message();
            } catch (const DbError &e) {
                refusedA = QStringLiteral("engine error: ") + e.message();
            }
            doneA = true;
        });
        // B commits once A waits for one of B's locks (or has finished without waiting).
        while (!doneA && db->scalar(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE pid=? AND "
                                                   "wait_event_type='Lock'"),
                                    {pidA})
                                 .toLongLong() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        heldB.release.set_value();
        b.join();
        a.join();
        EXPECT_FALSE(failedB) << "the first till did not go through";
        return refusedA;
    }
};

TEST_F(SaleRowRace, TheSecondTillIsRefusedAndThePairMovesOnce) {
    if (testServer().isEmpty()) GTEST_SKIP() << "needs the test server";
    GoodsSpec g;
    g.quantity = 3;
    const QString sold = plantIntake(*db, g, 80, QDate(2026, 11, 1));
    g.typeNo = QStringLiteral("B200");
    g.quantity = 1;
    const QString repl = plantIntake(*db, g, 90, QDate(2026, 11, 1));
    auto returnIt = [&](const QString &sale) {
        return [&, sale](Database &d) {
            CustomerReturn(d, ctx.session, clock).returnPair(sale, CustomerReturn::Into::NormalStock, {});
        };
    };
    auto voidIt = [&](const QString &sale) {
        return [&, sale](Database &d) { SaleVoid(d, ctx.session, clock).voidRow(sale, {}); };
    };
    auto exchangeIt = [&](const QString &sale) {
        return [&, sale](Database &d) {
            CustomerExchange(d, ctx.session, clock).commit({{sale, {}, repl, QStringLiteral("全"), yuan(199)}});
        };
    };

    // Two returns of one pair: it goes back into stock and its lot once.
    const QString s1 = sellPair(*db, ctx.session, sold);
    EXPECT_EQ(race(returnIt(s1), returnIt(s1)).toStdString(), kSaleRowGone.toStdString());
    EXPECT_EQ(storeQuantity(*db, sold), 3);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT sum(Quantity) FROM BuyPrice WHERE StoreGUID=?"), {sold}).toDouble(), 3);
    EXPECT_EQ(count(QStringLiteral("SellChange"), QStringLiteral("SellGUID=?"), {s1}), 1);

    // An exchange, then a void of the row as it was sold: the void is refused and the
    // replacement stays sold.
    const QString s2 = sellPair(*db, ctx.session, sold);
    EXPECT_EQ(race(exchangeIt(s2), voidIt(s2)).toStdString(), "");  // the exchanged row is voided whole
    EXPECT_EQ(storeQuantity(*db, repl), 1);
    EXPECT_EQ(storeQuantity(*db, sold), 3);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT State FROM Sell WHERE GUID=?"), {s2}).toLongLong(), 3);

    // A void while another till exchanges the row: the exchange finds it gone.
    const QString s3 = sellPair(*db, ctx.session, sold);
    EXPECT_EQ(race(voidIt(s3), exchangeIt(s3)).toStdString(), kSaleRowGone.toStdString());
    EXPECT_EQ(storeQuantity(*db, sold), 3);
    EXPECT_EQ(storeQuantity(*db, repl), 1);
    EXPECT_EQ(count(QStringLiteral("SellChange"), QStringLiteral("SellGUID=?"), {s3}), 1);
}

}  // namespace
