#include "foundation/schema.h"
#include "mainwindow/data_wipe.h"
#include "mainwindow/exit_backup.h"
#include "selling/kept_sale.h"
#include "kit/fixtures.h"

#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

using namespace kestavion;
using namespace kestavion::test;

namespace {

const QStringList kKeptTables = {QStringLiteral("\"User\""), QStringLiteral("Role"), QStringLiteral("SellRole"),
                                 QStringLiteral("Shop"), QStringLiteral("DataDictionary"), QStringLiteral("FileSave")};

// One row in every business table.
void plantBusiness(Database &db) {
    GoodsSpec g;
    g.quantity = 3;
    const QString goods = plantIntake(db, g, 80, QDate(2026, 12, 1));
    db.exec(QStringLiteral("INSERT INTO Sell (GUID,StoreGUID,ShopNo,TypeNo) VALUES ('{S1}',?,?,'A100')"), {goods, kShopKey});
    db.exec(QStringLiteral("INSERT INTO BackStore (GUID,ShopNo) VALUES (?,?)"), {goods, kShopKey});
    db.exec(QStringLiteral("INSERT INTO SellChange (GUID,StoreGUID,ShopNo) VALUES ('{C1}',?,?)"), {goods, kShopKey});
    db.exec(QStringLiteral("INSERT INTO DayAmount (GUID,Seller) VALUES ('{D1}','admin')"));
    db.exec(QStringLiteral("INSERT INTO OtherOut (GUID,ShopNo,Item,Amount) VALUES ('{O1}',?,'房租',1000)"), {kShopKey});
    db.exec(QStringLiteral("INSERT INTO FactoryBackTotal (Seller,Quantity,ShopNo) VALUES ('admin',2,?)"), {kShopKey});
}

// A pair on a till's kept pre-sale list.
void keepOnePair(Database &db, const Session &session) {
    SaleLine line;
    line.goods.storeGuid = db.scalar(QStringLiteral("SELECT GUID FROM Store")).toString();
    line.abate = kFullPrice;
    KeptSale(db, session).add({line}, 0);
}

}  // namespace

TEST_F(DbTest, DataWipeEmptiesBusinessTablesAndKeepsTheRest) {
    plantBusiness(*db);
    keepOnePair(*db, ctx.session);
    std::map<QString, qint64> kept;
    for (const QString &t : kKeptTables) {
        kept[t] = count(t);
        EXPECT_GT(kept[t], 0) << t.toStdString();
    }
    for (const QString &t : businessTables()) ASSERT_GT(count(t), 0) << t.toStdString();

    DataWipe(*db, ctx.session).run();
    for (const QString &t : businessTables()) EXPECT_EQ(count(t), 0) << t.toStdString();
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 0);  // no till offers a list of wiped goods
    for (const QString &t : kKeptTables) EXPECT_EQ(count(t), kept[t]) << t.toStdString();
}

TEST_F(DbTest, DataWipeIsAllOrNothing) {
    plantBusiness(*db);
    // The last table of the wipe is missing: the statements before it are undone.
    db->exec(QStringLiteral("DROP TABLE FactoryBackTotal"));
    EXPECT_THROW(DataWipe(*db, ctx.session).run(), DbError);
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(count(QStringLiteral("Sell")), 1);
    EXPECT_EQ(count(QStringLiteral("Store")), 1);
    EXPECT_EQ(count(QStringLiteral("OtherOut")), 1);
}

TEST(ExitBackupPath, FolderSeparatorAndNullParts) {
    const QString sep = QDir::separator();
    EXPECT_EQ(ExitBackup::backupPath(QStringLiteral("D:\\数据备份"), QStringLiteral("数据备份")),
              QStringLiteral("D:\\数据备份") + sep + QStringLiteral("数据备份.mdb"));
    EXPECT_EQ(ExitBackup::backupPath(QStringLiteral("/srv/bak/"), QStringLiteral("x")), QStringLiteral("/srv/bak/x.mdb"));
    EXPECT_EQ(ExitBackup::backupPath(QStringLiteral("D:\\"), QStringLiteral("x")), QStringLiteral("D:\\x.mdb"));
    EXPECT_EQ(ExitBackup::backupPath(QVariant(), QStringLiteral("x")), QStringLiteral("0") + sep + QStringLiteral("x.mdb"));
    EXPECT_EQ(ExitBackup::backupPath(QStringLiteral("/b"), QVariant()), QStringLiteral("/b") + sep + QStringLiteral("0.mdb"));
}

