#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace kestavion {

// One article in one size and colour as an intake screen describes it.
struct GoodsIntake {
    QString typeNo, name, brand, size, colour, leather, grade, place;
    double quantity = 0;
    double retailPrice = 0;
    double buyPrice = 0;
    QString block, floor, memo;
    QDate date;
};

// A row of the restocking screen's goods list (same columns, same order).
struct GoodsRow {
    QString guid, typeNo, name, brand, size, colour, leather, grade, place;
    double quantity = 0;
    QString block, floor;

    static GoodsRow fromIntake(const QString &guid, const GoodsIntake &in);
    // The list's cells, first (row-header) cell empty.
    QStringList cells() const;
    // Tab-separated cells: the way a new row is appended to the list.
    QString tabText() const;
};

// Writes the three rows of a new Goods (Store, StoreDetail, BuyPrice); the caller
// owns the transaction. Returns the Goods' key (and the record's in *recordGuid).
QString insertGoodsRows(Database &db, const QString &shopNo, const GoodsIntake &in, QString *recordGuid = nullptr);
// Writes an intake record and its lot for an existing Goods; the caller owns the
// transaction. Returns the record's key.
QString insertIntakeRecord(Database &db, const QString &shopNo, const QString &goodsGuid, const GoodsIntake &in);

// The restocking list's columns (aliases become the headings and keys).
inline constexpr const char *kGoodsListColumns[] = {"GUID", "货号", "种类", "品牌", "尺码", "颜色",
                                                    "面料", "等级", "产地", "数量", "货柜号", "柜层"};

// The key of the restocking entry, from which new goods and batch intake are reached.
inline const QString kBuyInKey = QStringLiteral("BuyIn");

// New goods, batch intake and restocking. Every operation is one transaction: a
// rejected statement leaves nothing behind and throws DbError with the engine's text.
class GoodsIntakeService {
public:
    // For an entry without a permission key (the spreadsheet import).
    GoodsIntakeService(Database &db, QString shopNo) : db_(db), shopNo_(std::move(shopNo)) {}
    // For a gated entry: every operation first checks `permission` (the key of the
    // entry the caller serves, "BuyIn" for restocking) for the session's user.
    GoodsIntakeService(Database &db, const Session &session, QString permission)
        : db_(db), shopNo_(session.shopNo), session_(&session), permission_(std::move(permission)) {}

    // Every goods row of the shop, in the database's order.
    ResultSet goodsList();
    // The same rows handed one by one to `fn` as they are read (nothing kept), in the
    // order of goodsListColumns().
    void scanGoodsList(const std::function<void(const RowView &)> &fn);
    static const QStringList &goodsListColumns();

    // A new Goods with its intake record and first lot; never merged with an existing
    // Goods. Returns the new Goods' key.
    QString takeInNew(const GoodsIntake &in);
    // One new Goods per entry, all in one transaction; the keys in the same order.
    // `progress` (if given) hears how many have been written after each one.
    std::vector<QString> takeInBatch(const std::vector<GoodsIntake> &batch,
                                     const std::function<void(std::size_t written)> &progress = {});

    // More of an existing Goods: its quantity grows, one intake record (description as
    // shown in the list, empty memo) and one new lot. Throws Refusal when the Goods
    // row no longer exists (nothing is written then), DbError when the engine fails.
    void restock(const GoodsRow &goods, double buyPrice, double quantity, const QDate &date);

private:
    void checkPermission() const;
    Database &db_;
    QString shopNo_;
    const Session *session_ = nullptr;
    QString permission_;
};

}  // namespace kestavion
