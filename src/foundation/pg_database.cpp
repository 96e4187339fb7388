#include "foundation/pg_database.h"

#include <QDate>
#include <QRegularExpression>
#include <libpq-fe.h>

#include <cmath>
#include <optional>
#include <vector>

namespace kestavion {

namespace {

DbError::Kind kindOf(const char *sqlState) {
    if (!sqlState) return DbError::Kind::Other;
    const QByteArray s(sqlState);
    if (s.startsWith("23")) return DbError::Kind::Constraint;
    if (s.startsWith("08") || s == "57P01" || s == "57P02" || s == "57P03") return DbError::Kind::ConnectionLost;
    if (s == "40P01" || s == "40001") return DbError::Kind::Deadlock;
    if (s == "XX001" || s == "XX002") return DbError::Kind::Damaged;
    return DbError::Kind::Other;
}

QString engineText(const char *text) {
    return QString::fromUtf8(text).trimmed();
}

// Value as the text the server parses; null stays null.
std::optional<QByteArray> textOf(const QVariant &v) {
    if (!v.isValid() || v.isNull()) return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return QByteArray(v.toBool() ? "1" : "0");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        return QByteArray::number(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        const double r = static_cast<double>(qRound64(d));
        if (d == r && std::abs(d) < 9.0e15) return QByteArray::number(static_cast<qint64>(r));
        return QByteArray::number(d, 'g', 15);
    }
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd")).toUtf8();
    default:
        return v.toString().toUtf8();
    }
}

// A number read back like the file gives it: whole values as integers.
QVariant numberValue(const char *text) {
    const QByteArray t(text);
    if (!t.contains('.') && !t.contains('e') && !t.contains('E')) {
        bool ok = false;
        const qlonglong n = t.toLongLong(&ok);
        if (ok) return QVariant(n);
    }
    const double d = t.toDouble();
    const double r = std::floor(d);
    if (d == r && std::abs(d) < 9.0e15) return QVariant(static_cast<qlonglong>(r));
    return QVariant(d);
}

// The server folds unquoted names to lower case; result columns get back the
// spelling of the statement, or else of the schema, so both engines give the same
// headings ("GUID", "TypeNo").
void collectSpellings(const QString &sql, QHash<QString, QString> &into) {
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    auto it = word.globalMatch(sql);
    while (it.hasNext()) {
        const QString w = it.next().captured(0);
        const QString lower = w.toLower();
        if (lower != w && !into.contains(lower)) into.insert(lower, w);
    }
}

}  // namespace

extern const char *const kSchemaSqlText;

namespace {

const QHash<QString, QString> &schemaSpellings() {
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> n;
        collectSpellings(QString::fromUtf8(kSchemaSqlText), n);
        return n;
    }();
    return names;
}

constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700;

}  // namespace

std::unique_ptr<PgDatabase> PgDatabase::open(const QString &conninfo) {
    const QByteArray info = conninfo.toUtf8();
    PGconn *conn = PQconnectdb(info.constData());
    if (!conn) throw DbError(QStringLiteral("out of memory"));
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString msg = engineText(PQerrorMessage(conn));
        PQfinish(conn);
        throw DbError(msg, 0, DbError::Kind::ConnectionLost);
    }
    PQsetClientEncoding(conn, "UTF8");
    // The server's notices ("already exists, skipping") are not for the till's console.
    PQsetNoticeProcessor(conn, [](void *, const char *) {}, nullptr);
    auto db = std::unique_ptr<PgDatabase>(new PgDatabase(conn));
    const int v = PQserverVersion(conn);
    db->description_ = QStringLiteral("PostgreSQL %1.%2").arg(v / 10000).arg(v % 10000);
    const char *host = PQhost(conn);
    db->location_ = QStringLiteral("%1:%2/%3")
                        .arg(QString::fromUtf8(host ? host : ""), QString::fromUtf8(PQport(conn)),
                             QString::fromUtf8(PQdb(conn)));
    // Statements wait for a row another till holds, but not for ever.
    db->exec(QStringLiteral("SET lock_timeout = '15s'"));
    return db;
}

PgDatabase::PgDatabase(pg_conn *conn) : conn_(conn) {}

PgDatabase::~PgDatabase() {
    if (conn_) PQfinish(conn_);
}

