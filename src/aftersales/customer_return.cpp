#include "aftersales/customer_return.h"

#include "foundation/refusal.h"
#include "selling/lot_consumption.h"

namespace kestavion {

namespace {

SaleRow requireRow(Database &db, const Session &session, const QString &sellGuid) {
    auto row = readValidSaleRow(db, session.shopNo, sellGuid);
    if (!row) throw Refusal(kSaleRowGone, Refusal::Icon::Info, kAppTitle);
    return *row;
}

void setState(Database &db, const QString &sellGuid, int state) {
    db.exec(QStringLiteral("UPDATE Sell SET State=? WHERE GUID=?"), {state, sellGuid});
}

void backIntoStock(Database &db, const SaleRow &row) {
    db.exec(QStringLiteral("UPDATE Store SET Quantity=Quantity+1 WHERE GUID=?"), {row.storeGuid});
    LotConsumption(db).putBack(row.buyPriceId);
}

}  // namespace

void CustomerReturn::returnPair(const QString &sellGuid, Into into, const QString &reason) {
    requirePermission(session_, QStringLiteral("ClientBack"));
    Transaction tx(db_);
    const SaleRow row = requireRow(db_, session_, sellGuid);
    if (into == Into::ProblemStock) {
        db_.exec(QStringLiteral("INSERT INTO BackStore ([GUID],ShopNo,TypeNo,Name,Brand,[Size],Colour,Leather,Grade,"
                                "ProductPlace,Quantity,BuyPrice,BackResion,Seller,SellName,IsBackFactory,"
                                "BackFactoryDate) VALUES (?,?,?,?,?,?,?,?,?,?,1,?,?,?,?,0,NULL)"),
                 {row.storeGuid, session_.shopNo, row.typeNo, row.name, row.brand, row.size, row.colour, row.leather,
                  row.grade, row.place, row.buyPrice.toDouble(), reason, session_.user.No, session_.user.Name});
    } else {
        backIntoStock(db_, row);
    }
    insertSellChange(db_, session_, row, clock_.today(), row.amount, kReturned, reason);
    setState(db_, row.guid, kReturned);
    tx.commit();
}

void SaleVoid::voidRow(const QString &sellGuid, const QString &reason) {
    requirePermission(session_, QStringLiteral("SellBlankOut"));
    Transaction tx(db_);
    const SaleRow row = requireRow(db_, session_, sellGuid);
    backIntoStock(db_, row);
    setState(db_, row.guid, kVoided);
    insertSellChange(db_, session_, row, clock_.today(), row.amount, kVoided, reason);
    tx.commit();
}

}  // namespace kestavion
