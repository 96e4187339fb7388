#pragma once

#include <QString>
#include <optional>

namespace kestavion {

// The one reading of "numeric" typed input: surrounding spaces trimmed, an optional
// sign, digits with commas only between digits, an optional "." and digits.
// No exponent, currency sign or hex; empty text or a bare sign is not numeric.
std::optional<double> parseNumber(const QString &text);
// The same reading as text: the sign (only "-"), digits and "." as typed, grouping
// commas gone ("-1000.50"); empty when the text is not numeric.
QString plainNumberText(const QString &text);
// A discount figure: as parseNumber, except that a discount has no grouping, so a
// comma ("8,5") makes it no number at all.
std::optional<double> parseDiscount(const QString &text);
inline bool isNumeric(const QString &text) { return parseNumber(text).has_value(); }

// A whole number typed by a user ("3", " 1,000 "); nullopt for "0.4" or "abc".
std::optional<qint64> parseWholeNumber(const QString &text);

// Shortest plain decimal form: 507, 16.5 — never an exponent or separators.
QString formatNumber(double value);

// Rounds half to even to a whole number (0.5 → 0, 1.5 → 2, 112.5 → 112).
qint64 roundHalfEven(double value);

// The amount charged for one pair: price × discount ÷ 10, rounded half to even to a
// whole number, computed exactly (199 × 8.5 ÷ 10 → 169; 125 × 9 ÷ 10 → 112).
qint64 discountedAmount(double price, double discountTenths);

// Doubles every single quote; only for text composed for something other than a
// bound statement parameter.
QString escapeQuotes(const QString &text);

}  // namespace kestavion
