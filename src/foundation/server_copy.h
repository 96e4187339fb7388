#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace kestavion {

class Database;

// How many rows of each table were copied, in the order they were copied.
using CopiedTables = QList<QPair<QString, qint64>>;

// Moves a shop off its embedded file: copies every table of the encrypted file at
// `sourcePath` (read with the program's key) into the empty database `target`, keys
// kept, in one transaction; auto-numbered keys go on past the copied ones. The
// source is left untouched: it is read from a consistent copy in a temporary folder,
// checked with the engine's integrity check and brought up to this program's version
// there. Refuses (DbError, nothing written) a target that is not empty and a source
// that is missing, empty, damaged, unreadable with the key or newer than the program.
// `tableDone` hears of each table as it is copied (a large shop takes minutes).
CopiedTables copyShop(const QString &sourcePath, Database &target,
                      const std::function<void(const QString &table, qint64 rows)> &tableDone = {});

}  // namespace kestavion
