#pragma once

#include "foundation/clock.h"
#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/session.h"
#include "selling/sale_list.h"

#include <QString>
#include <vector>

namespace kestavion {

// What one completed sale wrote.
struct CheckoutResult {
    QString sellNo;  // the number written (and printed)
    Money total;
    Money payment;
    Money change;
    struct Row {
        QString sellGuid;
        qint64 lotId = 0;
        Money buyPrice;
    };
    std::vector<Row> rows;  // one per line, in list order
};

// Turns the pre-sale list into Sell rows: in one transaction, per pair, the stock goes
// down by one, one unit leaves a purchase lot (oldest or newest first by the shop's
// rule) and one Sell row is written with that lot's price and key; the till's kept
// copy of the list is removed in the same transaction.
class Checkout {
public:
    Checkout(Database &db, const Session &session, const Clock &clock)
        : db_(db), session_(session), clock_(clock) {}

    // The payment as the till reads it: the typed number, 0 when it is not one.
    static Money paymentOf(const QString &paymentText);
    // True when the payment covers the total.
    static bool paymentCovers(const Money &total, const Money &payment) { return !(total > payment); }

    // Writes the sale. The sale number is taken inside the transaction, so the number
    // written is always free. Throws DbError; then nothing of the sale remains.
    CheckoutResult commit(const std::vector<SaleLine> &lines, const Money &payment);

private:
    Database &db_;
    const Session &session_;
    const Clock &clock_;
};

}  // namespace kestavion
