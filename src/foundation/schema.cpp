#include "foundation/schema.h"

#include <QFile>

namespace kestavion {

extern const char *const kSchemaSqlText;

QString schemaSql() {
    return QString::fromUtf8(kSchemaSqlText);
}

void checkAndUpgradeSchema(Database &db) {
    const int version = static_cast<int>(db.scalar(QStringLiteral("PRAGMA user_version")).toLongLong());
    if (version > kSchemaVersion)
        throw DbError(QStringLiteral("数据库版本（%1）比程序（%2）新，请升级程序后再打开。").arg(version).arg(kSchemaVersion));
    if (version < 1)
        throw DbError(QStringLiteral("数据库文件不完整（没有版本号），请用 kestavion-initdb 重新建立。"));
    // Each step brings the file to its version: its statements and the new version
    // number in one transaction, so a file is never left between two versions.
    struct Step {
        int version;
        const char *sql;
    };
    static const Step kSteps[] = {
        // The single-article profit finds one article's sales of a date range directly
        // (a year of sales scanned for one article took ~0.5 s without it).
        {2, "CREATE INDEX IF NOT EXISTS idx_sell_shop_type_date ON Sell(ShopNo, TypeNo, DateTime)"},
    };
    for (const Step &step : kSteps) {
        if (version >= step.version) continue;
        Transaction tx(db);
        db.exec(QString::fromUtf8(step.sql));
        db.exec(QStringLiteral("PRAGMA user_version = %1").arg(step.version));
        tx.commit();
    }
}

const QStringList &businessTables() {
    static const QStringList tables = {
        QStringLiteral("Sell"),      QStringLiteral("Store"),      QStringLiteral("StoreDetail"),
        QStringLiteral("BuyPrice"),  QStringLiteral("BackStore"),  QStringLiteral("SellChange"),
        QStringLiteral("DayAmount"), QStringLiteral("OtherOut"),   QStringLiteral("FactoryBackTotal")};
    return tables;
}

}  // namespace kestavion
