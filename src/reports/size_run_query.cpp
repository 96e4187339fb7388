#include "reports/size_run_query.h"

#include "foundation/dictionary.h"
#include "foundation/refusal.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace kestavion {

namespace {
const QString kKey = QStringLiteral("StoreQuery");

QString fromUtf8(QByteArrayView v) { return QString::fromUtf8(v.data(), v.size()); }

// Sizes the list does not know: numbers first by value, then the rest as text.
bool extraBefore(const QString &a, const QString &b) {
    bool na = false, nb = false;
    const double da = a.toDouble(&na), db = b.toDouble(&nb);
    if (na != nb) return na;
    if (na && da != db) return da < db;
    return a < b;
}

void findGaps(SizeRun &run) {
    run.gaps.clear();
    if (run.first < 0) return;
    int lowestStocked = -1, highestStocked = -1;
    for (int c = run.first; c <= run.last; ++c) {
        if (run.pairs[c] > 0) {
            if (lowestStocked < 0) lowestStocked = c;
            highestStocked = c;
        }
    }
    for (int c = lowestStocked + 1; lowestStocked >= 0 && c < highestStocked; ++c)
        if (run.pairs[c] <= 0) run.gaps.push_back(c);
}
}  // namespace

SizeRunTable SizeRunQuery::load(const QString &kind, const QString &brand) {
    requirePermission(session_, kKey);
    QString sql = QStringLiteral("SELECT TypeNo,Colour,Size,Quantity,Name,Brand FROM Store WHERE ShopNo=?");
    QVariantList params{session_.shopNo};
    if (!kind.isEmpty()) {
        sql += QStringLiteral(" AND Name=?");
        params << kind;
    }
    if (!brand.isEmpty()) {
        sql += QStringLiteral(" AND Brand=?");
        params << brand;
    }
    sql += QStringLiteral(" ORDER BY TypeNo,Colour,Size,GUID");

    // The size list gives the column order; a size listed twice keeps its first place.
    SizeRunTable table;
    QHash<QString, int> column;
    for (const QString &s : Dictionary(db_).entries(QStringLiteral("尺码"))) {
        if (column.contains(s)) continue;
        column.insert(s, table.sizes.size());
        table.sizes << s;
    }

    // Goods rows of one article and colour, as (size text, pairs); sizes become
    // columns once every row is read, since unlisted sizes may still turn up.
    struct Cell {
        int run;
        QString size;
        qint64 pairs;
    };
    std::vector<Cell> cells;
    QStringList extras;
    db_.scan(sql, params, [&](const RowView &r) {
        const QByteArrayView typeNo = r.utf8(0), colour = r.utf8(1);
        if (table.runs.empty() || table.runs.back().typeNo != fromUtf8(typeNo) ||
            table.runs.back().colour != fromUtf8(colour)) {
            SizeRun run;
            run.typeNo = fromUtf8(typeNo);
            run.colour = fromUtf8(colour);
            run.kind = fromUtf8(r.utf8(4));
            run.brand = fromUtf8(r.utf8(5));
            table.runs.push_back(std::move(run));
        }
        QString size = fromUtf8(r.utf8(2));
        if (!column.contains(size)) {
            column.insert(size, -1);
            extras << size;
        }
        cells.push_back({int(table.runs.size()) - 1, std::move(size), qint64(std::llround(r.number(3)))});
    });

    std::sort(extras.begin(), extras.end(), extraBefore);
    for (const QString &s : extras) {
        column[s] = table.sizes.size();
        table.sizes << s;
    }
    for (SizeRun &run : table.runs) run.pairs.assign(table.sizes.size(), 0);
    for (const Cell &cell : cells) {
        SizeRun &run = table.runs[cell.run];
        const int c = column.value(cell.size);
        run.pairs[c] += cell.pairs;
        run.total += cell.pairs;
        run.first = run.first < 0 ? c : std::min(run.first, c);
        run.last = std::max(run.last, c);
    }
    for (SizeRun &run : table.runs) findGaps(run);
    return table;
}

SizeRunTable SizeRunQuery::filter(const SizeRunTable &all, const QString &typeNoPart, bool hideEmpty,
                                  bool brokenOnly) {
    std::vector<const SizeRun *> kept;
    std::vector<bool> used(all.sizes.size(), false);
    for (const SizeRun &run : all.runs) {
        if (hideEmpty && run.total <= 0) continue;
        if (brokenOnly && run.gaps.empty()) continue;
        if (!typeNoPart.isEmpty() && !run.typeNo.contains(typeNoPart, Qt::CaseInsensitive)) continue;
        kept.push_back(&run);
        for (int c = run.first; c >= 0 && c <= run.last; ++c) used[c] = true;
    }
    // Old column -> new column, -1 for a column no kept run spans.
    std::vector<int> to(all.sizes.size(), -1);
    SizeRunTable out;
    for (int c = 0; c < all.sizes.size(); ++c) {
        if (!used[c]) continue;
        to[c] = out.sizes.size();
        out.sizes << all.sizes[c];
    }
    out.runs.reserve(kept.size());
    for (const SizeRun *src : kept) {
        SizeRun run;
        run.typeNo = src->typeNo;
        run.colour = src->colour;
        run.kind = src->kind;
        run.brand = src->brand;
        run.total = src->total;
        run.pairs.assign(out.sizes.size(), 0);
        for (int c = 0; c < all.sizes.size(); ++c)
            if (to[c] >= 0) run.pairs[to[c]] = src->pairs[c];
        if (src->first >= 0) {
            run.first = to[src->first];
            run.last = to[src->last];
        }
        for (int g : src->gaps) run.gaps.push_back(to[g]);
        out.runs.push_back(std::move(run));
    }
    return out;
}

}  // namespace kestavion
