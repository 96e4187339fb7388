#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QString>

namespace kestavion {

// Retail price changes of the shop's Goods. Every operation needs the "ChangePrice"
// key of its menu entry.
class PriceChange {
public:
    PriceChange(Database &db, const Session &session) : db_(db), session_(session), shopNo_(session.shopNo) {}

    // GUID 货号 种类 品牌 尺码 颜色 面料 等级 产地 零售价: every Goods of the shop.
    ResultSet list();
    // The same for one exact article number (an empty one finds empty numbers only).
    ResultSet find(const QString &typeNo);

    // Returns how many Goods changed (0 when the Goods is gone or in another shop).
    int setPrice(const QString &goodsGuid, double price);
    // Every Goods of this article number in this shop, shown or not.
    int setPriceForTypeNo(const QString &typeNo, double price);

private:
    Database &db_;
    const Session &session_;
    QString shopNo_;
};

}  // namespace kestavion
