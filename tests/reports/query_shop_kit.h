#pragma once

#include "kit/fixtures.h"

#include <QDate>
#include <QString>

namespace kestavion {
class Grid;
}

namespace kestavion::test {

// Forwards to a database and keeps the statements it ran (to look at their plans).
class RecordingDatabase final : public PassThroughDatabase {
public:
    using PassThroughDatabase::PassThroughDatabase;
    ResultSet exec(const QString &sql, const QVariantList &params) override {
        statements.push_back({sql, params});
        return db_.exec(sql, params);
    }
    void scan(const QString &sql, const QVariantList &params, const std::function<void(const RowView &)> &fn) override {
        statements.push_back({sql, params});
        db_.scan(sql, params, fn);
    }

    std::vector<std::pair<QString, QVariantList>> statements;
};

// A shop filled through the services the screens use: intake, the till's checkout,
// returns, exchanges, voids, problem goods and the factory return.
class QueryShopTest : public DbTest {
protected:
    struct Article {
        QString typeNo;
        QString size = QStringLiteral("38");
        QString colour = QStringLiteral("黑色");
        QString kind = QStringLiteral("女单鞋");
        QString brand = QStringLiteral("自有品牌");
        double retail = 200;
        double quantity = 5;
        double buyPrice = 90;
        QString shopNo;  // empty: this shop
    };
    // New goods taken in on 2026-11-01; returns the Goods key.
    QString takeIn(const Article &a);
    // One pair sold at the till on `date` for `amount` ("全" when it is the retail
    // price, else "特价"); returns the sale row's key.
    QString sell(const QString &goods, const QDate &date, double amount);
    // The after-sales operations, done on `date` (the clock is left there).
    void returnPair(const QString &sale, const QDate &date, bool intoProblemStock = false);
    void voidSale(const QString &sale, const QDate &date);
    void exchange(const QString &sale, const QString &replacement, double amount, const QDate &date);
    // `pairs` of the goods set aside as faulty; returns the problem row's ID.
    qint64 setAside(const QString &goods, qint64 pairs, const QString &problem);
    void sendToFactory(qint64 problemId, const QDate &date);
    // One sale row of another shop (written as the till writes them).
    void plantOtherShopSale(const QDate &date);

    // A grid's cells of one column, rows 1.. (total rows included).
    static QStringList column(const Grid *grid, const QString &key);
    static QStringList column0(const Grid *grid);
    // A result's column as texts.
    static QStringList column(const ResultSet &rs, const QString &name);
};

}  // namespace kestavion::test
