#pragma once

#include "admin/role_service.h"

#include <QList>
#include <QPair>

namespace kestavion {

// A user as the users screen edits it. The password is only ever typed, never read.
struct UserEdit {
    QString guid;      // empty for a new user
    QString no;        // staff number
    QString name;      // display name
    QString password;  // the new password; for an existing user empty keeps the old one
    QString roleGuid;
    QString roleName;  // copied into the user's row as it is now
};

// The people who may log in ("User" rows). Every operation needs the "UserManage"
// key. Passwords are stored as hashes and never read back.
class UserService {
public:
    UserService(Database &db, const Session &session) : db_(db), session_(session) {}

    // GUID, 工号, 姓名, RoleGUID, 角色: every user (no password column).
    ResultSet list();
    // Every role as (key, name), in the database's order; a NULL name reads empty.
    QList<QPair<QString, QString>> roles();

    // Checks, in this order: number given, number not another user's (compared
    // exactly, as the log-in compares it), a role chosen, name given, name not
    // another user's (the daily settlement is kept per display name). Refusals are
    // FieldRefusals naming "No", "Role" or "Name". A new user gets a key (returned);
    // an existing one is updated and keeps his password when none is typed.
    QString save(const UserEdit &user);
    // Deletes a user; refuses the logged-in user himself.
    void remove(const QString &guid);

private:
    Database &db_;
    const Session &session_;
};

inline const QString kUserNoEmpty = QStringLiteral("编号不能为空！");
inline const QString kUserNoTaken = QStringLiteral("编号已经存在！");
inline const QString kUserNoRole = QStringLiteral("请选择一个角色！");
inline const QString kUserNameEmpty = QStringLiteral("姓名不能为空！");
inline const QString kUserNameTaken = QStringLiteral("该姓名已经有人使用，请换一个姓名！");
inline const QString kUserNoDeleteSelf = QStringLiteral("对不起不能删除该用户！");
inline const QString kUserGone = QStringLiteral("该用户已经不存在，请重新打开窗口！");

}  // namespace kestavion
