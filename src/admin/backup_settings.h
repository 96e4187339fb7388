#pragma once

#include "foundation/database.h"

#include <QString>
#include <optional>

namespace kestavion {

// The backup setting (the one FileSave row) as the backup settings screen edits it.
struct BackupSettings {
    QString dirpath;   // the backup folder, as shown in the path box
    QString drive;     // the drive of the folder chooser ("D:\", or "/")
    QString dir;       // the folder chosen in the folder chooser
    QString fileName;  // without extension
    bool isSave = false;
};

// The file name's extension of every backup copy.
inline const QString kBackupExtension = QStringLiteral(".mdb");

// Reads and writes the backup setting. No permission key: every user may.
class BackupSettingsService {
public:
    explicit BackupSettingsService(Database &db) : db_(db) {}

    // The stored row, a NULL column standing as its default: the platform's default
    // backup folder (and its drive), the file name "数据备份", no backup. nullopt when
    // the table holds no row. Throws DbError when it cannot be read.
    std::optional<BackupSettings> load();
    // Rewrites the row; returns the rows changed (0 when the table holds none).
    int save(const BackupSettings &s);

    // The defaults used for NULL columns.
    static BackupSettings defaults();
    // The drive a folder lies on: "D:\" for "D:\数据备份", "/" where there are no
    // drive letters.
    static QString driveOf(const QString &folder);

private:
    Database &db_;
};

}  // namespace kestavion
