#include "selling/checkout.h"

#include "foundation/guid.h"
#include "foundation/numbers.h"
#include "foundation/refusal.h"
#include "selling/kept_sale.h"
#include "selling/lot_consumption.h"
#include "selling/sale_numbering.h"
#include "stock/stock_ledger.h"

#include <QHash>

#include <algorithm>

namespace kestavion {

Money Checkout::paymentOf(const QString &paymentText) { return Money::parse(paymentText).value_or(Money()); }

CheckoutResult Checkout::commit(const std::vector<SaleLine> &lines, const Money &payment) {
    requirePermission(session_, QStringLiteral("Sell"));
    CheckoutResult result;
    for (const SaleLine &l : lines) result.total += Money::fromWhole(l.amount);
    result.payment = payment;
    result.change = payment - result.total;
    if (lines.empty()) return result;

    const QDate today = clock_.today();
    StockLedger stock(db_);
    Transaction tx(db_);
    QStringList goods;
    for (const SaleLine &l : lines) goods << l.goods.storeGuid;
    stock.lock(goods);
    // The number is read and written under the shop's lock, so tills sharing a server
    // number their sales one after the other, without gaps or twins.
    db_.lockName(QStringLiteral("SellNo ") + session_.shopNo);
    result.sellNo = SaleNumbering(db_, session_.shopNo).next(today);
    // Each goods' pairs are taken at once, so a refusal names what is really left
    // (not what remains after this sale's own first pairs).
    QHash<QString, double> pairs;
    for (const SaleLine &l : lines) pairs[l.goods.storeGuid] += 1;
    for (const QString &g : std::as_const(goods)) {
        if (!pairs.contains(g)) continue;
        stock.take(g, pairs.take(g));
    }
    // The sale's rows are listed by their key (the reprint, the return and exchange
    // searches); keys handed out in ascending order keep them in the order they were sold.
    QStringList keys;
    for (size_t i = 0; i < lines.size(); ++i) keys << newGuid();
    std::sort(keys.begin(), keys.end());
    for (size_t i = 0; i < lines.size(); ++i) {
        const SaleLine &l = lines[i];
        const QString &guid = keys[qsizetype(i)];
        const LotTaken lot = stock.takeFromLot(l.goods.storeGuid, session_.rules.SellOrder);
        db_.exec(QStringLiteral("INSERT INTO Sell (GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,"
                                "ProductPlace,Quantity,Price,Abate,Amount,BuyPrice,Seller,DateTime,SellNo,BuyPriceId,"
                                "SellerName,State,Money1,Money2) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                 {guid, l.goods.storeGuid, session_.shopNo, l.goods.typeNo, l.goods.name, l.goods.brand, l.goods.size,
                  l.goods.colour, l.goods.leather, l.goods.grade, l.goods.place, l.quantity,
                  l.price.toDouble(), l.abate, l.amount, lot.price.toDouble(), session_.user.No, today,
                  result.sellNo, QString::number(lot.id), session_.user.Name, 0, payment.toDouble(),
                  result.change.toDouble()});
        result.rows.push_back({guid, lot.id, lot.price});
    }
    // The till's kept copy of the list goes with the sale it became, or stays with it.
    KeptSale::removeWithin(db_, session_);
    tx.commit();
    return result;
}

}  // namespace kestavion
