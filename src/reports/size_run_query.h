#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kestavion {

// Stock of one article in one colour, size by size.
struct SizeRun {
    QString typeNo, colour, kind, brand;
    // Pairs in stock per size column of the table (0 outside the run as well).
    std::vector<qint64> pairs;
    // The run: the columns of the smallest and the largest size ever taken in.
    int first = -1, last = -1;
    // Broken sizes: columns inside the run with no stock while a smaller and a
    // larger size of the run both have some.
    std::vector<int> gaps;
    qint64 total = 0;

    bool inRun(int col) const { return col >= first && col <= last; }
};

struct SizeRunTable {
    QStringList sizes;  // column headings, in the order of the size list
    std::vector<SizeRun> runs;  // by article number, then colour
};

// The size-run view of the shop's stock: one row per article and colour, one
// column per size.
class SizeRunQuery {
public:
    SizeRunQuery(Database &db, const Session &session) : db_(db), session_(session) {}

    // Every article and colour of the shop of one kind and/or one brand (an empty
    // text means any). Sizes follow the size lookup list; sizes taken in that the
    // list does not know come after it, smallest number first. Every Goods row stays
    // in Store once taken in (sold out at 0), so its sizes are the sizes ever taken in.
    SizeRunTable load(const QString &kind = {}, const QString &brand = {});

    // The runs of `all` whose article number contains `typeNoPart` (letter case
    // ignored), without runs that have no pair left when `hideEmpty`, only broken
    // ones when `brokenOnly`. The size columns shrink to those some kept run spans.
    static SizeRunTable filter(const SizeRunTable &all, const QString &typeNoPart, bool hideEmpty, bool brokenOnly);

private:
    Database &db_;
    const Session &session_;
};

}  // namespace kestavion
