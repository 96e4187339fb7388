#include "foundation/delivered_database.h"
#include "foundation/refusal.h"
#include "foundation/schema.h"
#include "foundation/sqlite_database.h"
#include "kit/fixtures.h"

#include <QFile>

using namespace kestavion;
using namespace kestavion::test;

TEST_F(TempDirTest, MissingFileFailsWithoutCreatingOne) {
    const QString p = path(QStringLiteral("none.mdb"));
    EXPECT_THROW(SqliteDatabase::open(p), DbError);
    EXPECT_FALSE(QFile::exists(p));
}

TEST_F(TempDirTest, WrongKeyFailsCleanlyAndPlainSqliteCannotRead) {
    const QString p = path(QStringLiteral("k.mdb"));
    createDeliveredDatabase(p);
    EXPECT_THROW(SqliteDatabase::open(p, SqliteDatabase::OpenMode::ExistingOnly, QStringLiteral("wrong")), DbError);
    // The file does not carry the plain SQLite header.
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.read(16).startsWith("SQLite format 3"));
    auto db = SqliteDatabase::open(p);
    EXPECT_FALSE(db->cipherVersion().isEmpty());
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ShopName FROM Shop")).toString(), QStringLiteral("我的鞋店"));
}

TEST_F(TempDirTest, InitRefusesToOverwrite) {
    const QString p = path(QStringLiteral("x.mdb"));
    createDeliveredDatabase(p);
    EXPECT_THROW(createDeliveredDatabase(p), DbError);
    auto db = SqliteDatabase::open(p);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM Shop")).toInt(), 1);
}

TEST_F(DbTest, BoundParametersKeepQuotesAndChineseAndLeadingZeros) {
    const QString name = QStringLiteral("O'Brien's 红\"鞋\"");
    db->exec(QStringLiteral("INSERT INTO DataDictionary (Item,Content) VALUES (?,?)"), {QStringLiteral("品牌"), name});
    EXPECT_EQ(count(QStringLiteral("DataDictionary"), QStringLiteral("Content=?"), {name}), 1);
    GoodsSpec g;
    g.typeNo = QStringLiteral("007");
    g.size = QStringLiteral("036");
    g.price = 169;
    const QString guid = plantGoods(*db, g);
    ResultSet rs = db->exec(QStringLiteral("SELECT TypeNo,Size,Price FROM Store WHERE GUID=?"), {guid});
    EXPECT_EQ(rs.text(QStringLiteral("typeno")), QStringLiteral("007"));
    EXPECT_EQ(rs.text(QStringLiteral("SIZE")), QStringLiteral("036"));
    EXPECT_EQ(rs.text(QStringLiteral("Price")), QStringLiteral("169"));
    db->exec(QStringLiteral("UPDATE Store SET Price=? WHERE GUID=?"), {16.5, guid});
    EXPECT_EQ(db->exec(QStringLiteral("SELECT Price FROM Store WHERE GUID=?"), {guid}).text(QStringLiteral("Price")),
              QStringLiteral("16.5"));
}

TEST_F(DbTest, RolledBackTransactionLeavesNothingAndRejectedStatementCarriesEngineText) {
    const qint64 before = count(QStringLiteral("DataDictionary"));
    try {
        Transaction tx(*db);
        db->exec(QStringLiteral("INSERT INTO DataDictionary (Item,Content) VALUES ('a','b')"));
        db->exec(QStringLiteral("INSERT INTO NoSuchTable VALUES (1)"));
        tx.commit();
        FAIL() << "expected DbError";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("no such table"))) << e.what();
    }
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(count(QStringLiteral("DataDictionary")), before);
    // Empty results: no rows, still the column names.
    ResultSet rs = db->exec(QStringLiteral("SELECT Content AS 内容 FROM DataDictionary WHERE Item='none'"));
    EXPECT_TRUE(rs.empty());
    EXPECT_EQ(rs.columns(), QStringList{QStringLiteral("内容")});
}

