#pragma once

#include "foundation/database.h"
#include "foundation/session.h"
#include "selling/sale_list.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kestavion {

// The till key of the embedded file's one till when the settings file names none.
inline const QString kSingleTillKey = QStringLiteral("单机");

// The till's pre-sale list, kept in the database as it is built (PendingSaleLine, one
// row per pair) so that a crash of the program or of the machine loses nothing. A
// list belongs to one shop, one till and one seller. Nothing here touches the goods,
// their stock, the lots or the sales: only the checkout does, and it removes the kept
// list in its own transaction. Each write is one short transaction; every method
// throws DbError when the engine refuses.
class KeptSale {
public:
    KeptSale(Database &db, const Session &session);

    // Keeps lines[from..]; returns their keys, in order.
    std::vector<qint64> add(const std::vector<SaleLine> &lines, int from);
    // Forgets one kept line (a key of 0 is no kept line).
    void remove(qint64 keptId);
    // Keeps exactly these lines, whatever was kept before (after a write that failed);
    // returns their keys.
    std::vector<qint64> replace(const std::vector<SaleLine> &lines);
    // Forgets the whole list (the seller abandoned it).
    void discard();
    // True when a list is kept for this shop, till and seller.
    bool exists();

    // The kept list checked against the goods as they are stored now. A line comes
    // back as it was (retail price, discount or special price, amount) with the goods'
    // current description and stock; a line whose goods are gone, whose retail price
    // has changed since, or whose goods no longer have a pair for it stays out and is
    // named in `dropped` with the reason. The kept list then holds the restored lines.
    struct Restored {
        std::vector<SaleLine> lines;
        QStringList dropped;  // "货号 A100 尺码 40 颜色 黑色：库存不足"
    };
    Restored restore();

    // Removes the kept list of the session's shop, till and seller inside the caller's
    // transaction (the checkout's).
    static void removeWithin(Database &db, const Session &session);

private:
    qint64 insert(const SaleLine &line);
    QVariantList owner() const;

    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
