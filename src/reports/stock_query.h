#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QString>

namespace kestavion {

// What the shop has: the sellable Goods and the problem goods not yet sent back.
class StockQuery {
public:
    StockQuery(Database &db, const Session &session) : db_(db), session_(session) {}

    // Every Goods of the shop, sold-out ones included, with the list's headings:
    // 货号 种类 品牌 面料 等级 产地 颜色 尺码 数量 零售价 货柜号 柜层. Sorted by article
    // number, colour and size, so each article stands in one run (one subtotal) and
    // equal colours sit together. The screen loads this once and filters it in memory.
    ResultSet shopStock();
    // The rows of `all` whose article number contains `typeNoPart` anywhere (letter
    // case ignored; every row for an empty text), without sold-out Goods when
    // `hideZero`. Keeps the order of `all`.
    static ResultSet filter(const ResultSet &all, const QString &typeNoPart, bool hideZero);
    // The shop's Goods of one kind and/or one brand (an empty text means any), with
    // the same columns and order.
    ResultSet byKindBrand(const QString &kind, const QString &brand, bool hideZero);
    // Problem goods still in the shop, by article number: 货号 种类 品牌 面料 等级 产地
    // 进价 颜色 尺码 数量 问题.
    ResultSet problemStock();

private:
    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
