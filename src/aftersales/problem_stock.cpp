#include "aftersales/problem_stock.h"

#include "aftersales/sale_rows.h"
#include "foundation/numbers.h"
#include "foundation/refusal.h"
#include "stock/goods_order.h"
#include "stock/stock_ledger.h"

namespace kestavion {

namespace {
const QString kGoodsColumns = QStringLiteral(
    "SELECT GUID,TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,Leather AS 面料,"
    "Grade AS 等级,ProductPlace AS 产地,Quantity AS 数量,Price AS 零售价 FROM Store ");
}

ResultSet ProblemStock::goodsInStock(const QString &permission) {
    requirePermission(session_, permission);
    return db_.exec(kGoodsColumns + QStringLiteral("WHERE ShopNo=? AND Quantity>0") + kGoodsListOrder,
                    {session_.shopNo});
}

void ProblemStock::scanGoodsInStock(const QString &permission, const std::function<void(const RowView &)> &fn) {
    requirePermission(session_, permission);
    db_.scan(kGoodsColumns + QStringLiteral("WHERE ShopNo=? AND Quantity>0") + kGoodsListOrder, {session_.shopNo}, fn);
}

const QStringList &ProblemStock::goodsColumns() {
    static const QStringList c = {QStringLiteral("GUID"), QStringLiteral("货号"), QStringLiteral("种类"),
                                  QStringLiteral("品牌"), QStringLiteral("尺码"), QStringLiteral("颜色"),
                                  QStringLiteral("面料"), QStringLiteral("等级"), QStringLiteral("产地"),
                                  QStringLiteral("数量"), QStringLiteral("零售价")};
    return c;
}

ResultSet ProblemStock::goodsByTypeNo(const QString &typeNo) {
    requirePermission(session_, QStringLiteral("Question"));
    return db_.exec(kGoodsColumns + QStringLiteral("WHERE TypeNo=? AND ShopNo=?") + kGoodsListOrder, {typeNo, session_.shopNo});
}

void ProblemStock::setAside(const std::vector<ProblemLine> &lines) {
    requirePermission(session_, QStringLiteral("Question"));
    if (lines.empty()) return;
    Transaction tx(db_);
    StockLedger stock(db_);
    QStringList moved;
    for (const ProblemLine &line : lines) moved << line.storeGuid;
    stock.lock(moved);
    for (const ProblemLine &line : lines) {
        ResultSet goods = readShopGoods(db_, session_.shopNo, line.storeGuid);
        if (goods.empty() || line.quantity < 1 || goods.number(QStringLiteral("Quantity")) < line.quantity)
            throw Refusal(kNotEnoughStock, Refusal::Icon::Info, kAppTitle);
        Money value;
        for (qint64 i = 0; i < line.quantity; ++i)
            value += stock.takeFromLot(line.storeGuid, session_.rules.SellOrder).price;
        stock.take(line.storeGuid, line.quantity);
        db_.exec(QStringLiteral("INSERT INTO BackStore (GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,"
                                "ProductPlace,Quantity,BuyPrice,BackResion,Seller,SellName,IsBackFactory,"
                                "BackFactoryDate) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,NULL)"),
                 QVariantList{line.storeGuid, session_.shopNo} + goodsDescription(goods) +
                     QVariantList{line.quantity, value.toDouble(), line.problem, session_.user.No,
                                  session_.user.Name});
    }
    tx.commit();
}

namespace {
const QString kOpenRowsSql = QStringLiteral(
    "SELECT ID,TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,"
    "Leather AS 面料,Grade AS 等级,ProductPlace AS 产地,BuyPrice AS 进价,"
    "Quantity AS 数量,BackResion AS 问题 FROM BackStore "
    "WHERE ShopNo=? AND IsBackFactory=0 ORDER BY TypeNo,ID");
}  // namespace

ResultSet ProblemStock::openRows() {
    requirePermission(session_, QStringLiteral("FactoryBack"));
    return db_.exec(kOpenRowsSql, {session_.shopNo});
}

void ProblemStock::scanOpenRows(const std::function<void(const RowView &)> &fn) {
    requirePermission(session_, QStringLiteral("FactoryBack"));
    db_.scan(kOpenRowsSql, {session_.shopNo}, fn);
}

const QStringList &ProblemStock::openRowColumns() {
    static const QStringList c = {QStringLiteral("ID"),   QStringLiteral("货号"), QStringLiteral("种类"),
                                  QStringLiteral("品牌"), QStringLiteral("尺码"), QStringLiteral("颜色"),
                                  QStringLiteral("面料"), QStringLiteral("等级"), QStringLiteral("产地"),
                                  QStringLiteral("进价"), QStringLiteral("数量"), QStringLiteral("问题")};
    return c;
}

qint64 ProblemStock::returnToFactory(const std::vector<qint64> &ids, const QDate &date, Money amount) {
    requirePermission(session_, QStringLiteral("FactoryBack"));
    Transaction tx(db_);
    qint64 pairs = 0;
    for (qint64 id : ids) {
        ResultSet rs = db_.exec(
            QStringLiteral("SELECT Quantity FROM BackStore WHERE ID=? AND ShopNo=? AND IsBackFactory=0"),
            {id, session_.shopNo});
        if (rs.empty()) throw Refusal(kProblemRowGone, Refusal::Icon::Info, kAppTitle);
        pairs = roundHalfEven(static_cast<double>(pairs) + rs.number(QStringLiteral("Quantity")));
    }
    if (pairs < 1) throw Refusal(kNothingToReturn, Refusal::Icon::Info, kAppTitle);
    db_.exec(QStringLiteral("INSERT INTO FactoryBackTotal (DateTime,Seller,SellerNo,Quantity,Amount,ShopNo) "
                            "VALUES (?,?,?,?,?,?)"),
             {date, session_.user.No, session_.user.Name, pairs, amount.toDouble(), session_.shopNo});
    for (qint64 id : ids)
        db_.exec(QStringLiteral("UPDATE BackStore SET IsBackFactory=1,BackFactoryDate=? WHERE ID=?"), {date, id});
    tx.commit();
    return pairs;
}

}  // namespace kestavion
