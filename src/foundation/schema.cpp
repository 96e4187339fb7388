#include "foundation/schema.h"

#include "foundation/refusal.h"

#include <QFile>
#include <vector>

namespace kestavion {

extern const char *const kSchemaSqlText;

QString schemaSql(const Database &db) {
    return QString::fromUtf8(kSchemaSqlText).replace(QStringLiteral("$AUTO_ID"), db.autoNumberKey());
}

void createTables(Database &db) {
    // Plain statements separated by ";" at line ends.
    QString stmt;
    const QStringList lines = schemaSql(db).split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("--")) || line.isEmpty()) continue;
        stmt += line + QLatin1Char('\n');
        if (line.endsWith(QLatin1Char(';'))) {
            stmt.chop(2);
            db.exec(stmt);
            stmt.clear();
        }
    }
    db.setSchemaVersion(1);
}

namespace {

// What each version adds to the one before, oldest first. A new file is made from
// schema.sql (version 1) and then takes every step, so old and new files end alike.
struct UpgradeStep {
    int version;
    QStringList statements;
};

const std::vector<UpgradeStep> &upgradeSteps() {
    static const std::vector<UpgradeStep> steps = {
        // Sale numbers and sale searches read only the rows of one shop and number (or
        // article), however many years of sales the file holds.
        {2,
         {QStringLiteral("CREATE INDEX IF NOT EXISTS idx_sell_shop_no ON Sell(ShopNo, SellNo)"),
          QStringLiteral("CREATE INDEX IF NOT EXISTS idx_sell_shop_type ON Sell(ShopNo, TypeNo, SellNo)")}},
        // The shop's sales of a period also cover the goods description and quantity:
        // the sales ranking of two years reads this index alone, never the table.
        {3,
         {QStringLiteral("CREATE INDEX IF NOT EXISTS idx_sell_shop_date_goods ON Sell(ShopNo, DateTime, State, TypeNo, "
                         "Name, Brand, Size, Colour, Leather, Grade, ProductPlace, Quantity)"),
          QStringLiteral("DROP INDEX IF EXISTS idx_sell_shop_date")}},
        // The single-article profit finds one article's sales of a date range directly
        // (a year of sales scanned for one article took ~0.5 s without it).
        {4, {QStringLiteral("CREATE INDEX IF NOT EXISTS idx_sell_shop_type_date ON Sell(ShopNo, TypeNo, DateTime)")}},
        // The intake history filtered by article number reads only that article's
        // intakes, by date within it; the till reads the shop's goods from one
        // covering index, in article order, without a lookup into the table per goods.
        {5,
         {QStringLiteral("CREATE INDEX IF NOT EXISTS idx_storedetail_shop_type ON StoreDetail(ShopNo, TypeNo, DateTime)"),
          // Problem goods sent back in a period: by the date they went back.
          QStringLiteral("CREATE INDEX IF NOT EXISTS idx_backstore_shop_backdate ON BackStore(ShopNo, BackFactoryDate)"),
          QStringLiteral("CREATE INDEX IF NOT EXISTS idx_store_till ON Store(ShopNo, TypeNo, Name, Brand, Size, Colour, "
                         "Leather, Grade, ProductPlace, Quantity, Price, GUID)")}},
        // The lookup lists keep the order their entries were made in by a key of their
        // own (a server has no row numbers to order by). Older files keep their order.
        {6,
         {QStringLiteral("CREATE TABLE DataDictionaryNew (Item TEXT, Content TEXT, ID $AUTO_ID)"),
          QStringLiteral("INSERT INTO DataDictionaryNew (Item,Content) SELECT Item,Content FROM DataDictionary "
                         "ORDER BY $ROW_ORDER"),
          QStringLiteral("DROP TABLE DataDictionary"),
          QStringLiteral("ALTER TABLE DataDictionaryNew RENAME TO DataDictionary"),
          QStringLiteral("CREATE INDEX idx_datadictionary_item ON DataDictionary(Item, ID)")}},
        // The till keeps its pre-sale list as it is built, one row per pair, so a crash
        // of the program or the machine loses no list: whose it is (shop, till, seller),
        // the goods, the retail price seen, the discount and the amount charged. Only
        // the checkout turns it into sales.
        {7,
         {QStringLiteral("CREATE TABLE IF NOT EXISTS PendingSaleLine (ID $AUTO_ID, ShopNo TEXT, TillKey TEXT, "
                         "Seller TEXT, StoreGUID TEXT, TypeNo TEXT, Size TEXT, Colour TEXT, Price NUMERIC, "
                         "Abate TEXT, Amount NUMERIC)"),
          QStringLiteral("CREATE INDEX IF NOT EXISTS idx_pendingsaleline_owner ON PendingSaleLine(ShopNo, TillKey, "
                         "Seller, ID)")}},
        // Every sale-number read names its shop and goes through (ShopNo, SellNo), and
        // no statement looks a sale up by its goods key: these two indexes only cost
        // each sale written two more index updates. (Step 7 is the till's kept list.)
        {8,
         {QStringLiteral("DROP INDEX IF EXISTS idx_sell_no"),
          QStringLiteral("DROP INDEX IF EXISTS idx_sell_store")}},
        // The after-sales searches list a shop's sales in (SellNo, GUID) order and read
        // them a page at a time: by article and by day, the index ends with that order,
        // so a page is read straight from it without sorting every match first. (A search
        // by sale number reads one sale's few pairs; (ShopNo, SellNo) keeps a sale's
        // pairs in the order they were sold, which its receipt reprint shows.)
        {9,
         {QStringLiteral("DROP INDEX IF EXISTS idx_sell_shop_type"),
          QStringLiteral("CREATE INDEX idx_sell_shop_type ON Sell(ShopNo, TypeNo, SellNo, GUID)"),
          QStringLiteral("CREATE INDEX IF NOT EXISTS idx_sell_shop_date_no ON Sell(ShopNo, DateTime, SellNo, GUID)")}},
    };
    return steps;
}

void setVersion(Database &db, int version) { db.setSchemaVersion(version); }

// A step's statement in the engine's dialect.
QString adapted(const Database &db, QString sql) {
    return sql.replace(QStringLiteral("$AUTO_ID"), db.autoNumberKey())
        .replace(QStringLiteral("$ROW_ORDER"), db.insertionOrder());
}

}  // namespace

