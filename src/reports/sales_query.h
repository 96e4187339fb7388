#pragma once

#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/session.h"

#include <QDate>
#include <QString>
#include <vector>

namespace kestavion {

// The sale rows of a period, optionally of one kind and/or one brand (empty: any).
// Both days are included; an end before the beginning finds nothing.
struct SalesFilter {
    QDate from, to;
    QString kind;
    QString brand;
};

// What the sales query lists and the figures under its list.
struct SalesQueryResult {
    // 货号 种类 品牌 尺码 颜色 面料 等级 产地 数量 零售价 折扣 实收金额 销售员 销售编号 销售日期,
    // sorted by article number, size and colour.
    ResultSet rows;
    qint64 count = 0;   // rows listed
    qint64 pairs = 0;   // sum of 数量
    Money amount;       // sum of 实收金额
};

// One day of the period for the sales chart (days without sales included).
struct DaySales {
    QDate day;
    qint64 pairs = 0;
    Money amount;
};

// Sale rows still standing (sold or exchanged); returned and voided ones never count.
class SalesQuery {
public:
    SalesQuery(Database &db, const Session &session) : db_(db), session_(session) {}

    SalesQueryResult query(const SalesFilter &filter);
    // The headings the list shows before the first query (no rows).
    static ResultSet headings();
    // Pairs and money per day from `from` to `to` over the rows of a query.
    static std::vector<DaySales> perDay(const SalesQueryResult &result, const QDate &from, const QDate &to);

    // Goods ranked by pairs sold in the period, best first; equal quantities by
    // article number, size and colour: 货号 种类 品牌 尺码 颜色 面料 等级 产地 数量.
    ResultSet ranking(const QDate &from, const QDate &to);
    static ResultSet rankingHeadings();

private:
    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
