#pragma once

#include "foundation/database.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace kestavion {

struct EngineProgress;
class FileHealth;

// The backup setting as the program reads it when it closes.
struct BackupSetting {
    QString path;       // folder + separator + file name + ".mdb"
    bool save = false;  // copy the database on exit
};

// The copy of the database made when the program closes (FileSave row).
//
// The file the setting names always holds the newest copy. Before it is replaced the
// previous copy is renamed "<name>-yyyyMMdd-HHmmss.mdb" (the time it was made) in the
// same folder, and only the last seven such copies of that name are kept. A new copy
// replaces nothing until it has been checked: it must open with the key and pass the
// engine's integrity check.
class ExitBackup {
public:
    enum class Outcome { Done, Cancelled };
    static constexpr int kKeptCopies = 7;

    // `health`: the integrity check's finding about the open file (may be null).
    explicit ExitBackup(Database &db, const FileHealth *health = nullptr) : db_(db), health_(health) {}

    // nullopt when FileSave has no row. Throws DbError when it cannot be read.
    std::optional<BackupSetting> readSetting();

    // The backup file's path: the folder, a separator unless the folder already ends
    // with one, the file name and ".mdb"; a NULL column stands as "0".
    static QString backupPath(const QVariant &dirpath, const QVariant &fileName);

    // The file of the open database (empty when it is not a local file).
    QString sourceFile() const;

    // The whole backup on exit, safe to run in a worker thread: copies `source` into
    // a temporary file beside `target`, checks it, moves the previous copy aside
    // under its time stamp, puts the new one in its place and removes all but the
    // newest `keep` older copies. On failure or cancel the existing copies stay as
    // they were and no temporary file is left. Throws DbError.
    static Outcome rotateInto(const QString &source, const QString &target, EngineProgress *progress = nullptr,
                              int keep = kKeptCopies);

    // "<name>-yyyyMMdd-HHmmss<extension>" for the copy of `target` made at `made`.
    static QString agedName(const QString &target, const QDateTime &made);
    // The older copies of `target` in its folder, oldest first (full paths).
    static QStringList olderCopies(const QString &target);

    // The backup of the open database at `path`, in this thread (rotateInto with the
    // open file as source). Throws Refusal(kNoBackupOfDamagedFile), copying nothing,
    // when the file was found damaged: a good old backup is never replaced by a copy
    // of a damaged file. Throws DbError when the copy fails.
    Outcome copyTo(const QString &path, EngineProgress *progress = nullptr);

private:
    Database &db_;
    const FileHealth *health_ = nullptr;
};

inline const QString kNoBackupOfDamagedFile =
    QStringLiteral("数据库文件已损坏，本次没有备份，原来的备份文件保持不变。");

}  // namespace kestavion