QString PgDatabase::translate(const QString &sql, int *parameterCount) {
    QString out;
    out.reserve(sql.size() + 16);
    int n = 0;
    QChar quote;  // inside '...' or "..." while set
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            out += c;
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out += c;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++n);
        } else if (c == QLatin1Char('[')) {
            const int close = sql.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0) {
                out += c;
                continue;
            }
            const QString name = sql.mid(i + 1, close - i - 1);
            // The one reserved word among the names is quoted exactly as the schema does.
            out += name.compare(QLatin1String("User"), Qt::CaseInsensitive) == 0 ? QStringLiteral("\"User\"") : name;
            i = close;
        } else {
            out += c;
        }
    }
    if (parameterCount) *parameterCount = n;
    return out;
}

void PgDatabase::failConnection(const QString &context) const {
    QString msg = engineText(PQerrorMessage(conn_));
    if (!context.isEmpty()) msg = context + QStringLiteral(": ") + msg;
    throw DbError(msg, 0, DbError::Kind::ConnectionLost);
}

const PgDatabase::Prepared &PgDatabase::prepare(const QString &sql) {
    auto it = cache_.constFind(sql);
    if (it != cache_.constEnd()) return it.value();
    Prepared p;
    const QByteArray text = translate(sql, &p.parameters).toUtf8();
    p.name = "k" + QByteArray::number(cache_.size() + 1);
    PGresult *res = PQprepare(conn_, p.name.constData(), text.constData(), 0, nullptr);
    if (!res) failConnection({});
    if (PQresultStatus(res) != PGRES_COMMAND_OK) {
        const QString msg = engineText(PQresultErrorMessage(res));
        const DbError::Kind kind = kindOf(PQresultErrorField(res, PG_DIAG_SQLSTATE));
        PQclear(res);
        throw DbError(msg, 1, PQstatus(conn_) == CONNECTION_BAD ? DbError::Kind::ConnectionLost : kind);
    }
    PQclear(res);
    collectSpellings(sql, p.spelling);
    return cache_.insert(sql, p).value();
}

ResultSet PgDatabase::exec(const QString &sql, const QVariantList &params) {
    try {
        return run(sql, params);
    } catch (const DbError &e) {
        // A lost connection is made anew for the next operation; this one has failed
        // (whatever the server did with it is the server's to have committed or not).
        if (PQstatus(conn_) == CONNECTION_BAD) {
            PQreset(conn_);
            cache_.clear();
            inTransaction_ = false;
            throw DbError(e.message(), e.code(), DbError::Kind::ConnectionLost);
        }
        throw;
    }
}

ResultSet PgDatabase::run(const QString &sql, const QVariantList &params) {
    const Prepared &p = prepare(sql);
    if (p.parameters != params.size())
        throw DbError(QStringLiteral("参数个数不符：语句需要 %1 个，给了 %2 个").arg(p.parameters).arg(params.size()));
    std::vector<QByteArray> texts(params.size());
    std::vector<const char *> values(params.size(), nullptr);
    for (int i = 0; i < params.size(); ++i) {
        if (auto t = textOf(params[i])) {
            texts[i] = *t;
            values[i] = texts[i].constData();
        }
    }
    PGresult *res = PQexecPrepared(conn_, p.name.constData(), static_cast<int>(params.size()), values.data(), nullptr,
                                   nullptr, 0);
    if (!res) failConnection({});
    const ExecStatusType status = PQresultStatus(res);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const QString msg = engineText(PQresultErrorMessage(res));
        const DbError::Kind kind = kindOf(PQresultErrorField(res, PG_DIAG_SQLSTATE));
        PQclear(res);
        throw DbError(msg, 1, kind);
    }
    changes_ = QByteArray(PQcmdTuples(res)).toInt();
    const int cols = PQnfields(res);
    const int count = PQntuples(res);
    QStringList names;
    names.reserve(cols);
    std::vector<Oid> types(cols);
    for (int c = 0; c < cols; ++c) {
        const QString name = QString::fromUtf8(PQfname(res, c));
        auto own = p.spelling.constFind(name);
        if (own != p.spelling.constEnd()) {
            names << own.value();
        } else {
            auto schema = schemaSpellings().constFind(name);
            names << (schema != schemaSpellings().constEnd() ? schema.value() : name);
        }
        types[c] = PQftype(res, c);
    }
    std::vector<QVariantList> rows;
    rows.reserve(count);
    for (int r = 0; r < count; ++r) {
        QVariantList row;
        row.reserve(cols);
        for (int c = 0; c < cols; ++c) {
            if (PQgetisnull(res, r, c)) {
                row << QVariant();
                continue;
            }
            const char *v = PQgetvalue(res, r, c);
            switch (types[c]) {
            case kBool:
                row << QVariant(static_cast<qlonglong>(v[0] == 't' ? 1 : 0));
                break;
            case kInt2:
            case kInt4:
            case kInt8:
            case kOid:
                row << QVariant(QByteArray(v).toLongLong());
                break;
            case kFloat4:
            case kFloat8:
            case kNumeric:
                row << numberValue(v);
                break;
            default:
                row << QVariant(QString::fromUtf8(v, PQgetlength(res, r, c)));
            }
        }
        rows.push_back(std::move(row));
    }
    PQclear(res);
    return ResultSet(std::move(names), std::move(rows));
}

