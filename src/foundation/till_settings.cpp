#include "foundation/till_settings.h"

#include "foundation/pg_database.h"
#include "foundation/sqlite_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace kestavion {

namespace {

// key='value' with the quoting libpq expects.
QString conninfoPair(const QString &key, const QString &value) {
    QString v = value;
    v.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    v.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return key + QStringLiteral("='") + v + QLatin1Char('\'');
}

}  // namespace

TillSettings readTillSettings(const QString &iniPath) {
    TillSettings t;
    if (!QFileInfo::exists(iniPath)) return t;
    QSettings ini(iniPath, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw DbError(QStringLiteral("设置文件无法读取：%1").arg(QDir::toNativeSeparators(iniPath)));
    const QString engine = ini.value(QStringLiteral("database/engine"), QStringLiteral("embedded")).toString().trimmed().toLower();
    t.shopKey = ini.value(QStringLiteral("till/shop")).toString().trimmed();
    t.tillKey = ini.value(QStringLiteral("till/till")).toString().trimmed();
    if (engine == QLatin1String("embedded") || engine == QLatin1String("sqlite")) return t;
    if (engine != QLatin1String("postgresql") && engine != QLatin1String("postgres"))
        throw DbError(QStringLiteral("设置文件中的数据库引擎“%1”不认识（应为 postgresql 或 embedded）").arg(engine));
    for (const QString &key : ini.allKeys())
        if (key.contains(QLatin1String("password"), Qt::CaseInsensitive) || key.endsWith(QLatin1String("/pwd")))
            throw DbError(QStringLiteral("设置文件里不能写密码：请用环境变量 PGPASSWORD 或只有本人能读的密码文件"));
    t.server = true;
    QStringList parts;
    const QList<QPair<QString, QString>> keys = {{QStringLiteral("host"), QStringLiteral("host")},
                                                 {QStringLiteral("port"), QStringLiteral("port")},
                                                 {QStringLiteral("name"), QStringLiteral("dbname")},
                                                 {QStringLiteral("user"), QStringLiteral("user")}};
    for (const auto &[iniKey, pqKey] : keys) {
        const QString v = ini.value(QStringLiteral("database/") + iniKey).toString().trimmed();
        if (!v.isEmpty()) parts << conninfoPair(pqKey, v);
    }
    const QString passfile = ini.value(QStringLiteral("database/passfile")).toString().trimmed();
    if (!passfile.isEmpty()) {
        const QFileInfo pf(QFileInfo(iniPath).dir(), passfile);
        if (!pf.exists())
            throw DbError(QStringLiteral("找不到密码文件 %1").arg(QDir::toNativeSeparators(pf.absoluteFilePath())));
#ifndef Q_OS_WIN
        if (pf.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther))
            throw DbError(QStringLiteral("密码文件 %1 别人也能读：请改为只有本人能读写（chmod 600）")
                              .arg(QDir::toNativeSeparators(pf.absoluteFilePath())));
#endif
        parts << conninfoPair(QStringLiteral("passfile"), pf.absoluteFilePath());
    }
    parts << conninfoPair(QStringLiteral("application_name"),
                          QStringLiteral("Kestavion ") + (t.tillKey.isEmpty() ? QStringLiteral("till") : t.tillKey));
    parts << QStringLiteral("connect_timeout=15");
    t.conninfo = parts.join(QLatin1Char(' '));
    return t;
}

std::unique_ptr<Database> openConfiguredDatabase(const TillSettings &settings, const QString &embeddedPath) {
    if (settings.server) return PgDatabase::open(settings.conninfo);
    return SqliteDatabase::open(embeddedPath);
}

}  // namespace kestavion
