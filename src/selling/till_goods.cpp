#include "selling/till_goods.h"

#include "foundation/refusal.h"
#include "stock/goods_order.h"

namespace kestavion {

namespace {
const QString kGoodsSql = QStringLiteral(
    "SELECT GUID,TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,"
    "Leather AS 面料,Grade AS 等级,ProductPlace AS 产地,Quantity AS 数量,Price AS 零售价 "
    "FROM Store WHERE ShopNo=? AND Quantity>0") + kGoodsListOrder;
}  // namespace

ResultSet TillGoods::load(Database &db, const Session &session) {
    requirePermission(session, QStringLiteral("Sell"));
    return db.exec(kGoodsSql, {session.shopNo});
}

void TillGoods::scan(Database &db, const Session &session, const std::function<void(const RowView &)> &fn) {
    requirePermission(session, QStringLiteral("Sell"));
    db.scan(kGoodsSql, {session.shopNo}, fn);
}

const QStringList &TillGoods::columns() {
    static const QStringList c = {QStringLiteral("GUID"), QStringLiteral("货号"), QStringLiteral("种类"),
                                  QStringLiteral("品牌"), QStringLiteral("尺码"), QStringLiteral("颜色"),
                                  QStringLiteral("面料"), QStringLiteral("等级"), QStringLiteral("产地"),
                                  QStringLiteral("数量"), QStringLiteral("零售价")};
    return c;
}

QHash<QString, double> TillGoods::stockOf(Database &db, const Session &session, const QStringList &guids) {
    requirePermission(session, QStringLiteral("Sell"));
    QHash<QString, double> stock;
    for (const QString &g : guids) {
        const ResultSet rs = db.exec(QStringLiteral("SELECT Quantity FROM Store WHERE GUID=? AND ShopNo=?"),
                                     {g, session.shopNo});
        stock.insert(g, rs.rowCount() > 0 ? rs.number(0, 0) : 0.0);
    }
    return stock;
}


}  // namespace kestavion
