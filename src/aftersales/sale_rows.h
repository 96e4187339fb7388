#pragma once

#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/session.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kestavion {

// One Sell row (one pair) as the after-sales operations read it.
struct SaleRow {
    QString guid;
    QString storeGuid;
    QString shopNo;
    QString typeNo, name, brand, size, colour, leather, grade, place;
    double quantity = 1;
    Money price;        // retail price
    QString abate;      // "全", a discount figure or "特价"
    Money amount;       // money charged for the pair
    Money buyPrice;
    QString seller;
    QDate date;         // sale date
    QString sellNo;
    qint64 buyPriceId = 0;
    QString sellerName;
    int state = 0;
};

// Sale states.
enum SaleState { kSold = 0, kExchanged = 1, kReturned = 2, kVoided = 3 };

// What the return, exchange and void screens search by; at least one is set.
struct SaleSearch {
    std::optional<QDate> date;
    std::optional<QString> sellNo;
    std::optional<QString> typeNo;
};

// Sale rows of the shop still valid (sold or exchanged) that match every given
// condition, with the columns the after-sales grids show: GUID, StoreGUID, ShopNo,
// BuyPrice, BuyPriceId, SellNo, State, then 货号 … 零售价, 折扣, `amountHeading`
// ("金额" or "应收金额"), 销售员, 销售日期.
ResultSet findSaleRows(Database &db, const QString &shopNo, const SaleSearch &search,
                       const QString &amountHeading = QStringLiteral("金额"));
// The same for a screen of a gated entry: first checks that entry's key
// ("ClientBack", "ClientChange", "SellBlankOut") for the session's user.
ResultSet findSaleRows(Database &db, const Session &session, const QString &permission, const SaleSearch &search,
                       const QString &amountHeading = QStringLiteral("金额"));
// The rows of the gated findSaleRows handed one by one to `fn` as they are read
// (nothing kept), in the order of saleRowColumns(amountHeading).
void scanSaleRows(Database &db, const Session &session, const QString &permission, const SaleSearch &search,
                  const QString &amountHeading, const std::function<void(const RowView &)> &fn);
// Where a paged sale search stands: the list-order key of the last row read.
struct SaleRowKey {
    QString sellNo;
    QString guid;
};
// One page of scanSaleRows: at most `limit` rows, in the same order, after the row
// `after` names (from the first row when empty). Returns the rows read; when that is
// `limit`, `after` becomes the key of the last one, so the next call reads the next
// page; fewer means the search has no more rows. Rows that share a sale number are
// ordered by GUID, so no row is read twice or skipped between pages.
int scanSaleRowPage(Database &db, const Session &session, const QString &permission, const SaleSearch &search,
                    const QString &amountHeading, std::optional<SaleRowKey> &after, int limit,
                    const std::function<void(const RowView &)> &fn);
QStringList saleRowColumns(const QString &amountHeading = QStringLiteral("金额"));
// The same columns and no rows: the headings of an empty grid.
ResultSet emptySaleRows(Database &db, const QString &amountHeading = QStringLiteral("金额"));

// The row with that key in the shop if it is still sold or exchanged; nullopt when it
// is gone, returned or voided. On a server the row stays locked until the caller's
// transaction ends, so another till's return, exchange or void of it waits.
std::optional<SaleRow> readValidSaleRow(Database &db, const QString &shopNo, const QString &sellGuid);

// Thrown when a row a screen shows was returned, voided or removed meanwhile.
inline const QString kSaleRowGone = QStringLiteral("该销售记录已经不存在、已退货或已作废，请重新查询！");
// Thrown when another till changed the row between this operation's read and its write.
inline const QString kSaleRowTaken =
    QStringLiteral("该销售记录刚刚被其他收银台退货、调换或作废，本次操作已全部取消，库存没有变动。\n请重新查询！");

// The end of an UPDATE of Sell that changes a row's state: it changes the row only while
// the row is still as `row` read it (same state, same goods). Bind saleRowAsReadParams
// after the SET values, then call requireSaleRowChanged. (A row without goods key reads
// as an empty key.)
inline const QString kSaleRowAsRead =
    QStringLiteral(" WHERE GUID=? AND ShopNo=? AND State=? AND COALESCE(StoreGUID,'')=?");
QVariantList saleRowAsReadParams(const SaleRow &row);
// Throws Refusal(kSaleRowTaken) unless the last statement changed exactly one row: the
// caller's transaction then rolls back whole, and no pair has moved.
void requireSaleRowChanged(Database &db);
// Sets the state of a sale row still as `row` read it; throws Refusal(kSaleRowTaken)
// when it no longer is.
void changeSaleRowState(Database &db, const SaleRow &row, int state);

// One Store row of the shop as the after-sales operations copy it into another table:
// TypeNo, Name, Brand, Size, Colour, Leather, Grade, ProductPlace, Quantity, Price.
// No rows when the goods are not the shop's.
ResultSet readShopGoods(Database &db, const QString &shopNo, const QString &storeGuid);
// The description of such a row (TypeNo … ProductPlace, in that order), ready to bind.
QVariantList goodsDescription(const ResultSet &goods);

// Writes one after-sales record describing `row` as it is now, handled by the
// session's user today. `addAmount`: the money handed back or the exchange difference.
void insertSellChange(Database &db, const Session &session, const SaleRow &row, const QDate &today,
                      Money addAmount, int state, const QString &reason);

// Calendar days of a sale counted with the day of sale as day 1; past `limit`
// (0 = no limit) the sale is too old.
bool pastDayLimit(const QDate &saleDate, const QDate &today, int limit);

// The shop's return and exchange rules for one sale row, in the order they are
// checked. Empty when allowed, else the message that refuses it.
QString returnRefusal(const SellRules &rules, int state, const QString &abate, const QDate &saleDate,
                      const QDate &today);
QString exchangeRefusal(const SellRules &rules, int state, const QString &abate, const QDate &saleDate,
                        const QDate &today);

}  // namespace kestavion
