#pragma once

#include "foundation/database.h"
#include "foundation/session.h"

#include <optional>

namespace kestavion {

// Log-in and change of user: reads the shop, looks the user up, checks the password,
// loads the role and the sales rules.
class LoginService {
public:
    enum class Outcome { Ok, UserNotFound, WrongPassword };

    explicit LoginService(Database &db) : db_(db) {}

    // The shop row into the session (unchanged when there is none).
    void readShop(Session &session);
    // The user with that staff number and the flags of their role; nullopt when none.
    // A role key that matches no role leaves `role` as given (`keepRole`).
    std::optional<User> findUser(const QString &staffNo, const Role &keepRole = {});
    // The rules of the shop into `rules` (unchanged when there is no row).
    void loadRules(const QString &shopNo, SellRules &rules);

    // The login screen's check: on Ok the session's user and rules are replaced and
    // the shop re-read; otherwise the session's user is untouched. A user whose role
    // key matches no role gets no permissions (never the previous user's).
    Outcome login(Session &session, const QString &staffNo, const QString &password);
    // The change-user screen's check: only the user changes.
    Outcome changeUser(Session &session, const QString &staffNo, const QString &password);

private:
    Outcome check(const QString &staffNo, const QString &password, const Role &keepRole, User &found);
    Database &db_;
};

}  // namespace kestavion
