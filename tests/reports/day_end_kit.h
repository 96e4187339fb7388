#pragma once

#include "foundation/money.h"
#include "kit/fixtures.h"

#include <QDate>
#include <QString>
#include <vector>

namespace kestavion::test {

// Goods, sales and after-sales events put in place through the real services.
class DayEndTest : public DbTest {
protected:
    struct Pair {
        QString goods;
        double retail;
        QString abate = QStringLiteral("全");
        qint64 amount = -1;  // -1: the retail price
    };
    // A new article taken in on `date`; returns the Goods key.
    QString takeIn(const QString &typeNo, double retail, double quantity, double buyPrice, const QDate &date);
    // One checkout of the pairs on `date` by the logged-in user, each described as its
    // Goods row is (as the till does); the sale rows' keys.
    std::vector<QString> sell(const std::vector<Pair> &pairs, const QDate &date);
    // The sale row exchanged on `date` for one pair of `replacement` at its full price.
    void exchange(const QString &sellGuid, const QString &replacement, qint64 amount, const QDate &date);
    void returnPair(const QString &sellGuid, bool toProblemStock, const QDate &date);
    void voidSale(const QString &sellGuid, const QDate &date);
    // Takes `key` away from the logged-in user's role.
    void withoutPermission(const QString &key) { ctx.session.user.role.set(key, false); }

    static Money yuan(qint64 whole) { return Money::fromWhole(whole); }
    static Money cents(qint64 c) { return Money::fromCents(c); }
};

}  // namespace kestavion::test
