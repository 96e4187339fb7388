#include "intake/intake_history.h"

#include "stock/stock_ledger.h"

#include "foundation/refusal.h"

#include <cmath>

namespace kestavion {

namespace {
const QString kBuyDetail = QStringLiteral("BuyDetail");
}

const QStringList &IntakeHistory::listColumns() {
    static const QStringList c = {QStringLiteral("货号"), QStringLiteral("种类"), QStringLiteral("品牌"),
                                  QStringLiteral("尺码"), QStringLiteral("颜色"), QStringLiteral("面料"),
                                  QStringLiteral("等级"), QStringLiteral("产地"), QStringLiteral("数量"),
                                  QStringLiteral("进价"), QStringLiteral("备注"), QStringLiteral("进货日期"),
                                  QStringLiteral("ParentGUID"), QStringLiteral("GUID")};
    return c;
}

QString IntakeHistory::listSql(const IntakeFilter &filter, QVariantList &params) const {
    QString sql = QStringLiteral(
        "SELECT TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,Leather AS 面料,"
        "Grade AS 等级,ProductPlace AS 产地,Quantity AS 数量,Price AS 进价,Memo AS 备注,DateTime AS 进货日期,"
        "ParentGUID,GUID FROM StoreDetail WHERE ShopNo=?");
    params = {shopNo_};
    if (filter.byDate) {
        sql += QStringLiteral(" AND DateTime BETWEEN ? AND ?");
        params << filter.from.toString(Qt::ISODate) << filter.to.toString(Qt::ISODate);
    }
    if (filter.byTypeNo) {
        sql += QStringLiteral(" AND TypeNo=?");
        params << filter.typeNo;
    }
    // The order of the index the read goes through, then the goods and the key, so
    // that both engines list one article's (or one day's) intakes alike.
    sql += filter.byDate && !filter.byTypeNo ? QStringLiteral(" ORDER BY DateTime,TypeNo,Size,Colour,GUID")
                                             : QStringLiteral(" ORDER BY TypeNo,DateTime,Size,Colour,GUID");
    return sql;
}

ResultSet IntakeHistory::list(const IntakeFilter &filter) {
    requirePermission(session_, kBuyDetail);
    QVariantList params;
    const QString sql = listSql(filter, params);
    return db_.exec(sql, params);
}

void IntakeHistory::scan(const IntakeFilter &filter, const std::function<void(const RowView &)> &fn) {
    requirePermission(session_, kBuyDetail);
    QVariantList params;
    const QString sql = listSql(filter, params);
    db_.scan(sql, params, fn);
}

bool IntakeHistory::goodsExists(const QString &goodsGuid) {
    requirePermission(session_, kBuyDetail);
    return !db_.exec(QStringLiteral("SELECT 1 FROM Store WHERE GUID=?"), {goodsGuid}).empty();
}

double IntakeHistory::retailPrice(const QString &goodsGuid) {
    requirePermission(session_, kBuyDetail);
    ResultSet rs = db_.exec(QStringLiteral("SELECT Price FROM Store WHERE GUID=?"), {goodsGuid});
    return rs.empty() ? 0.0 : rs.number(0, 0);
}

bool IntakeHistory::readRecord(const QString &recordGuid, Record &out) {
    ResultSet rs = db_.exec(
        QStringLiteral("SELECT ParentGUID,Quantity,Price,DateTime FROM StoreDetail WHERE GUID=?"), {recordGuid});
    if (rs.empty()) return false;
    out.goodsGuid = rs.text(0, 0);
    out.quantity = rs.number(0, 1);
    out.price = rs.number(0, 2);
    out.date = rs.text(0, 3);
    return true;
}

// The lot is the Goods' lot of the intake's date. Several intakes of one Goods on one
// day each have a lot of that date: the untouched lot of the same price and quantity
// is taken first, then one of the same price, then the oldest, so deleting one intake
// never removes another intake's lot.
IntakeLot IntakeHistory::findLot(const Record &rec) {
    ResultSet rs = db_.exec(QStringLiteral("SELECT ID,Quantity FROM BuyPrice WHERE StoreGUID=? AND sDate=? "
                                           "ORDER BY CASE WHEN Price=? AND Quantity=? THEN 0 "
                                           "WHEN Price=? THEN 1 ELSE 2 END, ID LIMIT 1"),
                            {rec.goodsGuid, rec.date, rec.price, rec.quantity, rec.price});
    IntakeLot lot;
    if (rs.empty()) return lot;
    lot.id = rs.integer(0, 0);
    lot.sold = rec.quantity > rs.number(0, 1);
    return lot;
}

IntakeLot IntakeHistory::findLot(const QString &recordGuid) {
    requirePermission(session_, kBuyDetail);
    Record rec;
    if (!readRecord(recordGuid, rec)) return {};
    return findLot(rec);
}

IntakeChange IntakeHistory::removeIn(const QString &recordGuid, double *retailPrice) {
    Record rec;
    if (!readRecord(recordGuid, rec)) return IntakeChange::NoGoods;
    StockLedger stock(db_);
    stock.lock({rec.goodsGuid});
    ResultSet goods = db_.exec(QStringLiteral("SELECT Quantity,Price FROM Store WHERE GUID=?"), {rec.goodsGuid});
    if (goods.empty()) return IntakeChange::NoGoods;
    const IntakeLot lot = findLot(rec);
    if (lot.sold) return IntakeChange::Sold;
    if (retailPrice) *retailPrice = goods.number(0, 1);
    db_.exec(QStringLiteral("DELETE FROM StoreDetail WHERE GUID=?"), {recordGuid});
    db_.exec(QStringLiteral("DELETE FROM BuyPrice WHERE ID=?"), {lot.id});
    // Exact comparison of the quantities: fractional stock is not rounded away.
    if (goods.number(0, 0) == rec.quantity)
        db_.exec(QStringLiteral("DELETE FROM Store WHERE GUID=?"), {rec.goodsGuid});
    else
        stock.take(rec.goodsGuid, rec.quantity);
    return IntakeChange::Done;
}

IntakeChange IntakeHistory::remove(const QString &recordGuid) {
    requirePermission(session_, kBuyDetail);
    Transaction tx(db_);
    const IntakeChange out = removeIn(recordGuid, nullptr);
    if (out == IntakeChange::Done) tx.commit();
    return out;
}

CorrectionResult IntakeHistory::correct(const QString &recordGuid, const GoodsIntake &values) {
    requirePermission(session_, kBuyDetail);
    CorrectionResult result;
    Transaction tx(db_);
    double price = 0;
    result.outcome = removeIn(recordGuid, &price);
    if (result.outcome != IntakeChange::Done) return result;
    GoodsIntake in = values;
    in.retailPrice = price;
    in.block.clear();
    in.floor.clear();
    result.goodsGuid = insertGoodsRows(db_, shopNo_, in, &result.recordGuid);
    tx.commit();
    return result;
}

}  // namespace kestavion
