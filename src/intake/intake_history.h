#pragma once

#include "foundation/database.h"
#include "foundation/session.h"
#include "intake/goods_intake.h"

#include <QDate>
#include <QString>

namespace kestavion {

struct IntakeFilter {
    bool byDate = false;
    QDate from, to;  // both days included
    bool byTypeNo = false;
    QString typeNo;  // exact
};

// The lot an intake opened, and whether any of it has gone.
struct IntakeLot {
    qint64 id = 0;  // 0 when no lot was found
    bool sold = false;
};

// Result of deleting or correcting an intake.
enum class IntakeChange {
    Done,
    NoGoods,  // the intake's Goods row is gone: nothing is done
    Sold,     // part of the lot was sold: refused, nothing is changed
};

struct CorrectionResult {
    IntakeChange outcome = IntakeChange::NoGoods;
    QString goodsGuid;   // the new Goods
    QString recordGuid;  // the new intake record
};

// The intake history: list, delete, correct. Delete and correction run in one
// transaction each. Every operation needs the "BuyDetail" key of its menu entry.
class IntakeHistory {
public:
    IntakeHistory(Database &db, const Session &session) : db_(db), session_(session), shopNo_(session.shopNo) {}

    // 货号 种类 品牌 尺码 颜色 面料 等级 产地 数量 进价 备注 进货日期 ParentGUID GUID
    ResultSet list(const IntakeFilter &filter = {});
    // The same rows handed one by one to `fn` as they are read (nothing kept), in the
    // order of listColumns().
    void scan(const IntakeFilter &filter, const std::function<void(const RowView &)> &fn);
    static const QStringList &listColumns();

    bool goodsExists(const QString &goodsGuid);
    // The Goods' retail price (0 when it has none or is gone).
    double retailPrice(const QString &goodsGuid);
    // The lot of an intake record (see the .cpp for how it is chosen).
    IntakeLot findLot(const QString &recordGuid);

    // Takes the intake back out: its record and lot go, the Goods row goes when the
    // intake is all it holds, otherwise its quantity is lowered.
    IntakeChange remove(const QString &recordGuid);
    // Delete + a new intake of `values` into a new Goods with the old Goods' retail
    // price and empty shelf fields (values.retailPrice, block and floor are ignored).
    CorrectionResult correct(const QString &recordGuid, const GoodsIntake &values);

private:
    struct Record {
        QString goodsGuid;
        double quantity = 0;
        double price = 0;
        QString date;
    };
    QString listSql(const IntakeFilter &filter, QVariantList &params) const;
    bool readRecord(const QString &recordGuid, Record &out);
    IntakeLot findLot(const Record &rec);
    IntakeChange removeIn(const QString &recordGuid, double *retailPrice);

    Database &db_;
    const Session &session_;
    QString shopNo_;
};

}  // namespace kestavion
