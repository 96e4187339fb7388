#include "aftersales/customer_return.h"

#include "foundation/refusal.h"
#include "stock/stock_ledger.h"

namespace kestavion {

namespace {

SaleRow requireRow(Database &db, const Session &session, const QString &sellGuid) {
    auto row = readValidSaleRow(db, session.shopNo, sellGuid);
    if (!row) throw Refusal(kSaleRowGone, Refusal::Icon::Info, kAppTitle);
    return *row;
}

void backIntoStock(Database &db, const SaleRow &row) {
    StockLedger stock(db);
    stock.lock({row.storeGuid});
    stock.put(row.storeGuid);
    stock.putBackIntoLot(row.buyPriceId);
}

}  // namespace

void CustomerReturn::returnPair(const QString &sellGuid, Into into, const QString &reason) {
    requirePermission(session_, QStringLiteral("ClientBack"));
    Transaction tx(db_);
    const SaleRow row = requireRow(db_, session_, sellGuid);
    // The screen checked the shop's rules on the row it showed; another till may have
    // exchanged it since, so they are checked again on the row as it is now.
    if (const QString why = returnRefusal(session_.rules, row.state, row.abate, row.date, clock_.today());
        !why.isEmpty())
        throw Refusal(why, Refusal::Icon::Info, kAppTitle);
    // The row changes first: a till that returned it a moment earlier makes this one
    // stop before any pair moves.
    changeSaleRowState(db_, row, kReturned);
    if (into == Into::ProblemStock) {
        db_.exec(QStringLiteral("INSERT INTO BackStore (GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,"
                                "ProductPlace,Quantity,BuyPrice,BackResion,Seller,SellName,IsBackFactory,"
                                "BackFactoryDate) VALUES (?,?,?,?,?,?,?,?,?,?,1,?,?,?,?,0,NULL)"),
                 {row.storeGuid, session_.shopNo, row.typeNo, row.name, row.brand, row.size, row.colour, row.leather,
                  row.grade, row.place, row.buyPrice.toDouble(), reason, session_.user.No, session_.user.Name});
    } else {
        backIntoStock(db_, row);
    }
    insertSellChange(db_, session_, row, clock_.today(), row.amount, kReturned, reason);
    tx.commit();
}

void SaleVoid::voidRow(const QString &sellGuid, const QString &reason) {
    requirePermission(session_, QStringLiteral("SellBlankOut"));
    Transaction tx(db_);
    const SaleRow row = requireRow(db_, session_, sellGuid);
    changeSaleRowState(db_, row, kVoided);
    backIntoStock(db_, row);
    insertSellChange(db_, session_, row, clock_.today(), row.amount, kVoided, reason);
    tx.commit();
}

}  // namespace kestavion
