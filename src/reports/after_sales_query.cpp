#include "reports/after_sales_query.h"

#include "foundation/refusal.h"

namespace kestavion {

namespace {
QString iso(const QDate &d) { return d.toString(Qt::ISODate); }
}  // namespace

ResultSet AfterSalesQuery::changes(int state, const QString &what, const QDate &from, const QDate &to) {
    // The record's own date and reason carry the kind of record in their headings. Records
    // of one day by sale number (and key), so every engine lists them alike.
    return db_.exec(QStringLiteral("SELECT TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,"
                                   "Leather AS 面料,Grade AS 等级,ProductPlace AS 产地,Quantity AS 数量,Price AS 零售价,"
                                   "Abate AS 折扣,Amount AS 应收金额,SellerName AS 销售员,Datetime AS 销售日期,"
                                   "ChangeDate AS %1日期,Resion AS %1原因 FROM SellChange "
                                   "WHERE ShopNo=? AND ChangeDate BETWEEN ? AND ? AND State=? "
                                   "ORDER BY ChangeDate,SellNo,GUID")
                        .arg(what),
                    {session_.shopNo, iso(from), iso(to), state});
}

ResultSet AfterSalesQuery::exchanges(const QDate &from, const QDate &to) {
    requirePermission(session_, QStringLiteral("ClientChangeQuery"));
    return changes(1, QStringLiteral("调换"), from, to);
}

ResultSet AfterSalesQuery::returns(const QDate &from, const QDate &to) {
    requirePermission(session_, QStringLiteral("ClientChangeQuery"));
    return changes(2, QStringLiteral("退货"), from, to);
}

ResultSet AfterSalesQuery::voids(const QDate &from, const QDate &to) {
    requirePermission(session_, QStringLiteral("BlankOutQuery"));
    return changes(3, QStringLiteral("作废"), from, to);
}

ResultSet AfterSalesQuery::factoryReturns(const QDate &from, const QDate &to) {
    requirePermission(session_, QStringLiteral("FactoryBackQuery"));
    // Pairs of one article in the order they were set aside, on every engine.
    return db_.exec(QStringLiteral("SELECT TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,"
                                   "Leather AS 面料,Grade AS 等级,ProductPlace AS 产地,Quantity AS 数量,"
                                   "BuyPrice AS 退货金额,BackFactoryDate AS 退货日期 FROM BackStore "
                                   "WHERE ShopNo=? AND IsBackFactory<>0 AND BackFactoryDate>=? AND BackFactoryDate<=? "
                                   "ORDER BY TypeNo,ID"),
                    {session_.shopNo, iso(from), iso(to)});
}

}  // namespace kestavion
