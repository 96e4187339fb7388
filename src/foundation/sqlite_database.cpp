#include "foundation/sqlite_database.h"

#include "foundation/file_health.h"
#include "foundation/refusal.h"
#include "foundation/schema.h"

#include <string>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

#include <cmath>
#include <filesystem>

namespace kestavion {

namespace {

QString engineMessage(sqlite3 *db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

void keyConnection(sqlite3 *db, const QString &key) {
    QString escaped = key;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    QByteArray sql = QStringLiteral("PRAGMA key = '%1';").arg(escaped).toUtf8();
    char *err = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        QString msg = err ? QString::fromUtf8(err) : engineMessage(db);
        sqlite3_free(err);
        throw DbError(msg);
    }
}

QString readCipherVersion(sqlite3 *db) {
    sqlite3_stmt *st = nullptr;
    QString version;
    if (sqlite3_prepare_v2(db, "PRAGMA cipher_version;", -1, &st, nullptr) == SQLITE_OK) {
        if (sqlite3_step(st) == SQLITE_ROW) {
            const unsigned char *t = sqlite3_column_text(st, 0);
            if (t) version = QString::fromUtf8(reinterpret_cast<const char *>(t));
        }
    }
    sqlite3_finalize(st);
    return version;
}

std::filesystem::path nativePath(const QString &p) {
#ifdef Q_OS_WIN
    return std::filesystem::path(p.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(p).toStdString());
#endif
}

// No write permission at all, or none for this program: the file or folder is
// read-only for us (the permission bits also hold for an administrator, who could
// write anyway).
bool readOnlyForUs(const QFileInfo &info) {
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

void run(sqlite3 *db, const char *sql) {
    char *err = nullptr;
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        QString msg = err ? QString::fromUtf8(err) : engineMessage(db);
        sqlite3_free(err);
        throw DbError(msg, rc);
    }
}

// Opens an existing file and keys it; the caller closes it.
sqlite3 *openKeyed(const QString &path, const QString &key, int flags) {
    sqlite3 *db = nullptr;
    QByteArray file = QFile::encodeName(path);
    int rc = sqlite3_open_v2(file.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = engineMessage(db);
        sqlite3_close_v2(db);
        throw DbError(msg, rc);
    }
    try {
        keyConnection(db, key);
        run(db, "SELECT count(*) FROM sqlite_master;");
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    return db;
}

int stopWhenCancelled(void *progress) {
    auto *p = static_cast<EngineProgress *>(progress);
    return p && p->cancel.load() ? 1 : 0;
}

}  // namespace

std::unique_ptr<SqliteDatabase> SqliteDatabase::open(const QString &path, OpenMode mode, const QString &key) {
    const bool existed = QFileInfo::exists(path);
    if (mode == OpenMode::ExistingOnly && !existed)
        throw DbError(QStringLiteral("找不到数据库文件 %1").arg(QDir::toNativeSeparators(path)));
    if (mode == OpenMode::CreateNew && existed)
        throw DbError(QStringLiteral("数据库文件已存在 %1").arg(QDir::toNativeSeparators(path)));
    if (mode == OpenMode::ExistingOnly) {
        // Checked before the engine sees the file: opening an empty file would turn
        // it into a new database, and WAL would put its files beside it.
        const QFileInfo info(path);
        if (info.size() == 0) throw Refusal(kEmptyDatabaseFile, Refusal::Icon::Warning, kAppTitle);
        if (readOnlyForUs(info) || readOnlyForUs(QFileInfo(info.absolutePath())))
            throw Refusal(kReadOnlyDatabase, Refusal::Icon::Warning, kAppTitle);
    }

    sqlite3 *db = nullptr;
    int flags = mode == OpenMode::ReadOnly
                    ? SQLITE_OPEN_READONLY
                    : SQLITE_OPEN_READWRITE | (mode == OpenMode::CreateNew ? SQLITE_OPEN_CREATE : 0);
    QByteArray file = QFile::encodeName(path);
    int rc = sqlite3_open_v2(file.constData(), &db, flags, nullptr);
    auto cleanup = [&]() {
        sqlite3_close_v2(db);
        if (mode == OpenMode::CreateNew) QFile::remove(path);
    };
    if (rc != SQLITE_OK) {
        QString msg = engineMessage(db);
        cleanup();
        throw DbError(msg, rc);
    }
    try {
        keyConnection(db, key);
        QString version = readCipherVersion(db);
        if (version.isEmpty())
            throw DbError(QStringLiteral("数据库引擎不是 SQLCipher，拒绝运行"));
        // A wrong key is only noticed at the first read.
        run(db, "SELECT count(*) FROM sqlite_master;");
        if (mode == OpenMode::ExistingOnly) {
            // Everything that could refuse the file comes before the first write.
            if (sqlite3_db_readonly(db, "main") == 1)
                throw Refusal(kReadOnlyDatabase, Refusal::Icon::Warning, kAppTitle);
            sqlite3_stmt *st = nullptr;
            int version = 0;
            if (sqlite3_prepare_v2(db, "PRAGMA user_version;", -1, &st, nullptr) == SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW)
                version = sqlite3_column_int(st, 0);
            sqlite3_finalize(st);
            checkSchemaVersion(version);
        }
        if (mode == OpenMode::ReadOnly) {
            // A cache of its own (per connection, nothing written to the file): the
            // integrity check reads every page, and its index checks revisit many.
            run(db, "PRAGMA cache_size=-65536;");
            sqlite3_busy_timeout(db, 15000);
            auto result = std::unique_ptr<SqliteDatabase>(new SqliteDatabase(db, path));
            result->cipherVersion_ = version;
            return result;
        }
        run(db, "PRAGMA journal_mode=WAL;");
        run(db, "PRAGMA synchronous=FULL;");
        // 8 MB of decrypted pages: the searches read a few pages through their indexes
        // and a whole-list read streams past any cache; a larger one only held memory.
        run(db, "PRAGMA cache_size=-8000;");
        run(db, "PRAGMA foreign_keys=OFF;");
        run(db, "PRAGMA wal_autocheckpoint=4000;");
        sqlite3_busy_timeout(db, 15000);
        auto result = std::unique_ptr<SqliteDatabase>(new SqliteDatabase(db, path));
        result->cipherVersion_ = version;
        return result;
    } catch (...) {
        cleanup();
        throw;
    }
}

SqliteDatabase::SqliteDatabase(sqlite3 *db, QString path) : db_(db), path_(std::move(path)) {}

SqliteDatabase::~SqliteDatabase() {
    for (sqlite3_stmt *st : std::as_const(cache_)) sqlite3_finalize(st);
    cache_.clear();
    if (db_) {
        sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        sqlite3_close_v2(db_);
    }
}

void SqliteDatabase::fail(int rc, const QString &context) const {
    QString msg = engineMessage(db_);
    if (!context.isEmpty()) msg = context + QStringLiteral(": ") + msg;
    const int primary = rc & 0xff;
    DbError::Kind kind = DbError::Kind::Other;
    if (primary == SQLITE_CONSTRAINT) kind = DbError::Kind::Constraint;
    else if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB) kind = DbError::Kind::Damaged;
    else if (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN) kind = DbError::Kind::ConnectionLost;
    DbError error(msg, rc, kind);
    if (health_ && reportsDamagedFile(error)) health_->set(FileHealth::State::Damaged);
    throw error;
}

void SqliteDatabase::interrupt() { sqlite3_interrupt(db_); }

sqlite3_stmt *SqliteDatabase::prepare(const QString &sql) {
    auto it = cache_.find(sql);
    if (it != cache_.end()) {
        sqlite3_reset(it.value());
        sqlite3_clear_bindings(it.value());
        return it.value();
    }
    sqlite3_stmt *st = nullptr;
    QByteArray utf8 = sql.toUtf8();
    int rc = sqlite3_prepare_v2(db_, utf8.constData(), utf8.size(), &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        fail(rc);
    }
    if (cache_.size() > 500) {
        for (sqlite3_stmt *old : std::as_const(cache_)) sqlite3_finalize(old);
        cache_.clear();
    }
    cache_.insert(sql, st);
    return st;
}

static void bindValue(sqlite3_stmt *st, int index, const QVariant &v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(st, index, v.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        sqlite3_bind_int64(st, index, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float: {
        double d = v.toDouble();
        double r = static_cast<double>(qRound64(d));
        // Whole values go in as integers so they read back without ".0".
        if (d == r && std::abs(d) < 9.0e15) sqlite3_bind_int64(st, index, static_cast<sqlite3_int64>(r));
        else sqlite3_bind_double(st, index, d);
        break;
    }
    case QMetaType::QDate: {
        QByteArray t = v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
        sqlite3_bind_text(st, index, t.constData(), t.size(), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QByteArray: {
        QByteArray b = v.toByteArray();
        sqlite3_bind_blob(st, index, b.constData(), b.size(), SQLITE_TRANSIENT);
        break;
    }
    default: {
        QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(st, index, t.constData(), t.size(), SQLITE_TRANSIENT);
        break;
    }
    }
}

sqlite3_stmt *SqliteDatabase::prepareBound(const QString &sql, const QVariantList &params) {
    sqlite3_stmt *st = prepare(sql);
    const int expected = sqlite3_bind_parameter_count(st);
    if (expected != params.size()) {
        throw DbError(QStringLiteral("参数个数不符：语句需要 %1 个，给了 %2 个").arg(expected).arg(params.size()));
    }
    for (int i = 0; i < params.size(); ++i) bindValue(st, i + 1, params[i]);
    return st;
}

namespace {
// The current row of a stepping statement.
class StatementRowView final : public RowView {
public:
    explicit StatementRowView(sqlite3_stmt *st) : st_(st) {}
    QByteArrayView utf8(int column) const override {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st_, column));
        return text ? QByteArrayView(text, sqlite3_column_bytes(st_, column)) : QByteArrayView();
    }
    double number(int column) const override { return sqlite3_column_double(st_, column); }

private:
    sqlite3_stmt *st_;
};

// Resets a cached statement however its use ends.
struct StatementReset {
    sqlite3_stmt *st;
    ~StatementReset() {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
};
}  // namespace

void SqliteDatabase::scan(const QString &sql, const QVariantList &params,
                          const std::function<void(const RowView &)> &fn) {
    sqlite3_stmt *st = prepareBound(sql, params);
    StatementReset reset{st};
    const StatementRowView view(st);
    for (;;) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            sqlite3_reset(st);
            fail(rc);
        }
        fn(view);
    }
}

ResultSet SqliteDatabase::exec(const QString &sql, const QVariantList &params) {
    sqlite3_stmt *st = prepareBound(sql, params);

    const int cols = sqlite3_column_count(st);
    QStringList names;
    names.reserve(cols);
    for (int c = 0; c < cols; ++c) names << QString::fromUtf8(sqlite3_column_name(st, c));

    // A text equal to the one above in its column shares that row's string: long
    // results (a year of sales) repeat kinds, brands, sizes, dates and sellers.
    std::vector<std::string> lastBytes(static_cast<size_t>(cols));
    std::vector<QString> lastText(static_cast<size_t>(cols));
    std::vector<QVariantList> rows;
    for (;;) {
        int rc = sqlite3_step(st);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            sqlite3_reset(st);
            fail(rc);
        }
        QVariantList row;
        row.reserve(cols);
        for (int c = 0; c < cols; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER:
                row << QVariant(static_cast<qlonglong>(sqlite3_column_int64(st, c)));
                break;
            case SQLITE_FLOAT:
                row << QVariant(sqlite3_column_double(st, c));
                break;
            case SQLITE_NULL:
                row << QVariant();
                break;
            case SQLITE_BLOB:
                row << QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(st, c)),
                                           sqlite3_column_bytes(st, c)));
                break;
            default: {
                const QByteArrayView bytes(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                           sqlite3_column_bytes(st, c));
                const auto k = size_t(c);
                if (bytes != QByteArrayView(lastBytes[k].data(), qsizetype(lastBytes[k].size())) ||
                    lastText[k].isNull()) {
                    lastBytes[k].assign(bytes.data(), size_t(bytes.size()));
                    lastText[k] = QString::fromUtf8(bytes);
                }
                row << QVariant(lastText[k]);
            }
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    return ResultSet(std::move(names), std::move(rows));
}

