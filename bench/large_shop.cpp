#include "large_shop.h"

#include "foundation/delivered_database.h"
#include "foundation/session.h"
#include "foundation/sqlite_database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace kestavion::bench {

namespace {

// A small fixed-seed generator: the same shop on every machine.
struct Rng {
    quint64 s = 0x9E3779B97F4A7C15ull;
    quint32 next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return quint32(s >> 11);
    }
    int below(int n) { return int(next() % quint32(n)); }
};

const char *const kKinds[] = {"男皮鞋", "女皮鞋", "运动鞋", "休闲鞋", "凉鞋", "靴子", "童鞋", "拖鞋"};
const char *const kBrands[] = {"自有品牌", "红蜻蜓", "奥康", "森达", "百丽", "富贵鸟",
                               "康奈", "意尔康", "蜘蛛王", "天美意", "他她", "千百度"};
const char *const kColours[] = {"黑色", "棕色", "白色", "红色", "灰色", "蓝色", "米色", "咖啡色"};
const char *const kLeathers[] = {"牛皮", "羊皮", "猪皮", "人造革", "帆布", "网布"};
const char *const kGrades[] = {"合格品", "一等品", "优等品"};
const char *const kPlaces[] = {"温州", "广州", "成都", "泉州", "东莞"};
const char *const kSellers[] = {"张丽", "王芳", "李娜", "刘洋", "陈静", "赵敏"};

template <size_t N>
QString pick(const char *const (&list)[N], int i) {
    return QString::fromUtf8(list[size_t(i) % N]);
}

QString guid(const char *kind, qint64 n) {
    return QStringLiteral("{%1-%2-0000-0000-000000000000}").arg(n, 8, 16, QLatin1Char('0')).arg(QLatin1String(kind));
}

struct Goods {
    QString guid, typeNo, name, brand, size, colour, leather, grade, place;
    double price = 0, buyPrice = 0;
};

