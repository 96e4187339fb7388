#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kestavion {

class FileHealth;

// A statement the engine rejected, or a connection that could not be made.
// what()/message() carry the engine's own text.
class DbError : public std::runtime_error {
public:
    // What a caller may need to tell apart, alike on every engine.
    enum class Kind { Other, Constraint, ConnectionLost, Damaged, Deadlock };

    explicit DbError(const QString &message, int code = 0, Kind kind = Kind::Other)
        : std::runtime_error(message.toStdString()), message_(message), code_(code), kind_(kind) {}
    const QString &message() const { return message_; }
    int code() const { return code_; }
    Kind kind() const { return kind_; }

private:
    QString message_;
    int code_;
    Kind kind_;
};

// A fully fetched, static query result. Column names keep the statement's order and
// aliases (they become grid headings); lookup by name ignores letter case.
class ResultSet {
public:
    ResultSet() = default;
    ResultSet(QStringList columns, std::vector<QVariantList> rows)
        : columns_(std::move(columns)), rows_(std::move(rows)) {}

    bool empty() const { return rows_.empty(); }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    int columnCount() const { return columns_.size(); }
    const QStringList &columns() const { return columns_; }
    const std::vector<QVariantList> &rows() const { return rows_; }

    // -1 when no column has that name (letter case ignored).
    int columnIndex(const QString &name) const;

    QVariant value(int row, int column) const;
    QVariant value(int row, const QString &column) const;
    bool isNull(int row, const QString &column) const;

    // Null-aware reads: NULL reads as empty text, 0 or false.
    QString text(int row, int column) const;
    QString text(int row, const QString &column) const;
    double number(int row, int column) const;
    double number(int row, const QString &column) const;
    qint64 integer(int row, int column) const;
    qint64 integer(int row, const QString &column) const;
    bool flag(int row, const QString &column) const;

    // Shorthand for the first row.
    QString text(const QString &column) const { return text(0, column); }
    double number(const QString &column) const { return number(0, column); }
    qint64 integer(const QString &column) const { return integer(0, column); }
    bool flag(const QString &column) const { return flag(0, column); }

private:
    int requireColumn(const QString &name) const;
    QStringList columns_;
    std::vector<QVariantList> rows_;
};

// One row of a streamed read (Database::scan); valid only during the callback.
class RowView {
public:
    virtual ~RowView() = default;
    // The value as UTF-8 text (numbers in their shortest form); empty for NULL. The
    // bytes stay valid until the callback returns.
    virtual QByteArrayView utf8(int column) const = 0;
    // The value as a number (0 for NULL or text that is no number).
    virtual double number(int column) const = 0;
};

// The one way the program talks to its store. Statements use '?' placeholders and
// portable SQL; every typed value goes in as a bound parameter.
class Database {
public:
    virtual ~Database() = default;

    virtual ResultSet exec(const QString &sql, const QVariantList &params = {}) = 0;
    // Rows changed by the last insert/update/delete.
    virtual int changes() const = 0;
    // Key of the last row inserted into a table with an auto-numbered ID.
    virtual qint64 lastInsertId() const = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    // Hands each row of the result to `fn` as it is read, without keeping the rows:
    // for aggregates over large tables that the engine would have to sort. This
    // default reads through exec(); an engine may stream.
    virtual void scan(const QString &sql, const QVariantList &params, const std::function<void(const RowView &)> &fn);

    // Convenience: first column of the first row, or an invalid QVariant.
    QVariant scalar(const QString &sql, const QVariantList &params = {});

    // What differs between the embedded file and a server lives behind these.

    // The schema version the database holds (0 when it holds none).
    virtual int schemaVersion() { throw DbError(QStringLiteral("schema version not kept by this engine")); }
    // Writes the schema version (inside the caller's transaction).
    virtual void setSchemaVersion(int version) {
        (void)version;
        throw DbError(QStringLiteral("schema version not kept by this engine"));
    }
    // The type of an auto-numbered key column, never reused ("INTEGER PRIMARY KEY
    // AUTOINCREMENT" in the file, an identity column on a server).
    virtual QString autoNumberKey() const { return {}; }
    // An expression that orders a table's rows as they were inserted, for upgrade
    // steps that rebuild a table of an older database; nothing else relies on it.
    virtual QString insertionOrder() const { return {}; }
    // The engine and its version, for the About box ("SQLCipher 4.5.2").
    virtual QString engineDescription() const { return {}; }
    // Where the data lives: the file's path, or the server and database.
    virtual QString location() const { return {}; }
    // The local file the database lives in (the backup on exit copies it); empty on a
    // server, whose own backup (pg_dump) applies.
    virtual QString localFile() const { return {}; }
    // Appended to a SELECT that reads rows the transaction will change, so that
    // two tills take them one after the other (empty where one writer holds the file).
    virtual QString forUpdate() const { return {}; }
    // Waits for the lock of that name and holds it until the transaction ends; a
    // no-op where a transaction already excludes every other writer.
    virtual void lockName(const QString &name) { (void)name; }
    // Where an engine that finds its file damaged reports it (the embedded file).
    virtual void setHealth(FileHealth *health) { (void)health; }
    // Housekeeping the program runs when it is idle, outside any transaction.
    virtual void idle() {}
    // "column LIKE ?" ignoring ASCII letter case (and only ASCII) on every engine, with
    // '\' as the escape character on every engine (a server takes it by default, the
    // file not at all). Bind a pattern made by likeContaining.
    virtual QString likeIgnoringCase(const QString &column) const {
        return column + QStringLiteral(" LIKE ? ESCAPE '\\'");
    }
    // The pattern that finds `text` anywhere in a value, its own %, _ and \\ taken as
    // themselves.
    static QString likeContaining(const QString &text);

    // For copying a shop from one database into another.
    // The program's tables the database holds, as the engine names them (its own
    // bookkeeping, such as the schema version on a server, left out).
    virtual QStringList tableNames() { return {}; }
    // The last key each auto-numbered table has handed out, by table name in lower
    // case; it lies past the largest key still stored when the last rows were deleted.
    virtual QHash<QString, qint64> autoNumbersUsed() { return {}; }
    // After rows came in with their own keys: every auto-numbered key goes on past the
    // largest key its table holds, and past what `used` says was handed out before.
    virtual void continueAutoNumbers(const QHash<QString, qint64> &used) { (void)used; }
};

// Rolls back unless commit() was called. Nested use is not supported: one
// operation, one transaction.
class Transaction {
public:
    explicit Transaction(Database &db) : db_(db) { db_.begin(); }
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &db_;
    bool done_ = false;
};

}  // namespace kestavion
