#include "foundation/money.h"

#include "foundation/numbers.h"

#include <cmath>

namespace kestavion {

Money Money::fromDouble(double value) { return Money(std::llround(value * 100.0)); }

std::optional<Money> Money::parse(const QString &typed) {
    auto v = parseNumber(typed);
    if (!v) return std::nullopt;
    return fromDouble(*v);
}

Money Money::fromVariant(const QVariant &value) {
    if (!value.isValid() || value.isNull()) return {};
    bool ok = false;
    double d = value.toDouble(&ok);
    return ok ? fromDouble(d) : Money();
}

QString Money::toString() const {
    const qint64 a = cents_ < 0 ? -cents_ : cents_;
    QString s = QString::number(a / 100);
    const qint64 frac = a % 100;
    if (frac != 0) {
        s += QLatin1Char('.');
        if (frac % 10 == 0) s += QString::number(frac / 10);
        else s += QStringLiteral("%1").arg(frac, 2, 10, QLatin1Char('0'));
    }
    return cents_ < 0 ? QLatin1Char('-') + s : s;
}

Money Money::discounted(double discountTenths) const {
    return fromWhole(discountedAmount(toDouble(), discountTenths));
}

}  // namespace kestavion
