// Checkouts per second and their latency on a PostgreSQL server with 1 and 4 tills
// (each till a thread with its own connection), beside the embedded encrypted file's
// one till, in the same run on the same machine:
//   ./build/bin/server_checkout_bench [checkouts-per-till]      (default 1000)
// Starts its own throwaway server with scripts/pg-test-server.sh (durable: fsync and
// synchronous commit on, as a shop's server runs) and stops it at the end; without
// the PostgreSQL server package it says so and measures the embedded file alone.
// Each checkout sells one pair at full price of goods picked at random among 2,000
// (tills seldom want the same pair), and once more with all tills selling the same
// 5 goods (every checkout waits for the row the other tills hold), and with the four
// tills in four shops of a chain.
#include "foundation/delivered_database.h"
#include "foundation/guid.h"
#include "foundation/login_service.h"
#include "foundation/pg_database.h"
#include "foundation/refusal.h"
#include "foundation/sqlite_database.h"
#include "selling/checkout.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <barrier>
#include <cstdio>
#include <functional>
#include <thread>

using namespace kestavion;

namespace {

constexpr int kGoods = 2000;
constexpr int kHotGoods = 5;

struct Figures {
    double perSecond = 0;
    double p50 = 0, p99 = 0;  // ms
    int checkouts = 0;
    QStringList failures;
};

// Goods `count` articles of plenty of pairs, each with two lots; returns the goods.
std::vector<SaleGoods> plantGoods(Database &db, const QString &shop, int count, const QString &prefix, double pairs) {
    std::vector<SaleGoods> goods;
    Transaction tx(db);
    for (int i = 0; i < count; ++i) {
        SaleGoods g;
        g.storeGuid = newGuid();
        g.typeNo = prefix + QString::number(1000 + i);
        g.name = QStringLiteral("男皮鞋");
        g.brand = QStringLiteral("自有品牌");
        g.size = QString::number(38 + i % 8);
        g.colour = QStringLiteral("黑色");
        g.leather = QStringLiteral("牛皮");
        g.grade = QStringLiteral("合格品");
        g.place = QStringLiteral("温州");
        g.onHand = pairs;
        db.exec(QStringLiteral("INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,"
                               "Quantity,Price) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"),
                {g.storeGuid, shop, g.typeNo, g.name, g.brand, g.size, g.colour, g.leather, g.grade, g.place, pairs, 199});
        for (int lot = 0; lot < 2; ++lot)
            db.exec(QStringLiteral("INSERT INTO BuyPrice (StoreGUID,Price,Quantity,sDate,ShopNo) VALUES (?,?,?,?,?)"),
                    {g.storeGuid, 80 + lot, pairs / 2, QStringLiteral("2026-11-0%1").arg(lot + 1), shop});
        goods.push_back(g);
    }
    tx.commit();
    return goods;
}

// `tills` threads, each with the database `connect` gives it, sell `perTill` pairs one
// checkout at a time; the clock runs from when all are connected and warmed up.
Figures run(const std::function<std::unique_ptr<Database>()> &connect, Database *shared, int tills, int perTill,
            const std::vector<SaleGoods> &goods, const std::vector<Session> &sessions) {
    std::vector<std::vector<double>> latencies(tills);
    std::vector<QStringList> failures(tills);
    QElapsedTimer wall;
    std::barrier start(tills, [&]() noexcept { wall.start(); });
    auto till = [&](int t) {
        std::unique_ptr<Database> own;
        Database *db = shared;
        if (!db) {
            own = connect();
            db = own.get();
        }
        FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(10, 0))};
        QRandomGenerator random(4000 + t);
        auto sellOne = [&]() {
            SaleLine l;
            l.goods = goods[random.bounded(static_cast<int>(goods.size()))];
            l.price = Money::fromWhole(199);
            l.abate = kFullPrice;
            l.amount = 199;
            Checkout(*db, sessions[t % sessions.size()], clock).commit({l}, Money::fromWhole(200));
        };
        try {
            for (int i = 0; i < 20; ++i) sellOne();  // statements prepared, caches warm
        } catch (const std::exception &e) {
            failures[t] << QString::fromUtf8(e.what());
        }
        start.arrive_and_wait();
        latencies[t].reserve(perTill);
        QElapsedTimer one;
        for (int i = 0; i < perTill; ++i) {
            one.start();
            try {
                sellOne();
            } catch (const Refusal &r) {
                failures[t] << r.message();
                continue;
            } catch (const DbError &e) {
                failures[t] << e.message();
                continue;
            }
            latencies[t].push_back(one.nsecsElapsed() / 1e6);
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < tills; ++t) threads.emplace_back(till, t);
    for (auto &th : threads) th.join();
    const double seconds = wall.nsecsElapsed() / 1e9;

    Figures f;
    std::vector<double> all;
    for (int t = 0; t < tills; ++t) {
        all.insert(all.end(), latencies[t].begin(), latencies[t].end());
        f.failures += failures[t];
    }
    std::sort(all.begin(), all.end());
    f.checkouts = static_cast<int>(all.size());
    if (!all.empty()) {
        f.p50 = all[all.size() / 2];
        f.p99 = all[std::min(all.size() - 1, all.size() * 99 / 100)];
        f.perSecond = f.checkouts / seconds;
    }
    return f;
}

