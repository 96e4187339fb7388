#include "reports/profit.h"

#include "foundation/refusal.h"

namespace kestavion {

ProfitFigures ProfitAnalysis::compute(const QDate &from, const QDate &to) {
    requirePermission(session_, QStringLiteral("Profit"));
    const QString shop = session_.shopNo;
    const QVariantList ranged{shop, from, to};
    ProfitFigures f;

    ResultSet in = db_.exec(QStringLiteral("SELECT SUM(Quantity),SUM(Price*Quantity) FROM StoreDetail "
                                           "WHERE ShopNo=? AND DateTime>=? AND DateTime<=?"),
                            ranged);
    f.inQuantity = in.number(0, 0);
    f.inAmount = Money::fromVariant(in.value(0, 1));

    // Sold (0) and exchanged (1) rows; returned and voided ones are out.
    ResultSet sold = db_.exec(QStringLiteral("SELECT SUM(Quantity),SUM(Amount),SUM(Amount-BuyPrice) FROM Sell "
                                             "WHERE ShopNo=? AND DateTime>=? AND DateTime<=? AND State<2"),
                              ranged);
    f.sellQuantity = sold.number(0, 0);
    f.sellAmount = Money::fromVariant(sold.value(0, 1));
    f.grossProfit = Money::fromVariant(sold.value(0, 2));

    ResultSet factory = db_.exec(QStringLiteral("SELECT SUM(Quantity),SUM(Amount) FROM FactoryBackTotal "
                                                "WHERE ShopNo=? AND DateTime>=? AND DateTime<=?"),
                                 ranged);
    f.factoryQuantity = factory.number(0, 0);
    f.factoryAmount = Money::fromVariant(factory.value(0, 1));

    ResultSet stock =
        db_.exec(QStringLiteral("SELECT SUM(Quantity),SUM(Price*Quantity) FROM BuyPrice WHERE ShopNo=?"), {shop});
    f.stockQuantity = stock.number(0, 0);
    // Problem pairs are one pair a row, valued at the row's purchase price.
    ResultSet problem = db_.exec(
        QStringLiteral("SELECT SUM(Quantity),SUM(BuyPrice) FROM BackStore WHERE ShopNo=? AND IsBackFactory=0"), {shop});
    f.problemQuantity = problem.number(0, 0);
    f.stockCost = Money::fromVariant(stock.value(0, 1)) + Money::fromVariant(problem.value(0, 1));

    ResultSet other = db_.exec(
        QStringLiteral("SELECT SUM(Amount) FROM OtherOut WHERE ShopNo=? AND DateTime>=? AND DateTime<=?"), ranged);
    f.otherExpenses = Money::fromVariant(other.value(0, 0));
    return f;
}

}  // namespace kestavion
