#pragma once

#include "foundation/database.h"

#include <QString>
#include <QStringList>
#include <array>

namespace kestavion {

// The fixed key of the one shop row and of the sales-rules row.
inline const QString kShopKey = QStringLiteral("{308D7A28-0405-4A3F-AE2C-0A52E6B7901B}");
// The administrator role, which the roles screen never edits or deletes.
inline const QString kAdminRoleKey = QStringLiteral("{26EF1CD6-0B28-43D9-8D85-77067AA9AC75}");

// The 26 permission keys, in the order of the Role table's columns.
inline const QStringList kPermissionKeys = {
    QStringLiteral("AllList"),      QStringLiteral("Data"),          QStringLiteral("UserManage"),
    QStringLiteral("SellRole"),     QStringLiteral("ChangeShop"),    QStringLiteral("BuyIn"),
    QStringLiteral("Sell"),         QStringLiteral("ClientChange"),  QStringLiteral("ClientBack"),
    QStringLiteral("Question"),     QStringLiteral("FactoryBack"),   QStringLiteral("SellBlankOut"),
    QStringLiteral("ChangePrice"),  QStringLiteral("OtherOut"),      QStringLiteral("StoreQuery"),
    QStringLiteral("SellQuery"),    QStringLiteral("SellGroup"),     QStringLiteral("BuyDetail"),
    QStringLiteral("ClientChangeQuery"), QStringLiteral("FactoryBackQuery"), QStringLiteral("BlankOutQuery"),
    QStringLiteral("OtherOurQuery"), QStringLiteral("DayAmount"),    QStringLiteral("TotalAmount"),
    QStringLiteral("Profit"),       QStringLiteral("ReStart")};

// A role: a name and one yes/no per permission key.
struct Role {
    QString GUID;
    QString Name;
    std::array<bool, 26> flags{};

    // False for an unknown key.
    bool allows(const QString &key) const;
    void set(const QString &key, bool value);

    // Copies every column of `row` of `rs` to the member of the same name (letter case
    // ignored; NULL reads as false/empty). A column with no such member throws DbError.
    void assignFrom(const ResultSet &rs, int row = 0);
};

// The shop's sales rules (one SellRole row).
struct SellRules {
    QString ShopNo;
    int SellOrder = 0;  // 0 oldest lot first, 1 newest lot first
    int BackDays = 0;
    bool AbateCanNotBack = false;
    bool SpecialCanNotBack = false;
    int ChangeDays = 0;
    bool AbateCanNotChange = false;
    bool SpecialCanNotChange = false;
    bool SameTypeChange = false;
    bool DearGoodsChange = false;
    bool ChangeOneTime = false;
    bool ChangNotToBack = false;
    bool IsPrint = false;
    int PrinterType = 0;  // 0 dot-matrix (wide), 1 POS (narrow)

    // Same rule as Role::assignFrom.
    void assignFrom(const ResultSet &rs, int row = 0);
    static const QStringList &columnNames();
};

struct User {
    QString GUID;
    QString No;    // staff number
    QString Name;  // display name
    QString RoleGUID;
    Role role;
};

// Who is logged in and what the shop's rules are; one per run, in the AppContext.
struct Session {
    User user;
    SellRules rules;
    QString shopNo;
    QString shopName;
    // The shop this till belongs to, from the settings file; empty: the first shop
    // row (a one-shop database). Several shops on one server set it.
    QString tillShop;
    // This till's own key from the settings file (empty on a one-till shop).
    QString tillKey;
    bool loggedIn = false;
};

}  // namespace kestavion
