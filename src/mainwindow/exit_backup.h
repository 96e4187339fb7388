#pragma once

#include "foundation/database.h"

#include <QString>
#include <QVariant>
#include <optional>

namespace kestavion {

class FileHealth;

// The backup setting as the program reads it when it closes.
struct BackupSetting {
    QString path;       // folder + separator + file name + ".mdb"
    bool save = false;  // copy the database on exit
};

// The copy of the database made when the program closes (FileSave row).
class ExitBackup {
public:
    // `health`: the integrity check's finding about the open file (may be null).
    explicit ExitBackup(Database &db, const FileHealth *health = nullptr) : db_(db), health_(health) {}

    // nullopt when FileSave has no row. Throws DbError when it cannot be read.
    std::optional<BackupSetting> readSetting();

    // The backup file's path: the folder, a separator unless the folder already ends
    // with one, the file name and ".mdb"; a NULL column stands as "0".
    static QString backupPath(const QVariant &dirpath, const QVariant &fileName);

    // A consistent, keyed copy of the open database at `path` (folder created when
    // missing, written to a temporary file and renamed over the old backup when
    // complete). Throws DbError when the copy fails; no partial file is left. Throws
    // Refusal(kNoBackupOfDamagedFile), copying nothing, when the file was found
    // damaged: a good old backup is never replaced by a copy of a damaged file.
    void copyTo(const QString &path);

private:
    Database &db_;
    const FileHealth *health_ = nullptr;
};

inline const QString kNoBackupOfDamagedFile =
    QStringLiteral("数据库文件已损坏，本次没有备份，原来的备份文件保持不变。");

}  // namespace kestavion