qint64 PgDatabase::lastInsertId() const {
    return const_cast<PgDatabase *>(this)->scalar(QStringLiteral("SELECT lastval()")).toLongLong();
}

void PgDatabase::begin() {
    if (inTransaction_) throw DbError(QStringLiteral("事务已经开始"));
    exec(QStringLiteral("BEGIN"));
    inTransaction_ = true;
}

void PgDatabase::commit() {
    if (!inTransaction_) throw DbError(QStringLiteral("没有进行中的事务"));
    PGresult *res = PQexec(conn_, "COMMIT");
    inTransaction_ = false;
    if (!res) failConnection({});
    const ExecStatusType status = PQresultStatus(res);
    const QByteArray tag(PQcmdStatus(res));
    const QString msg = engineText(PQresultErrorMessage(res));
    const DbError::Kind kind = kindOf(PQresultErrorField(res, PG_DIAG_SQLSTATE));
    PQclear(res);
    if (status != PGRES_COMMAND_OK) throw DbError(msg, 1, kind);
    // A transaction in which a statement failed ends in a rollback: never report it
    // as written.
    if (tag == "ROLLBACK") throw DbError(QStringLiteral("事务中有语句失败，已全部撤销"));
}

void PgDatabase::rollback() {
    if (!inTransaction_) return;
    inTransaction_ = false;
    PGresult *res = PQexec(conn_, "ROLLBACK");
    if (res) PQclear(res);
}

int PgDatabase::schemaVersion() {
    // A one-row table holds the version; a database without it has none.
    if (scalar(QStringLiteral("SELECT to_regclass('schemaversion') IS NOT NULL")).toLongLong() == 0) return 0;
    return static_cast<int>(scalar(QStringLiteral("SELECT max(Version) FROM SchemaVersion")).toLongLong());
}

void PgDatabase::setSchemaVersion(int version) {
    exec(QStringLiteral("CREATE TABLE IF NOT EXISTS SchemaVersion (Version INTEGER NOT NULL)"));
    exec(QStringLiteral("DELETE FROM SchemaVersion"));
    exec(QStringLiteral("INSERT INTO SchemaVersion (Version) VALUES (?)"), {version});
}

QStringList PgDatabase::tableNames() {
    // Tables, views and sequences of every schema but the server's own.
    const ResultSet rs = exec(QStringLiteral(
        "SELECT c.relname FROM pg_class c JOIN pg_namespace n ON n.oid=c.relnamespace "
        "WHERE n.nspname NOT IN ('pg_catalog','information_schema') AND n.nspname NOT LIKE 'pg_toast%' "
        "AND c.relkind IN ('r','p','v','m','f') AND c.relname<>'schemaversion' ORDER BY c.relname"));
    QStringList names;
    for (int r = 0; r < rs.rowCount(); ++r) names << rs.text(r, 0);
    return names;
}

void PgDatabase::continueAutoNumbers(const QHash<QString, qint64> &used) {
    const ResultSet keys = exec(QStringLiteral(
        "SELECT table_name, column_name FROM information_schema.columns "
        "WHERE table_schema=current_schema() AND is_identity='YES'"));
    for (int r = 0; r < keys.rowCount(); ++r) {
        const QString table = keys.text(r, 0), column = keys.text(r, 1);
        // The next key is one past both the largest stored and the last handed out.
        exec(QStringLiteral("SELECT setval(pg_get_serial_sequence(quote_ident(?), ?), "
                            "greatest(coalesce(max(\"%2\"), 0), ?::bigint) + 1, false) FROM \"%1\"")
                 .arg(table, column),
             {table, column, used.value(table.toLower(), 0)});
    }
}

void PgDatabase::lockName(const QString &name) {
    if (!inTransaction_) throw DbError(QStringLiteral("锁只能在事务中取得"));
    exec(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?::text))"), {name});
}

}  // namespace kestavion
