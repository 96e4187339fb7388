#include "foundation/delivered_database.h"
#include "foundation/file_health.h"
#include "foundation/integrity_check.h"
#include "foundation/refusal.h"
#include "foundation/sqlite_database.h"
#include "kit/fixtures.h"
#include "mainwindow/exit_backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

using namespace kestavion;
using namespace kestavion::test;

namespace {

QByteArray bytesOf(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A delivered database with a few hundred pages of dictionary rows, closed (its log
// folded into the file).
void createFilledDatabase(const QString &path) {
    createDeliveredDatabase(path);
    auto db = SqliteDatabase::open(path);
    Transaction tx(*db);
    for (int i = 0; i < 3000; ++i)
        db->exec(QStringLiteral("INSERT INTO DataDictionary (Item,Content) VALUES (?,?)"),
                 {QStringLiteral("测试"), QStringLiteral("第%1条 ").arg(i).repeated(8)});
    tx.commit();
}

// Flips 8 bytes at two, three and four fifths of the file, as a failing disk might:
// past the schema's pages, and on pages of the rows and of their index whatever the
// order the engine laid them out in.
void damageMiddle(const QString &path) {
    QByteArray b = bytesOf(path);
    ASSERT_GT(b.size(), 100000);
    for (int fifth = 2; fifth <= 4; ++fifth) {
        const qsizetype at = b.size() / 5 * fifth;
        for (int i = 0; i < 8; ++i) b[at + i] = static_cast<char>(~b[at + i]);
    }
    writeBytes(path, b);
}

}  // namespace

TEST_F(TempDirTest, ADamagedFileIsFoundByTheCheckAndByTheEngineAndNeverBackedUp) {
    const QString p = path(QStringLiteral("Kestavion.mdb"));
    createFilledDatabase(p);
    EXPECT_EQ(IntegrityCheck::run(p), FileHealth::State::Good);

    // An old, good backup.
    const QString backup = path(QStringLiteral("备份/shop.mdb"));
    SqliteDatabase::open(p)->backupTo(backup);
    const QByteArray goodBackup = bytesOf(backup);
    ASSERT_FALSE(goodBackup.isEmpty());

    damageMiddle(p);
    const QByteArray damaged = bytesOf(p);
    // The damage is in the middle: the file still opens, as it did at start.
    FileHealth health;
    auto db = SqliteDatabase::open(p);
    db->setHealth(&health);
    // The full check finds it, on a connection of its own, reading only.
    EXPECT_EQ(IntegrityCheck::run(p), FileHealth::State::Damaged);
    EXPECT_EQ(bytesOf(p), damaged);
    {
        IntegrityCheck background(p, health);
        while (!background.finished()) QThread::msleep(5);
    }
    EXPECT_TRUE(health.damaged());

    // The engine's own report is recognised and remembered.
    FileHealth engineHealth;
    db->setHealth(&engineHealth);
    try {
        db->exec(QStringLiteral("SELECT count(*), max(Content) FROM DataDictionary"));
        FAIL() << "reading the damaged pages must fail";
    } catch (const DbError &e) {
        EXPECT_TRUE(reportsDamagedFile(e)) << e.message().toStdString();
    }
    EXPECT_TRUE(engineHealth.damaged());

    // The backup on exit leaves the good backup as it was.
    EXPECT_THROW(ExitBackup(*db, &health).copyTo(backup), Refusal);
    EXPECT_EQ(bytesOf(backup), goodBackup);
    EXPECT_FALSE(QFile::exists(backup + QStringLiteral(".tmp")));
}

TEST_F(TempDirTest, AnEmptyFileIsRefusedAndLeftEmpty) {
    const QString p = path(QStringLiteral("Kestavion.mdb"));
    writeBytes(p, QByteArray());
    try {
        SqliteDatabase::open(p);
        FAIL() << "an empty file must be refused";
    } catch (const Refusal &r) {
        EXPECT_EQ(r.message(), kEmptyDatabaseFile);
    }
    EXPECT_EQ(QFileInfo(p).size(), 0);
    EXPECT_FALSE(QFile::exists(p + QStringLiteral("-wal")));
    EXPECT_FALSE(QFile::exists(p + QStringLiteral("-shm")));
}

TEST_F(TempDirTest, AReadOnlyFileOrFolderIsRefusedAndLeftUntouched) {
    const QString folder = path(QStringLiteral("程序"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString p = folder + QStringLiteral("/Kestavion.mdb");
    createDeliveredDatabase(p);
    const QByteArray before = bytesOf(p);
    const auto writable = QFile::permissions(p);

    QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    EXPECT_THROW(SqliteDatabase::open(p), Refusal);
    EXPECT_EQ(bytesOf(p), before);
    EXPECT_FALSE(QFile::exists(p + QStringLiteral("-wal")));
    QFile::setPermissions(p, writable);

    const auto folderPermissions = QFile::permissions(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ExeGroup);
    try {
        SqliteDatabase::open(p);
        ADD_FAILURE() << "a read-only folder must be refused";
    } catch (const Refusal &r) {
        EXPECT_EQ(r.message(), kReadOnlyDatabase);
    }
    QFile::setPermissions(folder, folderPermissions);
    EXPECT_EQ(bytesOf(p), before);
    EXPECT_FALSE(QFile::exists(p + QStringLiteral("-wal")));
    EXPECT_NO_THROW(SqliteDatabase::open(p));
}

TEST_F(DbTest, AFailedBackupLeavesNeitherItsCopyNorItsJournal) {
    const QString dest = path(QStringLiteral("备份/shop.mdb"));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("备份"))));
    // What a backup killed midway leaves behind.
    writeBytes(dest + QStringLiteral(".tmp"), "partial");
    writeBytes(dest + QStringLiteral(".tmp-journal"), "journal");
    // The destination cannot be replaced (a folder stands in its place): the copy fails.
    ASSERT_TRUE(QDir().mkpath(dest));
    EXPECT_THROW(db->backupTo(dest), DbError);
    EXPECT_FALSE(QFile::exists(dest + QStringLiteral(".tmp")));
    EXPECT_FALSE(QFile::exists(dest + QStringLiteral(".tmp-journal")));
}
