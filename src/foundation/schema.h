#pragma once

#include "foundation/database.h"

namespace kestavion {

inline constexpr int kSchemaVersion = 1;

// The statements that create the tables of a new database (from schema.sql).
QString schemaSql();

// Refuses (Refusal) a file version this program cannot open: newer than the program,
// or none at all (an empty or unfinished file). Reads nothing itself.
void checkSchemaVersion(int version);

// Brings an older file up to this program's version, one step per transaction, and
// refuses (Refusal) a file newer than the program.
void checkAndUpgradeSchema(Database &db);

// The tables the data wipe empties, in the order it empties them.
const QStringList &businessTables();

}  // namespace kestavion
