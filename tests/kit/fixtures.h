#pragma once

#include "foundation/app_context.h"
#include "foundation/clock.h"
#include "foundation/money.h"
#include "foundation/sqlite_database.h"
#include "kit/scripted_prompter.h"
#include "selling/sale_list.h"

#include <QDate>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class QWidget;

namespace kestavion::test {

// A whole amount of money.
inline Money yuan(qint64 units) { return Money::fromWhole(units); }

// A temporary folder per test.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// A copy of the delivered database (made once per run), opened and keyed, with the
// administrator logged in, a scripted prompter and a clock set to 2026-12-09 10:00.
// With KESTAVION_TEST_PG naming the state file of the test server
// (scripts/pg-test-server.sh), the copy is a fresh database on that server instead.
class DbTest : public TempDirTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Reopens the context's session as the given staff number (password must match).
    void loginAs(const QString &staffNo, const QString &password);
    // Changes one sales rule column in the database and the session.
    void setRule(const QString &column, int value);
    // Number of rows in a table (optionally with a WHERE clause and parameters).
    qint64 count(const QString &table, const QString &where = {}, const QVariantList &params = {});

    QString dbPath;
    std::unique_ptr<Database> db;
    QString serverDatabase;  // the database made for this test on the server
    ScriptedPrompter prompter;
    FixedClock clock;
    AppContext ctx;
};

// The test server's connection string when the tests run on PostgreSQL, else empty.
QString testServer();
// A new database on the test server, copied from the delivered one; returns its
// name. dropServerDatabase removes it (closing what is still connected).
QString newServerDatabase();
void dropServerDatabase(const QString &name);
// The connection string of one database on the test server.
QString serverConninfo(const QString &name);

// Makes the engine refuse `op` ("INSERT" or "DELETE") on `table` while `condition`
// holds (an SQL expression; NEW names the new row): a statement rejected midway.
void refuseWrites(Database &db, const QString &name, const QString &op, const QString &table,
                  const QString &condition, const QString &message);

// Hands every call to another database: a test overrides the calls it watches or
// delays (a statement seen, a commit held back).
class PassThroughDatabase : public Database {
public:
    explicit PassThroughDatabase(Database &db) : db_(db) {}
    ResultSet exec(const QString &sql, const QVariantList &params = {}) override { return db_.exec(sql, params); }
    void scan(const QString &sql, const QVariantList &params, const std::function<void(const RowView &)> &fn) override {
        db_.scan(sql, params, fn);
    }
    int changes() const override { return db_.changes(); }
    qint64 lastInsertId() const override { return db_.lastInsertId(); }
    void begin() override { db_.begin(); }
    void commit() override { db_.commit(); }
    void rollback() override { db_.rollback(); }
    bool inTransaction() const override { return db_.inTransaction(); }
    QString forUpdate() const override { return db_.forUpdate(); }
    void lockName(const QString &name) override { db_.lockName(name); }
    QString likeIgnoringCase(const QString &column) const override { return db_.likeIgnoringCase(column); }

protected:
    Database &db_;
};

// Goods as the intake screens create them.
struct GoodsSpec {
    QString typeNo = QStringLiteral("A100");
    QString name = QStringLiteral("男皮鞋");
    QString brand = QStringLiteral("自有品牌");
    QString size = QStringLiteral("40");
    QString colour = QStringLiteral("黑色");
    QString leather = QStringLiteral("牛皮");
    QString grade = QStringLiteral("合格品");
    QString place = QStringLiteral("温州");
    double quantity = 0;
    double price = 199;
    QString block;
    QString floor;
    QString shopNo;  // empty: the fixed shop key
};

// Plants one Store row; returns its GUID.
QString plantGoods(Database &db, const GoodsSpec &g);
// Plants one lot (BuyPrice row) of the goods; returns its ID. Does not touch Store.
qint64 plantLot(Database &db, const QString &storeGuid, double price, double quantity, const QDate &date,
                const QString &shopNo = {});
// Goods + an intake record + one lot of `quantity` at `buyPrice`; returns the GUID.
QString plantIntake(Database &db, GoodsSpec g, double buyPrice, const QDate &date);
// Lot quantity by ID.
double lotQuantity(Database &db, qint64 lotId);
double storeQuantity(Database &db, const QString &storeGuid);
// The goods of a sale line from the Store row `store` (its first row) of `storeGuid`.
SaleGoods saleGoodsOf(const ResultSet &store, const QString &storeGuid);

// Runs `action` on the next modal dialog or message box that opens (polled from a
// timer), e.g. to press a key in a nested dialog a screen opens.
void onNextModal(std::function<void(QWidget *)> action, int timeoutMs = 5000);

// Finds a child by object name or fails the test.
template <typename T>
T *child(QWidget *parent, const QString &name);

}  // namespace kestavion::test

#include <QWidget>

template <typename T>
T *kestavion::test::child(QWidget *parent, const QString &name) {
    T *w = parent->findChild<T *>(name);
    EXPECT_NE(w, nullptr) << "no control named " << name.toStdString();
    return w;
}
