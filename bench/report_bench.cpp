// The query screens on a large shop: 100,000 Goods and 1,000,000 sale rows over two
// years (see large_shop.h). Each case runs what the screen runs, from the statement
// to the grid with its totals and merges, through the screen itself where it can.
#include "large_shop.h"

#include "foundation/app_context.h"
#include "foundation/clock.h"
#include "foundation/login_service.h"
#include "foundation/schema.h"
#include "foundation/sqlite_database.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"
#include "reports/after_sales_query.h"
#include "reports/sales_query.h"
#include "reports/stock_query.h"
#include "reports/ui/sales_query_screen.h"
#include "reports/ui/sales_ranking_screen.h"
#include "reports/ui/stock_query_screen.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace kestavion;

namespace {

// Forwards to the shop's database and remembers the statements run, so their plans
// can be shown.
class RecordingDatabase final : public Database {
public:
    explicit RecordingDatabase(Database &db) : db_(db) {}
    ResultSet exec(const QString &sql, const QVariantList &params) override {
        if (recording) statements.push_back({sql, params});
        return db_.exec(sql, params);
    }
    void scan(const QString &sql, const QVariantList &params, const std::function<void(const RowView &)> &fn) override {
        if (recording) statements.push_back({sql, params});
        db_.scan(sql, params, fn);
    }
    int changes() const override { return db_.changes(); }
    qint64 lastInsertId() const override { return db_.lastInsertId(); }
    void begin() override { db_.begin(); }
    void commit() override { db_.commit(); }
    void rollback() override { db_.rollback(); }
    bool inTransaction() const override { return db_.inTransaction(); }

    bool recording = false;
    std::vector<std::pair<QString, QVariantList>> statements;

private:
    Database &db_;
};

class SilentPrompter final : public Prompter {
public:
    void info(const QString &t, const QString &) override { report(t); }
    void warning(const QString &t, const QString &) override { report(t); }
    void exclamation(const QString &t, const QString &) override { report(t); }
    bool question(const QString &t, const QString &) override { return report(t), true; }
    void plain(const QString &t, const QString &) override { report(t); }

private:
    static void report(const QString &t) { std::fprintf(stderr, "message: %s\n", qPrintable(t)); }
};

struct Shop {
    std::unique_ptr<SqliteDatabase> file;
    std::unique_ptr<RecordingDatabase> db;
    SilentPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 12, 9), QTime(10, 0))};
    AppContext ctx;
};

Shop &shop() {
    static Shop s;
    return s;
}

void openShop() {
    Shop &s = shop();
    s.file = SqliteDatabase::open(bench::largeShopDatabase());
    QElapsedTimer t;
    t.start();
    checkAndUpgradeSchema(*s.file);  // a file made by an older program gets its indexes
    std::fprintf(stderr, "schema check/upgrade: %lld ms\n", qint64(t.elapsed()));
    s.db = std::make_unique<RecordingDatabase>(*s.file);
    s.ctx.db = s.db.get();
    s.ctx.prompter = &s.prompter;
    s.ctx.clock = &s.clock;
    if (LoginService(*s.db).login(s.ctx.session, QStringLiteral("admin"), QStringLiteral("admin")) !=
        LoginService::Outcome::Ok)
        std::fprintf(stderr, "login failed\n");
}

const QDate kToday(2026, 12, 9);

// Opening the stock query: the shop's stock read, shown with subtotals, the grand
// total and merged columns, and painted once.
void BM_StockQueryOpen(benchmark::State &state) {
    int rows = 0;
    for (auto _ : state) {
        StockQueryScreen screen(shop().ctx);
        screen.resize(1100, 680);
        screen.show();
        QApplication::processEvents();
        rows = screen.VSFlexGrid->rows() - 1;
    }
    state.counters["grid_rows"] = rows;
}
BENCHMARK(BM_StockQueryOpen)->Unit(benchmark::kMillisecond)->Iterations(3);

// One keystroke in the article box: the in-memory filter, its totals and merges.
// Arguments: how many characters of "A100" are in the box before the keystroke
// that adds the next one (0: the first character, which matches a fifth of the shop;
// 3: the fourth, which narrows it to a few articles), and 4: the box cleared again,
// which shows the whole shop.
void BM_StockArticleKeystroke(benchmark::State &state) {
    StockQueryScreen screen(shop().ctx);
    const QString typed = QStringLiteral("A100");
    const int n = int(state.range(0));
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        screen.txtNo->setText(n < 4 ? typed.left(n) : typed);
        state.ResumeTiming();
        screen.txtNo->setText(n < 4 ? typed.left(n + 1) : QString());
        rows = screen.VSFlexGrid->rows() - 1;
    }
    state.counters["grid_rows"] = rows;
}
BENCHMARK(BM_StockArticleKeystroke)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->Iterations(5);

