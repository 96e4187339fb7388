#pragma once

#include "foundation/database.h"

namespace kestavion {

// "8-重新开始": empties every table of the shop's business (sales, goods, intakes,
// lots, problem stock, after-sales records, settlements, expenses, factory returns),
// in that order, all in one transaction. Users, roles, sales rules, the shop row,
// the lookup lists and the backup setting are kept.
class DataWipe {
public:
    explicit DataWipe(Database &db) : db_(db) {}
    // Throws DbError when a statement is rejected; nothing is deleted then.
    void run();

private:
    Database &db_;
};

}  // namespace kestavion
