#include "day_end_kit.h"

#include "aftersales/customer_exchange.h"
#include "aftersales/customer_return.h"
#include "aftersales/sale_rows.h"
#include "intake/goods_intake.h"
#include "selling/checkout.h"

namespace kestavion::test {

QString DayEndTest::takeIn(const QString &typeNo, double retail, double quantity, double buyPrice,
                           const QDate &date) {
    GoodsIntake in;
    in.typeNo = typeNo;
    in.name = QStringLiteral("女单鞋");
    in.brand = QStringLiteral("自有品牌");
    in.size = QStringLiteral("37");
    in.colour = QStringLiteral("黑色");
    in.leather = QStringLiteral("牛皮");
    in.grade = QStringLiteral("合格品");
    in.place = QStringLiteral("温州");
    in.quantity = quantity;
    in.retailPrice = retail;
    in.buyPrice = buyPrice;
    in.date = date;
    return GoodsIntakeService(*db, ctx.session.shopNo).takeInNew(in);
}

std::vector<QString> DayEndTest::sell(const std::vector<Pair> &pairs, const QDate &date) {
    clock.setDate(date);
    std::vector<SaleLine> lines;
    Money total;
    for (const Pair &p : pairs) {
        SaleLine l;
        l.goods = saleGoodsOf(readShopGoods(*db, ctx.session.shopNo, p.goods), p.goods);
        l.price = Money::fromDouble(p.retail);
        l.abate = p.abate;
        l.amount = p.amount < 0 ? static_cast<qint64>(p.retail) : p.amount;
        total += Money::fromWhole(l.amount);
        lines.push_back(l);
    }
    const CheckoutResult r = Checkout(*db, ctx.session, clock).commit(lines, total);
    std::vector<QString> keys;
    for (const auto &row : r.rows) keys.push_back(row.sellGuid);
    return keys;
}

void DayEndTest::exchange(const QString &sellGuid, const QString &replacement, qint64 amount, const QDate &date) {
    clock.setDate(date);
    CustomerExchange(*db, ctx.session, clock)
        .commit({{sellGuid, QStringLiteral("尺码不合适"), replacement, QStringLiteral("全"), Money::fromWhole(amount)}});
}

void DayEndTest::returnPair(const QString &sellGuid, bool toProblemStock, const QDate &date) {
    clock.setDate(date);
    CustomerReturn(*db, ctx.session, clock)
        .returnPair(sellGuid, toProblemStock ? CustomerReturn::Into::ProblemStock : CustomerReturn::Into::NormalStock,
                    QStringLiteral("开胶"));
}

void DayEndTest::voidSale(const QString &sellGuid, const QDate &date) {
    clock.setDate(date);
    SaleVoid(*db, ctx.session, clock).voidRow(sellGuid, QStringLiteral("输错"));
}

}  // namespace kestavion::test
