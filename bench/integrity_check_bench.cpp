// The cost of the background integrity check on a large shop's file.
//   ./build/bin/integrity_check_bench <file.mdb> [sale rows, default 1000000]
// Creates the file when it does not exist: a delivered database with 20,000 goods,
// one lot each, and the given number of sale rows spread over three years. Then times
// the full check on its own read-only connection, as the program runs it after login.
#include "foundation/delivered_database.h"
#include "foundation/guid.h"
#include "foundation/integrity_check.h"
#include "foundation/sqlite_database.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

using namespace kestavion;

namespace {

void generate(const QString &path, qint64 sales) {
    createDeliveredDatabase(path);
    auto db = SqliteDatabase::open(path);
    const QString shop = db->scalar(QStringLiteral("SELECT GUID FROM Shop")).toString();
    const int goodsCount = 20000;
    QStringList goods;
    {
        Transaction tx(*db);
        for (int i = 0; i < goodsCount; ++i) {
            const QString guid = newGuid();
            goods << guid;
            db->exec(QStringLiteral("INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,[Size],Colour,Leather,Grade,"
                                    "ProductPlace,Quantity,Price) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"),
                     {guid, shop, QStringLiteral("T%1").arg(i / 40, 5, 10, QLatin1Char('0')), QStringLiteral("男皮鞋"),
                      QStringLiteral("自有品牌"), QString::number(35 + i % 10), QStringLiteral("黑色"),
                      QStringLiteral("牛皮"), QStringLiteral("合格品"), QStringLiteral("温州"), 50, 100 + i % 400});
            db->exec(QStringLiteral("INSERT INTO BuyPrice (StoreGUID,Price,Quantity,sDate,ShopNo) VALUES (?,?,?,?,?)"),
                     {guid, 60 + i % 200, 50, QDate(2024, 1, 1), shop});
        }
        tx.commit();
    }
    const QDate first(2024, 1, 1);
    for (qint64 done = 0; done < sales;) {
        Transaction tx(*db);
        for (int k = 0; k < 20000 && done < sales; ++k, ++done) {
            const int g = static_cast<int>(done * 7919 % goodsCount);
            const QDate day = first.addDays(done * 1095 / sales);
            db->exec(QStringLiteral("INSERT INTO Sell (GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,[Size],Colour,Leather,"
                                    "Grade,ProductPlace,Quantity,Price,Abate,Amount,BuyPrice,Seller,[DateTime],SellNo,"
                                    "BuyPriceId,SellerName,State,Money1,Money2) "
                                    "VALUES (?,?,?,?,?,?,?,?,?,?,?,1,?,?,?,?,?,?,?,?,?,0,?,?)"),
                     {newGuid(), goods[g], shop, QStringLiteral("T%1").arg(g / 40, 5, 10, QLatin1Char('0')),
                      QStringLiteral("男皮鞋"), QStringLiteral("自有品牌"), QString::number(35 + g % 10),
                      QStringLiteral("黑色"), QStringLiteral("牛皮"), QStringLiteral("合格品"), QStringLiteral("温州"),
                      100 + g % 400, QStringLiteral("全"), 100 + g % 400, 60 + g % 200, QStringLiteral("001"), day,
                      day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("%1").arg(done % 9999 + 1, 4, 10, QLatin1Char('0')),
                      QString::number(g + 1), QStringLiteral("管理员"), 500, 0});
        }
        tx.commit();
        std::fprintf(stderr, "\r%lld sale rows", static_cast<long long>(done));
    }
    std::fprintf(stderr, "\n");
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file.mdb> [sale rows]\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const qint64 sales = argc > 2 ? QByteArray(argv[2]).toLongLong() : 1000000;
    if (!QFileInfo::exists(path)) generate(path, sales);
    std::printf("file: %.1f MB\n", QFileInfo(path).size() / 1048576.0);
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        const FileHealth::State s = IntegrityCheck::run(path);
        std::printf("integrity check %d: %lld ms, %s\n", run + 1, static_cast<long long>(t.elapsed()),
                    s == FileHealth::State::Good ? "good" : s == FileHealth::State::Damaged ? "damaged" : "unchecked");
    }
    return 0;
}
