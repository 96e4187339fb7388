#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <QString>

namespace kestavion {

// The logged-in user changes his own password. No permission key: every user may.
class PasswordChange {
public:
    enum class Outcome { Changed, WrongOldPassword, UserGone };

    PasswordChange(Database &db, const Session &session) : db_(db), session_(session) {}

    // True when `password` is the user's stored one (false when his row is gone).
    bool matches(const QString &password);
    // Checks `oldPassword` against the stored hash (a stored plain value is compared
    // exactly) and stores the hash of `newPassword`. Changed only when exactly one
    // row was written; the session holds no password, so later checks read the new
    // hash. Throws DbError when the engine fails.
    Outcome change(const QString &oldPassword, const QString &newPassword);

private:
    Database &db_;
    const Session &session_;
};

// The shop's name (its one Shop row). Needs the "ChangeShop" key.
class ShopSettings {
public:
    ShopSettings(Database &db, Session &session) : db_(db), session_(session) {}

    // GUID, ShopName of every shop row, in the database's order.
    ResultSet shops();
    // Renames the shop with the fixed key; when a row changed, the session's shop
    // name follows. Returns false (nothing changed) when there is no such row.
    bool rename(const QString &name);

private:
    Database &db_;
    Session &session_;
};

}  // namespace kestavion