TEST_F(DbTest, BackupSettingAndKeyedCopy) {
    ExitBackup backup(*db);
    auto setting = backup.readSetting();
    ASSERT_TRUE(setting.has_value());
    EXPECT_FALSE(setting->save);  // delivered off
    EXPECT_TRUE(setting->path.endsWith(QStringLiteral("数据备份.mdb"))) << setting->path.toStdString();

    const QString folder = path(QStringLiteral("新文件夹/备份"));
    db->exec(QStringLiteral("UPDATE FileSave SET dirpath=?, FileName='店铺', IsSave=-1"), {folder});
    setting = backup.readSetting();
    ASSERT_TRUE(setting.has_value());
    EXPECT_TRUE(setting->save);
    EXPECT_EQ(QDir::fromNativeSeparators(setting->path), folder + QStringLiteral("/店铺.mdb"));

    plantGoods(*db, GoodsSpec{});
    ASSERT_EQ(ExitBackup::rotateInto(backup.sourceFile(), setting->path), ExitBackup::Outcome::Done);  // folder made
    ASSERT_TRUE(QFile::exists(setting->path));
    EXPECT_FALSE(QFile::exists(setting->path + QStringLiteral(".tmp")));
    EXPECT_THROW(SqliteDatabase::open(setting->path, SqliteDatabase::OpenMode::ExistingOnly, QStringLiteral("wrong")),
                 DbError);
    auto copy = SqliteDatabase::open(setting->path);
    EXPECT_EQ(copy->scalar(QStringLiteral("SELECT count(*) FROM Store")).toInt(), 1);
    EXPECT_EQ(copy->scalar(QStringLiteral("SELECT ShopName FROM Shop")).toString(), QStringLiteral("测试鞋店"));

    db->exec(QStringLiteral("DELETE FROM FileSave"));
    EXPECT_FALSE(backup.readSetting().has_value());
}

TEST_F(DbTest, BackupOnExitRotatesKeepsSevenAndEveryCopyOpens) {
    const QString folder = path(QStringLiteral("备份"));
    const QString target = folder + QStringLiteral("/店铺.mdb");
    const QString source = ExitBackup(*db).sourceFile();
    ASSERT_EQ(source, dbPath);

    // The first copy: the newest under the configured name, nothing older yet.
    ASSERT_EQ(ExitBackup::rotateInto(source, target), ExitBackup::Outcome::Done);
    EXPECT_TRUE(ExitBackup::olderCopies(target).isEmpty());
    EXPECT_THROW(SqliteDatabase::open(target, SqliteDatabase::OpenMode::ExistingOnly, QStringLiteral("wrong")), DbError);

    // Nine more exits, each with one more Goods; each previous copy is set back a day
    // so its time stamp is its own.
    for (int i = 1; i <= 9; ++i) {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2026, 11, i), QTime(18, 30, 5)), QFileDevice::FileModificationTime));
        f.close();
        plantGoods(*db, GoodsSpec{});
        ASSERT_EQ(ExitBackup::rotateInto(source, target), ExitBackup::Outcome::Done);
    }
    const QStringList older = ExitBackup::olderCopies(target);
    ASSERT_EQ(older.size(), ExitBackup::kKeptCopies);
    // The two oldest went; names carry the time each copy was made.
    EXPECT_EQ(QFileInfo(older.first()).fileName(), QStringLiteral("店铺-20261103-183005.mdb"));
    EXPECT_EQ(QFileInfo(older.last()).fileName(), QStringLiteral("店铺-20261109-183005.mdb"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), ExitBackup::kKeptCopies + 1);  // no temporary left
    EXPECT_EQ(SqliteDatabase::open(target)->scalar(QStringLiteral("SELECT count(*) FROM Store")).toInt(), 9);
    EXPECT_EQ(SqliteDatabase::open(older.last())->scalar(QStringLiteral("SELECT count(*) FROM Store")).toInt(), 8);
    EXPECT_EQ(SqliteDatabase::open(older.first())->scalar(QStringLiteral("SELECT count(*) FROM Store")).toInt(), 2);
}

TEST_F(DbTest, BackupThatFailsItsCheckReplacesNothing) {
    const QString target = path(QStringLiteral("b/x.mdb"));
    ASSERT_EQ(ExitBackup::rotateInto(dbPath, target), ExitBackup::Outcome::Done);
    // Never onto the database itself.
    EXPECT_THROW(ExitBackup::rotateInto(dbPath, dbPath), DbError);
    EXPECT_TRUE(SqliteDatabase::checkFile(dbPath));
    const QByteArray before = [&] {
        QFile f(target);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    // A source that is not a database of ours: the copy fails, the old copy stays.
    const QString junk = path(QStringLiteral("junk.mdb"));
    QFile j(junk);
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write(QByteArray(8192, 'x'));
    j.close();
    EXPECT_THROW(ExitBackup::rotateInto(junk, target), DbError);
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_TRUE(ExitBackup::olderCopies(target).isEmpty());
    EXPECT_FALSE(QFile::exists(target + QStringLiteral(".tmp")));
    EXPECT_TRUE(SqliteDatabase::checkFile(target));

    // A damaged file does not pass the check.
    QFile d(target);
    ASSERT_TRUE(d.open(QIODevice::ReadWrite));
    d.seek(4096 + 100);
    d.write(QByteArray(2000, '\0'));
    d.close();
    EXPECT_THROW(SqliteDatabase::checkFile(target), DbError);
}
