#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace kestavion {

// The refusal of a money box holding more than Money::kMaxCents.
inline const QString kMoneyTooLarge = QStringLiteral("金额太大！每个金额最多为 99,999,999,999.99。");

// An exact amount of money in whole cents. Built explicitly from typed text or a
// database value (rounded to the cent), never implicitly from double.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromCents(qint64 cents) { return Money(cents); }
    static Money fromDouble(double value);  // rounded to the cent
    static Money fromWhole(qint64 units) { return Money(units * 100); }
    // The largest amount a money box takes: 99,999,999,999.99, which the stored
    // number column keeps exactly.
    static constexpr qint64 kMaxCents = 9'999'999'999'999;
    // Typed text read exactly by parseNumber's rules (never through double), rounded
    // half away from zero to the cent; nullopt when it is not numeric or its size is
    // beyond kMaxCents.
    static std::optional<Money> parse(const QString &typed);
    // Numeric text whose size is beyond kMaxCents: a money box refuses it.
    static bool tooLarge(const QString &typed);
    static Money fromVariant(const QVariant &value);          // NULL → 0

    constexpr qint64 cents() const { return cents_; }
    double toDouble() const { return static_cast<double>(cents_) / 100.0; }
    QString toString() const;  // shortest plain form: "507", "16.5", "-3.05"
    bool isWhole() const { return cents_ % 100 == 0; }

    // price × discount ÷ 10, rounded half to even to a whole amount.
    Money discounted(double discountTenths) const;

    constexpr Money operator+(Money o) const { return Money(cents_ + o.cents_); }
    constexpr Money operator-(Money o) const { return Money(cents_ - o.cents_); }
    constexpr Money operator-() const { return Money(-cents_); }
    constexpr Money operator*(qint64 n) const { return Money(cents_ * n); }
    Money &operator+=(Money o) { cents_ += o.cents_; return *this; }
    Money &operator-=(Money o) { cents_ -= o.cents_; return *this; }
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 cents) : cents_(cents) {}
    qint64 cents_ = 0;
};

}  // namespace kestavion
