#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QString>

namespace kestavion {

// The till's goods list: the shop's goods in stock, with the headings the list shows.
class TillGoods {
public:
    // GUID, 货号, 种类, 品牌, 尺码, 颜色, 面料, 等级, 产地, 数量, 零售价 of the session's
    // shop; needs the till's "Sell" key. Throws DbError.
    static ResultSet load(Database &db, const Session &session);
    // The rows whose article number contains `needle` anywhere (letter case ignored,
    // as the engine's LIKE does); all rows for an empty needle.
    static ResultSet filter(const ResultSet &all, const QString &needle);
};

}  // namespace kestavion
