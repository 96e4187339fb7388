#include "reports/day_settlement.h"

#include "foundation/guid.h"
#include "foundation/refusal.h"

namespace kestavion {

namespace {
const QString kKey = QStringLiteral("DayAmount");
}

DayFigures DaySettlement::count(const QDate &date) {
    requirePermission(session_, kKey);
    const QVariantList params{session_.shopNo, date, session_.user.No};
    DayFigures f;
    // A sale row counts at the amount it was sold for. An exchange rewrites the row to
    // the replacement's amount; each exchange record keeps the extra amount, which
    // belongs to the exchange's own day, so it is taken off here (the result is the
    // Amount of the row's first exchange record). Otherwise a pair exchanged for a
    // dearer one would count its difference twice.
    ResultSet sold = db_.exec(
        QStringLiteral("SELECT SUM(Quantity) AS 数量,SUM(Amount-COALESCE((SELECT SUM(c.AddAmount) FROM SellChange c "
                       "WHERE c.SellGUID=Sell.GUID AND c.State=1),0)) AS 金额 "
                       "FROM Sell WHERE ShopNo=? AND DateTime=? AND Seller=?"),
        params);
    f.sellQuantity = sold.number(0, 0);
    f.sellAmount = Money::fromVariant(sold.value(0, 1));
    ResultSet back = db_.exec(QStringLiteral("SELECT SUM(Quantity) AS 数量,SUM(Amount) AS 金额 FROM SellChange "
                                             "WHERE ShopNo=? AND ChangeDate=? AND State=2 AND Seller=?"),
                              params);
    f.backQuantity = back.number(0, 0);
    f.backAmount = Money::fromVariant(back.value(0, 1));
    ResultSet change = db_.exec(QStringLiteral("SELECT SUM(Quantity) AS 数量,SUM(AddAmount) AS 金额 FROM SellChange "
                                               "WHERE ShopNo=? AND ChangeDate=? AND State=1 AND Seller=?"),
                                params);
    f.changeQuantity = change.number(0, 0);
    f.changeAmount = Money::fromVariant(change.value(0, 1));
    return f;
}

DayFigures DaySettlement::settle(const QDate &date) {
    requirePermission(session_, kKey);
    Transaction tx(db_);
    const DayFigures f = count(date);
    const QVariantList figures{f.sellQuantity,        f.sellAmount.toDouble(), f.backQuantity,
                               f.backAmount.toDouble(), f.changeQuantity,      f.changeAmount.toDouble(),
                               f.receive().toDouble()};
    ResultSet stored = db_.exec(
        QStringLiteral("SELECT GUID FROM DayAmount WHERE DateTime=? AND ShopNo=? AND Seller=? LIMIT 1"),
        {date, session_.shopNo, session_.user.Name});
    if (!stored.empty()) {
        db_.exec(QStringLiteral("UPDATE DayAmount SET SellQuantity=?,SellAmount=?,BackQuantity=?,BackAmount=?,"
                                "ChangeQuantity=?,ChangeAmount=?,ReciveAmount=? WHERE GUID=?"),
                 figures + QVariantList{stored.text(0, 0)});
    } else {
        db_.exec(QStringLiteral("INSERT INTO DayAmount (GUID,SellQuantity,SellAmount,BackQuantity,BackAmount,"
                                "ChangeQuantity,ChangeAmount,ReciveAmount,Seller,DateTime,ShopNo,ShopName) "
                                "VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"),
                 QVariantList{newGuid()} + figures +
                     QVariantList{session_.user.Name, date, session_.shopNo, session_.shopName});
    }
    tx.commit();
    return f;
}

}  // namespace kestavion
