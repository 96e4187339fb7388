#include "foundation/money.h"

#include "foundation/numbers.h"

#include <cmath>

namespace kestavion {

Money Money::fromDouble(double value) { return Money(std::llround(value * 100.0)); }

std::optional<Money> Money::parse(const QString &typed) {
    const QString plain = plainNumberText(typed);
    if (plain.isEmpty()) return std::nullopt;
    const bool negative = plain.startsWith(QLatin1Char('-'));
    const QString digits = negative ? plain.mid(1) : plain;
    const qsizetype dot = digits.indexOf(QLatin1Char('.'));
    QString whole = dot < 0 ? digits : digits.left(dot);
    const QString frac = dot < 0 ? QString() : digits.mid(dot + 1);
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0'))) whole.remove(0, 1);
    // More whole digits than the maximum has: beyond it, whatever follows.
    if (whole.size() > 11) return std::nullopt;
    qint64 cents = 0;
    for (QChar c : whole) cents = cents * 10 + c.digitValue();
    for (int i = 0; i < 2; ++i) cents = cents * 10 + (i < frac.size() ? frac[i].digitValue() : 0);
    if (frac.size() > 2 && frac[2].digitValue() >= 5) ++cents;
    if (cents > kMaxCents) return std::nullopt;
    return Money(negative ? -cents : cents);
}

bool Money::tooLarge(const QString &typed) { return !plainNumberText(typed).isEmpty() && !parse(typed); }

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
