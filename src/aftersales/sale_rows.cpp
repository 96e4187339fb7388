#include "aftersales/sale_rows.h"

#include "foundation/guid.h"
#include "foundation/refusal.h"

namespace kestavion {

namespace {

QString selectList(const QString &amountHeading) {
    return QStringLiteral(
               "SELECT GUID,StoreGUID,ShopNo,BuyPrice,BuyPriceId,SellNo,State,TypeNo AS 货号,Name AS 种类,"
               "Brand AS 品牌,Size AS 尺码,Colour AS 颜色,Leather AS 面料,Grade AS 等级,ProductPlace AS 产地,"
               "Quantity AS 数量,Price AS 零售价,Abate AS 折扣,Amount AS %1,SellerName AS 销售员,"
               "DateTime AS 销售日期 FROM Sell ")
        .arg(amountHeading);
}

const QString kSpecial = QStringLiteral("特价");
const QString kFull = QStringLiteral("全");

}  // namespace

namespace {
// The conditions of a sale search, without ORDER BY. `State` is compared as an
// expression (+State) so that no index is chosen for it: the search then goes through
// an index that also yields the list order (SellNo, GUID) and stops after a page,
// instead of collecting the whole day or article to sort it.
QString saleSearchWhere(const QString &shopNo, const SaleSearch &search, const QString &amountHeading,
                        QVariantList &params) {
    QStringList conditions;
    if (search.date) {
        conditions << QStringLiteral("DateTime=?");
        params << *search.date;
    }
    if (search.sellNo) {
        conditions << QStringLiteral("SellNo=?");
        params << *search.sellNo;
    }
    if (search.typeNo) {
        conditions << QStringLiteral("TypeNo=?");
        params << *search.typeNo;
    }
    conditions << QStringLiteral("ShopNo=?") << QStringLiteral("+State<2");
    params << shopNo;
    return selectList(amountHeading) + QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "));
}

const QString kListOrder = QStringLiteral(" ORDER BY SellNo,GUID");

QString saleSearchSql(const QString &shopNo, const SaleSearch &search, const QString &amountHeading,
                      QVariantList &params) {
    return saleSearchWhere(shopNo, search, amountHeading, params) + kListOrder;
}

// The page of rows after `after` in list order. A search by sale number has one
// SellNo, so the rows after a key are those with a greater GUID; otherwise they are the
// rows with a greater SellNo or the same SellNo and a greater GUID, written so that the
// index's range starts at that SellNo on both engines.
QString salePageSql(const QString &shopNo, const SaleSearch &search, const QString &amountHeading,
                    const std::optional<SaleRowKey> &after, int limit, QVariantList &params) {
    QString sql = saleSearchWhere(shopNo, search, amountHeading, params);
    if (after) {
        if (search.sellNo) {
            sql += QStringLiteral(" AND GUID>?");
            params << after->guid;
        } else {
            sql += QStringLiteral(" AND SellNo>=? AND (SellNo>? OR GUID>?)");
            params << after->sellNo << after->sellNo << after->guid;
        }
    }
    params << limit;
    return sql + kListOrder + QStringLiteral(" LIMIT ?");
}

// Fields of the search's select list that make a row's key.
constexpr int kGuidField = 0;
constexpr int kSellNoField = 5;
}  // namespace

ResultSet findSaleRows(Database &db, const QString &shopNo, const SaleSearch &search, const QString &amountHeading) {
    QVariantList params;
    const QString sql = saleSearchSql(shopNo, search, amountHeading, params);
    return db.exec(sql, params);
}

ResultSet findSaleRows(Database &db, const Session &session, const QString &permission, const SaleSearch &search,
                       const QString &amountHeading) {
    requirePermission(session, permission);
    return findSaleRows(db, session.shopNo, search, amountHeading);
}

void scanSaleRows(Database &db, const Session &session, const QString &permission, const SaleSearch &search,
                  const QString &amountHeading, const std::function<void(const RowView &)> &fn) {
    requirePermission(session, permission);
    QVariantList params;
    const QString sql = saleSearchSql(session.shopNo, search, amountHeading, params);
    db.scan(sql, params, fn);
}

int scanSaleRowPage(Database &db, const Session &session, const QString &permission, const SaleSearch &search,
                    const QString &amountHeading, std::optional<SaleRowKey> &after, int limit,
                    const std::function<void(const RowView &)> &fn) {
    requirePermission(session, permission);
    QVariantList params;
    const QString sql = salePageSql(session.shopNo, search, amountHeading, after, limit, params);
    int n = 0;
    SaleRowKey last;
    db.scan(sql, params, [&](const RowView &row) {
        fn(row);
        ++n;
        if (n == limit) {  // only the last row's key is needed: read it once
            last.guid = QString::fromUtf8(row.utf8(kGuidField));
            last.sellNo = QString::fromUtf8(row.utf8(kSellNoField));
        }
    });
    if (n == limit) after = last;
    return n;
}

QStringList saleRowColumns(const QString &amountHeading) {
    return {QStringLiteral("GUID"), QStringLiteral("StoreGUID"), QStringLiteral("ShopNo"), QStringLiteral("BuyPrice"),
            QStringLiteral("BuyPriceId"), QStringLiteral("SellNo"), QStringLiteral("State"), QStringLiteral("货号"),
            QStringLiteral("种类"), QStringLiteral("品牌"), QStringLiteral("尺码"), QStringLiteral("颜色"),
            QStringLiteral("面料"), QStringLiteral("等级"), QStringLiteral("产地"), QStringLiteral("数量"),
            QStringLiteral("零售价"), QStringLiteral("折扣"), amountHeading, QStringLiteral("销售员"),
            QStringLiteral("销售日期")};
}

ResultSet emptySaleRows(Database &db, const QString &amountHeading) {
    return db.exec(selectList(amountHeading) + QStringLiteral("WHERE 1=0"));
}

std::optional<SaleRow> readValidSaleRow(Database &db, const QString &shopNo, const QString &sellGuid) {
    ResultSet rs = db.exec(
        QStringLiteral("SELECT GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,"
                       "Quantity,Price,Abate,Amount,BuyPrice,Seller,DateTime,SellNo,BuyPriceId,SellerName,State "
                       "FROM Sell WHERE GUID=? AND ShopNo=? AND State<2") +
            db.forUpdate(),
        {sellGuid, shopNo});
    if (rs.empty()) return std::nullopt;
    SaleRow r;
    r.guid = rs.text(QStringLiteral("GUID"));
    r.storeGuid = rs.text(QStringLiteral("StoreGUID"));
    r.shopNo = rs.text(QStringLiteral("ShopNo"));
    r.typeNo = rs.text(QStringLiteral("TypeNo"));
    r.name = rs.text(QStringLiteral("Name"));
    r.brand = rs.text(QStringLiteral("Brand"));
    r.size = rs.text(QStringLiteral("Size"));
    r.colour = rs.text(QStringLiteral("Colour"));
    r.leather = rs.text(QStringLiteral("Leather"));
    r.grade = rs.text(QStringLiteral("Grade"));
    r.place = rs.text(QStringLiteral("ProductPlace"));
    r.quantity = rs.number(QStringLiteral("Quantity"));
    r.price = Money::fromVariant(rs.value(0, QStringLiteral("Price")));
    r.abate = rs.text(QStringLiteral("Abate"));
    r.amount = Money::fromVariant(rs.value(0, QStringLiteral("Amount")));
    r.buyPrice = Money::fromVariant(rs.value(0, QStringLiteral("BuyPrice")));
    r.seller = rs.text(QStringLiteral("Seller"));
    r.date = QDate::fromString(rs.text(QStringLiteral("DateTime")), Qt::ISODate);
    r.sellNo = rs.text(QStringLiteral("SellNo"));
    r.buyPriceId = rs.integer(QStringLiteral("BuyPriceId"));
    r.sellerName = rs.text(QStringLiteral("SellerName"));
    r.state = static_cast<int>(rs.integer(QStringLiteral("State")));
    return r;
}

QVariantList saleRowAsReadParams(const SaleRow &row) {
    return {row.guid, row.shopNo, row.state, row.storeGuid};
}

void requireSaleRowChanged(Database &db) {
    if (db.changes() != 1) throw Refusal(kSaleRowTaken, Refusal::Icon::Info, kAppTitle);
}

void changeSaleRowState(Database &db, const SaleRow &row, int state) {
    db.exec(QStringLiteral("UPDATE Sell SET State=?") + kSaleRowAsRead, QVariantList{state} + saleRowAsReadParams(row));
    requireSaleRowChanged(db);
}

ResultSet readShopGoods(Database &db, const QString &shopNo, const QString &storeGuid) {
    return db.exec(QStringLiteral("SELECT TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,Quantity,Price "
                                  "FROM Store WHERE GUID=? AND ShopNo=?"),
                   {storeGuid, shopNo});
}

QVariantList goodsDescription(const ResultSet &goods) {
    QVariantList v;
    for (const char *column : {"TypeNo", "Name", "Brand", "Size", "Colour", "Leather", "Grade", "ProductPlace"})
        v << goods.text(QString::fromLatin1(column));
    return v;
}

void insertSellChange(Database &db, const Session &session, const SaleRow &row, const QDate &today,
                      Money addAmount, int state, const QString &reason) {
    db.exec(QStringLiteral("INSERT INTO SellChange (GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,"
                           "Grade,ProductPlace,Quantity,Price,Abate,Amount,BuyPrice,Seller,Datetime,BuyPriceID,"
                           "SellerName,AddAmount,SellGUID,SellNo,ChangeDate,State,Resion) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {newGuid(), row.storeGuid, session.shopNo, row.typeNo, row.name, row.brand, row.size, row.colour,
             row.leather, row.grade, row.place, row.quantity, row.price.toDouble(), row.abate, row.amount.toDouble(), row.buyPrice.toDouble(),
             session.user.No, row.date, row.buyPriceId, session.user.Name, addAmount.toDouble(), row.guid, row.sellNo, today,
             state, reason});
}

bool pastDayLimit(const QDate &saleDate, const QDate &today, int limit) {
    if (limit == 0) return false;
    return saleDate.daysTo(today) + 1 > limit;
}

QString returnRefusal(const SellRules &rules, int state, const QString &abate, const QDate &saleDate,
                      const QDate &today) {
    if (rules.ChangNotToBack && state == kExchanged)
        return QStringLiteral("对不起该商品已经调换过不能再退货！");
    if (abate == kSpecial && rules.SpecialCanNotBack) return QStringLiteral("对不起！该商品是特价商品，您无法退货！");
    if (abate != kFull && abate != kSpecial && rules.AbateCanNotBack)
        return QStringLiteral("对不起！该商品是折扣商品，您无法退货！");
    if (pastDayLimit(saleDate, today, rules.BackDays))
        return QStringLiteral("很遗憾！该商品已经超过了规定的退货时间，您无法退货！");
    return {};
}

QString exchangeRefusal(const SellRules &rules, int state, const QString &abate, const QDate &saleDate,
                        const QDate &today) {
    if (rules.ChangeOneTime && state == kExchanged)
        return QStringLiteral("对不起，该商品已经调换过一次了，不能进行二次调换了！");
    if (abate == kSpecial && rules.SpecialCanNotChange) return QStringLiteral("对不起！该商品是特价商品，您无法调换！");
    if (abate != kFull && abate != kSpecial && rules.AbateCanNotChange)
        return QStringLiteral("对不起！该商品是折扣商品，您无法调换！");
    if (pastDayLimit(saleDate, today, rules.ChangeDays))
        return QStringLiteral("很遗憾！该商品已经超过了规定的调货时间，您无法调换！");
    return {};
}

}  // namespace kestavion
