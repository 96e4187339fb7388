#pragma once

#include "aftersales/customer_exchange.h"
#include "foundation/money.h"

#include <QString>
#include <vector>

namespace kestavion {

// A sold pair as an exchange order needs it.
struct ExchangeSold {
    QString sellGuid;
    QString sellNo;
    Money amount;  // what the customer paid for it
};

// The goods chosen to replace a sold pair, and what the customer pays for them.
struct ExchangeReplacement {
    QString storeGuid;
    QString typeNo, name, brand, size, colour, leather, grade, place;
    Money price;    // retail price
    QString abate;  // "全", a discount figure or "特价"
    Money amount;   // charged, a whole number
};

// The exchange order being put together on the exchange screen: which sold pairs are
// swapped for which goods, and its three figures. Nothing is written until the order
// is committed (CustomerExchange::commit with pairs()).
class ExchangeOrder {
public:
    struct Line {
        ExchangeSold sold;
        QString reason;
        ExchangeReplacement replacement;
    };

    // Pairs a sold pair with its replacement. False, and nothing added, when that sold
    // pair is in the order already.
    bool add(const ExchangeSold &sold, const QString &reason, const ExchangeReplacement &replacement);
    // Takes line `index` (0-based) out; its sold pair is free to be paired again.
    void remove(int index);
    void clear() { lines_.clear(); }

    bool isPaired(const QString &sellGuid) const;
    // Replacements of these goods in the order: pairs of its stock already spoken for.
    int pendingFor(const QString &storeGuid) const;

    bool empty() const { return lines_.empty(); }
    int size() const { return static_cast<int>(lines_.size()); }
    const std::vector<Line> &lines() const { return lines_; }

    Money amount() const;   // 应收金额: what the replacements cost
    Money have() const;     // 已收金额: what was paid for the sold pairs
    Money backAdd() const { return amount() - have(); }  // 退补金额

    // The order as the exchange service commits it.
    std::vector<ExchangePair> pairs() const;

private:
    std::vector<Line> lines_;
};

}  // namespace kestavion
