#pragma once

#include "foundation/database.h"

#include <QString>

namespace kestavion {

// Retail price changes of the shop's Goods.
class PriceChange {
public:
    PriceChange(Database &db, QString shopNo) : db_(db), shopNo_(std::move(shopNo)) {}

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
    QString shopNo_;
};

}  // namespace kestavion
