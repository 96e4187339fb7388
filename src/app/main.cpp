#include "foundation/app_context.h"
#include "foundation/clock.h"
#include "foundation/file_health.h"
#include "foundation/integrity_check.h"
#include "foundation/refusal.h"
#include "foundation/platform.h"
#include "foundation/schema.h"
#include "foundation/sqlite_database.h"
#include "foundation/till_settings.h"
#include "foundation/ui/file_health_notice.h"
#include "foundation/ui/login_screen.h"
#include "foundation/ui/printer_access.h"
#include "foundation/ui/qt_prompter.h"
#include "foundation/ui/screen_registry.h"
#include "mainwindow/ui/main_window.h"
#include "selling/ui/escpos_printer_access.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <optional>

using namespace kestavion;

int main(int argc, char **argv) {
    // --check shows no window: it must also run where there is no display (over ssh,
    // from a package's install script), so it needs no windowing system.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--check") == 0 && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // No application display name: on Linux it would be appended to every caption.

    // Qt's own texts (the message boxes' 是/否) in Chinese, like the rest of the program.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);

    QtPrompter prompter;
    SystemClock clock;
    std::unique_ptr<Database> db;
    // Beside the program in a build tree; /var/lib/kestavion once installed.
    const QString dataDir = platform::dataFolder() + QLatin1Char('/');
    const QString path = dataDir + QLatin1String(kDatabaseFileName);
    const QString connectFailed = QStringLiteral("连接数据库失败！");
    // --check: only says on the console whether the database opens and is understood.
    const bool checkOnly = app.arguments().contains(QStringLiteral("--check"));
    TillSettings settings;
    try {
        // Kestavion.ini beside the database file puts this till on a server; without it the
        // embedded file is used.
        settings = readTillSettings(dataDir + QLatin1String(kSettingsFileName));
        db = openConfiguredDatabase(settings, path);
    } catch (const Refusal &r) {
        // An empty or read-only file, or one of a version this program cannot open:
        // said in our own words, and the file is left untouched.
        if (checkOnly) {
            std::fprintf(stderr, "kestavion: %s\n", qPrintable(r.message()));
            return 1;
        }
        r.show(prompter);
        prompter.info(connectFailed, kTitleHint);
        return 1;
    } catch (const DbError &e) {
        // Missing file, wrong key, a library that is not SQLCipher or a server that
        // does not answer: the reason goes to the console, the user sees the failure.
        std::fprintf(stderr, "kestavion: %s\n", e.what());
        if (settings.server && !checkOnly) prompter.plain(e.message());
        if (!checkOnly) prompter.info(connectFailed, kTitleHint);
        return 1;
    }
    try {
        checkAndUpgradeSchema(*db);
    } catch (const Refusal &r) {
        if (checkOnly) {
            std::fprintf(stderr, "kestavion: %s\n", qPrintable(r.message()));
            return 1;
        }
        r.show(prompter);
        prompter.info(connectFailed, kTitleHint);
        return 1;
    } catch (const DbError &e) {
        // A file newer than this program (or without a version) is not opened half
        // understood: say why, then end.
        std::fprintf(stderr, "kestavion: %s\n", e.what());
        if (checkOnly) return 1;
        prompter.plain(e.message());
        prompter.info(connectFailed, kTitleHint);
        return 1;
    }

    if (checkOnly) {
        std::printf("kestavion: %s opens\n", qPrintable(db->localFile().isEmpty() ? db->location() : path));
        return 0;
    }

    // Receipts go to the system's default printer, or to a thermal printer in ESC/POS
    // when this machine's settings file names one ([printer] kind=escpos).
    SystemPrinterAccess systemPrinter;
    FileHealth health;
    db->setHealth(&health);
    std::unique_ptr<EscPosPrinterAccess> thermalPrinter;
    const EscPosSettings thermal =
        EscPosSettings::read(platform::dataFolder() + QLatin1Char('/') + QLatin1String(kSettingsFileName));
    if (thermal.enabled) thermalPrinter = std::make_unique<EscPosPrinterAccess>(thermal);
    AppContext ctx;
    ctx.db = db.get();
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.databasePath = db->localFile().isEmpty() ? db->location() : path;
    ctx.session.tillShop = settings.shopKey;
    ctx.session.tillKey = settings.tillKey;
    ctx.printer = thermalPrinter ? static_cast<PrinterAccess *>(thermalPrinter.get()) : &systemPrinter;
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
    // (A server checks its own storage.)
    std::optional<IntegrityCheck> integrity;
    if (!db->localFile().isEmpty()) integrity.emplace(db->localFile(), health);
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
            db->idle();
        } catch (const DbError &) {
        }
    });
    checkpoint.start();

    const int rc = app.exec();
    checkpoint.stop();
    return rc;
}
