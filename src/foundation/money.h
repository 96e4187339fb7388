#pragma once

#include <QString>
#include <QVariant>
#include <optional>

namespace kestavion {

// An exact amount of money in whole cents. Built explicitly from typed text or a
// database value (rounded to the cent), never implicitly from double.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromCents(qint64 cents) { return Money(cents); }
    static Money fromDouble(double value);  // rounded to the cent
    static Money fromWhole(qint64 units) { return Money(units * 100); }
    static std::optional<Money> parse(const QString &typed);  // parseNumber's rules
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
