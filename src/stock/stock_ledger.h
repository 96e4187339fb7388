#pragma once

#include "foundation/database.h"
#include "foundation/money.h"

#include <QStringList>

namespace kestavion {

// One unit taken out of a purchase lot: its key and purchase price (0/0 when the
// goods had no lot with units left).
struct LotTaken {
    qint64 id = 0;
    Money price;
};

// Every movement of a pair goes through here: sale, return, exchange, void, problem
// stock, intake delete and correction, and a lot taken and put back. The caller owns
// the transaction.
//
// Several tills may share one server: a movement never reads a quantity and writes it
// back, it changes it in one guarded statement, and stock never goes below zero (the
// movement refuses, and the caller's transaction rolls back). lock() takes the row
// locks of all goods a transaction will move, always in key order, so two tills
// never wait on each other in a circle and never both take the last pair.
class StockLedger {
public:
    explicit StockLedger(Database &db) : db_(db) {}

    // Locks the goods' Store rows for the rest of the transaction, in key order.
    // Call it once, before the first movement.
    void lock(QStringList storeGuids);

    // Takes pairs out of normal stock. Throws Refusal (the goods and what is left)
    // when fewer pairs are on hand, DbError when the goods are gone.
    void take(const QString &storeGuid, double quantity = 1);
    // Puts pairs back into normal stock (nothing when the goods are gone).
    void put(const QString &storeGuid, double quantity = 1);

    // One unit from the oldest (sellOrder 0) or newest (non-zero) lot of the goods
    // that still has units; among lots of one date the first made goes first when
    // oldest first, the last made when newest first. 0/0 when no lot has units left:
    // the sale still goes ahead at purchase price 0.
    LotTaken takeFromLot(const QString &storeGuid, int sellOrder);
    // One unit back into the lot with that key; nothing for key 0.
    void putBackIntoLot(qint64 lotId);

    // The message of a refused movement.
    static QString notEnoughStock(const QString &typeNo, const QString &size, const QString &colour, double left);

private:
    Database &db_;
};

}  // namespace kestavion
