#include "reports/settlement_summary.h"

#include "foundation/refusal.h"

namespace kestavion {

namespace {
const QString kKey = QStringLiteral("TotalAmount");
const QString kColumns = QStringLiteral(
    "SELECT ShopName AS 店面,Seller AS 销售员,DateTime AS 日期,SellQuantity AS 售货数量,SellAmount AS 售货金额,"
    "BackQuantity AS 退货数量,BackAmount AS 退货金额,ChangeQuantity AS 调换数量,ChangeAmount AS 调换金额,"
    "ReciveAmount AS 结算金额 FROM DayAmount ");
}  // namespace

ResultSet SettlementSummary::headings() {
    requirePermission(session_, kKey);
    return db_.exec(kColumns + QStringLiteral("WHERE 1=0"));
}

SettlementList SettlementSummary::list(const QDate &from, const QDate &to) {
    requirePermission(session_, kKey);
    SettlementList out;
    out.rows = db_.exec(kColumns + QStringLiteral("WHERE ShopNo=? AND DateTime>=? AND DateTime<=? "
                                                  "ORDER BY DateTime,Seller"),
                        {session_.shopNo, from, to});
    const ResultSet &r = out.rows;
    // Each stored figure is taken to the cent before it is added, so the sums are exact.
    for (int i = 0; i < r.rowCount(); ++i) {
        out.sellQuantity += r.number(i, 3);
        out.sellAmount += Money::fromVariant(r.value(i, 4));
        out.backQuantity += r.number(i, 5);
        out.backAmount += Money::fromVariant(r.value(i, 6));
        out.changeQuantity += r.number(i, 7);
        out.changeAmount += Money::fromVariant(r.value(i, 8));
        out.receiveAmount += Money::fromVariant(r.value(i, 9));
    }
    return out;
}

}  // namespace kestavion
