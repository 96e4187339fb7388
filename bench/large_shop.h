#pragma once

#include <QDate>
#include <QString>

namespace kestavion::bench {

// The size of the generated shop.
struct LargeShopSize {
    int articles = 5000;        // article numbers
    int goodsPerArticle = 20;   // sizes x colours: 100,000 Goods
    int saleRows = 1000000;     // one pair each
    int days = 730;             // the sales run over this many days up to lastDay
    QDate lastDay = QDate(2026, 12, 9);
};

// A shop of `size` in an encrypted database file made by the delivered-database
// code, built once and kept: the file is named after the size and lives in
// $KESTAVION_BENCH_DATA, or in "bench-data" beside the current directory. Returns
// its path. Sale rows are spread evenly over the days; a few in a hundred are
// exchanged, returned or voided (with their after-sales records), every other Goods
// has two lots with their intake records, popular articles
// sell more often, about a tenth of the Goods are sold out, and some pairs wait in
// problem stock or went back to the factory.
QString largeShopDatabase(const LargeShopSize &size = {});

}  // namespace kestavion::bench
