#pragma once

#include "aftersales/sale_rows.h"
#include "foundation/clock.h"

namespace kestavion {

// A customer brings one sold pair back.
class CustomerReturn {
public:
    enum class Into { ProblemStock, NormalStock };

    CustomerReturn(Database &db, const Session &session, const Clock &clock)
        : db_(db), session_(session), clock_(clock) {}

    // In one transaction: the pair goes into problem stock (one BackStore row of one
    // pair at the sale row's purchase price) or back into its Goods and the very lot
    // it was sold from; one return record (state 2, the amount handed back); the sale
    // row becomes returned. Throws Refusal (kSaleRowGone when the row is no longer a
    // valid sale, or returnRefusal's message: the caller checks the rules on the row it
    // shows, and they are checked again on the row as it now is).
    void returnPair(const QString &sellGuid, Into into, const QString &reason);

private:
    Database &db_;
    const Session &session_;
    const Clock &clock_;
};

// A sale entered in error is cancelled: the pair goes back into its Goods and lot.
class SaleVoid {
public:
    SaleVoid(Database &db, const Session &session, const Clock &clock) : db_(db), session_(session), clock_(clock) {}

    // In one transaction: Store +1, the recorded lot +1, the sale row voided (state
    // 3), one void record with the reason. Throws Refusal (kSaleRowGone as above).
    void voidRow(const QString &sellGuid, const QString &reason);

private:
    Database &db_;
    const Session &session_;
    const Clock &clock_;
};

}  // namespace kestavion
