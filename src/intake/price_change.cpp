#include "intake/price_change.h"

#include "foundation/refusal.h"
#include "stock/goods_order.h"

namespace kestavion {

namespace {
const QString kChangePrice = QStringLiteral("ChangePrice");
const QString kSelect = QStringLiteral(
    "SELECT GUID,TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,Leather AS 面料,"
    "Grade AS 等级,ProductPlace AS 产地,Price AS 零售价 FROM Store WHERE ShopNo=?");
}

ResultSet PriceChange::list() {
    requirePermission(session_, kChangePrice);
    return db_.exec(kSelect + kGoodsListOrder, {shopNo_});
}

ResultSet PriceChange::find(const QString &typeNo) {
    requirePermission(session_, kChangePrice);
    return db_.exec(kSelect + QStringLiteral(" AND TypeNo=?") + kGoodsListOrder, {shopNo_, typeNo});
}

void PriceChange::scan(const std::optional<QString> &typeNo, const std::function<void(const RowView &)> &fn) {
    requirePermission(session_, kChangePrice);
    if (typeNo) db_.scan(kSelect + QStringLiteral(" AND TypeNo=?") + kGoodsListOrder, {shopNo_, *typeNo}, fn);
    else db_.scan(kSelect + kGoodsListOrder, {shopNo_}, fn);
}

const QStringList &PriceChange::listColumns() {
    static const QStringList c = {QStringLiteral("GUID"), QStringLiteral("货号"), QStringLiteral("种类"),
                                  QStringLiteral("品牌"), QStringLiteral("尺码"), QStringLiteral("颜色"),
                                  QStringLiteral("面料"), QStringLiteral("等级"), QStringLiteral("产地"),
                                  QStringLiteral("零售价")};
    return c;
}

int PriceChange::setPrice(const QString &goodsGuid, double price) {
    requirePermission(session_, kChangePrice);
    db_.exec(QStringLiteral("UPDATE Store SET Price=? WHERE GUID=? AND ShopNo=?"), {price, goodsGuid, shopNo_});
    return db_.changes();
}

int PriceChange::setPriceForTypeNo(const QString &typeNo, double price) {
    requirePermission(session_, kChangePrice);
    db_.exec(QStringLiteral("UPDATE Store SET Price=? WHERE TypeNo=? AND ShopNo=?"), {price, typeNo, shopNo_});
    return db_.changes();
}

}  // namespace kestavion
