#pragma once

#include "foundation/database.h"

namespace kestavion {

inline constexpr int kSchemaVersion = 2;

// The statements that create the tables of a new database (from schema.sql).
QString schemaSql();

// Brings an older file up to this program's version, one step per transaction, and
// refuses (DbError) a file newer than the program.
void checkAndUpgradeSchema(Database &db);

// The tables the data wipe empties, in the order it empties them.
const QStringList &businessTables();

}  // namespace kestavion
