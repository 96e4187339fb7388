#include "aftersales/exchange_order.h"

namespace kestavion {

bool ExchangeOrder::add(const ExchangeSold &sold, const QString &reason, const ExchangeReplacement &replacement) {
    if (isPaired(sold.sellGuid)) return false;
    lines_.push_back({sold, reason, replacement});
    return true;
}

void ExchangeOrder::remove(int index) {
    if (index >= 0 && index < size()) lines_.erase(lines_.begin() + index);
}

bool ExchangeOrder::isPaired(const QString &sellGuid) const {
    for (const Line &l : lines_)
        if (l.sold.sellGuid == sellGuid) return true;
    return false;
}

int ExchangeOrder::pendingFor(const QString &storeGuid) const {
    int n = 0;
    for (const Line &l : lines_)
        if (l.replacement.storeGuid == storeGuid) ++n;
    return n;
}

Money ExchangeOrder::amount() const {
    Money m;
    for (const Line &l : lines_) m += l.replacement.amount;
    return m;
}

Money ExchangeOrder::have() const {
    Money m;
    for (const Line &l : lines_) m += l.sold.amount;
    return m;
}

std::vector<ExchangePair> ExchangeOrder::pairs() const {
    std::vector<ExchangePair> out;
    out.reserve(lines_.size());
    for (const Line &l : lines_)
        out.push_back({l.sold.sellGuid, l.reason, l.replacement.storeGuid, l.replacement.abate, l.replacement.amount});
    return out;
}

}  // namespace kestavion
