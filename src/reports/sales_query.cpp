#include "reports/sales_query.h"

#include "foundation/refusal.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cmath>

namespace kestavion {

namespace {
const QString kDescription = QStringLiteral(
    "TypeNo AS 货号,Name AS 种类,Brand AS 品牌,Size AS 尺码,Colour AS 颜色,Leather AS 面料,Grade AS 等级,"
    "ProductPlace AS 产地");

QString iso(const QDate &d) { return d.toString(Qt::ISODate); }
}  // namespace

SalesQueryResult SalesQuery::query(const SalesFilter &filter) {
    requirePermission(session_, QStringLiteral("SellQuery"));
    QString sql = QStringLiteral("SELECT ") + kDescription +
                  QStringLiteral(",Quantity AS 数量,Price AS 零售价,Abate AS 折扣,Amount AS 实收金额,"
                                 "SellerName AS 销售员,SellNo AS 销售编号,DateTime AS 销售日期 FROM Sell "
                                 "WHERE ShopNo=? AND DateTime>=? AND DateTime<=? AND State<2");
    QVariantList params{session_.shopNo, iso(filter.from), iso(filter.to)};
    if (!filter.brand.isEmpty()) {
        sql += QStringLiteral(" AND Brand=?");
        params << filter.brand;
    }
    if (!filter.kind.isEmpty()) {
        sql += QStringLiteral(" AND Name=?");
        params << filter.kind;
    }
    // Pairs of one goods by date and sale number, so both engines list them alike.
    sql += QStringLiteral(" ORDER BY TypeNo,Size,Colour,DateTime,SellNo,GUID");

    SalesQueryResult out;
    out.rows = db_.exec(sql, params);
    out.count = out.rows.rowCount();
    const int qty = out.rows.columnIndex(QStringLiteral("数量"));
    const int amount = out.rows.columnIndex(QStringLiteral("实收金额"));
    double pairs = 0;
    for (const QVariantList &r : out.rows.rows()) {
        pairs += r.value(qty).toDouble();
        out.amount += Money::fromVariant(r.value(amount));
    }
    out.pairs = std::llround(pairs);
    return out;
}

ResultSet SalesQuery::headings() {
    return ResultSet({QStringLiteral("销售编号"), QStringLiteral("货号"), QStringLiteral("种类"), QStringLiteral("品牌"),
                      QStringLiteral("尺码"), QStringLiteral("颜色"), QStringLiteral("面料"), QStringLiteral("等级"),
                      QStringLiteral("产地"), QStringLiteral("数量"), QStringLiteral("零售价"), QStringLiteral("折扣"),
                      QStringLiteral("实收金额"), QStringLiteral("销售员"), QStringLiteral("销售日期")},
                     {});
}

std::vector<DaySales> SalesQuery::perDay(const SalesQueryResult &result, const QDate &from, const QDate &to) {
    std::vector<DaySales> days;
    if (!from.isValid() || !to.isValid() || to < from) return days;
    const qint64 n = from.daysTo(to) + 1;
    days.resize(size_t(n));
    for (qint64 i = 0; i < n; ++i) days[size_t(i)].day = from.addDays(i);
    const ResultSet &rs = result.rows;
    const int dateCol = rs.columnIndex(QStringLiteral("销售日期"));
    const int qty = rs.columnIndex(QStringLiteral("数量"));
    const int amount = rs.columnIndex(QStringLiteral("实收金额"));
    if (dateCol < 0) return days;
    // The rows come by article, so one date text is parsed once.
    QHash<QString, qint64> indexOf;
    std::vector<double> pairs(size_t(n), 0.0);
    for (const QVariantList &r : rs.rows()) {
        const QString text = r.value(dateCol).toString();
        auto it = indexOf.constFind(text);
        if (it == indexOf.constEnd()) it = indexOf.insert(text, from.daysTo(QDate::fromString(text, Qt::ISODate)));
        const qint64 i = it.value();
        if (i < 0 || i >= n) continue;
        pairs[size_t(i)] += r.value(qty).toDouble();
        days[size_t(i)].amount += Money::fromVariant(r.value(amount));
    }
    for (qint64 i = 0; i < n; ++i) days[size_t(i)].pairs = std::llround(pairs[size_t(i)]);
    return days;
}

// The engine would sort every sale row of the period to group them (seconds on two
// years of a large shop); instead the rows stream through one pass that groups them
// by a hash of their description, reading only the covering index of shop and date.
ResultSet SalesQuery::ranking(const QDate &from, const QDate &to) {
    requirePermission(session_, QStringLiteral("SellGroup"));
    constexpr int kFields = 8;  // TypeNo Name Brand Size Colour Leather Grade ProductPlace
    using Fields = std::array<QByteArrayView, kFields>;
    struct Group {
        QByteArray key;  // the fields' bytes, one after the other
        Fields f;        // views into key
        double quantity = 0;
        qint32 next = -1;  // the next group with the same hash
    };
    std::vector<Group> groups;
    QHash<size_t, qint32> first;  // hash of the fields -> first group with it
    db_.scan(QStringLiteral("SELECT TypeNo,Name,Brand,Size,Colour,Leather,Grade,ProductPlace,Quantity FROM Sell "
                            "WHERE ShopNo=? AND DateTime>=? AND DateTime<=? AND State<2"),
             {session_.shopNo, iso(from), iso(to)}, [&](const RowView &row) {
                 Fields f;
                 size_t h = 0;
                 for (int c = 0; c < kFields; ++c) {
                     f[size_t(c)] = row.utf8(c);
                     h = qHashBits(f[size_t(c)].data(), size_t(f[size_t(c)].size()), h + size_t(c));
                 }
                 auto it = first.find(h);
                 qint32 g = it == first.end() ? -1 : it.value();
                 while (g >= 0 && groups[size_t(g)].f != f) g = groups[size_t(g)].next;
                 if (g < 0) {
                     Group n;
                     for (const QByteArrayView &v : f) n.key.append(v);
                     qsizetype at = 0;
                     for (int c = 0; c < kFields; ++c) {
                         n.f[size_t(c)] = QByteArrayView(n.key.constData() + at, f[size_t(c)].size());
                         at += f[size_t(c)].size();
                     }
                     n.next = it == first.end() ? -1 : it.value();
                     g = qint32(groups.size());
                     groups.push_back(std::move(n));
                     first.insert(h, g);
                 }
                 groups[size_t(g)].quantity += row.number(kFields);
             });
    first.clear();

    struct Ranked {
        const Fields *f;
        double quantity;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(groups.size());
    for (const Group &g : groups) ranked.push_back({&g.f, g.quantity});
    // Most pairs first; equal counts by article number, size and colour (as the
    // engine compares text: byte by byte), then the rest of the description.
    static constexpr int kTieOrder[] = {0, 3, 4, 1, 2, 5, 6, 7};
    std::sort(ranked.begin(), ranked.end(), [](const Ranked &a, const Ranked &b) {
        if (a.quantity != b.quantity) return a.quantity > b.quantity;
        for (int c : kTieOrder) {
            const int cmp = (*a.f)[size_t(c)].compare((*b.f)[size_t(c)]);
            if (cmp != 0) return cmp < 0;
        }
        return false;
    });

    std::vector<QVariantList> rows;
    rows.reserve(ranked.size());
    for (const Ranked &r : ranked) {
        QVariantList row;
        row.reserve(kFields + 1);
        for (const QByteArrayView &v : *r.f) row << QVariant(QString::fromUtf8(v));
        row << QVariant(r.quantity);
        rows.push_back(std::move(row));
    }
    return ResultSet(rankingHeadings().columns(), std::move(rows));
}

ResultSet SalesQuery::rankingHeadings() {
    return ResultSet({QStringLiteral("货号"), QStringLiteral("种类"), QStringLiteral("品牌"), QStringLiteral("尺码"),
                      QStringLiteral("颜色"), QStringLiteral("面料"), QStringLiteral("等级"), QStringLiteral("产地"),
                      QStringLiteral("数量")},
                     {});
}

}  // namespace kestavion
