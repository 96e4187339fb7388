#pragma once

#include "foundation/database.h"

#include <QHash>
#include <atomic>

struct sqlite3;
struct sqlite3_stmt;

namespace kestavion {

class FileHealth;

// The password every Kestavion database file is keyed with.
inline constexpr const char *kDatabaseKey = "kuvatesolin582";
// The file name of the database beside the program.
inline constexpr const char *kDatabaseFileName = "Kestavion.mdb";

// How far a long engine job run in a worker has come (the worker writes, the screen
// reads), and the screen's request to stop it.
struct EngineProgress {
    std::atomic<int> done{0};   // pages copied
    std::atomic<int> total{0};  // pages to copy; 0 while unknown
    std::atomic<int> stage{0};  // 0 copying, 1 checking
    std::atomic<bool> cancel{false};
};

// SQLCipher through the sqlite3 C API. One connection, opened once and kept.
class SqliteDatabase final : public Database {
public:
    // ExistingOnly: the shop's file, to read and write. CreateNew: a new file.
    // ReadOnly: a reader beside the one writer (the background integrity check); it
    // sets nothing on the file.
    enum class OpenMode { ExistingOnly, CreateNew, ReadOnly };

    // Opens and keys the file, then reads from it to prove the key. Throws DbError
    // when the file is missing (ExistingOnly), the key is wrong, or the library
    // is not SQLCipher. Never leaves a new empty file behind on failure.
    // ExistingOnly also refuses (Refusal), before anything is written into the file, an
    // empty file, a file or folder the program cannot write to, and a file whose
    // version this program cannot open (checkSchemaVersion): it is left untouched.
    static std::unique_ptr<SqliteDatabase> open(const QString &path,
                                                OpenMode mode = OpenMode::ExistingOnly,
                                                const QString &key = QString::fromLatin1(kDatabaseKey));
    ~SqliteDatabase() override;

    ResultSet exec(const QString &sql, const QVariantList &params = {}) override;
    void scan(const QString &sql, const QVariantList &params, const std::function<void(const RowView &)> &fn) override;
    int changes() const override;
    qint64 lastInsertId() const override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;
    int schemaVersion() override;
    void setSchemaVersion(int version) override;
    QString autoNumberKey() const override { return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"); }
    QString engineDescription() const override;
    QString insertionOrder() const override { return QStringLiteral("rowid"); }
    QString location() const override { return path_; }
    QString localFile() const override { return path_; }
    QStringList tableNames() override;
    QHash<QString, qint64> autoNumbersUsed() override;
    void continueAutoNumbers(const QHash<QString, qint64> &used) override;

    // Consistent, keyed copy of the whole database into `destination` (written to a
    // temporary file beside it and renamed over it when complete).
    void backupTo(const QString &destination, const QString &key = QString::fromLatin1(kDatabaseKey));
    // A consistent, keyed copy of the database file `source` into the new file
    // `destination`, read through a connection of its own (so a worker thread may run
    // it while the program's connection stays where it is). Stops early when
    // progress->cancel is set; then, and on failure, `destination` is removed. Throws
    // DbError; returns false when cancelled.
    static bool copyFile(const QString &source, const QString &destination,
                         const QString &key = QString::fromLatin1(kDatabaseKey), EngineProgress *progress = nullptr);
    // Opens the file with the key and runs the engine's quick integrity check. Throws
    // DbError with the engine's finding when the file does not open with the key or
    // is damaged; returns false when cancelled.
    static bool checkFile(const QString &path, const QString &key = QString::fromLatin1(kDatabaseKey),
                          EngineProgress *progress = nullptr);

    // Folds the write-ahead log into the file; call when the program is idle.
    void checkpoint();
    void idle() override { checkpoint(); }

    // Where an engine report of a damaged file is remembered (not owned; may be null).
    void setHealth(FileHealth *health) override { health_ = health; }
    // Stops a statement running on this connection from another thread.
    void interrupt();

    QString path() const { return path_; }
    QString cipherVersion() const { return cipherVersion_; }

private:
    SqliteDatabase(sqlite3 *db, QString path);
    sqlite3_stmt *prepare(const QString &sql);
    // Prepares and binds; throws when the parameters do not fit.
    sqlite3_stmt *prepareBound(const QString &sql, const QVariantList &params);
    [[noreturn]] void fail(int rc, const QString &context = {}) const;

    sqlite3 *db_ = nullptr;
    QString path_;
    QString cipherVersion_;
    QHash<QString, sqlite3_stmt *> cache_;
    int depth_ = 0;
    FileHealth *health_ = nullptr;
};

// Refusals at start, before the file is touched.
inline const QString kEmptyDatabaseFile =
    QStringLiteral("数据库文件是空的（0 字节），不是本程序的数据库。请用最近一次的备份恢复数据库文件。");
inline const QString kReadOnlyDatabase =
    QStringLiteral("数据库文件或程序所在的文件夹不能写入（只读）。请取消只读属性或把程序放到可以写入的文件夹后再打开。");

}  // namespace kestavion
