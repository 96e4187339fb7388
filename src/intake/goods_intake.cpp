#include "intake/goods_intake.h"

#include "foundation/guid.h"
#include "foundation/numbers.h"
#include "foundation/refusal.h"
#include "stock/goods_order.h"

namespace kestavion {

namespace {

const QString kListSql = QStringLiteral(
    "SELECT GUID,TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,Leather AS 面料,"
    "Grade AS 等级,ProductPlace AS 产地,Quantity AS 数量,GoodsBlock AS 货柜号,GoodsFloor AS 柜层 "
    "FROM Store WHERE ShopNo=?") + kGoodsListOrder;

}  // namespace

GoodsRow GoodsRow::fromIntake(const QString &guid, const GoodsIntake &in) {
    GoodsRow r;
    r.guid = guid;
    r.typeNo = in.typeNo;
    r.name = in.name;
    r.brand = in.brand;
    r.size = in.size;
    r.colour = in.colour;
    r.leather = in.leather;
    r.grade = in.grade;
    r.place = in.place;
    r.quantity = in.quantity;
    r.block = in.block;
    r.floor = in.floor;
    return r;
}

QStringList GoodsRow::cells() const {
    return {QString(), guid, typeNo, name, brand, size, colour, leather, grade, place, formatNumber(quantity),
            block, floor};
}

QString GoodsRow::tabText() const { return cells().join(QLatin1Char('\t')); }

void GoodsIntakeService::checkPermission() const {
    if (session_ && !permission_.isEmpty()) requirePermission(*session_, permission_);
}

ResultSet GoodsIntakeService::goodsList() {
    checkPermission();
    return db_.exec(kListSql, {shopNo_});
}

void GoodsIntakeService::scanGoodsList(const std::function<void(const RowView &)> &fn) {
    checkPermission();
    db_.scan(kListSql, {shopNo_}, fn);
}

const QStringList &GoodsIntakeService::goodsListColumns() {
    static const QStringList c = [] {
        QStringList l;
        for (const char *h : kGoodsListColumns) l << QString::fromUtf8(h);
        return l;
    }();
    return c;
}

QString insertGoodsRows(Database &db, const QString &shopNo, const GoodsIntake &in, QString *recordGuid) {
    const QString goods = newGuid();
    db.exec(QStringLiteral("INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,"
                            "ProductPlace,Quantity,Price,GoodsBlock,GoodsFloor) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {goods, shopNo, in.typeNo, in.name, in.brand, in.size, in.colour, in.leather, in.grade, in.place,
             in.quantity, in.retailPrice, in.block, in.floor});
    const QString record = insertIntakeRecord(db, shopNo, goods, in);
    if (recordGuid) *recordGuid = record;
    return goods;
}

QString insertIntakeRecord(Database &db, const QString &shopNo, const QString &goodsGuid, const GoodsIntake &in) {
    const QString date = in.date.toString(Qt::ISODate);
    const QString record = newGuid();
    db.exec(QStringLiteral("INSERT INTO StoreDetail (GUID,ParentGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,"
                            "Grade,Price,Quantity,ProductPlace,Memo,DateTime) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {record, goodsGuid, shopNo, in.typeNo, in.name, in.brand, in.size, in.colour, in.leather, in.grade,
             in.buyPrice, in.quantity, in.place, in.memo, date});
    db.exec(QStringLiteral("INSERT INTO BuyPrice (StoreGUID,Price,Quantity,sDate,ShopNo) VALUES (?,?,?,?,?)"),
            {goodsGuid, in.buyPrice, in.quantity, date, shopNo});
    return record;
}

QString GoodsIntakeService::takeInNew(const GoodsIntake &in) {
    checkPermission();
    Transaction tx(db_);
    QString guid = insertGoodsRows(db_, shopNo_, in);
    tx.commit();
    return guid;
}

std::vector<QString> GoodsIntakeService::takeInBatch(const std::vector<GoodsIntake> &batch,
                                                     const std::function<void(std::size_t written)> &progress) {
    checkPermission();
    std::vector<QString> keys;
    keys.reserve(batch.size());
    Transaction tx(db_);
    for (const GoodsIntake &in : batch) {
        keys.push_back(insertGoodsRows(db_, shopNo_, in));
        if (progress) progress(keys.size());
    }
    tx.commit();
    return keys;
}

void GoodsIntakeService::restock(const GoodsRow &goods, double buyPrice, double quantity, const QDate &date) {
    checkPermission();
    Transaction tx(db_);
    db_.exec(QStringLiteral("UPDATE Store SET Quantity=Quantity+? WHERE GUID=?"), {quantity, goods.guid});
    if (db_.changes() != 1)
        throw Refusal(QStringLiteral("货品 %1 在库存中已不存在。").arg(goods.typeNo), Refusal::Icon::Warning, kAppTitle);
    GoodsIntake in;
    in.typeNo = goods.typeNo;
    in.name = goods.name;
    in.brand = goods.brand;
    in.size = goods.size;
    in.colour = goods.colour;
    in.leather = goods.leather;
    in.grade = goods.grade;
    in.place = goods.place;
    in.quantity = quantity;
    in.buyPrice = buyPrice;
    in.date = date;
    insertIntakeRecord(db_, shopNo_, goods.guid, in);
    tx.commit();
}

}  // namespace kestavion
