#include "selling/kept_sale.h"

#include "foundation/refusal.h"

#include <QHash>
#include <QSysInfo>
#include <algorithm>

namespace kestavion {

namespace {

const QString kOwnerWhere = QStringLiteral("ShopNo=? AND TillKey=? AND Seller=?");

// The till a list belongs to: the key of the settings file; without one, the embedded
// file's single till, or on a server this machine (tills sharing a server without keys
// of their own must not take each other's lists).
QVariantList ownerOf(const Database &db, const Session &session) {
    QString till = session.tillKey;
    if (till.isEmpty())
        till = db.localFile().isEmpty() ? QStringLiteral("机器 ") + QSysInfo::machineHostName() : kSingleTillKey;
    return {session.shopNo, till, session.user.No};
}

// What the seller is told about a line that cannot come back.
QString describe(const QString &typeNo, const QString &size, const QString &colour, const QString &reason) {
    return QStringLiteral("货号 %1 尺码 %2 颜色 %3：%4").arg(typeNo, size, colour, reason);
}

}  // namespace

KeptSale::KeptSale(Database &db, const Session &session) : db_(db), session_(session) {}

QVariantList KeptSale::owner() const { return ownerOf(db_, session_); }

qint64 KeptSale::insert(const SaleLine &l) {
    QVariantList params = owner();
    params << l.goods.storeGuid << l.goods.typeNo << l.goods.size << l.goods.colour << l.price.toDouble() << l.abate
           << l.amount;
    db_.exec(QStringLiteral("INSERT INTO PendingSaleLine (ShopNo,TillKey,Seller,StoreGUID,TypeNo,Size,Colour,Price,"
                            "Abate,Amount) VALUES (?,?,?,?,?,?,?,?,?,?)"),
             params);
    return db_.lastInsertId();
}

std::vector<qint64> KeptSale::add(const std::vector<SaleLine> &lines, int from) {
    requirePermission(session_, QStringLiteral("Sell"));
    std::vector<qint64> ids;
    Transaction tx(db_);
    for (std::size_t i = static_cast<std::size_t>(std::max(from, 0)); i < lines.size(); ++i)
        ids.push_back(insert(lines[i]));
    tx.commit();
    return ids;
}

void KeptSale::remove(qint64 keptId) {
    if (keptId == 0) return;
    requirePermission(session_, QStringLiteral("Sell"));
    QVariantList params = owner();
    params.prepend(keptId);
    db_.exec(QStringLiteral("DELETE FROM PendingSaleLine WHERE ID=? AND ") + kOwnerWhere, params);
}

std::vector<qint64> KeptSale::replace(const std::vector<SaleLine> &lines) {
    requirePermission(session_, QStringLiteral("Sell"));
    std::vector<qint64> ids;
    Transaction tx(db_);
    db_.exec(QStringLiteral("DELETE FROM PendingSaleLine WHERE ") + kOwnerWhere, owner());
    for (const SaleLine &l : lines) ids.push_back(insert(l));
    tx.commit();
    return ids;
}

void KeptSale::discard() {
    requirePermission(session_, QStringLiteral("Sell"));
    db_.exec(QStringLiteral("DELETE FROM PendingSaleLine WHERE ") + kOwnerWhere, owner());
}

bool KeptSale::exists() {
    requirePermission(session_, QStringLiteral("Sell"));
    return !db_.exec(QStringLiteral("SELECT ID FROM PendingSaleLine WHERE ") + kOwnerWhere + QStringLiteral(" LIMIT 1"),
                     owner())
                .empty();
}

KeptSale::Restored KeptSale::restore() {
    requirePermission(session_, QStringLiteral("Sell"));
    const ResultSet kept = db_.exec(QStringLiteral("SELECT ID,StoreGUID,TypeNo,Size,Colour,Price,Abate,Amount FROM "
                                                   "PendingSaleLine WHERE ") +
                                        kOwnerWhere + QStringLiteral(" ORDER BY ID"),
                                    owner());
    Restored out;
    // The goods as stored now, read once each; pairs restored so far per goods.
    QHash<QString, ResultSet> goods;
    QHash<QString, int> taken;
    for (int r = 0; r < kept.rowCount(); ++r) {
        const QString guid = kept.text(r, QStringLiteral("StoreGUID"));
        const auto why = [&](const QString &reason) {
            out.dropped << describe(kept.text(r, QStringLiteral("TypeNo")), kept.text(r, QStringLiteral("Size")),
                                    kept.text(r, QStringLiteral("Colour")), reason);
        };
        if (!goods.contains(guid))
            goods.insert(guid, db_.exec(QStringLiteral("SELECT TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,"
                                                       "Quantity,Price FROM Store WHERE GUID=? AND ShopNo=?"),
                                        {guid, session_.shopNo}));
        const ResultSet &now = goods[guid];
        if (now.empty()) {
            why(QStringLiteral("商品已不存在"));
            continue;
        }
        const Money price = Money::fromVariant(kept.value(r, QStringLiteral("Price")));
        const Money priceNow = Money::fromVariant(now.value(0, QStringLiteral("Price")));
        if (!(price == priceNow)) {
            why(QStringLiteral("零售价已由 %1 改为 %2").arg(price.toString(), priceNow.toString()));
            continue;
        }
        const double onHand = now.number(QStringLiteral("Quantity"));
        if (onHand < taken.value(guid) + 1) {
            why(QStringLiteral("库存不足"));
            continue;
        }
        taken[guid] += 1;
        SaleLine l;
        l.goods.storeGuid = guid;
        l.goods.typeNo = now.text(QStringLiteral("TypeNo"));
        l.goods.name = now.text(QStringLiteral("Name"));
        l.goods.brand = now.text(QStringLiteral("Brand"));
        l.goods.size = now.text(QStringLiteral("Size"));
        l.goods.colour = now.text(QStringLiteral("Colour"));
        l.goods.leather = now.text(QStringLiteral("Leather"));
        l.goods.grade = now.text(QStringLiteral("Grade"));
        l.goods.place = now.text(QStringLiteral("ProductPlace"));
        l.goods.onHand = onHand;
        l.price = price;
        l.abate = kept.text(r, QStringLiteral("Abate"));
        l.amount = kept.integer(r, QStringLiteral("Amount"));
        l.keptId = kept.integer(r, QStringLiteral("ID"));
        out.lines.push_back(std::move(l));
    }
    // The kept list then holds what came back, and nothing else.
    if (!out.dropped.isEmpty()) {
        const std::vector<qint64> ids = replace(out.lines);
        for (std::size_t i = 0; i < ids.size(); ++i) out.lines[i].keptId = ids[i];
    }
    return out;
}

void KeptSale::removeWithin(Database &db, const Session &session) {
    db.exec(QStringLiteral("DELETE FROM PendingSaleLine WHERE ") + kOwnerWhere, ownerOf(db, session));
}

}  // namespace kestavion
