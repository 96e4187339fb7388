#include "reports/stock_query.h"

#include "foundation/refusal.h"

namespace kestavion {

namespace {
const QString kKey = QStringLiteral("StoreQuery");
const QString kSellableColumns = QStringLiteral(
    "SELECT TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Leather AS 面料,Grade AS 等级,ProductPlace AS 产地,"
    "Colour AS 颜色,Size AS 尺码,Quantity AS 数量,Price AS 零售价,GoodsBlock AS 货柜号,GoodsFloor AS 柜层 "
    "FROM Store WHERE ShopNo=?");
// Goods rows of one article, colour and size by their key, so both engines list them alike.
const QString kSellableOrder = QStringLiteral(" ORDER BY TypeNo,Colour,Size,GUID");
}  // namespace

ResultSet StockQuery::shopStock() {
    requirePermission(session_, kKey);
    return db_.exec(kSellableColumns + kSellableOrder, {session_.shopNo});
}

ResultSet StockQuery::filter(const ResultSet &all, const QString &typeNoPart, bool hideZero) {
    const int typeCol = all.columnIndex(QStringLiteral("货号"));
    const int qtyCol = all.columnIndex(QStringLiteral("数量"));
    std::vector<QVariantList> rows;
    rows.reserve(typeNoPart.isEmpty() ? all.rows().size() : 64);
    // The rows of one article stand together: its number is matched once per run.
    QString runType;
    bool runMatches = false, started = false;
    for (const QVariantList &r : all.rows()) {
        if (hideZero && qtyCol >= 0 && !(r.value(qtyCol).toDouble() > 0)) continue;
        if (!typeNoPart.isEmpty()) {
            if (typeCol < 0) continue;
            const QVariant &v = r.at(typeCol);
            const QString *type = v.typeId() == QMetaType::QString ? static_cast<const QString *>(v.constData()) : nullptr;
            const QString text = type ? QString() : v.toString();
            const QString &t = type ? *type : text;
            if (!started || t != runType) {
                started = true;
                runType = t;
                runMatches = t.contains(typeNoPart, Qt::CaseInsensitive);
            }
            if (!runMatches) continue;
        }
        rows.push_back(r);
    }
    return ResultSet(all.columns(), std::move(rows));
}

ResultSet StockQuery::byKindBrand(const QString &kind, const QString &brand, bool hideZero) {
    requirePermission(session_, kKey);
    QString sql = kSellableColumns;
    QVariantList params{session_.shopNo};
    if (!kind.isEmpty()) {
        sql += QStringLiteral(" AND Name=?");
        params << kind;
    }
    if (!brand.isEmpty()) {
        sql += QStringLiteral(" AND Brand=?");
        params << brand;
    }
    if (hideZero) sql += QStringLiteral(" AND Quantity>0");
    return db_.exec(sql + kSellableOrder, params);
}

ResultSet StockQuery::problemStock() {
    // Pairs of one article in the order they were set aside, on every engine.
    requirePermission(session_, kKey);
    return db_.exec(QStringLiteral("SELECT TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Leather AS 面料,Grade AS 等级,"
                                   "ProductPlace AS 产地,BuyPrice AS 进价,Colour AS 颜色,Size AS 尺码,"
                                   "Quantity AS 数量,BackResion AS 问题 FROM BackStore "
                                   "WHERE ShopNo=? AND IsBackFactory=0 ORDER BY TypeNo,ID"),
                    {session_.shopNo});
}

}  // namespace kestavion
