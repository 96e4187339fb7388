#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

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
    // The rows of list() (typeNo null) or find(typeNo) handed one by one to `fn` as
    // they are read (nothing kept), in the order of listColumns().
    void scan(const std::optional<QString> &typeNo, const std::function<void(const RowView &)> &fn);
    static const QStringList &listColumns();

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
