#include "kit/fixtures.h"

#include "foundation/delivered_database.h"
#include "foundation/guid.h"
#include "foundation/login_service.h"
#include "foundation/pg_database.h"
#include "foundation/session.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace kestavion::test {

namespace {
DeliveredOptions testOptions(const QString &backupFolder) {
    DeliveredOptions o;
    o.shopName = QStringLiteral("测试鞋店");
    o.backupFolder = backupFolder;
    return o;
}

// The delivered database, made once per run.
const QString &templateDatabase() {
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        path = dir.filePath(QStringLiteral("template.mdb"));
        createDeliveredDatabase(path, testOptions(dir.filePath(QStringLiteral("backup"))));
    }
    return path;
}
// The server's own database, for making and dropping the test databases.
PgDatabase &serverAdmin() {
    static std::unique_ptr<PgDatabase> admin = PgDatabase::open(testServer());
    return *admin;
}

// Every test database of this run is copied from one made once.
const QString &serverTemplate() {
    static QString name;
    static std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    if (name.isEmpty()) {
        const QString candidate = QStringLiteral("kt_%1_template").arg(QCoreApplication::applicationPid());
        serverAdmin().exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(candidate));
        serverAdmin().exec(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C'").arg(candidate));
        {
            auto db = PgDatabase::open(serverConninfo(candidate));
            static QTemporaryDir backups;
            createDeliveredOnServer(*db, testOptions(backups.filePath(QStringLiteral("backup"))));
        }
        name = candidate;
        // The server is thrown away after the run; the template goes with the last test.
        std::atexit([] {
            try {
                serverAdmin().exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
            } catch (...) {
            }
        });
    }
    return name;
}
}  // namespace

QString testServer() {
    static const QString conninfo = [] {
        const QString state = qEnvironmentVariable("KESTAVION_TEST_PG");
        if (state.isEmpty()) return QString();
        QFile f(state);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "KESTAVION_TEST_PG names %s, but no test server is running\n", qPrintable(state));
            std::abort();
        }
        return QString::fromUtf8(f.readAll()).trimmed();
    }();
    return conninfo;
}

QString serverConninfo(const QString &name) {
    return testServer() + QStringLiteral(" dbname=") + name;
}

QString newServerDatabase() {
    static std::atomic<int> counter{0};
    const QString &tmpl = serverTemplate();
    const QString name = QStringLiteral("kt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    serverAdmin().exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2 STRATEGY FILE_COPY").arg(name, tmpl));
    return name;
}

void dropServerDatabase(const QString &name) {
    serverAdmin().exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}

void refuseWrites(Database &db, const QString &name, const QString &op, const QString &table,
                  const QString &condition, const QString &message) {
    if (testServer().isEmpty()) {
        db.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 WHEN (%4) BEGIN SELECT RAISE(ABORT,'%5'); END")
                    .arg(name, op, table, condition, message));
        return;
    }
    db.exec(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN "
                           "IF (%2) THEN RAISE EXCEPTION '%3'; END IF; "
                           "IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END $f$")
                .arg(name, condition, message));
    db.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()").arg(name, op, table));
}

void DbTest::SetUp() {
    TempDirTest::SetUp();
    dbPath = path(QStringLiteral("Kestavion.mdb"));
    if (!testServer().isEmpty()) {
        serverDatabase = newServerDatabase();
        db = PgDatabase::open(serverConninfo(serverDatabase));
        ctx.db = db.get();
        ctx.prompter = &prompter;
        ctx.clock = &clock;
        ctx.databasePath = db->location();
        loginAs(QStringLiteral("admin"), QStringLiteral("admin"));
        return;
    }
    ASSERT_TRUE(QFile::copy(templateDatabase(), dbPath));
    QFile::setPermissions(dbPath, QFile::ReadOwner | QFile::WriteOwner);
    db = SqliteDatabase::open(dbPath);
    ctx.db = db.get();
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.databasePath = dbPath;
    loginAs(QStringLiteral("admin"), QStringLiteral("admin"));
}

void DbTest::TearDown() {
    ctx.db = nullptr;
    db.reset();
    if (!serverDatabase.isEmpty()) dropServerDatabase(serverDatabase);
}

