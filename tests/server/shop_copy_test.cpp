// A shop's embedded file copied onto an empty server database: the same rows on both,
// keys going on past the copied ones, and nothing written where the copy refuses.
#include "aftersales/customer_return.h"
#include "foundation/delivered_database.h"
#include "foundation/login_service.h"
#include "foundation/pg_database.h"
#include "foundation/server_copy.h"
#include "kit/fixtures.h"
#include "selling/checkout.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>

namespace kestavion::test {
namespace {

class ShopCopy : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        if (testServer().isEmpty()) GTEST_SKIP() << "needs the test server";
        admin = PgDatabase::open(testServer());
    }
    void TearDown() override {
        for (const QString &name : std::as_const(made)) dropServerDatabase(name);
    }
    // A new, empty database on the test server, as the README has it made.
    std::unique_ptr<Database> emptyServerDatabase() {
        const QString name = QStringLiteral("kt_copy_%1_%2").arg(QCoreApplication::applicationPid()).arg(made.size());
        admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C'").arg(name));
        made << name;
        return PgDatabase::open(serverConninfo(name));
    }
    // Every row of the table, each value as text (null apart), in a fixed order.
    static std::vector<std::string> rowsOf(Database &db, const QString &table, const QStringList &columns) {
        const ResultSet rs = db.exec(QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QLatin1Char(',')), table));
        std::vector<std::string> rows;
        for (const QVariantList &r : rs.rows()) {
            QStringList row;
            for (const QVariant &v : r) row << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            rows.push_back(row.join(QLatin1Char('|')).toStdString());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    std::unique_ptr<PgDatabase> admin;
    QStringList made;
};

TEST_F(ShopCopy, CopiesEveryTableWithItsKeysAndRefusesASecondRun) {
    // A shop with goods, lots, sales, returns into both stocks, a second user and a
    // lookup entry of its own, written by the services on the embedded file.
    const QString source = path(QStringLiteral("Kestavion.mdb"));
    createDeliveredDatabase(source);
    qint64 deletedLot = 0;
    {
        auto file = SqliteDatabase::open(source);
        FixedClock clock;
        clock.set(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
        Session session;
        ASSERT_EQ(LoginService(*file).login(session, QStringLiteral("admin"), QStringLiteral("admin")),
                  LoginService::Outcome::Ok);
        GoodsSpec a;
        a.typeNo = QStringLiteral("007");  // leading zeros stay text
        a.quantity = 3;
        const QString shoes = plantIntake(*file, a, 80.5, QDate(2026, 11, 1));
        plantLot(*file, shoes, 82, 2, QDate(2026, 11, 20));
        file->exec(QStringLiteral("UPDATE Store SET Quantity=5 WHERE GUID=?"), {shoes});
        GoodsSpec b;
        b.typeNo = QStringLiteral("B200");
        b.price = 199.5;
        b.quantity = 2;
        const QString boots = plantIntake(*file, b, 120, QDate(2026, 11, 2));
        const ResultSet store = file->exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {shoes});
        std::vector<SaleLine> lines(3);
        for (SaleLine &l : lines) {
            l.goods = saleGoodsOf(store, shoes);
            l.price = yuan(199);
            l.abate = kFullPrice;
            l.amount = 199;
        }
        const CheckoutResult sale = Checkout(*file, session, clock).commit(lines, yuan(600));
        CustomerReturn(*file, session, clock)
            .returnPair(sale.rows[0].sellGuid, CustomerReturn::Into::ProblemStock, QStringLiteral("质量问题"));
        CustomerReturn(*file, session, clock)
            .returnPair(sale.rows[1].sellGuid, CustomerReturn::Into::NormalStock, QStringLiteral("尺码不合适"));
        std::vector<SaleLine> second(1);
        second[0].goods = saleGoodsOf(file->exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {boots}), boots);
        second[0].price = yuan(199);
        second[0].abate = QStringLiteral("8.5");
        second[0].amount = 169;
        Checkout(*file, session, clock).commit(second, yuan(200));
        file->exec(QStringLiteral("INSERT INTO \"User\" (GUID,No,Name,pwd,RoleGUID,RoleName) VALUES (?,?,?,?,?,?)"),
                   {QStringLiteral("{U2}"), QStringLiteral("0002"), QStringLiteral("小王"), QStringLiteral("x"),
                    kAdminRoleKey, QStringLiteral("系统管理员")});
        file->exec(QStringLiteral("INSERT INTO DataDictionary (Item,Content) VALUES (?,?)"),
                   {QStringLiteral("颜色"), QStringLiteral("墨绿")});
        // The newest lot is deleted: its key was handed out and must not come again.
        deletedLot = plantLot(*file, boots, 1, 1, QDate(2026, 12, 1));
        file->exec(QStringLiteral("DELETE FROM BuyPrice WHERE ID=?"), {deletedLot});
    }

    auto server = emptyServerDatabase();
    const CopiedTables copied = copyShop(source, *server);
    auto file = SqliteDatabase::open(source);
    const QStringList tables = file->tableNames();
    EXPECT_EQ(copied.size(), tables.size());
    for (const QString &table : tables) {
        const QString name = table == QLatin1String("User") ? QStringLiteral("\"User\"") : table;
        const QStringList columns = file->exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(name)).columns();
        const auto onFile = rowsOf(*file, name, columns);
        EXPECT_EQ(onFile, rowsOf(*server, name, columns)) << table.toStdString();
        if (table == QLatin1String("Sell") || table == QLatin1String("BackStore") || table == QLatin1String("User"))
            EXPECT_FALSE(onFile.empty()) << table.toStdString();
    }
    EXPECT_EQ(server->schemaVersion(), file->schemaVersion());

    // Keys go on past the copied ones, and past the deleted lot's.
    const qint64 newLot = plantLot(*server, QStringLiteral("{X}"), 1, 1, QDate(2026, 12, 10));
    EXPECT_EQ(newLot, deletedLot + 1);
    server->exec(QStringLiteral("INSERT INTO DataDictionary (Item,Content) VALUES ('颜色','新')"));
    EXPECT_EQ(server->lastInsertId(),
              file->scalar(QStringLiteral("SELECT max(ID) FROM DataDictionary")).toLongLong() + 1);

    // A second run finds the tables and writes nothing.
    const qint64 lots = server->scalar(QStringLiteral("SELECT count(*) FROM BuyPrice")).toLongLong();
    try {
        copyShop(source, *server);
        ADD_FAILURE() << "a database that holds the tables was copied into";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("不是空的"))) << e.what();
    }
    EXPECT_EQ(server->scalar(QStringLiteral("SELECT count(*) FROM BuyPrice")).toLongLong(), lots);
}

