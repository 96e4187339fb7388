#include "foundation/delivered_database.h"

#include "foundation/guid.h"
#include "foundation/password.h"
#include "foundation/platform.h"
#include "foundation/schema.h"
#include "foundation/session.h"
#include "foundation/sqlite_database.h"

#include <QFile>

namespace kestavion {

namespace {

void runScript(Database &db, const QString &script) {
    // schema.sql holds plain statements separated by ";" at line ends.
    QString stmt;
    const QStringList lines = script.split(QLatin1Char('\n'));
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
}

void seedDictionary(Database &db) {
    const QString insert = QStringLiteral("INSERT INTO DataDictionary (Item,Content) VALUES (?,?)");
    auto add = [&](const QString &item, const QStringList &entries) {
        for (const QString &e : entries) db.exec(insert, {item, e});
    };
    QStringList sizes;
    for (int s = 34; s <= 45; ++s) sizes << QString::number(s);
    add(QStringLiteral("尺码"), sizes);
    add(QStringLiteral("颜色"), {QStringLiteral("黑色"), QStringLiteral("白色"), QStringLiteral("棕色"),
                                 QStringLiteral("红色"), QStringLiteral("米色"), QStringLiteral("灰色"),
                                 QStringLiteral("蓝色"), QStringLiteral("酒红")});
    add(QStringLiteral("种类"), {QStringLiteral("男皮鞋"), QStringLiteral("女皮鞋"), QStringLiteral("男休闲鞋"),
                                 QStringLiteral("女休闲鞋"), QStringLiteral("运动鞋"), QStringLiteral("靴子"),
                                 QStringLiteral("凉鞋"), QStringLiteral("童鞋")});
    add(QStringLiteral("品牌"), {QStringLiteral("自有品牌"), QStringLiteral("其他")});
    add(QStringLiteral("面料"), {QStringLiteral("牛皮"), QStringLiteral("羊皮"), QStringLiteral("猪皮"),
                                 QStringLiteral("PU"), QStringLiteral("帆布"), QStringLiteral("网布")});
    add(QStringLiteral("等级"), {QStringLiteral("合格品"), QStringLiteral("一等品"), QStringLiteral("优等品")});
    add(QStringLiteral("产地"), {QStringLiteral("温州"), QStringLiteral("广州"), QStringLiteral("泉州"),
                                 QStringLiteral("成都"), QStringLiteral("东莞")});
    add(QStringLiteral("退货原因"), {QStringLiteral("质量问题"), QStringLiteral("尺码不合适"),
                                     QStringLiteral("顾客不喜欢")});
    add(QStringLiteral("调换原因"), {QStringLiteral("尺码不合适"), QStringLiteral("颜色不喜欢"),
                                     QStringLiteral("质量问题")});
    add(QStringLiteral("作废原因"), {QStringLiteral("录入错误"), QStringLiteral("顾客取消")});
    add(QStringLiteral("其他支出项目"), {QStringLiteral("房租"), QStringLiteral("水电费"),
                                         QStringLiteral("工资"), QStringLiteral("运费"), QStringLiteral("杂费")});
    QStringList discounts;
    for (int d = 95; d >= 50; d -= 5) discounts << (d % 10 == 0 ? QString::number(d / 10) : QString::number(d / 10.0, 'f', 1));
    add(QStringLiteral("折扣"), discounts);
}

}  // namespace

void createDeliveredDatabase(const QString &path, const DeliveredOptions &options) {
    auto db = SqliteDatabase::open(path, SqliteDatabase::OpenMode::CreateNew);
    try {
        Transaction tx(*db);
        runScript(*db, schemaSql());
        db->exec(QStringLiteral("INSERT INTO Shop (GUID,ShopName) VALUES (?,?)"), {kShopKey, options.shopName});
        db->exec(QStringLiteral("INSERT INTO SellRole (ShopNo,SellOrder,BackDays,AbateCanNotBack,SpecialCanNotBack,"
                                "ChangeDays,AbateCanNotChange,SpecialCanNotChange,SameTypeChange,DearGoodsChange,"
                                "ChangeOneTime,ChangNotToBack,IsPrint,PrinterType) VALUES (?,0,7,0,0,7,0,0,0,0,0,0,0,0)"),
                 {kShopKey});
        QString roleSql = QStringLiteral("INSERT INTO Role (GUID,Name");
        QString values = QStringLiteral("?,?");
        for (const QString &k : kPermissionKeys) {
            roleSql += QLatin1Char(',') + k;
            values += QStringLiteral(",-1");
        }
        roleSql += QStringLiteral(") VALUES (") + values + QLatin1Char(')');
        const QString adminRoleName = QStringLiteral("系统管理员");
        db->exec(roleSql, {kAdminRoleKey, adminRoleName});
        db->exec(QStringLiteral("INSERT INTO [User] (GUID,[No],Name,pwd,RoleGUID,RoleName) VALUES (?,?,?,?,?,?)"),
                 {newGuid(), QStringLiteral("admin"), QStringLiteral("管理员"), hashPassword(options.adminPassword),
                  kAdminRoleKey, adminRoleName});
        const QString folder = options.backupFolder.isEmpty() ? platform::defaultBackupFolder() : options.backupFolder;
        // The drive list of the backup settings shows the folder's drive ("D:\", or "/").
        const bool letter = folder.size() >= 2 && folder.at(1) == QLatin1Char(':');
        const QString drive = letter ? folder.left(2) + QLatin1Char('\\') : QStringLiteral("/");
        db->exec(QStringLiteral("INSERT INTO FileSave (dirpath,Drive,Dir,FileName,IsSave) VALUES (?,?,?,?,0)"),
                 {folder, drive, folder, QStringLiteral("数据备份")});
        seedDictionary(*db);
        applySchemaSteps(*db, 1);
        tx.commit();
    } catch (...) {
        db.reset();
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        throw;
    }
}

}  // namespace kestavion
