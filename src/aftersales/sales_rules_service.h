#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

namespace kestavion {

// Saves the shop's sales rules (its one SellRole row).
class SalesRulesService {
public:
    explicit SalesRulesService(Database &db) : db_(db) {}

    // Writes every rule of `rules` into the shop's row and, only when the row was
    // written, copies them into the session (the shop key stays the session's).
    // Throws DbError when the engine refuses, Refusal(kNoRulesRow) when the shop has
    // no rules row: that row is delivered with the database and never created here.
    void save(Session &session, const SellRules &rules);

private:
    Database &db_;
};

// The message shown when the shop has no rules row to write into.
inline const QString kNoRulesRow = QStringLiteral("没有找到本店的销售规则记录，设置没有保存！");

}  // namespace kestavion
