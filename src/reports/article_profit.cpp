#include "reports/article_profit.h"

namespace kestavion {

namespace {
const QString kColumns = QStringLiteral(
    "SELECT TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,Leather AS 面料,Grade AS 等级,"
    "ProductPlace AS 产地,Quantity AS 数量,Price AS 零售价,Abate AS 折扣,Amount AS 实收金额,BuyPrice AS 成本价,"
    "(Amount-BuyPrice) AS 利润,DateTime AS 销售日期 FROM Sell ");
}  // namespace

ResultSet ArticleProfit::headings() {
    return db_.exec(kColumns + QStringLiteral("WHERE 1=0"));
}

ArticleProfitList ArticleProfit::list(const QString &typeNo, const QDate &from, const QDate &to) {
    ArticleProfitList out;
    out.rows = db_.exec(kColumns + QStringLiteral("WHERE ShopNo=? AND TypeNo=? AND DateTime>=? AND DateTime<=? "
                                                  "AND State<2 ORDER BY TypeNo,Size,Colour,DateTime,SellNo,GUID"),
                        {shopNo_, typeNo, from, to});
    // Each row's profit is taken to the cent from its own figures (a difference of
    // two stored decimals would otherwise show as 79.44999999999999).
    std::vector<QVariantList> rows = out.rows.rows();
    for (QVariantList &row : rows) {
        out.quantity += row[8].toDouble();
        const Money amount = Money::fromVariant(row[11]);
        const Money cost = Money::fromVariant(row[12]);
        row[13] = (amount - cost).toDouble();
        out.amount += amount;
        out.cost += cost;
        out.profit += amount - cost;
    }
    out.rows = ResultSet(out.rows.columns(), std::move(rows));
    return out;
}

}  // namespace kestavion