void DbTest::loginAs(const QString &staffNo, const QString &password) {
    LoginService login(*db);
    ASSERT_EQ(login.login(ctx.session, staffNo, password), LoginService::Outcome::Ok);
}

void DbTest::setRule(const QString &column, int value) {
    db->exec(QStringLiteral("UPDATE SellRole SET %1=? WHERE ShopNo=?").arg(column), {value, kShopKey});
    LoginService(*db).loadRules(kShopKey, ctx.session.rules);
}

qint64 DbTest::count(const QString &table, const QString &where, const QVariantList &params) {
    QString sql = QStringLiteral("SELECT count(*) FROM %1").arg(table);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where;
    return db->scalar(sql, params).toLongLong();
}

SaleGoods saleGoodsOf(const ResultSet &store, const QString &storeGuid) {
    SaleGoods g;
    g.storeGuid = storeGuid;
    g.typeNo = store.text(QStringLiteral("TypeNo"));
    g.name = store.text(QStringLiteral("Name"));
    g.brand = store.text(QStringLiteral("Brand"));
    g.size = store.text(QStringLiteral("Size"));
    g.colour = store.text(QStringLiteral("Colour"));
    g.leather = store.text(QStringLiteral("Leather"));
    g.grade = store.text(QStringLiteral("Grade"));
    g.place = store.text(QStringLiteral("ProductPlace"));
    g.onHand = store.number(QStringLiteral("Quantity"));
    return g;
}

QString plantGoods(Database &db, const GoodsSpec &g) {
    const QString guid = newGuid();
    db.exec(QStringLiteral("INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,"
                           "Quantity,Price,GoodsBlock,GoodsFloor) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {guid, g.shopNo.isEmpty() ? kShopKey : g.shopNo, g.typeNo, g.name, g.brand, g.size, g.colour, g.leather,
             g.grade, g.place, g.quantity, g.price, g.block, g.floor});
    return guid;
}

qint64 plantLot(Database &db, const QString &storeGuid, double price, double quantity, const QDate &date,
                const QString &shopNo) {
    db.exec(QStringLiteral("INSERT INTO BuyPrice (StoreGUID,Price,Quantity,sDate,ShopNo) VALUES (?,?,?,?,?)"),
            {storeGuid, price, quantity, date, shopNo.isEmpty() ? kShopKey : shopNo});
    return db.lastInsertId();
}

QString plantIntake(Database &db, GoodsSpec g, double buyPrice, const QDate &date) {
    const QString guid = plantGoods(db, g);
    db.exec(QStringLiteral("INSERT INTO StoreDetail (GUID,ParentGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,"
                           "Grade,Price,Quantity,ProductPlace,Memo,DateTime) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {newGuid(), guid, g.shopNo.isEmpty() ? kShopKey : g.shopNo, g.typeNo, g.name, g.brand, g.size, g.colour,
             g.leather, g.grade, buyPrice, g.quantity, g.place, QString(), date});
    plantLot(db, guid, buyPrice, g.quantity, date, g.shopNo);
    return guid;
}

double lotQuantity(Database &db, qint64 lotId) {
    return db.scalar(QStringLiteral("SELECT Quantity FROM BuyPrice WHERE ID=?"), {lotId}).toDouble();
}

double storeQuantity(Database &db, const QString &storeGuid) {
    return db.scalar(QStringLiteral("SELECT Quantity FROM Store WHERE GUID=?"), {storeGuid}).toDouble();
}

void onNextModal(std::function<void(QWidget *)> action, int timeoutMs) {
    auto *timer = new QTimer;
    auto *elapsed = new QElapsedTimer;
    elapsed->start();
    QWidget *before = QApplication::activeModalWidget();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, before, action, timeoutMs]() {
        QWidget *m = QApplication::activeModalWidget();
        if (m && m != before) {
            timer->stop();
            timer->deleteLater();
            delete elapsed;
            // The dialog takes the keyboard only once it is the active window: on a
            // busy machine that comes a little after it shows.
            QApplication::setActiveWindow(m);
            if (!QTest::qWaitForWindowActive(m)) ADD_FAILURE() << "the modal dialog never became active";
            action(m);
        } else if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete elapsed;
            ADD_FAILURE() << "no modal dialog opened";
        }
    });
    timer->start();
}

}  // namespace kestavion::test
