#include "mainwindow/exit_backup.h"

#include "foundation/file_health.h"
#include "foundation/refusal.h"
#include "foundation/sqlite_database.h"

#include <QDir>

namespace kestavion {

std::optional<BackupSetting> ExitBackup::readSetting() {
    ResultSet rs = db_.exec(QStringLiteral("SELECT * FROM FileSave"));
    if (rs.empty()) return std::nullopt;
    BackupSetting s;
    s.path = backupPath(rs.value(0, QStringLiteral("dirpath")), rs.value(0, QStringLiteral("FileName")));
    s.save = rs.flag(QStringLiteral("IsSave"));
    return s;
}

QString ExitBackup::backupPath(const QVariant &dirpath, const QVariant &fileName) {
    auto part = [](const QVariant &v) {
        return (!v.isValid() || v.isNull()) ? QStringLiteral("0") : v.toString();
    };
    QString path = part(dirpath);
    if (!path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1Char('\\'))) path += QDir::separator();
    return path + part(fileName) + QStringLiteral(".mdb");
}

void ExitBackup::copyTo(const QString &path) {
    auto *sqlite = dynamic_cast<SqliteDatabase *>(&db_);
    if (!sqlite) throw DbError(QStringLiteral("当前数据库不是本机文件，无法复制备份"));
    if (health_ && health_->damaged()) throw Refusal(kNoBackupOfDamagedFile, Refusal::Icon::Warning, kAppTitle);
    sqlite->backupTo(QDir::fromNativeSeparators(path));
}

}  // namespace kestavion