TEST_F(ShopCopy, RefusesAnUnreadableSourceWithoutWritingAnything) {
    QFile garbage(path(QStringLiteral("garbage.mdb")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, 'x'));
    garbage.close();
    QFile empty(path(QStringLiteral("empty.mdb")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    // A good file cut short mid-way (a copy broken off).
    const QString cut = path(QStringLiteral("cut.mdb"));
    createDeliveredDatabase(cut);
    QFile cutFile(cut);
    ASSERT_TRUE(cutFile.resize(cutFile.size() / 2));
    // A table this program does not know would be left behind: refused, not dropped.
    const QString foreign = path(QStringLiteral("foreign.mdb"));
    createDeliveredDatabase(foreign);
    SqliteDatabase::open(foreign)->exec(QStringLiteral("CREATE TABLE Extra (Note TEXT)"));

    auto server = emptyServerDatabase();
    for (const QString &name : {QStringLiteral("garbage.mdb"), QStringLiteral("empty.mdb"), QStringLiteral("cut.mdb"),
                                QStringLiteral("missing.mdb"), QStringLiteral("foreign.mdb")}) {
        try {
            copyShop(path(name), *server);
            ADD_FAILURE() << name.toStdString() << " was copied";
        } catch (const DbError &e) {
            // The message names the file (or the table), so the shop knows what failed.
            EXPECT_TRUE(e.message().contains(name == QLatin1String("foreign.mdb") ? QStringLiteral("Extra") : path(name)))
                << e.what();
        }
        EXPECT_TRUE(server->tableNames().isEmpty()) << name.toStdString();
        EXPECT_EQ(server->schemaVersion(), 0);
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing.mdb"))));
}

}  // namespace
}  // namespace kestavion::test
