#include "foundation/server_copy.h"

#include "foundation/refusal.h"
#include "foundation/schema.h"
#include "foundation/sqlite_database.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

namespace kestavion {

namespace {

// Rows read and written per statement: few round trips to a server, bounded memory
// for a table of a million sales.
constexpr int kBatchRows = 500;

// The source as one consistent copy at this program's version, never the shop's file
// itself.
std::unique_ptr<SqliteDatabase> readableCopy(const QString &sourcePath, const QString &folder) {
    const QString shown = QDir::toNativeSeparators(sourcePath);
    const QFileInfo info(sourcePath);
    if (!info.isFile()) throw DbError(QStringLiteral("找不到数据库文件 %1").arg(shown));
    if (info.size() == 0) throw DbError(QStringLiteral("%1：").arg(shown) + kEmptyDatabaseFile, 0, DbError::Kind::Damaged);
    const QString copy = folder + QStringLiteral("/source.mdb");
    try {
        SqliteDatabase::copyFile(sourcePath, copy);
        SqliteDatabase::checkFile(copy);
    } catch (const DbError &e) {
        throw DbError(QStringLiteral("无法读取 %1（不是本程序的数据库，或文件已损坏）：%2").arg(shown, e.message()), e.code(),
                      DbError::Kind::Damaged);
    }
    try {
        auto db = SqliteDatabase::open(copy);
        checkAndUpgradeSchema(*db);
        return db;
    } catch (const Refusal &r) {
        throw DbError(QStringLiteral("%1：%2").arg(shown, r.message()));
    }
}

qint64 copyTable(Database &source, Database &target, const QString &table) {
    const QStringList columns = source.exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(table)).columns();
    // Read in key order, one batch after the other; a table without a key of its
    // own (the sales rules, the backup setting) is small and read at once.
    QString key;
    for (const QString &c : {QStringLiteral("ID"), QStringLiteral("GUID")})
        if (key.isEmpty() && columns.contains(c, Qt::CaseInsensitive)) key = c;
    const QString select = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QLatin1Char(',')), table);
    const QString first = key.isEmpty() ? select : select + QStringLiteral(" ORDER BY %1 LIMIT %2").arg(key).arg(kBatchRows);
    const QString next = select + QStringLiteral(" WHERE %1>? ORDER BY %1 LIMIT %2").arg(key).arg(kBatchRows);
    const QString row = QLatin1Char('(') + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                        QLatin1Char(')');
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns.join(QLatin1Char(',')));
    qint64 copied = 0;
    ResultSet rs = source.exec(first);
    while (!rs.empty()) {
        for (int from = 0; from < rs.rowCount(); from += kBatchRows) {
            const int n = std::min(kBatchRows, rs.rowCount() - from);
            QVariantList values;
            values.reserve(n * columns.size());
            for (int r = from; r < from + n; ++r) values += rs.rows()[r];
            target.exec(insert + QStringList(n, row).join(QLatin1Char(',')), values);
            copied += n;
        }
        if (key.isEmpty()) break;
        rs = source.exec(next, {rs.value(rs.rowCount() - 1, key)});
    }
    return copied;
}

}  // namespace

CopiedTables copyShop(const QString &sourcePath, Database &target,
                      const std::function<void(const QString &table, qint64 rows)> &tableDone) {
    if (!target.tableNames().isEmpty() || target.schemaVersion() != 0)
        throw DbError(QStringLiteral("目标数据库不是空的（已经有表），不复制；请用新建的空数据库"));
    QTemporaryDir folder;
    if (!folder.isValid()) throw DbError(QStringLiteral("无法建立临时文件夹：%1").arg(folder.errorString()));
    auto source = readableCopy(sourcePath, folder.path());

    CopiedTables copied;
    Transaction tx(target);
    createTables(target);
    applySchemaSteps(target, 1);
    // Every table the program made (as many as the source holds: both are at this
    // version now). The source keeps the names as written; a name the server keeps
    // with capitals (the reserved "User") is quoted as it was made.
    QHash<QString, QString> spelled;  // lower case -> as the target keeps it
    for (const QString &t : target.tableNames()) spelled.insert(t.toLower(), t);
    const QStringList tables = source->tableNames();
    QStringList differ;
    for (const QString &t : tables)
        if (!spelled.contains(t.toLower())) differ << t;
    for (auto it = spelled.cbegin(); it != spelled.cend(); ++it)
        if (!tables.contains(it.key(), Qt::CaseInsensitive)) differ << it.value();
    if (!differ.isEmpty())
        throw DbError(QStringLiteral("源文件与程序的表不一致：%1").arg(differ.join(QStringLiteral("、"))));
    for (const QString &table : tables) {
        const QString own = spelled.value(table.toLower());
        const QString sql = own != own.toLower() ? QLatin1Char('"') + own + QLatin1Char('"') : table;
        try {
            copied.append({table, copyTable(*source, target, sql)});
            if (tableDone) tableDone(table, copied.last().second);
        } catch (const DbError &e) {
            throw DbError(QStringLiteral("复制表 %1 时出错：%2").arg(table, e.message()), e.code(), e.kind());
        }
    }
    target.continueAutoNumbers(source->autoNumbersUsed());
    tx.commit();
    return copied;
}

}  // namespace kestavion
