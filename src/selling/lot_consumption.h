#pragma once

#include "stock/stock_ledger.h"

namespace kestavion {

// Takes pairs out of, and puts them back into, purchase lots through the stock ledger.
// The caller owns the transaction.
class LotConsumption {
public:
    explicit LotConsumption(Database &db) : ledger_(db) {}

    LotTaken takeOne(const QString &storeGuid, int sellOrder) { return ledger_.takeFromLot(storeGuid, sellOrder); }
    void putBack(qint64 lotId) { ledger_.putBackIntoLot(lotId); }

private:
    StockLedger ledger_;
};

}  // namespace kestavion
