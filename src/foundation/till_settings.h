#pragma once

#include "foundation/database.h"

#include <QString>
#include <memory>

namespace kestavion {

// The file beside the program that puts a till on a server. Without it the program
// uses the embedded Kestavion.mdb, as a one-till shop always has.
inline constexpr const char *kSettingsFileName = "Kestavion.ini";

// What Kestavion.ini says:
//   [database]  engine=postgresql, host, port, name, user, passfile (optional)
//   [till]      shop (the shop key of this till), till (this till's own key)
// The password never stands in the file: it comes from PGPASSWORD or from the
// password file, which only its owner may read.
struct TillSettings {
    bool server = false;
    QString conninfo;  // libpq connection string, without a password
    QString shopKey;   // empty: the delivered shop
    QString tillKey;
};

// Reads the file; a missing file gives the embedded default. Throws DbError for a
// file that cannot be used (unknown engine, a password in it, an open password file).
TillSettings readTillSettings(const QString &iniPath);

// Opens the database the settings name: the server, or the embedded file at
// `embeddedPath`. Throws DbError.
std::unique_ptr<Database> openConfiguredDatabase(const TillSettings &settings, const QString &embeddedPath);

}  // namespace kestavion
