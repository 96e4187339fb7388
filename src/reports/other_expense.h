#pragma once

#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/session.h"

#include <QDate>
#include <QString>

namespace kestavion {

// One expense of the shop that is not a purchase of goods (rent, wages …).
struct OtherExpense {
    QString item;  // from the "其他支出项目" list; may be empty
    Money amount;  // never negative
    QDate date;
    QString memo;
};

// The shop's expenses in a date range.
struct OtherExpenseList {
    ResultSet rows;  // GUID 支出项目 金额 日期 记录员 备注, by date
    Money total;     // sum of 金额
};

inline const QString kExpenseItemList = QStringLiteral("其他支出项目");
inline const QString kExpenseNotNumeric = QStringLiteral("请按规矩办事！");
inline const QString kExpenseNegative = QStringLiteral("不能作弊");

// The entry screen's service.
class OtherExpenseEntry {
public:
    OtherExpenseEntry(Database &db, const Session &session) : db_(db), session_(session) {}

    // The typed amount, or Refusal (information icon, the application's title):
    // kExpenseNotNumeric for text that is no number (empty included), kExpenseNegative
    // below 0. 0 is accepted.
    static Money readAmount(const QString &typed);

    // Stores one expense of the shop, entered by the logged-in user. A negative
    // amount is refused (kExpenseNegative).
    void add(const OtherExpense &expense);

private:
    Database &db_;
    const Session &session_;
};

// The list screen's service.
class OtherExpenseQuery {
public:
    OtherExpenseQuery(Database &db, const Session &session) : db_(db), session_(session) {}

    // The columns and no rows.
    ResultSet headings();
    OtherExpenseList list(const QDate &from, const QDate &to);
    // Deletes one expense of the shop; false when it was already gone.
    bool remove(const QString &guid);

private:
    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
