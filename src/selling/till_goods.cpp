#include "selling/till_goods.h"

#include "foundation/refusal.h"

namespace kestavion {

ResultSet TillGoods::load(Database &db, const Session &session) {
    requirePermission(session, QStringLiteral("Sell"));
    return db.exec(QStringLiteral("SELECT GUID,TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,"
                                  "Leather AS 面料,Grade AS 等级,ProductPlace AS 产地,Quantity AS 数量,Price AS 零售价 "
                                  "FROM Store WHERE ShopNo=? AND Quantity>0"),
                   {session.shopNo});
}

ResultSet TillGoods::filter(const ResultSet &all, const QString &needle) {
    if (needle.isEmpty()) return all;
    const int col = all.columnIndex(QStringLiteral("货号"));
    std::vector<QVariantList> rows;
    for (const QVariantList &r : all.rows())
        if (col >= 0 && r.value(col).toString().contains(needle, Qt::CaseInsensitive)) rows.push_back(r);
    return ResultSet(all.columns(), std::move(rows));
}

}  // namespace kestavion
