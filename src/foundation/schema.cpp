#include "foundation/schema.h"

#include "foundation/refusal.h"

#include <QFile>

namespace kestavion {

extern const char *const kSchemaSqlText;

QString schemaSql() {
    return QString::fromUtf8(kSchemaSqlText);
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
    const int version = static_cast<int>(db.scalar(QStringLiteral("PRAGMA user_version")).toLongLong());
    checkSchemaVersion(version);
    // Upgrade steps go here: for each step from `version` to kSchemaVersion, run its
    // statements and "PRAGMA user_version = step" in one transaction.
}

const QStringList &businessTables() {
    static const QStringList tables = {
        QStringLiteral("Sell"),      QStringLiteral("Store"),      QStringLiteral("StoreDetail"),
        QStringLiteral("BuyPrice"),  QStringLiteral("BackStore"),  QStringLiteral("SellChange"),
        QStringLiteral("DayAmount"), QStringLiteral("OtherOut"),   QStringLiteral("FactoryBackTotal")};
    return tables;
}

}  // namespace kestavion
