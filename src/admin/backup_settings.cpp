#include "admin/backup_settings.h"

#include "foundation/platform.h"

namespace kestavion {

QString BackupSettingsService::driveOf(const QString &folder) {
    if (folder.size() >= 2 && folder.at(1) == QLatin1Char(':')) return folder.left(2).toUpper() + QLatin1Char('\\');
    return QStringLiteral("/");
}

BackupSettings BackupSettingsService::defaults() {
    BackupSettings s;
    s.dirpath = platform::defaultBackupFolder();
    s.drive = driveOf(s.dirpath);
    s.dir = s.drive;
    s.fileName = QStringLiteral("数据备份");
    s.isSave = false;
    return s;
}

std::optional<BackupSettings> BackupSettingsService::load() {
    const ResultSet rs = db_.exec(QStringLiteral("SELECT dirpath,Drive,Dir,FileName,IsSave FROM FileSave"));
    if (rs.empty()) return std::nullopt;
    BackupSettings s = defaults();
    auto take = [&](const QString &column, QString &into) {
        if (!rs.isNull(0, column)) into = rs.text(column);
    };
    take(QStringLiteral("dirpath"), s.dirpath);
    take(QStringLiteral("Drive"), s.drive);
    take(QStringLiteral("Dir"), s.dir);
    take(QStringLiteral("FileName"), s.fileName);
    s.isSave = rs.flag(QStringLiteral("IsSave"));
    return s;
}

int BackupSettingsService::save(const BackupSettings &s) {
    db_.exec(QStringLiteral("UPDATE FileSave SET dirpath=?,Drive=?,Dir=?,FileName=?,IsSave=?"),
             {s.dirpath, s.drive, s.dir, s.fileName, s.isSave ? 1 : 0});
    return db_.changes();
}

}  // namespace kestavion