void print(const QString &engine, const QString &what, int tills, const Figures &f) {
    std::printf("%-34s %-22s %5d %12.0f %8.2f %8.2f\n", qPrintable(engine), qPrintable(what), tills, f.perSecond, f.p50,
                f.p99);
    if (!f.failures.isEmpty())
        std::printf("    %lld checkouts failed, the first: %s\n", static_cast<long long>(f.failures.size()),
                    qPrintable(f.failures.first()));
}

Session loggedIn(Database &db) {
    Session s;
    if (LoginService(db).login(s, QStringLiteral("admin"), QStringLiteral("admin")) != LoginService::Outcome::Ok)
        std::fprintf(stderr, "log-in failed\n");
    return s;
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is measured
    const int perTill = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    QTemporaryDir work;
    std::printf("Checkout of one pair, %d checkouts per till after 20 to warm up; latency in ms\n", perTill);
    // Other work on the machine weighs on every figure: say how busy it was.
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("load average before the run: %s\n", load.readAll().split(' ').mid(0, 3).join(' ').constData());
    std::printf("%-34s %-22s %5s %12s %8s %8s\n", "engine", "goods", "tills", "checkouts/s", "p50", "p99");

    // The embedded file: one till, as it always is.
    {
        const QString path = work.filePath(QStringLiteral("Kestavion.mdb"));
        createDeliveredDatabase(path);
        auto db = SqliteDatabase::open(path);
        const Session session = loggedIn(*db);
        const auto goods = plantGoods(*db, session.shopNo, kGoods, QStringLiteral("A"), 1000);
        print(db->engineDescription(), QStringLiteral("2,000 at random"), 1,
              run({}, db.get(), 1, perTill, goods, {session}));
    }

    // The server, started here and always stopped.
    const QString script = QStringLiteral(KESTAVION_SOURCE_DIR "/scripts/pg-test-server.sh");
    const QString state = work.filePath(QStringLiteral("server.state"));
    QProcess starter;
    starter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    starter.start(QStringLiteral("bash"), {script, QStringLiteral("start"), state, QStringLiteral("durable")});
    if (!starter.waitForFinished(180000) || starter.exitCode() != 0) {
        std::printf("PostgreSQL: skipped, no throwaway server could be started (the server package is "
                    "installed by scripts/install-deps.sh)\n");
        return 0;
    }
    struct Stop {
        QString script, state;
        ~Stop() { QProcess::execute(QStringLiteral("bash"), {script, QStringLiteral("stop"), state}); }
    } stop{script, state};
    int rc = 0;
    try {
        QFile f(state);
        f.open(QIODevice::ReadOnly);
        const QString server = QString::fromUtf8(f.readAll()).trimmed();
        PgDatabase::open(server)->exec(QStringLiteral("CREATE DATABASE bench TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C'"));
        const QString conninfo = server + QStringLiteral(" dbname=bench");
        auto db = PgDatabase::open(conninfo);
        createDeliveredOnServer(*db);
        const Session session = loggedIn(*db);
        const auto spread = plantGoods(*db, session.shopNo, kGoods, QStringLiteral("A"), 1000);
        const auto hot = plantGoods(*db, session.shopNo, kHotGoods, QStringLiteral("H"), 20000);
        db->exec(QStringLiteral("ANALYZE"));
        const QString engine = db->engineDescription() + QStringLiteral(" (Unix socket)");
        auto connect = [&] { return std::unique_ptr<Database>(PgDatabase::open(conninfo)); };
        for (int tills : {1, 4})
            print(engine, QStringLiteral("2,000 at random"), tills, run(connect, nullptr, tills, perTill, spread, {session}));
        print(engine, QStringLiteral("the same 5"), 4, run(connect, nullptr, 4, perTill, hot, {session}));
        // Each shop numbers its sales one after the other; four shops of a chain do not
        // wait for each other's numbers.
        std::vector<Session> shops{session};
        for (int i = 1; i < 4; ++i) {
            Session other = session;
            other.shopNo = addShop(*db, QStringLiteral("分店%1").arg(i));
            shops.push_back(other);
        }
        print(engine, QStringLiteral("2,000, 4 shops"), 4, run(connect, nullptr, 4, perTill, spread, shops));
        // Whatever was sold, stock and lots still agree and none went below zero.
        const qint64 wrong = db->scalar(QStringLiteral(
            "SELECT count(*) FROM Store s WHERE Quantity<0 OR Quantity<>(SELECT sum(Quantity) FROM BuyPrice b "
            "WHERE b.StoreGUID=s.GUID)")).toLongLong();
        if (wrong != 0) {
            std::printf("stock and lots disagree on %lld goods\n", static_cast<long long>(wrong));
            rc = 1;
        }
    } catch (const DbError &e) {
        std::printf("PostgreSQL: %s\n", e.what());
        rc = 1;
    }
    return rc;
}
