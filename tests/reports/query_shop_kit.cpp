#include "reports/query_shop_kit.h"

#include "aftersales/customer_exchange.h"
#include "aftersales/customer_return.h"
#include "aftersales/problem_stock.h"
#include "foundation/guid.h"
#include "foundation/numbers.h"
#include "foundation/ui/grid.h"
#include "intake/goods_intake.h"
#include "selling/checkout.h"

namespace kestavion::test {

QString QueryShopTest::takeIn(const Article &a) {
    GoodsIntake in;
    in.typeNo = a.typeNo;
    in.name = a.kind;
    in.brand = a.brand;
    in.size = a.size;
    in.colour = a.colour;
    in.leather = QStringLiteral("牛皮");
    in.grade = QStringLiteral("合格品");
    in.place = QStringLiteral("温州");
    in.quantity = a.quantity;
    in.retailPrice = a.retail;
    in.buyPrice = a.buyPrice;
    in.date = QDate(2026, 11, 1);
    return GoodsIntakeService(*db, a.shopNo.isEmpty() ? ctx.session.shopNo : a.shopNo).takeInNew(in);
}

QString QueryShopTest::sell(const QString &goods, const QDate &date, double amount) {
    ResultSet g = db->exec(QStringLiteral("SELECT * FROM Store WHERE GUID=?"), {goods});
    SaleLine line;
    line.goods = saleGoodsOf(g, goods);
    line.price = Money::fromDouble(g.number(QStringLiteral("Price")));
    line.abate = amount == g.number(QStringLiteral("Price")) ? kFullPrice : kSpecialPrice;
    line.amount = qint64(amount);
    clock.setDate(date);
    return Checkout(*db, ctx.session, clock).commit({line}, Money::fromWhole(qint64(amount))).rows.at(0).sellGuid;
}

// The history planted here is what the shop recorded; the day limits of the delivered
// rules do not hold it back.
void QueryShopTest::returnPair(const QString &sale, const QDate &date, bool intoProblemStock) {
    clock.setDate(date);
    setRule(QStringLiteral("BackDays"), 0);
    CustomerReturn(*db, ctx.session, clock)
        .returnPair(sale, intoProblemStock ? CustomerReturn::Into::ProblemStock : CustomerReturn::Into::NormalStock,
                    QStringLiteral("尺码不合适"));
}

void QueryShopTest::voidSale(const QString &sale, const QDate &date) {
    clock.setDate(date);
    SaleVoid(*db, ctx.session, clock).voidRow(sale, QStringLiteral("收银错误"));
}

void QueryShopTest::exchange(const QString &sale, const QString &replacement, double amount, const QDate &date) {
    clock.setDate(date);
    setRule(QStringLiteral("ChangeDays"), 0);
    CustomerExchange(*db, ctx.session, clock)
        .commit({{sale, QStringLiteral("颜色不合适"), replacement, QStringLiteral("全"), Money::fromDouble(amount)}});
}

qint64 QueryShopTest::setAside(const QString &goods, qint64 pairs, const QString &problem) {
    ProblemStock(*db, ctx.session).setAside({{goods, pairs, problem}});
    return db->scalar(QStringLiteral("SELECT max(ID) FROM BackStore")).toLongLong();
}

void QueryShopTest::sendToFactory(qint64 problemId, const QDate &date) {
    const double value = db->scalar(QStringLiteral("SELECT BuyPrice FROM BackStore WHERE ID=?"), {problemId}).toDouble();
    ProblemStock(*db, ctx.session).returnToFactory({problemId}, date, Money::fromDouble(value));
}

void QueryShopTest::plantOtherShopSale(const QDate &date) {
    db->exec(QStringLiteral("INSERT INTO Sell (GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,"
                            "ProductPlace,Quantity,Price,Abate,Amount,BuyPrice,Seller,DateTime,SellNo,BuyPriceId,"
                            "SellerName,State) VALUES (?,?,?,?,?,?,?,?,?,?,?,1,300,'全',300,100,'x',?,'1','1','x',0)"),
             {newGuid(), newGuid(), QStringLiteral("{OTHER-SHOP}"), QStringLiteral("OTHER1"), QStringLiteral("女单鞋"),
              QStringLiteral("自有品牌"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("牛皮"),
              QStringLiteral("合格品"), QStringLiteral("温州"), date.toString(Qt::ISODate)});
}

QStringList QueryShopTest::column(const Grid *grid, const QString &key) {
    QStringList out;
    const int c = grid->colIndex(key);
    for (int r = 1; r < grid->rows(); ++r) out << grid->textMatrix(r, c);
    return out;
}

QStringList QueryShopTest::column0(const Grid *grid) {
    QStringList out;
    for (int r = 1; r < grid->rows(); ++r) out << grid->textMatrix(r, 0);
    return out;
}

QStringList QueryShopTest::column(const ResultSet &rs, const QString &name) {
    QStringList out;
    for (int r = 0; r < rs.rowCount(); ++r) out << rs.text(r, name);
    return out;
}

}  // namespace kestavion::test
