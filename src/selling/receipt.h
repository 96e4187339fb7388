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

    // A thermal receipt printer's layout, `columns` characters wide (32 on 58 mm paper,
    // 48 on 80 mm; a Chinese character takes two): the shop's name in double size
    // (PrintCall::fontSize kThermalDouble), then the body in normal size, every line
    // at most `columns` wide. Long article numbers and names wrap.
    static PrintJob checkoutThermal(const ReceiptData &d, int columns) { return thermal(d, columns, false); }
    static PrintJob reprintThermal(const ReceiptData &d, int columns) { return thermal(d, columns, true); }
    static constexpr int kThermalDouble = 20;
    static constexpr int kThermalNormal = 9;

    // The layout the shop's printer takes (PrinterType 0: dot-matrix, else POS), or
    // the thermal layout when this machine's printer is a character printer of
    // `thermalColumns` columns (0: it is not).
    static PrintJob checkout(const ReceiptData &d, int printerType, int thermalColumns = 0) {
        if (thermalColumns > 0) return checkoutThermal(d, thermalColumns);
        return printerType != 0 ? checkoutPos(d) : checkoutDotMatrix(d);
    }
    static PrintJob reprint(const ReceiptData &d, int printerType, int thermalColumns = 0) {
        if (thermalColumns > 0) return reprintThermal(d, thermalColumns);
        return printerType != 0 ? reprintPos(d) : reprintDotMatrix(d);
    }

    // Columns `text` takes on a character printer: two for a Chinese (wide) character.
    static int displayWidth(const QString &text);

    // The receipt of a sale just made from the pre-sale list.
    static ReceiptData fromSale(const std::vector<SaleLine> &lines, const QString &sellNo, const Money &payment,
                                const Money &change, const Session &session, const QDateTime &time);

private:
    static PrintJob thermal(const ReceiptData &d, int columns, bool reprint);
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
