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
    // Each step runs its statements and writes its version in one transaction.
    struct Step {
        int version;
        QStringList statements;
    };
    static const Step steps[] = {
        // 2: the sales index also covers the goods description and quantity, so the
        // sales ranking reads the index alone.
        {2,
         {QStringLiteral("CREATE INDEX idx_sell_shop_date_goods ON Sell(ShopNo, DateTime, State, TypeNo, Name, Brand, "
                         "Size, Colour, Leather, Grade, ProductPlace, Quantity)"),
          QStringLiteral("DROP INDEX IF EXISTS idx_sell_shop_date")}},
    };
    for (const Step &step : steps) {
        if (step.version <= version) continue;
        Transaction tx(db);
        for (const QString &sql : step.statements) db.exec(sql);
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
