#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QDate>

namespace kestavion {

// What the after-sales screens recorded for the shop in a period (both days
// included), by the record's date.
class AfterSalesQuery {
public:
    AfterSalesQuery(Database &db, const Session &session) : db_(db), session_(session) {}

    // 货号 种类 品牌 尺码 颜色 面料 等级 产地 数量 零售价 折扣 应收金额 销售员 销售日期, then the
    // record's date and reason: 调换日期/调换原因, 退货日期/退货原因, 作废日期/作废原因.
    ResultSet exchanges(const QDate &from, const QDate &to);
    ResultSet returns(const QDate &from, const QDate &to);
    ResultSet voids(const QDate &from, const QDate &to);
    // Problem goods sent back to the factory in the period, by article number:
    // 货号 种类 品牌 尺码 颜色 面料 等级 产地 数量 退货金额 退货日期.
    ResultSet factoryReturns(const QDate &from, const QDate &to);

private:
    ResultSet changes(int state, const QString &what, const QDate &from, const QDate &to);

    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
