#include "admin/account_service.h"

#include "foundation/password.h"
#include "foundation/refusal.h"

namespace kestavion {

bool PasswordChange::matches(const QString &password) {
    const ResultSet rs = db_.exec(QStringLiteral("SELECT pwd FROM \"User\" WHERE GUID=?"), {session_.user.GUID});
    return !rs.empty() && verifyPassword(rs.text(QStringLiteral("pwd")), password);
}

PasswordChange::Outcome PasswordChange::change(const QString &oldPassword, const QString &newPassword) {
    const ResultSet rs = db_.exec(QStringLiteral("SELECT pwd FROM \"User\" WHERE GUID=?"), {session_.user.GUID});
    if (rs.empty()) return Outcome::UserGone;
    if (!verifyPassword(rs.text(QStringLiteral("pwd")), oldPassword)) return Outcome::WrongOldPassword;
    db_.exec(QStringLiteral("UPDATE \"User\" SET pwd=? WHERE GUID=?"), {hashPassword(newPassword), session_.user.GUID});
    return db_.changes() == 1 ? Outcome::Changed : Outcome::UserGone;
}

ResultSet ShopSettings::shops() {
    requirePermission(session_, QStringLiteral("ChangeShop"));
    return db_.exec(QStringLiteral("SELECT GUID,ShopName FROM Shop ORDER BY ShopName,GUID"));
}

bool ShopSettings::rename(const QString &name) {
    requirePermission(session_, QStringLiteral("ChangeShop"));
    // The shop of this till (the delivered shop on a one-shop database).
    db_.exec(QStringLiteral("UPDATE Shop SET ShopName=? WHERE GUID=?"),
             {name, session_.shopNo.isEmpty() ? kShopKey : session_.shopNo});
    if (db_.changes() < 1) return false;
    session_.shopName = name;
    return true;
}

}  // namespace kestavion
