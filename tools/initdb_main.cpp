// kestavion-initdb [path] [--shop-name NAME] [--admin-password PW] [--backup-folder DIR] | --where
// Creates the delivered database: tables, shop, sales rules, administrator, first
// user "admin", backup setting and starter lookup lists. Never overwrites a file.
#include "foundation/delivered_database.h"
#include "foundation/database.h"
#include "foundation/platform.h"
#include "foundation/sqlite_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    kestavion::DeliveredOptions options;
    QString path;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if ((a == QLatin1String("--shop-name") || a == QLatin1String("--admin-password") ||
             a == QLatin1String("--backup-folder")) && i + 1 < args.size()) {
            const QString v = args[++i];
            if (a == QLatin1String("--shop-name")) options.shopName = v;
            else if (a == QLatin1String("--admin-password")) options.adminPassword = v;
            else options.backupFolder = v;
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::printf("usage: kestavion-initdb [path] [--shop-name NAME] [--admin-password PW] [--backup-folder DIR]\n"
                        "       kestavion-initdb --where   (prints the path used when none is given)\n");
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
