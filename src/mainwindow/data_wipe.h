#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

namespace kestavion {

// "8-重新开始": empties every table of the shop's business (the tills' kept pre-sale
// lists, sales, goods, intakes, lots, problem stock, after-sales records, settlements,
// expenses, factory returns), in that order, all in one transaction. Users, roles, sales rules, the shop row,
// the lookup lists and the backup setting are kept.
// Needs the "ReStart" key of its menu entry.
class DataWipe {
public:
    DataWipe(Database &db, const Session &session) : db_(db), session_(session) {}
    // Throws DbError when a statement is rejected; nothing is deleted then.
    void run();

private:
    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
