#pragma once

#include "aftersales/sale_rows.h"
#include "foundation/clock.h"
#include "foundation/money.h"

#include <vector>

namespace kestavion {

// One sold pair of an exchange order and the Goods that replaces it.
struct ExchangePair {
    QString sellGuid;          // the sold row
    QString reason;            // exchange reason
    QString replacementGuid;   // Store.GUID of the replacement Goods
    QString abate;             // "全", a discount figure or "特价"
    Money amount;              // money charged for the replacement, a whole number
};

// Commits an exchange order.
class CustomerExchange {
public:
    CustomerExchange(Database &db, const Session &session, const Clock &clock)
        : db_(db), session_(session), clock_(clock) {}

    // In one transaction, for every pair: an exchange record (state 1) describing the
    // sold goods with AddAmount = replacement amount − sold amount; the sold pair back
    // into its Goods and its own lot; the replacement out of its Goods and out of a lot
    // chosen by the lot order; the sale row rewritten to the replacement with state 1.
    // All records are written first, then the stock, then the lots put back, then the
    // replacements taken, so every returned pair is in its lot before any is taken.
    // Throws Refusal (kSaleRowGone, kSaleRowTaken, exchangeRefusal's message on the row as
    // it now is, kReplacementGone or kNoReplacementStock) or DbError.
    void commit(const std::vector<ExchangePair> &pairs);

private:
    Database &db_;
    const Session &session_;
    const Clock &clock_;
};

inline const QString kReplacementGone = QStringLiteral("调换的商品已经不存在，请重新选择！");
inline const QString kNoReplacementStock = QStringLiteral("库存不足不能调换，请通知管理员！");

// --- the replacement's price ------------------------------------------------------

// The exchange's own discount reading: "全" is full price, any figure 0 to 9.9.
// Returns the refusal message for the typed discount, or empty.
QString exchangeDiscountRefusal(const QString &typed);
// The refusal message for a typed special price against the retail price, or empty.
// Not numeric, 0 or less, or dearer than the retail price is refused.
QString exchangeSpecialPriceRefusal(const QString &typed, Money retailPrice);
// The amount charged, a whole number (halves to the even neighbour): retail price ×
// discount ÷ 10 ("全" = 10), or the special price. Call only with accepted text.
Money exchangeAmount(Money retailPrice, bool specialPrice, const QString &typed);

// Same-article and dearer-goods rules for a candidate; empty when allowed.
QString replacementRefusal(const SellRules &rules, const QString &soldTypeNo, Money soldPrice,
                           const QString &candidateTypeNo, Money candidatePrice);

}  // namespace kestavion
