#include "admin/role_service.h"

#include "foundation/guid.h"

namespace kestavion {

namespace {
const QString kUserManage = QStringLiteral("UserManage");

int flagValue(bool on) { return on ? -1 : 0; }
}  // namespace

ResultSet RoleService::list() {
    requirePermission(session_, kUserManage);
    return db_.exec(QStringLiteral("SELECT * FROM Role ORDER BY Name,GUID"));
}

bool RoleService::nameTaken(const QString &name, const QString &exceptGuid) {
    requirePermission(session_, kUserManage);
    return !db_.exec(QStringLiteral("SELECT GUID FROM Role WHERE Name=? AND GUID<>?"), {name, exceptGuid}).empty();
}

void RoleService::checkName(const QString &name, const QString &exceptGuid) {
    if (name.isEmpty()) throw FieldRefusal(kRoleNameEmpty, QStringLiteral("Name"));
    if (nameTaken(name, exceptGuid)) throw FieldRefusal(kRoleNameTaken, QStringLiteral("Name"));
}

QString RoleService::add(const QString &name, const std::array<bool, 26> &flags) {
    requirePermission(session_, kUserManage);
    checkName(name, QString());
    const QString guid = newGuid();
    QString sql = QStringLiteral("INSERT INTO Role (GUID,Name");
    QString marks = QStringLiteral("?,?");
    QVariantList values{guid, name};
    for (int i = 0; i < kPermissionKeys.size(); ++i) {
        sql += QLatin1Char(',') + kPermissionKeys[i];
        marks += QStringLiteral(",?");
        values << flagValue(flags[static_cast<size_t>(i)]);
    }
    db_.exec(sql + QStringLiteral(") VALUES (") + marks + QLatin1Char(')'), values);
    return guid;
}

int RoleService::update(const QString &guid, const QString &name, const std::array<bool, 26> &flags) {
    requirePermission(session_, kUserManage);
    if (guid == kAdminRoleKey) throw Refusal(kAdminRoleNoEdit, Refusal::Icon::Info);
    checkName(name, guid);
    QString sql = QStringLiteral("UPDATE Role SET Name=?");
    QVariantList values{name};
    for (int i = 0; i < kPermissionKeys.size(); ++i) {
        sql += QLatin1Char(',') + kPermissionKeys[i] + QStringLiteral("=?");
        values << flagValue(flags[static_cast<size_t>(i)]);
    }
    values << guid;
    db_.exec(sql + QStringLiteral(" WHERE GUID=?"), values);
    return db_.changes();
}

void RoleService::remove(const QString &guid) {
    requirePermission(session_, kUserManage);
    if (guid == kAdminRoleKey) throw Refusal(kAdminRoleNoDelete, Refusal::Icon::Info);
    // Deleting one's own role would delete oneself with it.
    if (!guid.isEmpty() && guid == session_.user.RoleGUID) throw Refusal(kOwnRoleNoDelete, Refusal::Icon::Info);
    Transaction tx(db_);
    db_.exec(QStringLiteral("DELETE FROM Role WHERE GUID=?"), {guid});
    db_.exec(QStringLiteral("DELETE FROM \"User\" WHERE RoleGUID=?"), {guid});
    tx.commit();
}

}  // namespace kestavion
