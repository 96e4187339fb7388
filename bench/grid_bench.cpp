// The grid on a year of sales: 100,000 rows x 12 columns.
#include "foundation/database.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace kestavion;

namespace {

constexpr int kRows = 100000;

// A year of sales sorted by date and sale number: ~10 pairs a sale, 2,000 articles,
// a handful of kinds, brands, sizes, colours and sellers, unique row keys.
const ResultSet &yearOfSales() {
    static const ResultSet rs = [] {
        QStringList cols{"GUID", "销售编号", "日期", "货号", "品名", "品牌", "尺码", "颜色", "单价", "数量", "销售员", "金额"};
        std::vector<QVariantList> rows;
        rows.reserve(kRows);
        quint32 seed = 12345;
        auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
        const QDate start(2026, 1, 1);
        for (int i = 0; i < kRows; ++i) {
            const int day = i * 365 / kRows;
            const int sale = i / 10;
            const double price = 100 + int(next() % 400);
            rows.push_back({QStringLiteral("{%1-0000-0000-0000-000000000000}").arg(i, 8, 16, QLatin1Char('0')),
                            QStringLiteral("%1%2").arg(start.addDays(day).toString("yyyyMMdd")).arg(sale, 5, 10, QLatin1Char('0')),
                            start.addDays(day).toString("yyyy-MM-dd"),
                            QStringLiteral("A%1").arg(int(next() % 2000), 4, 10, QLatin1Char('0')),
                            QStringLiteral("鞋%1").arg(int(next() % 20)),
                            QStringLiteral("品牌%1").arg(int(next() % 10)),
                            QString::number(34 + int(next() % 15)),
                            QStringLiteral("色%1").arg(int(next() % 12)),
                            price, qint64(1), QStringLiteral("售货员%1").arg(int(next() % 8)), price * 0.85});
        }
        return ResultSet(cols, std::move(rows));
    }();
    return rs;
}

double rssMb() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

void BM_Bind(benchmark::State &state) {
    const ResultSet &rs = yearOfSales();
    Grid g;
    double grown = -1;
    for (auto _ : state) {
        state.PauseTiming();
        g.clearRows();
        const double before = rssMb();
        state.ResumeTiming();
        g.bind(rs);
        state.PauseTiming();
        if (grown < 0) grown = rssMb() - before;  // the first bind: later ones reuse freed memory
        state.ResumeTiming();
    }
    state.counters["rows"] = g.rows() - 1;
    state.counters["rss_growth_MB"] = grown;
    state.counters["model_MB"] =
        double(qobject_cast<GridModel *>(g.model())->memoryBytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Bind)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AddItem(benchmark::State &state) {
    Grid g;
    g.setCols(13);
    const QString line = QStringLiteral("\t{0000}\t2026120900001\t2026-12-09\tA0001\t鞋1\t品牌1\t40\t色1\t199\t1\t售货员1\t169");
    for (auto _ : state) {
        state.PauseTiming();
        g.clearRows();
        state.ResumeTiming();
        for (int i = 0; i < 10000; ++i) g.addItem(line);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_AddItem)->Unit(benchmark::kMillisecond)->Iterations(5);

// Totals per sale (10,000 groups), then the grand total.
void BM_Subtotal(benchmark::State &state) {
    Grid g;
    g.bind(yearOfSales());
    const int group = g.colIndex(QStringLiteral("销售编号"));
    const int amount = g.colIndex(QStringLiteral("金额"));
    for (auto _ : state) {
        g.subtotal(Grid::Aggregate::Sum, group, amount, QStringLiteral("0.00"), -1, 255, true, QStringLiteral("合计"));
        g.subtotal(Grid::Aggregate::Sum, -1, amount, QStringLiteral("0.00"), -1, 255, true, QStringLiteral("总合计"));
        state.PauseTiming();
        state.counters["rows"] = g.rows() - 1;
        g.clearSubtotals();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Subtotal)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ClearSubtotals(benchmark::State &state) {
    Grid g;
    g.bind(yearOfSales());
    const int group = g.colIndex(QStringLiteral("销售编号"));
    const int amount = g.colIndex(QStringLiteral("金额"));
    for (auto _ : state) {
        state.PauseTiming();
        g.subtotal(Grid::Aggregate::Sum, group, amount);
        state.ResumeTiming();
        g.clearSubtotals();
    }
}
BENCHMARK(BM_ClearSubtotals)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same-as-above mask of four merge columns over every row.
void BM_MergeMask(benchmark::State &state) {
    Grid g;
    g.bind(yearOfSales());
    auto *m = qobject_cast<GridModel *>(g.model());
    const int last = m->rowCount() - 1;
    for (auto _ : state) {
        g.setMergeCols({2, 3, 11, 5});
        benchmark::DoNotOptimize(m->mergedWithAbove(last, 2));
    }
}
BENCHMARK(BM_MergeMask)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_FindRow(benchmark::State &state) {
    Grid g;
    g.bind(yearOfSales());
    const int col = g.colIndex(QStringLiteral("货号"));
    for (auto _ : state) benchmark::DoNotOptimize(g.findRow(QStringLiteral("nowhere"), 1, col));
}
BENCHMARK(BM_FindRow)->Unit(benchmark::kMicrosecond);

// One full paint of a 1000 x 700 view with merged columns and total rows.
void BM_Paint(benchmark::State &state) {
    Grid g;
    g.resize(1000, 700);
    g.bind(yearOfSales());
    g.sizeColumns(1140);
    g.setMergeCols({2, 3, 11});
    g.subtotal(Grid::Aggregate::Sum, 2, 12, {}, -1, 255, true, QStringLiteral("合计"));
    g.subtotal(Grid::Aggregate::Sum, -1, 12, {}, -1, 255, true, QStringLiteral("总合计"));
    g.show();
    QApplication::processEvents();
    for (auto _ : state) benchmark::DoNotOptimize(g.grab());
}
BENCHMARK(BM_Paint)->Unit(benchmark::kMillisecond);

void BM_Snapshot(benchmark::State &state) {
    Grid g;
    g.bind(yearOfSales());
    for (auto _ : state) benchmark::DoNotOptimize(g.snapshot());
}
BENCHMARK(BM_Snapshot)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double before = rssMb();
    yearOfSales();  // built once, outside every measurement
    std::fprintf(stderr, "result set of %d rows: %.1f MB resident\n", kRows, rssMb() - before);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
