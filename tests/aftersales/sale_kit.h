#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QDate>
#include <QString>

namespace kestavion::test {

struct SaleSpec {
    QDate date = QDate(2026, 12, 9);
    QString sellNo = QStringLiteral("202612090001");
    QString abate = QStringLiteral("全");
    double amount = -1;  // -1: the Goods' retail price
    int state = 0;
};

// Sells one pair of the Goods as the till does: Store −1, one unit out of a lot by
// the session's lot order, one Sell row (24 columns) by the session's user.
// Returns the Sell row's GUID.
QString sellPair(Database &db, const Session &session, const QString &storeGuid, const SaleSpec &s = {});

}  // namespace kestavion::test
