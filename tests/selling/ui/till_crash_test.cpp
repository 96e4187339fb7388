#include "foundation/ui/grid.h"
#include "kit/fixtures.h"
#include "selling/ui/sale_screen.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>

using namespace kestavion;
using namespace kestavion::test;

// The real till in a process of its own, on the real encrypted file, killed with
// SIGKILL while three pairs are on its list: the same seller reopening the till gets
// them back as they were, and nothing was sold.
TEST_F(DbTest, ATillKilledWithPairsOnItsListRestoresThem) {
    if (!testServer().isEmpty()) GTEST_SKIP() << "the embedded file only";
    GoodsSpec a;
    a.typeNo = QStringLiteral("A100");
    a.quantity = 3;
    a.price = 199;
    const QString guidA = plantIntake(*db, a, 80, QDate(2026, 11, 1));
    GoodsSpec b;
    b.typeNo = QStringLiteral("B200");
    b.quantity = 2;
    b.price = 299;
    const QString guidB = plantIntake(*db, b, 150, QDate(2026, 11, 5));
    ctx.db = nullptr;
    db.reset();  // the killed till is the only one using the file, as in a shop

    QProcess till;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    till.setProcessEnvironment(env);
    till.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    till.start(QStringLiteral(KESTAVION_TILL_DRIVER), {dbPath});
    ASSERT_TRUE(till.waitForStarted());
    QByteArray said;
    while (!said.contains('\n') && till.waitForReadyRead(60000)) said += till.readAll();
    ASSERT_EQ(said.trimmed(), QByteArray("KEPT 3"));
    till.kill();  // SIGKILL: no destructor, no close, no checkout
    ASSERT_TRUE(till.waitForFinished());
    EXPECT_EQ(till.exitStatus(), QProcess::CrashExit);

    db = SqliteDatabase::open(dbPath);
    ctx.db = db.get();

    SaleScreen s(ctx);
    s.show();
    QApplication::setActiveWindow(&s);
    QApplication::processEvents();
    ASSERT_EQ(prompter.texts(), QStringList({QStringLiteral("恢复上次未结帐的预售列表？")}));
    ASSERT_EQ(s.VSSell->rows(), 4);
    EXPECT_EQ(s.VSSell->text(1, QStringLiteral("GUID")), guidA);
    EXPECT_EQ(s.VSSell->text(2, QStringLiteral("折扣")), QStringLiteral("8.5"));
    EXPECT_EQ(s.VSSell->text(3, QStringLiteral("GUID")), guidB);
    EXPECT_EQ(s.VSSell->text(3, QStringLiteral("折扣")), QStringLiteral("特价"));
    EXPECT_EQ(s.VSSell->text(3, QStringLiteral("应收金额")), QStringLiteral("250"));
    EXPECT_EQ(s.lbAmount->text(), QStringLiteral("588"));
    EXPECT_EQ(count(QStringLiteral("Sell")), 0);
}
