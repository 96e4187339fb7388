#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace kestavion {

// The till's goods list: the shop's goods in stock, with the headings the list shows.
class TillGoods {
public:
    // GUID, 货号, 种类, 品牌, 尺码, 颜色, 面料, 等级, 产地, 数量, 零售价 of the session's
    // shop; needs the till's "Sell" key. Throws DbError.
    static ResultSet load(Database &db, const Session &session);
    // The same rows handed one by one to `fn` as they are read (nothing kept), in
    // the order of `columns()`. Needs the till's "Sell" key. Throws DbError.
    static void scan(Database &db, const Session &session, const std::function<void(const RowView &)> &fn);
    static const QStringList &columns();
    // The quantity on hand now stored for each of these goods (0 when the row is
    // gone), one primary-key read each: after a sale only the sold goods are read
    // again. Throws DbError.
    static QHash<QString, double> stockOf(Database &db, const Session &session, const QStringList &guids);
};

}  // namespace kestavion
