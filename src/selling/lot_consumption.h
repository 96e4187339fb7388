#pragma once

#include "foundation/database.h"
#include "foundation/money.h"

namespace kestavion {

// One unit taken out of a purchase lot: its key and purchase price (0/0 when the
// goods had no lot with units left).
struct LotTaken {
    qint64 id = 0;
    Money price;
};

// Takes pairs out of, and puts them back into, purchase lots (BuyPrice rows).
// The caller owns the transaction.
class LotConsumption {
public:
    explicit LotConsumption(Database &db) : db_(db) {}

    // One unit from the oldest (sellOrder 0) or newest (non-zero) lot of the goods
    // that still has units; among lots of one date the first made goes first when
    // oldest first, the last made when newest first.
    LotTaken takeOne(const QString &storeGuid, int sellOrder);
    // One unit back into the lot with that key; nothing for key 0.
    void putBack(qint64 lotId);

private:
    Database &db_;
};

}  // namespace kestavion
