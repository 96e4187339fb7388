#pragma once

#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/session.h"

#include <QDate>

namespace kestavion {

// One seller's count of one day in one shop: what was sold, taken back and exchanged.
struct DayFigures {
    double sellQuantity = 0;
    Money sellAmount;
    double backQuantity = 0;
    Money backAmount;
    double changeQuantity = 0;
    Money changeAmount;  // the exchanges' extra amounts: positive taken in, negative paid out

    // The money to hand in: sales − returns + exchange differences.
    Money receive() const { return sellAmount - backAmount + changeAmount; }
    bool operator==(const DayFigures &) const = default;
};

// The daily settlement of the logged-in seller. The sums are taken by the seller's
// staff number; the stored DayAmount row is keyed by date, shop and display name.
class DaySettlement {
public:
    DaySettlement(Database &db, const Session &session) : db_(db), session_(session) {}

    // The day's figures, read only.
    DayFigures count(const QDate &date);
    // Counts the day and stores the figures as the one DayAmount row of (date, shop,
    // display name), writing it or overwriting it, in one transaction. A failed read
    // throws DbError before anything is written.
    DayFigures settle(const QDate &date);

private:
    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
