#include "foundation/app_context.h"
#include "foundation/schema.h"
#include "foundation/sqlite_database.h"
#include "foundation/ui/printer_access.h"
#include "foundation/ui/qt_prompter.h"

#include <QApplication>

using namespace kestavion;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QtPrompter prompter;
    std::unique_ptr<SqliteDatabase> db;
    try {
        db = SqliteDatabase::open(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                  QLatin1String(kDatabaseFileName));
        checkAndUpgradeSchema(*db);
    } catch (const DbError &) {
        prompter.info(QStringLiteral("连接数据库失败！"), kTitleHint);
        return 1;
    }

    // Receipts go to the system's default printer.
    SystemPrinterAccess systemPrinter;
    AppContext ctx;
    ctx.printer = &systemPrinter;

    return 0;
}
