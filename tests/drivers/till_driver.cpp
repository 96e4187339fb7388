// A till that a test kills: opens the real encrypted file given on the command line,
// logs in as the administrator, puts pairs on the till's list with the keys a seller
// would press, says "KEPT <pairs>" on stdout and then waits to be killed.
#include "foundation/app_context.h"
#include "foundation/clock.h"
#include "foundation/login_service.h"
#include "foundation/schema.h"
#include "foundation/sqlite_database.h"
#include "kit/scripted_prompter.h"
#include "selling/ui/sale_screen.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

using namespace kestavion;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    std::unique_ptr<Database> db = SqliteDatabase::open(QString::fromLocal8Bit(argv[1]));
    checkAndUpgradeSchema(*db);
    test::ScriptedPrompter prompter;
    SystemClock clock;
    AppContext ctx;
    ctx.db = db.get();
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    if (LoginService(*db).login(ctx.session, QStringLiteral("admin"), QStringLiteral("admin")) != LoginService::Outcome::Ok)
        return 3;

    SaleScreen till(ctx);
    till.show();
    QApplication::setActiveWindow(&till);
    auto keys = [&](const QString &text) { QTest::keyClicks(till.focusWidget(), text); };
    auto key = [&](Qt::Key k) { QTest::keyClick(till.focusWidget(), k); };
    // Two pairs of A100 at 8.5, then one B200 at a special price of 250.
    keys(QStringLiteral("A100"));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    keys(QStringLiteral("2"));
    key(Qt::Key_Return);
    keys(QStringLiteral("8.5"));
    key(Qt::Key_Return);
    key(Qt::Key_F5);
    till.txtNo->clear();
    keys(QStringLiteral("B200"));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    keys(QStringLiteral("1"));
    key(Qt::Key_Return);
    key(Qt::Key_Down);
    keys(QStringLiteral("250"));
    key(Qt::Key_Return);
    for (const auto &m : prompter.messages) std::fprintf(stderr, "till said: %s\n", qPrintable(m.text));

    std::printf("KEPT %d\n", till.saleList().size());
    std::fflush(stdout);
    return app.exec();  // until killed
}
