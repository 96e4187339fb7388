#pragma once

#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/session.h"

#include <QDate>

namespace kestavion {

// The stored daily settlements of the shop in a date range, with their sums.
struct SettlementList {
    // 店面 销售员 日期 售货数量 售货金额 退货数量 退货金额 调换数量 调换金额 结算金额
    ResultSet rows;
    double sellQuantity = 0, backQuantity = 0, changeQuantity = 0;
    Money sellAmount, backAmount, changeAmount, receiveAmount;
};

class SettlementSummary {
public:
    SettlementSummary(Database &db, const Session &session) : db_(db), session_(session) {}

    // The columns and no rows.
    ResultSet headings();
    // One row per seller and day settled between `from` and `to` (both included).
    SettlementList list(const QDate &from, const QDate &to);

private:
    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
