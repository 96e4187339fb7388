#pragma once

#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/session.h"

#include <QDate>

namespace kestavion {

// The shop's figures for a date range (both days included). The stock figures are
// the stock now, whatever the range.
struct ProfitFigures {
    double inQuantity = 0;        // pairs taken in
    Money inAmount;               // their purchase value
    double sellQuantity = 0;      // pairs sold and not returned or voided
    Money sellAmount;             // money taken for them
    Money grossProfit;            // money taken − purchase price of the lots they came from
    double factoryQuantity = 0;   // pairs returned to the factory
    Money factoryAmount;
    double stockQuantity = 0;     // sellable pairs left in the lots
    double problemQuantity = 0;   // problem pairs not yet sent back
    Money stockCost;              // lots at price × units left + problem pairs at their purchase price
    Money otherExpenses;

    Money netProfit() const { return grossProfit - otherExpenses; }
};

class ProfitAnalysis {
public:
    ProfitAnalysis(Database &db, const Session &session) : db_(db), session_(session) {}

    ProfitFigures compute(const QDate &from, const QDate &to);

private:
    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
