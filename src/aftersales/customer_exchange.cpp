#include "aftersales/customer_exchange.h"

#include "foundation/numbers.h"
#include "foundation/refusal.h"
#include "stock/stock_ledger.h"

#include <QHash>
#include <algorithm>

namespace kestavion {

void CustomerExchange::commit(const std::vector<ExchangePair> &pairs) {
    requirePermission(session_, QStringLiteral("ClientChange"));
    if (pairs.empty()) return;
    Transaction tx(db_);
    const QDate today = clock_.today();
    StockLedger stock(db_);
    // The sale rows are read (and on a server locked) in key order, so two tills
    // exchanging overlapping rows never wait on each other in a circle.
    QStringList keys;
    for (const ExchangePair &p : pairs) keys << p.sellGuid;
    std::sort(keys.begin(), keys.end());
    QHash<QString, SaleRow> read;
    for (const QString &key : std::as_const(keys)) {
        if (read.contains(key)) continue;
        auto row = readValidSaleRow(db_, session_.shopNo, key);
        if (!row) throw Refusal(kSaleRowGone, Refusal::Icon::Info, kAppTitle);
        // The rules again, on the row as it is now (another till may have exchanged it).
        if (const QString why = exchangeRefusal(session_.rules, row->state, row->abate, row->date, today);
            !why.isEmpty())
            throw Refusal(why, Refusal::Icon::Info, kAppTitle);
        read.insert(key, *row);
    }
    std::vector<SaleRow> sold;
    sold.reserve(pairs.size());
    for (const ExchangePair &p : pairs) sold.push_back(read.value(p.sellGuid));
    QStringList moved;
    for (size_t i = 0; i < pairs.size(); ++i) moved << sold[i].storeGuid << pairs[i].replacementGuid;
    stock.lock(moved);
    // The records describe the sold goods as they were.
    for (size_t i = 0; i < pairs.size(); ++i)
        insertSellChange(db_, session_, sold[i], today, pairs[i].amount - sold[i].amount, kExchanged,
                         pairs[i].reason);
    for (const SaleRow &row : sold) stock.put(row.storeGuid);
    for (const SaleRow &row : sold) stock.putBackIntoLot(row.buyPriceId);

    for (size_t i = 0; i < pairs.size(); ++i) {
        const ExchangePair &p = pairs[i];
        ResultSet goods = readShopGoods(db_, session_.shopNo, p.replacementGuid);
        if (goods.empty()) throw Refusal(kReplacementGone, Refusal::Icon::Info, kAppTitle);
        if (goods.number(QStringLiteral("Quantity")) < 1) throw Refusal(kNoReplacementStock, Refusal::Icon::Info, kAppTitle);
        stock.take(p.replacementGuid);
        const LotTaken lot = stock.takeFromLot(p.replacementGuid, session_.rules.SellOrder);
        db_.exec(QStringLiteral("UPDATE Sell SET StoreGUID=?,ShopNo=?,TypeNo=?,Name=?,Brand=?,Size=?,Colour=?,"
                                "Leather=?,Grade=?,ProductPlace=?,Price=?,Abate=?,Amount=?,BuyPrice=?,BuyPriceId=?,"
                                "State=1") + kSaleRowAsRead,
                 QVariantList{p.replacementGuid, session_.shopNo} + goodsDescription(goods) +
                     QVariantList{goods.number(QStringLiteral("Price")), p.abate, p.amount.toDouble(), lot.price.toDouble(),
                                  QString::number(lot.id)} +
                     saleRowAsReadParams(sold[i]));
        requireSaleRowChanged(db_);
    }
    tx.commit();
}

QString exchangeDiscountRefusal(const QString &typed) {
    if (typed == QStringLiteral("全")) return {};
    // As at the till: a comma in a discount is a mistyped decimal point, never grouping.
    if (typed.contains(QLatin1Char(','))) return QStringLiteral("请输入0.1-10的数字或小数！");
    auto v = parseDiscount(typed);
    if (!v) return QStringLiteral("数量的数据类型不正确！");
    if (*v < 0 || *v > 9.9) return QStringLiteral("请输入0.1-10的数字或小数！");
    return {};
}

QString exchangeSpecialPriceRefusal(const QString &typed, Money retailPrice) {
    auto v = Money::parse(typed);
    if (!v) return QStringLiteral("请输入有效的数据！");
    if (*v <= Money()) return QStringLiteral("特价也不可能小于0的！");
    if (*v > retailPrice) return QStringLiteral("特价比零售价还要贵么？");
    return {};
}

Money exchangeAmount(Money retailPrice, bool specialPrice, const QString &typed) {
    // A special price is charged as a whole amount, like a discounted one.
    if (specialPrice) return Money::parse(typed).value_or(Money()).discounted(10.0);
    const double rate = typed == QStringLiteral("全") ? 10.0 : parseDiscount(typed).value_or(0);
    return retailPrice.discounted(rate);
}

QString replacementRefusal(const SellRules &rules, const QString &soldTypeNo, Money soldPrice,
                           const QString &candidateTypeNo, Money candidatePrice) {
    if (rules.SameTypeChange && candidateTypeNo != soldTypeNo)
        return QStringLiteral("对不起只有同类型的商品才可以调换！请你再选择其他的商品");
    if (rules.DearGoodsChange && candidatePrice < soldPrice)
        return QStringLiteral("对不起只能调换比此商品价格高的商品！");
    return {};
}

}  // namespace kestavion
