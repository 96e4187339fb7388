#include "reports/other_expense.h"

#include "foundation/guid.h"
#include "foundation/prompter.h"
#include "foundation/refusal.h"

namespace kestavion {

namespace {
const QString kEntryKey = QStringLiteral("OtherOut");
const QString kQueryKey = QStringLiteral("OtherOurQuery");
const QString kColumns = QStringLiteral("SELECT GUID,Item AS 支出项目,Amount AS 金额,DateTime AS 日期,"
                                        "OptName AS 记录员,Memo AS 备注 FROM OtherOut ");
}  // namespace

Money OtherExpenseEntry::readAmount(const QString &typed) {
    const auto amount = Money::parse(typed);
    if (!amount) throw Refusal(kExpenseNotNumeric, Refusal::Icon::Info, kAppTitle);
    if (*amount < Money()) throw Refusal(kExpenseNegative, Refusal::Icon::Info, kAppTitle);
    return *amount;
}

void OtherExpenseEntry::add(const OtherExpense &e) {
    requirePermission(session_, kEntryKey);
    if (e.amount < Money()) throw Refusal(kExpenseNegative, Refusal::Icon::Info, kAppTitle);
    db_.exec(QStringLiteral("INSERT INTO OtherOut (GUID,ShopNo,ShopName,Item,Amount,DateTime,Memo,OptName) "
                            "VALUES (?,?,?,?,?,?,?,?)"),
             {newGuid(), session_.shopNo, session_.shopName, e.item, e.amount.toDouble(), e.date, e.memo,
              session_.user.Name});
}

ResultSet OtherExpenseQuery::headings() {
    requirePermission(session_, kQueryKey);
    return db_.exec(kColumns + QStringLiteral("WHERE 1=0"));
}

OtherExpenseList OtherExpenseQuery::list(const QDate &from, const QDate &to) {
    requirePermission(session_, kQueryKey);
    OtherExpenseList out;
    out.rows = db_.exec(kColumns + QStringLiteral("WHERE ShopNo=? AND DateTime>=? AND DateTime<=? "
                                                  "ORDER BY DateTime,GUID"),
                        {session_.shopNo, from, to});
    for (int i = 0; i < out.rows.rowCount(); ++i) out.total += Money::fromVariant(out.rows.value(i, 2));
    return out;
}

bool OtherExpenseQuery::remove(const QString &guid) {
    requirePermission(session_, kQueryKey);
    db_.exec(QStringLiteral("DELETE FROM OtherOut WHERE GUID=? AND ShopNo=?"), {guid, session_.shopNo});
    return db_.changes() > 0;
}

}  // namespace kestavion
