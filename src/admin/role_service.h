#pragma once

#include "foundation/database.h"
#include "foundation/refusal.h"
#include "foundation/session.h"

#include <QString>
#include <array>

namespace kestavion {

// A rule of an admin screen said no about one field: the screen shows the message
// and puts the focus into that field.
class FieldRefusal : public Refusal {
public:
    FieldRefusal(const QString &message, QString field) : Refusal(message, Icon::Info), field_(std::move(field)) {}
    const QString &field() const { return field_; }

private:
    QString field_;
};

// Roles and their permission flags (Role rows). Every operation needs the
// "UserManage" key of the user-management entry the roles screen is reached from.
class RoleService {
public:
    RoleService(Database &db, const Session &session) : db_(db), session_(session) {}

    // "SELECT * FROM Role", by name: GUID, Name, then one column per permission key; a set
    // flag reads -1.
    ResultSet list();

    // A new role; returns its key. Refuses an empty or taken name (field "Name").
    QString add(const QString &name, const std::array<bool, 26> &flags);
    // New name and flags of a role. Refuses the administrator role, an empty name
    // and another role's name. Returns the rows changed (0 when the role is gone).
    int update(const QString &guid, const QString &name, const std::array<bool, 26> &flags);
    // Deletes the role and every user in it, in one transaction. Refuses the
    // administrator role and the role of the logged-in user.
    void remove(const QString &guid);

    // True when another role (not `exceptGuid`) has exactly this name.
    bool nameTaken(const QString &name, const QString &exceptGuid = {});

private:
    void checkName(const QString &name, const QString &exceptGuid);
    Database &db_;
    const Session &session_;
};

inline const QString kRoleNameEmpty = QStringLiteral("角色名称不能为空！");
inline const QString kRoleNameTaken = QStringLiteral("该角色已经存在！");
inline const QString kAdminRoleNoEdit = QStringLiteral("对不起不能编辑管理员角色！");
inline const QString kAdminRoleNoDelete = QStringLiteral("对不起不能删除管理员角色！");
inline const QString kOwnRoleNoDelete = QStringLiteral("对不起不能删除您自己所属的角色！");

}  // namespace kestavion
