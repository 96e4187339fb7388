#include "foundation/numbers.h"

#include <QLocale>
#include <cmath>

namespace kestavion {

QString plainNumberText(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    int i = 0;
    QString out;
    if (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-')) {
        if (t[0] == QLatin1Char('-')) out += QLatin1Char('-');
        ++i;
    }
    int digits = 0;
    bool lastWasDigit = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            out += c;
            ++digits;
            lastWasDigit = true;
        } else if (c == QLatin1Char(',')) {
            if (!lastWasDigit || i + 1 >= t.size() || !(t[i + 1] >= QLatin1Char('0') && t[i + 1] <= QLatin1Char('9')))
                return {};
            lastWasDigit = false;
        } else {
            break;
        }
    }
    if (i < t.size()) {
        if (t[i] != QLatin1Char('.')) return {};
        out += QLatin1Char('.');
        ++i;
        int frac = 0;
        for (; i < t.size(); ++i) {
            const QChar c = t[i];
            if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9'))) return {};
            out += c;
            ++frac;
        }
        if (frac == 0 && digits == 0) return {};
        digits += frac;
    }
    if (digits == 0) return {};
    return out;
}

std::optional<double> parseDiscount(const QString &text) {
    if (text.contains(QLatin1Char(','))) return std::nullopt;
    return parseNumber(text);
}

std::optional<double> parseNumber(const QString &text) {
    const QString plain = plainNumberText(text);
    if (plain.isEmpty()) return std::nullopt;
    bool ok = false;
    double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<qint64> parseWholeNumber(const QString &text) {
    auto v = parseNumber(text);
    if (!v || *v != std::floor(*v) || std::abs(*v) > 9.0e15) return std::nullopt;
    return static_cast<qint64>(*v);
}

QString formatNumber(double value) {
    if (value == 0.0) return QStringLiteral("0");
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

qint64 roundHalfEven(double value) {
    double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    return static_cast<qint64>(r);
}

qint64 discountedAmount(double price, double discountTenths) {
    // Work in exact integers: price in cents, discount in thousandths of a tenth.
    const __int128 cents = static_cast<__int128>(std::llround(price * 100.0));
    const __int128 disc = static_cast<__int128>(std::llround(discountTenths * 1000.0));
    // amount = cents/100 × disc/1000 ÷ 10 = cents × disc / 1,000,000
    const __int128 num = cents * disc;
    const __int128 den = 1000000;
    __int128 q = num / den;
    __int128 r = num % den;
    if (r < 0) {
        r += den;
        q -= 1;
    }
    if (2 * r > den || (2 * r == den && (q % 2 != 0))) q += 1;
    return static_cast<qint64>(q);
}

QString escapeQuotes(const QString &text) {
    if (!text.contains(QLatin1Char('\''))) return text;
    QString s = text;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return s;
}

}  // namespace kestavion
