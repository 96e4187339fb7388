#pragma once

#include "foundation/clock.h"
#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/print_job.h"
#include "foundation/session.h"
#include "selling/sale_list.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <vector>

namespace kestavion {

// One pair as the receipt prints it.
struct ReceiptPair {
    QString typeNo, brand, kind, size, quantity, price, abate, amount;
};

struct ReceiptData {
    QString shopName;
    QDateTime time;
    QString seller;
    QString sellNo;
    std::vector<ReceiptPair> pairs;
    QString payment;
    QString change;
};

// The two receipt layouts — dot-matrix (wide) and POS (narrow) — for the checkout and
// for the reprint of the previous sale.
class Receipt {
public:
    static PrintJob checkoutDotMatrix(const ReceiptData &d);
    static PrintJob checkoutPos(const ReceiptData &d);
    static PrintJob reprintDotMatrix(const ReceiptData &d);
    static PrintJob reprintPos(const ReceiptData &d);

    // The layout the shop's printer takes (PrinterType 0: dot-matrix, else POS).
    static PrintJob checkout(const ReceiptData &d, int printerType) {
        return printerType != 0 ? checkoutPos(d) : checkoutDotMatrix(d);
    }
    static PrintJob reprint(const ReceiptData &d, int printerType) {
        return printerType != 0 ? reprintPos(d) : reprintDotMatrix(d);
    }

    // The receipt of a sale just made from the pre-sale list.
    static ReceiptData fromSale(const std::vector<SaleLine> &lines, const QString &sellNo, const Money &payment,
                                const Money &change, const Session &session, const QDateTime &time);
};

// Reads the previous sale back for the reprint.
class ReprintSource {
public:
    enum class Outcome { Ok, NoSaleToday, NothingLeft };
    ReprintSource(Database &db, const Session &session, const Clock &clock)
        : db_(db), session_(session), clock_(clock) {}

    // `currentNo` is the number the next sale gets (the till's sale-number label).
    // Returned or voided pairs are left out. Throws DbError.
    Outcome previousSale(const QString &currentNo, ReceiptData &out);
    // The sale with that number (this till's last one: on a server the number before
    // the next may be another till's).
    Outcome sale(const QString &sellNo, ReceiptData &out);

private:
    Database &db_;
    const Session &session_;
    const Clock &clock_;
};

}  // namespace kestavion
