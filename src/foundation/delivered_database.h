#pragma once

#include <QString>

namespace kestavion {

struct DeliveredOptions {
    QString shopName = QStringLiteral("我的鞋店");
    QString adminPassword = QStringLiteral("admin");
    QString backupFolder;  // empty: the platform's default
};

// Creates a new, keyed database file with the tables and the seed rows: the shop,
// the sales rules, the administrator role with every permission, the first user
// (staff number "admin"), the backup setting and starter lookup lists.
// Refuses (DbError) to overwrite an existing file; leaves nothing behind on failure.
void createDeliveredDatabase(const QString &path, const DeliveredOptions &options = {});

class Database;
// The same tables and seed rows in an empty database on a server, in one
// transaction. Refuses (DbError) a database that already holds the tables.
void createDeliveredOnServer(Database &db, const DeliveredOptions &options = {});
// Adds a shop (a row in Shop and its own sales rules, the delivered defaults) and
// returns its key, for the [till] shop= line of its tills' Kestavion.ini.
QString addShop(Database &db, const QString &name);
// The tables and seed rows into `db`, inside the caller's transaction.
void createDeliveredRows(Database &db, const DeliveredOptions &options);

}  // namespace kestavion
