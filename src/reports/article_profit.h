#pragma once

#include "foundation/database.h"
#include "foundation/money.h"

#include <QDate>
#include <QString>

namespace kestavion {

// The sale rows of one article in a date range with what each cost and earned.
struct ArticleProfitList {
    // 货号 种类 品牌 尺码 颜色 面料 等级 产地 数量 零售价 折扣 实收金额 成本价 利润 销售日期
    ResultSet rows;
    double quantity = 0;
    Money amount, cost, profit;  // sums of 实收金额, 成本价 and 利润
};

// Open to every user: its menu entry has no permission key.
class ArticleProfit {
public:
    ArticleProfit(Database &db, QString shopNo) : db_(db), shopNo_(std::move(shopNo)) {}

    // The columns and no rows.
    ResultSet headings();
    // Sold and exchanged rows of the shop whose article number is exactly `typeNo`,
    // sold between `from` and `to` (both included), by article, size and colour.
    ArticleProfitList list(const QString &typeNo, const QDate &from, const QDate &to);

private:
    Database &db_;
    QString shopNo_;
};

}  // namespace kestavion
