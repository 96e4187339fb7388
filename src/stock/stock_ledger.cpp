#include "stock/stock_ledger.h"

#include "foundation/refusal.h"

#include <algorithm>

namespace kestavion {

void StockLedger::lock(QStringList storeGuids) {
    std::sort(storeGuids.begin(), storeGuids.end());
    storeGuids.erase(std::unique(storeGuids.begin(), storeGuids.end()), storeGuids.end());
    const QString forUpdate = db_.forUpdate();
    if (forUpdate.isEmpty()) return;  // the engine lets one writer in at a time
    for (const QString &guid : std::as_const(storeGuids))
        db_.exec(QStringLiteral("SELECT GUID FROM Store WHERE GUID=?") + forUpdate, {guid});
}

QString StockLedger::notEnoughStock(const QString &typeNo, const QString &size, const QString &colour, double left) {
    return QStringLiteral("货号 %1（%2码 %3）库存不足，只剩 %4 双。\n可能刚被别的收银台卖出，请重新查询后再试。")
        .arg(typeNo, size, colour, QString::number(left));
}

void StockLedger::take(const QString &storeGuid, double quantity) {
    // One statement reads and writes: two tills cannot both take the last pair.
    db_.exec(QStringLiteral("UPDATE Store SET Quantity=Quantity-? WHERE GUID=? AND Quantity>=?"),
             {quantity, storeGuid, quantity});
    if (db_.changes() == 1) return;
    const ResultSet rs = db_.exec(QStringLiteral("SELECT TypeNo,Size,Colour,Quantity FROM Store WHERE GUID=?"), {storeGuid});
    if (rs.empty()) throw DbError(QStringLiteral("货品在库存中已不存在。"));
    throw Refusal(notEnoughStock(rs.text(QStringLiteral("TypeNo")), rs.text(QStringLiteral("Size")),
                                 rs.text(QStringLiteral("Colour")), rs.number(QStringLiteral("Quantity"))));
}

void StockLedger::put(const QString &storeGuid, double quantity) {
    db_.exec(QStringLiteral("UPDATE Store SET Quantity=Quantity+? WHERE GUID=?"), {quantity, storeGuid});
}

LotTaken StockLedger::takeFromLot(const QString &storeGuid, int sellOrder) {
    const QString sql = sellOrder != 0
        ? QStringLiteral("SELECT ID,Price FROM BuyPrice WHERE StoreGUID=? AND Quantity>0 "
                         "ORDER BY sDate DESC, ID DESC LIMIT 1")
        : QStringLiteral("SELECT ID,Price FROM BuyPrice WHERE StoreGUID=? AND Quantity>0 "
                         "ORDER BY sDate ASC, ID ASC LIMIT 1");
    // A lot emptied by someone else between the choice and the update is passed over
    // and the next one chosen.
    for (;;) {
        const ResultSet rs = db_.exec(sql, {storeGuid});
        LotTaken taken;
        if (rs.empty()) return taken;
        taken.id = rs.integer(QStringLiteral("ID"));
        taken.price = Money::fromVariant(rs.value(0, QStringLiteral("Price")));
        db_.exec(QStringLiteral("UPDATE BuyPrice SET Quantity=Quantity-1 WHERE ID=? AND Quantity>0"), {taken.id});
        if (db_.changes() == 1) return taken;
    }
}

void StockLedger::putBackIntoLot(qint64 lotId) {
    if (lotId == 0) return;
    db_.exec(QStringLiteral("UPDATE BuyPrice SET Quantity=Quantity+1 WHERE ID=?"), {lotId});
}

}  // namespace kestavion
