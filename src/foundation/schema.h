#pragma once

#include "foundation/database.h"

namespace kestavion {

inline constexpr int kSchemaVersion = 9;

// The statements that create the tables of a new database (from schema.sql), in
// the dialect of `db`.
QString schemaSql(const Database &db);
// Runs the statements of schemaSql(db) (inside the caller's transaction) and marks
// the database as version 1.
void createTables(Database &db);

// Runs, inside the caller's transaction, every step after `fromVersion` (a new file
// made from schema.sql starts at 1).
void applySchemaSteps(Database &db, int fromVersion);

// Refuses (Refusal) a file version this program cannot open: newer than the program,
// or none at all (an empty or unfinished file). Reads nothing itself.
void checkSchemaVersion(int version);

// Brings an older file up to this program's version, one step per transaction, and
// refuses (Refusal) a file newer than the program.
void checkAndUpgradeSchema(Database &db);

// The tables the data wipe empties, in the order it empties them.
const QStringList &businessTables();

}  // namespace kestavion
