#include "admin/user_service.h"

#include "foundation/guid.h"
#include "foundation/password.h"

namespace kestavion {

namespace {
const QString kUserManage = QStringLiteral("UserManage");
}

ResultSet UserService::list() {
    requirePermission(session_, kUserManage);
    return db_.exec(QStringLiteral("SELECT GUID,No AS 工号,Name AS 姓名,RoleGUID,RoleName AS 角色 FROM \"User\" ORDER BY No,GUID"));
}

QList<QPair<QString, QString>> UserService::roles() {
    requirePermission(session_, kUserManage);
    const ResultSet rs = db_.exec(QStringLiteral("SELECT GUID,Name FROM Role ORDER BY Name,GUID"));
    QList<QPair<QString, QString>> out;
    for (int r = 0; r < rs.rowCount(); ++r) out.append({rs.text(r, 0), rs.text(r, 1)});
    return out;
}

QString UserService::save(const UserEdit &u) {
    requirePermission(session_, kUserManage);
    if (u.no.isEmpty()) throw FieldRefusal(kUserNoEmpty, QStringLiteral("No"));
    if (!db_.exec(QStringLiteral("SELECT GUID FROM \"User\" WHERE No=? AND GUID<>?"), {u.no, u.guid}).empty())
        throw FieldRefusal(kUserNoTaken, QStringLiteral("No"));
    if (u.roleGuid.isEmpty() || u.roleName.isEmpty()) throw FieldRefusal(kUserNoRole, QStringLiteral("Role"));
    if (u.name.isEmpty()) throw FieldRefusal(kUserNameEmpty, QStringLiteral("Name"));
    if (!db_.exec(QStringLiteral("SELECT GUID FROM \"User\" WHERE Name=? AND GUID<>?"), {u.name, u.guid}).empty())
        throw FieldRefusal(kUserNameTaken, QStringLiteral("Name"));

    if (u.guid.isEmpty()) {
        const QString guid = newGuid();
        db_.exec(QStringLiteral("INSERT INTO \"User\" (GUID,No,Name,pwd,RoleGUID,RoleName) VALUES (?,?,?,?,?,?)"),
                 {guid, u.no, u.name, hashPassword(u.password), u.roleGuid, u.roleName});
        return guid;
    }
    if (u.password.isEmpty()) {
        db_.exec(QStringLiteral("UPDATE \"User\" SET No=?,Name=?,RoleGUID=?,RoleName=? WHERE GUID=?"),
                 {u.no, u.name, u.roleGuid, u.roleName, u.guid});
    } else {
        db_.exec(QStringLiteral("UPDATE \"User\" SET No=?,Name=?,pwd=?,RoleGUID=?,RoleName=? WHERE GUID=?"),
                 {u.no, u.name, hashPassword(u.password), u.roleGuid, u.roleName, u.guid});
    }
    if (db_.changes() != 1) throw Refusal(kUserGone, Refusal::Icon::Warning);
    return u.guid;
}

void UserService::remove(const QString &guid) {
    requirePermission(session_, kUserManage);
    if (guid == session_.user.GUID) throw Refusal(kUserNoDeleteSelf, Refusal::Icon::Info);
    db_.exec(QStringLiteral("DELETE FROM \"User\" WHERE GUID=?"), {guid});
}

}  // namespace kestavion
