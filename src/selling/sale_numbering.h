#pragma once

#include "foundation/database.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kestavion {

// Sale numbers: the date digits YYYYMMDD followed by a running number per shop and
// day, at least four digits, from 0001 (after 9999 it goes on with 10000).
class SaleNumbering {
public:
    SaleNumbering(Database &db, QString shopNo) : db_(db), shopNo_(std::move(shopNo)) {}

    static QString dateDigits(const QDate &day);
    static QString firstOfDay(const QDate &day) { return dateDigits(day) + QStringLiteral("0001"); }
    // Date digits + running number, the running number padded to four digits.
    static QString compose(const QString &dateDigits, qint64 running);
    // The running number of a sale number (0 when it has none).
    static qint64 runningOf(const QString &sellNo);

    // The number the next sale of that day gets: one above the highest running number
    // of this shop and day, compared as a number. Throws DbError.
    QString next(const QDate &day);

    // The sale before `current` (same date digits, running number − 1); nullopt when
    // `current` is the first of its day (no sale yet) or not a sale number.
    static std::optional<QString> previous(const QString &current);

private:
    Database &db_;
    QString shopNo_;
};

}  // namespace kestavion
