#include "selling/lot_consumption.h"

namespace kestavion {

LotTaken LotConsumption::takeOne(const QString &storeGuid, int sellOrder) {
    const QString sql = sellOrder != 0
        ? QStringLiteral("SELECT ID,Price,Quantity FROM BuyPrice WHERE StoreGUID=? AND Quantity>0 "
                         "ORDER BY sDate DESC, ID DESC LIMIT 1")
        : QStringLiteral("SELECT ID,Price,Quantity FROM BuyPrice WHERE StoreGUID=? AND Quantity>0 "
                         "ORDER BY sDate ASC, ID ASC LIMIT 1");
    ResultSet rs = db_.exec(sql, {storeGuid});
    LotTaken taken;
    if (rs.empty()) return taken;
    taken.id = rs.integer(QStringLiteral("ID"));
    taken.price = Money::fromVariant(rs.value(0, QStringLiteral("Price")));
    db_.exec(QStringLiteral("UPDATE BuyPrice SET Quantity=Quantity-1 WHERE ID=?"), {taken.id});
    return taken;
}

void LotConsumption::putBack(qint64 lotId) {
    if (lotId == 0) return;
    db_.exec(QStringLiteral("UPDATE BuyPrice SET Quantity=Quantity+1 WHERE ID=?"), {lotId});
}

}  // namespace kestavion