void applySchemaSteps(Database &db, int fromVersion) {
    for (const UpgradeStep &step : upgradeSteps()) {
        if (step.version <= fromVersion) continue;
        for (const QString &sql : step.statements) db.exec(adapted(db, sql));
        setVersion(db, step.version);
    }
}

void checkSchemaVersion(int version) {
    if (version > kSchemaVersion)
        throw Refusal(QStringLiteral("数据库版本（%1）比程序（%2）新，请升级程序后再打开。").arg(version).arg(kSchemaVersion),
                      Refusal::Icon::Warning, kAppTitle);
    if (version < 1)
        throw Refusal(QStringLiteral("数据库文件不完整（没有版本号），请用 kestavion-initdb 重新建立。"),
                      Refusal::Icon::Warning, kAppTitle);
}

void checkAndUpgradeSchema(Database &db) {
    const int version = db.schemaVersion();
    checkSchemaVersion(version);
    for (const UpgradeStep &step : upgradeSteps()) {
        if (step.version <= version) continue;
        Transaction tx(db);
        for (const QString &sql : step.statements) db.exec(adapted(db, sql));
        setVersion(db, step.version);
        tx.commit();
    }
}

const QStringList &businessTables() {
    static const QStringList tables = {
        QStringLiteral("PendingSaleLine"),
        QStringLiteral("Sell"),      QStringLiteral("Store"),      QStringLiteral("StoreDetail"),
        QStringLiteral("BuyPrice"),  QStringLiteral("BackStore"),  QStringLiteral("SellChange"),
        QStringLiteral("DayAmount"), QStringLiteral("OtherOut"),   QStringLiteral("FactoryBackTotal")};
    return tables;
}

}  // namespace kestavion