void build(const QString &path, const LargeShopSize &size) {
    createDeliveredDatabase(path);
    auto db = SqliteDatabase::open(path);
    Rng rng;
    const QString shop = kShopKey;
    std::vector<Goods> goods;
    goods.reserve(size_t(size.articles) * size_t(size.goodsPerArticle));

    // The indexes of the filled tables are built once at the end, by sorting, instead
    // of growing row by row: the shop builds in minutes rather than tens of minutes.
    const ResultSet indexes = db->exec(QStringLiteral(
        "SELECT name, sql FROM sqlite_master WHERE type='index' AND sql IS NOT NULL AND tbl_name IN "
        "('Store','StoreDetail','BuyPrice','Sell','SellChange','BackStore')"));
    for (int r = 0; r < indexes.rowCount(); ++r)
        db->exec(QStringLiteral("DROP INDEX ") + indexes.text(r, 0));

    Transaction tx(*db);
    for (int a = 0; a < size.articles; ++a) {
        const QString typeNo = QStringLiteral("%1%2").arg(QChar(u'A' + a % 26)).arg(100000 + a * 7);
        const QString name = pick(kKinds, a), brand = pick(kBrands, a / 3), leather = pick(kLeathers, a / 5);
        const QString grade = pick(kGrades, a / 7), place = pick(kPlaces, a / 11);
        const double price = 99 + (a % 40) * 10;
        const int colours = 2;
        for (int k = 0; k < size.goodsPerArticle; ++k) {
            Goods g;
            g.guid = guid("5701", qint64(goods.size()));
            g.typeNo = typeNo;
            g.name = name;
            g.brand = brand;
            g.size = QString::number(35 + k / colours);
            g.colour = pick(kColours, a + k % colours);
            g.leather = leather;
            g.grade = grade;
            g.place = place;
            g.price = price;
            g.buyPrice = price * 0.55;
            const int quantity = rng.below(10) == 0 ? 0 : 1 + rng.below(6);
            db->exec(QStringLiteral("INSERT INTO Store (GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,"
                                    "ProductPlace,Quantity,Price,GoodsBlock,GoodsFloor) "
                                    "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                     {g.guid, shop, g.typeNo, g.name, g.brand, g.size, g.colour, g.leather, g.grade, g.place,
                      quantity, g.price, QString::number(1 + a % 30), QString::number(1 + k % 5)});
            // Two lots for every other Goods: the first intake and a restock a year on,
            // each with its intake record.
            const int lots = k % 2 == 0 ? 2 : 1;
            for (int lot = 0; lot < lots; ++lot) {
                const QString date =
                    size.lastDay.addDays(-size.days + lot * std::min(365, size.days / 2)).toString(Qt::ISODate);
                const int pairs = lot == 0 ? quantity + 2 : quantity;
                db->exec(QStringLiteral("INSERT INTO BuyPrice (StoreGUID,Price,Quantity,sDate,ShopNo) VALUES (?,?,?,?,?)"),
                         {g.guid, g.buyPrice, lot + 1 == lots ? quantity : 0, date, shop});
                db->exec(QStringLiteral("INSERT INTO StoreDetail (GUID,ParentGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,"
                                        "Leather,Grade,Price,Quantity,ProductPlace,Memo,DateTime) "
                                        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                         {guid("5D7A", qint64(goods.size()) * 2 + lot), g.guid, shop, g.typeNo, g.name, g.brand, g.size,
                          g.colour, g.leather, g.grade, g.buyPrice, pairs, g.place, QString(), date});
            }
            goods.push_back(std::move(g));
        }
    }

    const QDate first = size.lastDay.addDays(1 - size.days);
    qint64 changeNo = 0;
    int lastDay = -1, running = 0;  // sale numbers restart at 0001 each day
    for (int i = 0; i < size.saleRows; ++i) {
        // Popular articles first: a square skews the choice towards low numbers.
        const quint32 r = rng.next() % 10000u;
        const int article = int(quint64(r) * r * quint64(size.articles) / 100000000ull);
        const Goods &g = goods[size_t(article) * size_t(size.goodsPerArticle) + size_t(rng.below(size.goodsPerArticle))];
        const int day = int(qint64(i) * size.days / size.saleRows);
        const QString date = first.addDays(day).toString(Qt::ISODate);
        running = day == lastDay ? running + 1 : 1;
        lastDay = day;
        const QString sellNo = first.addDays(day).toString(QStringLiteral("yyyyMMdd")) +
                               QStringLiteral("%1").arg(running, 4, 10, QLatin1Char('0'));
        const bool discounted = rng.below(4) == 0;
        const double amount = discounted ? double(qRound(g.price * 0.85)) : g.price;
        const int dice = rng.below(100);
        const int state = dice < 96 ? 0 : dice < 97 ? 1 : dice < 99 ? 2 : 3;
        const QString seller = pick(kSellers, i / 37);
        const QString sellGuid = guid("5E11", i);
        db->exec(QStringLiteral("INSERT INTO Sell (GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,"
                                "ProductPlace,Quantity,Price,Abate,Amount,BuyPrice,Seller,DateTime,SellNo,BuyPriceId,"
                                "SellerName,State,Money1,Money2) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                 {sellGuid, g.guid, shop, g.typeNo, g.name, g.brand, g.size, g.colour, g.leather, g.grade, g.place, 1,
                  g.price, discounted ? QStringLiteral("8.5") : QStringLiteral("全"), amount, g.buyPrice,
                  QStringLiteral("admin"), date, sellNo, QString::number(1 + article), seller, state, amount, 0});
        if (state == 0) continue;
        const QString changeDate = first.addDays(std::min(day + 1 + rng.below(5), size.days - 1)).toString(Qt::ISODate);
        static const char *const reasons[] = {"", "尺码不合适", "质量问题", "收银错误"};
        db->exec(QStringLiteral("INSERT INTO SellChange (GUID,StoreGUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,"
                                "Grade,ProductPlace,Quantity,Price,Abate,Amount,BuyPrice,Seller,Datetime,BuyPriceID,"
                                "SellerName,AddAmount,SellGUID,SellNo,ChangeDate,State,Resion) "
                                "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                 {guid("C4A6", ++changeNo), g.guid, shop, g.typeNo, g.name, g.brand, g.size, g.colour, g.leather,
                  g.grade, g.place, 1, g.price, QStringLiteral("全"), amount, g.buyPrice, QStringLiteral("admin"), date,
                  1 + article, seller, state == 1 ? 0.0 : amount, sellGuid, sellNo, changeDate, state,
                  QString::fromUtf8(reasons[state])});
        // Half the returned pairs were faulty: problem stock, most of it sent back.
        if (state == 2 && rng.below(2) == 0) {
            const bool sentBack = rng.below(4) != 0;
            db->exec(QStringLiteral("INSERT INTO BackStore (GUID,ShopNo,TypeNo,Name,Brand,Size,Colour,Leather,Grade,"
                                    "ProductPlace,Quantity,BuyPrice,BackResion,Seller,SellName,IsBackFactory,"
                                    "BackFactoryDate) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                     {g.guid, shop, g.typeNo, g.name, g.brand, g.size, g.colour, g.leather, g.grade, g.place, 1,
                      g.buyPrice, QStringLiteral("质量问题"), QStringLiteral("admin"), seller, sentBack ? 1 : 0,
                      sentBack ? changeDate : QString()});
        }
    }
    tx.commit();
    for (int r = 0; r < indexes.rowCount(); ++r) db->exec(indexes.text(r, 1));
    // No ANALYZE: a shop's file never has statistics, so the plans measured here are
    // the plans a shop gets.
    db->checkpoint();
}

}  // namespace

QString largeShopDatabase(const LargeShopSize &size) {
    QString folder = qEnvironmentVariable("KESTAVION_BENCH_DATA");
    if (folder.isEmpty()) folder = QDir::current().filePath(QStringLiteral("bench-data"));
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QStringLiteral("shop-%1x%2-%3-%4d-v4.mdb")
                                                   .arg(size.articles)
                                                   .arg(size.goodsPerArticle)
                                                   .arg(size.saleRows)
                                                   .arg(size.days));
    if (QFile::exists(path)) return path;
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-wal"));
    QFile::remove(partial + QStringLiteral("-shm"));
    std::fprintf(stderr, "building the large shop (once): %s\n", qPrintable(path));
    QElapsedTimer t;
    t.start();
    build(partial, size);
    QFile::remove(partial + QStringLiteral("-wal"));
    QFile::remove(partial + QStringLiteral("-shm"));
    if (!QFile::rename(partial, path)) throw DbError(QStringLiteral("cannot name the large shop file ") + path);
    std::fprintf(stderr, "built in %.1f s\n", double(t.elapsed()) / 1000.0);
    return path;
}

}  // namespace kestavion::bench
