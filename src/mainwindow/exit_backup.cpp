#include "mainwindow/exit_backup.h"

#include "foundation/file_health.h"
#include "foundation/refusal.h"
#include "foundation/sqlite_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace kestavion {

namespace {

// The name of a backup file without its extension, and the extension.
void splitName(const QString &target, QString &base, QString &extension) {
    const QString name = QFileInfo(target).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    base = dot > 0 ? name.left(dot) : name;
    extension = dot > 0 ? name.mid(dot) : QString();
}

}  // namespace

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

QString ExitBackup::sourceFile() const {
    auto *sqlite = dynamic_cast<SqliteDatabase *>(&db_);
    return sqlite ? sqlite->path() : QString();
}

QString ExitBackup::agedName(const QString &target, const QDateTime &made) {
    QString base, extension;
    splitName(target, base, extension);
    return QFileInfo(target).absolutePath() + QLatin1Char('/') + base + QLatin1Char('-') +
           made.toString(QStringLiteral("yyyyMMdd-HHmmss")) + extension;
}

QStringList ExitBackup::olderCopies(const QString &target) {
    QString base, extension;
    splitName(target, base, extension);
    const QRegularExpression aged(QLatin1Char('^') + QRegularExpression::escape(base) +
                                  QStringLiteral("-\\d{8}-\\d{6}") + QRegularExpression::escape(extension) +
                                  QLatin1Char('$'));
    const QDir folder = QFileInfo(target).absoluteDir();
    QStringList found;
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
        if (aged.match(name).hasMatch()) found << folder.filePath(name);
    // The time stamp sorts them: same prefix, fixed-width digits.
    found.sort();
    return found;
}

ExitBackup::Outcome ExitBackup::rotateInto(const QString &source, const QString &targetPath, EngineProgress *progress,
                                           int keep) {
    const QString target = QDir::fromNativeSeparators(targetPath);
    const QFileInfo info(target);
    // A backup named like the database itself would move the open file aside (letter
    // case ignored: on a Windows till it is the same file).
    if (info.absoluteFilePath().compare(QFileInfo(source).absoluteFilePath(), Qt::CaseInsensitive) == 0 ||
        (info.exists() && info.canonicalFilePath() == QFileInfo(source).canonicalFilePath()))
        throw DbError(QStringLiteral("备份文件不能是数据库文件本身：%1").arg(QDir::toNativeSeparators(target)));
    if (!QDir().mkpath(info.absolutePath()))
        throw DbError(QStringLiteral("无法创建备份文件夹 %1").arg(QDir::toNativeSeparators(info.absolutePath())));
    const QString temp = target + QStringLiteral(".tmp");
    if (!SqliteDatabase::copyFile(source, temp, QString::fromLatin1(kDatabaseKey), progress)) return Outcome::Cancelled;
    try {
        if (!SqliteDatabase::checkFile(temp, QString::fromLatin1(kDatabaseKey), progress)) {
            QFile::remove(temp);
            return Outcome::Cancelled;
        }
    } catch (const DbError &e) {
        QFile::remove(temp);
        throw DbError(QStringLiteral("新的备份文件没有通过校验：%1").arg(e.message()), e.code());
    }

    QString aged;
    if (QFileInfo::exists(target)) {
        QDateTime made = QFileInfo(target).lastModified();
        aged = agedName(target, made);
        // Two copies within one second: the later one takes the next free second.
        while (QFileInfo::exists(aged)) {
            made = made.addSecs(1);
            aged = agedName(target, made);
        }
        if (!QFile::rename(target, aged)) {
            QFile::remove(temp);
            throw DbError(QStringLiteral("无法改名原有的备份文件 %1").arg(QDir::toNativeSeparators(target)));
        }
    }
    if (!QFile::rename(temp, target)) {
        QFile::remove(temp);
        if (!aged.isEmpty()) QFile::rename(aged, target);
        throw DbError(QStringLiteral("无法写入备份文件 %1").arg(QDir::toNativeSeparators(target)));
    }
    QStringList older = olderCopies(target);
    while (older.size() > keep) QFile::remove(older.takeFirst());
    return Outcome::Done;
}

ExitBackup::Outcome ExitBackup::copyTo(const QString &path, EngineProgress *progress) {
    if (health_ && health_->damaged()) throw Refusal(kNoBackupOfDamagedFile, Refusal::Icon::Warning, kAppTitle);
    const QString source = sourceFile();
    if (source.isEmpty()) throw DbError(QStringLiteral("当前数据库不是本机文件，无法复制备份"));
    return rotateInto(source, path, progress);
}

}  // namespace kestavion
