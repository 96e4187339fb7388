#include "foundation/app_context.h"
#include "foundation/clock.h"
#include "foundation/file_health.h"
#include "foundation/integrity_check.h"
#include "foundation/refusal.h"
#include "foundation/schema.h"
#include "foundation/sqlite_database.h"
#include "foundation/ui/file_health_notice.h"
#include "foundation/ui/login_screen.h"
#include "foundation/ui/printer_access.h"
#include "foundation/ui/qt_prompter.h"
#include "foundation/ui/screen_registry.h"
#include "mainwindow/ui/main_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>

using namespace kestavion;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    // No application display name: on Linux it would be appended to every caption.

    // Qt's own texts (the message boxes' 是/否) in Chinese, like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    QtPrompter prompter;
    SystemClock clock;
    std::unique_ptr<SqliteDatabase> db;
    const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kDatabaseFileName);
    const QString connectFailed = QStringLiteral("连接数据库失败！");
    try {
        db = SqliteDatabase::open(path);
    } catch (const Refusal &r) {
        // An empty or read-only file, or one of a version this program cannot open:
        // said in our own words, and the file is left untouched.
        r.show(prompter);
        prompter.info(connectFailed, kTitleHint);
        return 1;
    } catch (const DbError &e) {
        // Missing file, wrong key or a library that is not SQLCipher: the reason goes
        // to the console only, the user sees the connection failure.
        std::fprintf(stderr, "kestavion: %s\n", e.what());
        prompter.info(connectFailed, kTitleHint);
        return 1;
    }
    try {
        checkAndUpgradeSchema(*db);
    } catch (const Refusal &r) {
        r.show(prompter);
        prompter.info(connectFailed, kTitleHint);
        return 1;
    } catch (const DbError &e) {
        // A file newer than this program (or without a version) is not opened half
        // understood: say why, then end.
        prompter.plain(e.message());
        prompter.info(connectFailed, kTitleHint);
        return 1;
    }

    // Receipts go to the system's default printer.
    SystemPrinterAccess systemPrinter;
    FileHealth health;
    db->setHealth(&health);
    AppContext ctx;
    ctx.db = db.get();
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.databasePath = path;
    ctx.printer = &systemPrinter;
    ctx.health = &health;

    ScreenRegistry registry;
    registerAllScreens(registry);

    // The log-in runs before the event loop, so the program does not end between it
    // and the main window.
    {
        LoginScreen login(ctx);
        if (login.exec() != QDialog::Accepted) return 0;
    }

    // The full check of the file runs after the log-in, beside the work, on a reader
    // of its own; a damaged file is reported once, never in the middle of a sale.
    IntegrityCheck integrity(path, health);
    FileHealthNotice notice(health, prompter);

    MainWindow window(ctx, registry);
    window.show();

    // Fold the write-ahead log into the file now and then, outside any write, rather
    // than in the middle of a checkout.
    QTimer checkpoint;
    checkpoint.setInterval(30 * 1000);
    QObject::connect(&checkpoint, &QTimer::timeout, [&] {
        if (db->inTransaction()) return;
        try {
            db->checkpoint();
        } catch (const DbError &) {
        }
    });
    checkpoint.start();

    const int rc = app.exec();
    checkpoint.stop();
    return rc;
}
