#pragma once

#include <QDate>
#include <QDateTime>

namespace kestavion {

// "Today" for sale numbers, return and exchange days and settlements.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock a test (or a demo) sets by hand.
class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime t = QDateTime(QDate(2026, 12, 9), QTime(10, 0))) : t_(std::move(t)) {}
    QDateTime now() const override { return t_; }
    void set(const QDateTime &t) { t_ = t; }
    void setDate(const QDate &d) { t_ = QDateTime(d, t_.time()); }

private:
    QDateTime t_;
};

}  // namespace kestavion
