#include "foundation/login_service.h"

#include "foundation/password.h"

namespace kestavion {

void LoginService::readShop(Session &session) {
    // A till of a chain reads its own shop. A till that names none takes the delivered
    // shop (the only row of a one-shop database), else the first shop by key: never
    // whichever row the engine happens to return first.
    ResultSet rs = session.tillShop.isEmpty()
                       ? db_.exec(QStringLiteral("SELECT * FROM Shop ORDER BY CASE WHEN GUID=? THEN 0 ELSE 1 END,GUID "
                                                 "LIMIT 1"),
                                  {kShopKey})
                       : db_.exec(QStringLiteral("SELECT * FROM Shop WHERE GUID=?"), {session.tillShop});
    if (rs.empty()) return;
    session.shopNo = rs.text(QStringLiteral("GUID"));
    session.shopName = rs.text(QStringLiteral("ShopName"));
}

std::optional<User> LoginService::findUser(const QString &staffNo, const Role &keepRole) {
    ResultSet rs = db_.exec(QStringLiteral("SELECT * FROM \"User\" WHERE No=?"), {staffNo});
    if (rs.empty()) return std::nullopt;
    User u;
    u.GUID = rs.text(QStringLiteral("GUID"));
    u.No = staffNo;
    u.Name = rs.text(QStringLiteral("Name"));
    u.RoleGUID = rs.text(QStringLiteral("RoleGUID"));
    u.role = keepRole;
    ResultSet role = db_.exec(QStringLiteral("SELECT * FROM Role WHERE GUID=?"), {u.RoleGUID});
    if (!role.empty()) u.role.assignFrom(role);
    return u;
}

void LoginService::loadRules(const QString &shopNo, SellRules &rules) {
    ResultSet rs = db_.exec(QStringLiteral("SELECT * FROM SellRole WHERE ShopNo=?"), {shopNo});
    if (!rs.empty()) rules.assignFrom(rs);
}

LoginService::Outcome LoginService::check(const QString &staffNo, const QString &password, const Role &keepRole,
                                          User &found) {
    ResultSet rs = db_.exec(QStringLiteral("SELECT GUID, pwd FROM \"User\" WHERE No=?"), {staffNo});
    if (rs.empty()) return Outcome::UserNotFound;
    const QString stored = rs.text(QStringLiteral("pwd"));
    bool upgrade = false;
    if (!verifyPassword(stored, password, &upgrade)) return Outcome::WrongPassword;
    if (upgrade) {
        db_.exec(QStringLiteral("UPDATE \"User\" SET pwd=? WHERE GUID=?"),
                 {hashPassword(password), rs.text(QStringLiteral("GUID"))});
    }
    auto user = findUser(staffNo, keepRole);
    if (!user) return Outcome::UserNotFound;
    found = *user;
    return Outcome::Ok;
}

LoginService::Outcome LoginService::login(Session &session, const QString &staffNo, const QString &password) {
    readShop(session);
    User found;
    Outcome o = check(staffNo, password, Role{}, found);
    if (o != Outcome::Ok) return o;
    SellRules rules = session.rules;
    loadRules(session.shopNo.isEmpty() ? kShopKey : session.shopNo, rules);
    session.user = found;
    session.rules = rules;
    session.loggedIn = true;
    return o;
}

LoginService::Outcome LoginService::changeUser(Session &session, const QString &staffNo, const QString &password) {
    User found;
    Outcome o = check(staffNo, password, Role{}, found);
    if (o == Outcome::Ok) session.user = found;
    return o;
}

}  // namespace kestavion