// The service alone: the shop's stock read from the file.
void BM_StockRead(benchmark::State &state) {
    for (auto _ : state) benchmark::DoNotOptimize(StockQuery(*shop().db, shop().ctx.session).shopStock());
}
BENCHMARK(BM_StockRead)->Unit(benchmark::kMillisecond)->Iterations(3);

// A sales query over `days` days up to today, all kinds and brands, through the
// screen: statement, list, subtotals per article, grand total, figures, chart.
void BM_SalesQuery(benchmark::State &state) {
    SalesQueryScreen screen(shop().ctx);
    screen.DTBeginTime->setDate(kToday.addDays(1 - state.range(0)));
    screen.DTEndTime->setDate(kToday);
    int rows = 0;
    for (auto _ : state) {
        screen.cmdQuery->click();
        rows = screen.VSSell->rows() - 1;
    }
    state.counters["grid_rows"] = rows;
}
BENCHMARK(BM_SalesQuery)->Arg(73)->Arg(365)->Unit(benchmark::kMillisecond)->Iterations(3);

// The service alone: statement, rows read, count and money summed.
void BM_SalesQueryService(benchmark::State &state) {
    SalesQuery q(*shop().db, shop().ctx.session);
    for (auto _ : state)
        benchmark::DoNotOptimize(q.query({kToday.addDays(1 - state.range(0)), kToday, QString(), QString()}));
}
BENCHMARK(BM_SalesQueryService)->Arg(73)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RankingService(benchmark::State &state) {
    SalesQuery q(*shop().db, shop().ctx.session);
    for (auto _ : state) benchmark::DoNotOptimize(q.ranking(kToday.addDays(1 - state.range(0)), kToday));
}
BENCHMARK(BM_RankingService)->Arg(730)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Ranking(benchmark::State &state) {
    SalesRankingScreen screen(shop().ctx);
    screen.DTBeginTime->setDate(kToday.addDays(1 - state.range(0)));
    screen.DTEndTime->setDate(kToday);
    int rows = 0;
    for (auto _ : state) {
        screen.cmdQuery->click();
        rows = screen.VSSell->rows() - 1;
    }
    state.counters["grid_rows"] = rows;
}
BENCHMARK(BM_Ranking)->Arg(365)->Arg(730)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AfterSalesYear(benchmark::State &state) {
    AfterSalesQuery q(*shop().db, shop().ctx.session);
    const QDate from = kToday.addDays(-364);
    for (auto _ : state) {
        benchmark::DoNotOptimize(q.exchanges(from, kToday));
        benchmark::DoNotOptimize(q.returns(from, kToday));
        benchmark::DoNotOptimize(q.voids(from, kToday));
        benchmark::DoNotOptimize(q.factoryReturns(from, kToday));
    }
}
BENCHMARK(BM_AfterSalesYear)->Unit(benchmark::kMillisecond)->Iterations(3);

// The plan of every statement the query services run.
void showPlans() {
    Shop &s = shop();
    s.db->recording = true;
    const Session &session = s.ctx.session;
    StockQuery(*s.db, session).shopStock();
    StockQuery(*s.db, session).byKindBrand(QStringLiteral("男皮鞋"), QStringLiteral("奥康"), true);
    StockQuery(*s.db, session).problemStock();
    SalesQuery(*s.db, session).query({kToday.addDays(-364), kToday, QStringLiteral("男皮鞋"), QStringLiteral("奥康")});
    SalesQuery(*s.db, session).ranking(kToday.addDays(-729), kToday);
    AfterSalesQuery a(*s.db, session);
    a.exchanges(kToday, kToday);
    a.factoryReturns(kToday, kToday);
    s.db->recording = false;
    for (const auto &[sql, params] : s.db->statements) {
        std::fprintf(stderr, "\n%s\n", qPrintable(sql));
        const ResultSet plan = s.file->exec(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params);
        for (int r = 0; r < plan.rowCount(); ++r)
            std::fprintf(stderr, "  plan: %s\n", qPrintable(plan.text(r, plan.columnCount() - 1)));
    }
    s.db->statements.clear();
    std::fprintf(stderr, "\n");
}

}  // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    openShop();
    showPlans();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    shop().ctx.db = nullptr;
    shop().db.reset();
    shop().file.reset();
    return 0;
}
