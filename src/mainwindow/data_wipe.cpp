#include "mainwindow/data_wipe.h"

#include "foundation/refusal.h"
#include "foundation/schema.h"

namespace kestavion {

void DataWipe::run() {
    requirePermission(session_, QStringLiteral("ReStart"));
    Transaction t(db_);
    // Table names come from the fixed list, never from typed text.
    for (const QString &table : businessTables()) db_.exec(QStringLiteral("DELETE FROM ") + table);
    t.commit();
}

}  // namespace kestavion
