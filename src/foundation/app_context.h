#pragma once

#include "foundation/clock.h"
#include "foundation/database.h"
#include "foundation/prompter.h"
#include "foundation/session.h"

#include <QString>

namespace kestavion {

class PrinterAccess;
class FileHealth;

// Everything a screen needs from the running program; passed to every screen.
// Services take only the parts they need (database, session, clock).
struct AppContext {
    Database *db = nullptr;
    Session session;
    Prompter *prompter = nullptr;
    Clock *clock = nullptr;
    PrinterAccess *printer = nullptr;  // receipts; tests install one that writes PDF
    FileHealth *health = nullptr;      // the background integrity check's finding
    QString databasePath;              // shown in the About box's system information

    Database &database() const { return *db; }
    Prompter &prompt() const { return *prompter; }
    QDate today() const { return clock->today(); }
};

}  // namespace kestavion
