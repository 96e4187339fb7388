#pragma once

#include "foundation/clock.h"
#include "foundation/database.h"
#include "foundation/money.h"
#include "foundation/session.h"

#include <QDate>
#include <vector>

namespace kestavion {

// One line of faulty pairs moved out of normal stock.
struct ProblemLine {
    QString storeGuid;
    qint64 quantity = 0;  // whole pairs, at least 1
    QString problem;
};

// Problem stock: pairs set aside as faulty (BackStore) and their return to the factory.
class ProblemStock {
public:
    ProblemStock(Database &db, const Session &session) : db_(db), session_(session) {}

    // Goods of the shop with stock (the problem-goods and replacement lists), or with
    // one exact article number whether in stock or not. The list serves two entries:
    // the caller names the key of the one it serves ("Question", "ClientChange").
    ResultSet goodsInStock(const QString &permission);
    // The rows of goodsInStock handed one by one to `fn` as they are read (nothing
    // kept), in the order of goodsColumns().
    void scanGoodsInStock(const QString &permission, const std::function<void(const RowView &)> &fn);
    static const QStringList &goodsColumns();
    ResultSet goodsByTypeNo(const QString &typeNo);

    // In one transaction, for every line: each pair taken from a lot by the lot order
    // (pairs of one line may come from several lots), the Goods lowered by the
    // quantity, one BackStore row with the summed purchase value of its pairs.
    // Throws Refusal (kNotEnoughStock when a Goods has fewer pairs than its lines ask).
    void setAside(const std::vector<ProblemLine> &lines);

    // The open problem-stock rows of the shop: ID, 货号 … 产地, 进价, 数量, 问题.
    ResultSet openRows();
    // The same rows handed one by one to `fn` as they are read (nothing kept), in the
    // order of openRowColumns().
    void scanOpenRows(const std::function<void(const RowView &)> &fn);
    static const QStringList &openRowColumns();
    // In one transaction: one FactoryBackTotal row (today's user, the total pairs of
    // the rows, `amount`) and every row marked returned on `date`. Throws Refusal
    // (kNothingToReturn for no rows, kProblemRowGone for a row already returned).
    // Returns the number of pairs returned.
    qint64 returnToFactory(const std::vector<qint64> &ids, const QDate &date, Money amount);

private:
    Database &db_;
    const Session &session_;
};

inline const QString kNotEnoughStock = QStringLiteral("库存不足不能转化成问题歇，请通知管理员！");
inline const QString kNothingToReturn = QStringLiteral("请选择要退的商品！");
inline const QString kProblemRowGone = QStringLiteral("该问题商品已经退回厂家，请重新打开窗口！");

}  // namespace kestavion
