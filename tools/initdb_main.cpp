// kestavion-initdb [path] [--shop-name NAME] [--admin-password PW] [--backup-folder DIR] | --where
// kestavion-initdb --postgres CONNINFO [--shop-name NAME] [--admin-password PW]
// kestavion-initdb --postgres CONNINFO --from Kestavion.mdb
// Creates the delivered database: tables, shop, sales rules, administrator, first
// user "admin", backup setting and starter lookup lists. Never overwrites a file, nor
// a server database that already holds the tables.
#include "foundation/delivered_database.h"
#include "foundation/database.h"
#include "foundation/pg_database.h"
#include "foundation/platform.h"
#include "foundation/server_copy.h"
#include "foundation/sqlite_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

// Text sorts byte by byte, as in the embedded file, only under the C collation.
bool sortsLikeTheFile(kestavion::Database &db) {
    const QString collation =
        db.scalar(QStringLiteral("SELECT datcollate FROM pg_database WHERE datname=current_database()")).toString();
    if (collation == QLatin1String("C") || collation == QLatin1String("POSIX")) return true;
    std::fprintf(stderr,
                 "kestavion-initdb: the database sorts text by \"%s\"; make it with "
                 "createdb -T template0 -E UTF8 --locale=C so that both engines sort alike\n",
                 qPrintable(collation));
    return false;
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    kestavion::DeliveredOptions options;
    QString path;
    QString conninfo;
    QString newShop;
    QString from;
    bool server = false;
    bool seedOptions = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if ((a == QLatin1String("--shop-name") || a == QLatin1String("--admin-password") ||
             a == QLatin1String("--backup-folder")) && i + 1 < args.size()) {
            const QString v = args[++i];
            seedOptions = true;
            if (a == QLatin1String("--shop-name")) options.shopName = v;
            else if (a == QLatin1String("--admin-password")) options.adminPassword = v;
            else options.backupFolder = v;
        } else if (a == QLatin1String("--add-shop") && i + 1 < args.size()) {
            newShop = args[++i];
        } else if (a == QLatin1String("--from") && i + 1 < args.size()) {
            from = args[++i];
        } else if (a == QLatin1String("--postgres") && i + 1 < args.size()) {
            server = true;
            conninfo = args[++i];
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::printf("usage: kestavion-initdb [path] [--shop-name NAME] [--admin-password PW] [--backup-folder DIR]\n"
                        "       kestavion-initdb --postgres CONNINFO [--shop-name NAME] [--admin-password PW]\n"
                        "       kestavion-initdb --postgres CONNINFO --add-shop NAME   (or [path] --add-shop NAME)\n"
                        "       kestavion-initdb --postgres CONNINFO --from Kestavion.mdb   (copies a shop's file\n"
                        "                        into an empty server database, in one transaction)\n"
                        "       kestavion-initdb --where   (prints the path used when none is given)\n"
                        "The server database should be made with: createdb -T template0 -E UTF8 --locale=C NAME\n");
            return 0;
        } else if (a == QLatin1String("--where")) {
            std::printf("%s\n", qPrintable(QDir::toNativeSeparators(kestavion::platform::dataFolder() + QLatin1Char('/') +
                                                                   QLatin1String(kestavion::kDatabaseFileName))));
            return 0;
        } else if (path.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            path = a;
        } else {
            std::fprintf(stderr, "kestavion-initdb: unknown argument %s\n", qPrintable(a));
            return 2;
        }
    }
    if (!from.isEmpty()) {
        if (!server || !newShop.isEmpty() || seedOptions || !path.isEmpty()) {
            std::fprintf(stderr, "kestavion-initdb: --from goes with --postgres CONNINFO alone (the shop is copied as it is)\n");
            return 2;
        }
        try {
            auto db = kestavion::PgDatabase::open(conninfo);
            if (!sortsLikeTheFile(*db)) return 1;
            std::setvbuf(stdout, nullptr, _IOLBF, 0);
            std::printf("checking and reading %s ...\n", qPrintable(QDir::toNativeSeparators(from)));
            qint64 total = 0;
            kestavion::copyShop(from, *db, [&](const QString &table, qint64 rows) {
                std::printf("%-18s %lld\n", qPrintable(table), static_cast<long long>(rows));
                total += rows;
            });
            std::printf("copied %lld rows from %s to the server (log in as before)\n", static_cast<long long>(total),
                        qPrintable(QDir::toNativeSeparators(from)));
        } catch (const kestavion::DbError &e) {
            std::fprintf(stderr, "kestavion-initdb: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (!newShop.isEmpty()) {
        // A further shop in an existing database, with its own sales rules.
        try {
            std::unique_ptr<kestavion::Database> db;
            if (server) db = kestavion::PgDatabase::open(conninfo);
            else db = kestavion::SqliteDatabase::open(path.isEmpty() ? kestavion::platform::dataFolder() + QLatin1Char('/') +
                                                                            QLatin1String(kestavion::kDatabaseFileName)
                                                                      : path);
            const QString key = kestavion::addShop(*db, newShop);
            std::printf("added shop %s; its tills' Kestavion.ini: [till] shop=%s\n", qPrintable(newShop), qPrintable(key));
        } catch (const kestavion::DbError &e) {
            std::fprintf(stderr, "kestavion-initdb: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (server) {
        try {
            auto db = kestavion::PgDatabase::open(conninfo);
            if (!sortsLikeTheFile(*db)) return 1;
            kestavion::createDeliveredOnServer(*db, options);
        } catch (const kestavion::DbError &e) {
            std::fprintf(stderr, "kestavion-initdb: %s\n", e.what());
            return 1;
        }
        std::printf("created the tables on the server (log in as admin)\n");
        return 0;
    }
    if (path.isEmpty()) path = kestavion::platform::dataFolder() + QLatin1Char('/') + QLatin1String(kestavion::kDatabaseFileName);
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "kestavion-initdb: %s already exists; not overwritten\n", qPrintable(QDir::toNativeSeparators(path)));
        return 1;
    }
    try {
        kestavion::createDeliveredDatabase(path, options);
    } catch (const kestavion::DbError &e) {
        std::fprintf(stderr, "kestavion-initdb: %s\n", e.what());
        return 1;
    }
    std::printf("created %s (log in as admin)\n", qPrintable(QDir::toNativeSeparators(path)));
    return 0;
}