int SqliteDatabase::changes() const { return sqlite3_changes(db_); }
qint64 SqliteDatabase::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

void SqliteDatabase::begin() {
    if (depth_ > 0) throw DbError(QStringLiteral("事务已经开始"));
    exec(QStringLiteral("BEGIN IMMEDIATE"));
    depth_ = 1;
}

void SqliteDatabase::commit() {
    if (depth_ == 0) throw DbError(QStringLiteral("没有进行中的事务"));
    exec(QStringLiteral("COMMIT"));
    depth_ = 0;
}

void SqliteDatabase::rollback() {
    if (depth_ == 0) return;
    depth_ = 0;
    if (!sqlite3_get_autocommit(db_)) exec(QStringLiteral("ROLLBACK"));
}

bool SqliteDatabase::inTransaction() const { return depth_ > 0; }

int SqliteDatabase::schemaVersion() {
    return static_cast<int>(scalar(QStringLiteral("PRAGMA user_version")).toLongLong());
}

void SqliteDatabase::setSchemaVersion(int version) {
    exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

QStringList SqliteDatabase::tableNames() {
    QStringList names;
    const ResultSet rs =
        exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite%' ORDER BY name"));
    for (int r = 0; r < rs.rowCount(); ++r) names << rs.text(r, 0);
    return names;
}

QHash<QString, qint64> SqliteDatabase::autoNumbersUsed() {
    // The engine's own counter of AUTOINCREMENT keys, which never goes back.
    QHash<QString, qint64> used;
    const ResultSet rs = exec(QStringLiteral("SELECT name, seq FROM sqlite_sequence"));
    for (int r = 0; r < rs.rowCount(); ++r) used.insert(rs.text(r, 0).toLower(), rs.integer(r, 1));
    return used;
}

void SqliteDatabase::continueAutoNumbers(const QHash<QString, qint64> &used) {
    // Rows inserted with their keys already moved the counter past them.
    for (auto it = used.cbegin(); it != used.cend(); ++it)
        exec(QStringLiteral("UPDATE sqlite_sequence SET seq=? WHERE lower(name)=? AND seq<?"),
             {it.value(), it.key(), it.value()});
}

QString SqliteDatabase::engineDescription() const {
    return QStringLiteral("SQLCipher ") + cipherVersion_ + QStringLiteral(" (SQLite ") +
           QString::fromLatin1(sqlite3_libversion()) + QLatin1Char(')');
}

void SqliteDatabase::checkpoint() {
    sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
}

void SqliteDatabase::backupTo(const QString &destination, const QString &key) {
    QFileInfo info(destination);
    if (!QDir().mkpath(info.absolutePath()))
        throw DbError(QStringLiteral("无法创建备份文件夹 %1").arg(QDir::toNativeSeparators(info.absolutePath())));
    const QString temp = destination + QStringLiteral(".tmp");
    // The temporary copy writes through its own rollback journal: a failed or
    // killed copy leaves both, and neither may stay behind.
    const QString tempJournal = temp + QStringLiteral("-journal");
    QFile::remove(temp);
    QFile::remove(tempJournal);

    sqlite3 *dest = nullptr;
    QByteArray file = QFile::encodeName(temp);
    int rc = sqlite3_open_v2(file.constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto abandon = [&](const QString &msg, int code) {
        sqlite3_close_v2(dest);
        QFile::remove(temp);
        QFile::remove(tempJournal);
        throw DbError(msg, code);
    };
    if (rc != SQLITE_OK) abandon(engineMessage(dest), rc);
    try {
        // Key the destination before anything is copied into it.
        keyConnection(dest, key);
        run(dest, "SELECT count(*) FROM sqlite_master;");
    } catch (const DbError &e) {
        abandon(e.message(), e.code());
    }
    sqlite3_backup *b = sqlite3_backup_init(dest, "main", db_, "main");
    if (!b) abandon(engineMessage(dest), sqlite3_errcode(dest));
    rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) abandon(engineMessage(dest), rc);
    // The destination was written through its own rollback journal, so the whole
    // copy is in the file itself (its header keeps the source's WAL setting).
    sqlite3_close_v2(dest);
    std::error_code ec;
    std::filesystem::rename(nativePath(temp), nativePath(destination), ec);
    if (ec) {
        QFile::remove(temp);
        QFile::remove(tempJournal);
        throw DbError(QStringLiteral("无法写入备份文件 %1").arg(QDir::toNativeSeparators(destination)));
    }
}

bool SqliteDatabase::copyFile(const QString &source, const QString &destination, const QString &key,
                              EngineProgress *progress) {
    // The copy writes through its own rollback journal: a failed or cancelled copy
    // leaves neither the file nor its journal behind.
    const QString journal = destination + QStringLiteral("-journal");
    QFile::remove(destination);
    QFile::remove(journal);
    sqlite3 *src = openKeyed(source, key, SQLITE_OPEN_READWRITE);
    sqlite3 *dest = nullptr;
    QByteArray file = QFile::encodeName(destination);
    int rc = sqlite3_open_v2(file.constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto finish = [&](bool keep) {
        sqlite3_close_v2(dest);
        sqlite3_close_v2(src);
        if (!keep) {
            QFile::remove(destination);
            QFile::remove(journal);
        }
    };
    if (rc != SQLITE_OK) {
        QString msg = engineMessage(dest);
        finish(false);
        throw DbError(msg, rc);
    }
    try {
        // Key the destination before anything is copied into it.
        keyConnection(dest, key);
        run(dest, "SELECT count(*) FROM sqlite_master;");
    } catch (...) {
        finish(false);
        throw;
    }
    sqlite3_backup *b = sqlite3_backup_init(dest, "main", src, "main");
    if (!b) {
        QString msg = engineMessage(dest);
        int code = sqlite3_errcode(dest);
        finish(false);
        throw DbError(msg, code);
    }
    for (;;) {
        if (progress && progress->cancel.load()) {
            sqlite3_backup_finish(b);
            finish(false);
            return false;
        }
        rc = sqlite3_backup_step(b, 256);
        if (progress) {
            progress->total.store(sqlite3_backup_pagecount(b));
            progress->done.store(sqlite3_backup_pagecount(b) - sqlite3_backup_remaining(b));
        }
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_OK && rc != SQLITE_BUSY && rc != SQLITE_LOCKED) {
            sqlite3_backup_finish(b);
            QString msg = engineMessage(dest);
            finish(false);
            throw DbError(msg, rc);
        }
    }
    rc = sqlite3_backup_finish(b);
    if (rc != SQLITE_OK) {
        QString msg = engineMessage(dest);
        finish(false);
        throw DbError(msg, rc);
    }
    finish(true);
    return true;
}

bool SqliteDatabase::checkFile(const QString &path, const QString &key, EngineProgress *progress) {
    if (progress) progress->stage.store(1);
    sqlite3 *db = openKeyed(path, key, SQLITE_OPEN_READWRITE);
    sqlite3_progress_handler(db, 1000, &stopWhenCancelled, progress);
    sqlite3_stmt *st = nullptr;
    QStringList findings;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check;", -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const unsigned char *t = sqlite3_column_text(st, 0);
            findings << (t ? QString::fromUtf8(reinterpret_cast<const char *>(t)) : QString());
        }
    }
    const QString engine = engineMessage(db);
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    if (rc == SQLITE_INTERRUPT) return false;
    if (rc != SQLITE_DONE) throw DbError(engine, rc);
    if (findings != QStringList{QStringLiteral("ok")}) throw DbError(findings.join(QLatin1Char('\n')));
    return true;
}

}  // namespace kestavion