TEST_F(DbTest, TablesHoldColumnsInTheirFixedOrder) {
    auto columns = [&](const QString &table) {
        QStringList out;
        ResultSet rs = db->exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, QStringLiteral("name"));
        return out.join(QLatin1Char(','));
    };
    EXPECT_EQ(columns(QStringLiteral("Store")),
              QStringLiteral("GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,Quantity,Price,GoodsBlock,GoodsFloor"));
    EXPECT_EQ(columns(QStringLiteral("StoreDetail")),
              QStringLiteral("GUID,ParentGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,Price,Quantity,ProductPlace,Memo,DateTime"));
    EXPECT_EQ(columns(QStringLiteral("BuyPrice")), QStringLiteral("ID,StoreGUID,Price,Quantity,sDate,ShopNo"));
    EXPECT_EQ(columns(QStringLiteral("Sell")),
              QStringLiteral("GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,Quantity,"
                             "Price,Abate,Amount,BuyPrice,Seller,DateTime,SellNo,BuyPriceId,SellerName,State,Money1,Money2"));
    EXPECT_EQ(columns(QStringLiteral("SellChange")),
              QStringLiteral("GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,Quantity,"
                             "Price,Abate,Amount,BuyPrice,Seller,Datetime,BuyPriceID,SellerName,AddAmount,SellGUID,"
                             "SellNo,ChangeDate,State,Resion"));
    EXPECT_EQ(columns(QStringLiteral("BackStore")),
              QStringLiteral("ID,GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,Quantity,"
                             "BuyPrice,BackResion,Seller,SellName,IsBackFactory,BackFactoryDate"));
    EXPECT_EQ(columns(QStringLiteral("OtherOut")), QStringLiteral("GUID,ShopNo,ShopName,Item,Amount,DateTime,Memo,OptName"));
    EXPECT_EQ(columns(QStringLiteral("DayAmount")),
              QStringLiteral("GUID,SellQuantity,SellAmount,BackQuantity,BackAmount,ChangeQuantity,ChangeAmount,"
                             "ReciveAmount,Seller,DateTime,ShopNo,ShopName"));
    EXPECT_EQ(columns(QStringLiteral("Shop")), QStringLiteral("GUID,ShopName"));
    EXPECT_EQ(columns(QStringLiteral("\"User\"")), QStringLiteral("GUID,No,Name,pwd,RoleGUID,RoleName"));
    EXPECT_EQ(columns(QStringLiteral("Role")).count(QLatin1Char(',')), 27);
    EXPECT_EQ(db->scalar(QStringLiteral("PRAGMA user_version")).toInt(), kSchemaVersion);
    // Names differing only in letter case reach the same tables.
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM Datadictionary WHERE item='尺码'")).toInt(), 12);
    EXPECT_NO_THROW(db->exec(QStringLiteral("SELECT isSave, AbateCannotBack FROM FileSave, SellRole")));
}

TEST_F(DbTest, AutoNumberedKeysAreNeverReused) {
    const QString g = plantGoods(*db, {});
    const qint64 a = plantLot(*db, g, 50, 1, clock.today());
    db->exec(QStringLiteral("DELETE FROM BuyPrice WHERE ID=?"), {a});
    const qint64 b = plantLot(*db, g, 50, 1, clock.today());
    EXPECT_GT(b, a);
    // A shop copied in goes on past the keys its old database had handed out.
    db->continueAutoNumbers({{QStringLiteral("buyprice"), b + 10}, {QStringLiteral("backstore"), 0}});
    EXPECT_EQ(db->autoNumbersUsed().value(QStringLiteral("buyprice")), b + 10);
    EXPECT_EQ(plantLot(*db, g, 50, 1, clock.today()), b + 11);
}

TEST_F(DbTest, NewerFileIsRefusedAndAnOlderOneUpgradedInSteps) {
    db->exec(QStringLiteral("PRAGMA user_version = 99"));
    EXPECT_THROW(checkAndUpgradeSchema(*db), Refusal);
    // A file of the first version, without what later steps add, ends like a new one.
    db->exec(QStringLiteral("DROP INDEX idx_sell_shop_no"));
    db->exec(QStringLiteral("DROP INDEX idx_sell_shop_date_goods"));
    db->exec(QStringLiteral("CREATE INDEX idx_sell_shop_date ON Sell(ShopNo, DateTime, State)"));
    db->exec(QStringLiteral("PRAGMA user_version = 1"));
    checkAndUpgradeSchema(*db);
    EXPECT_EQ(db->scalar(QStringLiteral("PRAGMA user_version")).toInt(), kSchemaVersion);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name='idx_sell_shop_no'")).toInt(), 1);
    // The article index ends in the list order of the after-sales searches.
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE name='idx_sell_shop_type'")).toString(),
              QStringLiteral("CREATE INDEX idx_sell_shop_type ON Sell(ShopNo, TypeNo, SellNo, GUID)"));
    // The sales index of the shop and date covers the goods description instead, and
    // the day's sales are also found in list order.
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE "
                                        "tbl_name='Sell' AND name LIKE 'idx_sell_shop_date%' ORDER BY name)"))
                  .toString(),
              QStringLiteral("idx_sell_shop_date_goods,idx_sell_shop_date_no"));
}

TEST_F(DbTest, BackupIsKeyedConsistentCopy) {
    plantGoods(*db, {});
    const QString dest = path(QStringLiteral("备份/子目录/数据备份.mdb"));
    static_cast<SqliteDatabase &>(*db).backupTo(dest);
    EXPECT_THROW(SqliteDatabase::open(dest, SqliteDatabase::OpenMode::ExistingOnly, QStringLiteral("nokey")), DbError);
    auto copy = SqliteDatabase::open(dest);
    EXPECT_EQ(copy->scalar(QStringLiteral("SELECT count(*) FROM Store")).toInt(), 1);
    EXPECT_FALSE(QFile::exists(dest + QStringLiteral(".tmp")));
}

#ifdef Q_OS_LINUX
// Another SQLite in the process (Qt's own driver, the system's libsqlite3) could take
// over SQLCipher's symbols and write an unencrypted file.
TEST(Engine, OnlySqlCipherIsLoaded) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray text = maps.readAll();
    EXPECT_TRUE(text.contains("libsqlcipher"));
    EXPECT_FALSE(text.contains("libsqlite3.so"));
    EXPECT_FALSE(text.contains("libQt6Sql"));
    EXPECT_FALSE(text.contains("libqsqlite"));
}
#endif
