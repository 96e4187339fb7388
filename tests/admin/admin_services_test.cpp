#include "admin/account_service.h"
#include "admin/backup_settings.h"
#include "admin/role_service.h"
#include "admin/user_service.h"
#include "aftersales/customer_exchange.h"
#include "aftersales/customer_return.h"
#include "aftersales/problem_stock.h"
#include "aftersales/sales_rules_service.h"
#include "foundation/login_service.h"
#include "foundation/password.h"
#include "foundation/platform.h"
#include "intake/goods_intake.h"
#include "intake/intake_history.h"
#include "intake/price_change.h"
#include "kit/fixtures.h"
#include "mainwindow/data_wipe.h"
#include "selling/checkout.h"
#include "selling/receipt.h"
#include "selling/till_goods.h"

namespace kestavion::test {
namespace {

std::array<bool, 26> flagsFor(const QStringList &keys) {
    std::array<bool, 26> f{};
    for (const QString &k : keys) f[static_cast<size_t>(kPermissionKeys.indexOf(k))] = true;
    return f;
}

class AdminTest : public DbTest {
protected:
    RoleService roles() { return RoleService(*db, ctx.session); }
    UserService users() { return UserService(*db, ctx.session); }
    QString addUser(const QString &no, const QString &name, const QString &password, const QString &roleGuid) {
        UserEdit u;
        u.no = no;
        u.name = name;
        u.password = password;
        u.roleGuid = roleGuid;
        u.roleName = db->scalar(QStringLiteral("SELECT Name FROM Role WHERE GUID=?"), {roleGuid}).toString();
        return users().save(u);
    }
    LoginService::Outcome login(const QString &no, const QString &password) {
        Session s;
        return LoginService(*db).login(s, no, password);
    }
    template <typename F>
    QString refusal(F f) {
        try {
            f();
        } catch (const Refusal &r) {
            return r.message();
        }
        return QString();
    }
};

TEST_F(AdminTest, RoleNamesFlagsAndTheAdministratorRole) {
    const QString clerk = roles().add(QStringLiteral("店员 'A'"), flagsFor({QStringLiteral("Sell"), QStringLiteral("AllList")}));
    ResultSet row = db->exec(QStringLiteral("SELECT * FROM Role WHERE GUID=?"), {clerk});
    ASSERT_EQ(row.rowCount(), 1);
    EXPECT_EQ(row.text(QStringLiteral("Name")), QStringLiteral("店员 'A'"));
    EXPECT_EQ(row.integer(QStringLiteral("Sell")), -1);
    EXPECT_EQ(row.integer(QStringLiteral("AllList")), -1);
    EXPECT_EQ(row.integer(QStringLiteral("BuyIn")), 0);
    EXPECT_FALSE(row.isNull(0, QStringLiteral("ReStart")));

    // Names: empty and another role's refused, the role's own accepted.
    EXPECT_EQ(refusal([&] { roles().add(QString(), {}); }), kRoleNameEmpty);
    EXPECT_EQ(refusal([&] { roles().add(QStringLiteral("店员 'A'"), {}); }), kRoleNameTaken);
    EXPECT_EQ(refusal([&] { roles().update(clerk, QStringLiteral("系统管理员"), {}); }), kRoleNameTaken);
    EXPECT_EQ(roles().update(clerk, QStringLiteral("店员 'A'"), flagsFor({QStringLiteral("BuyIn")})), 1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Sell FROM Role WHERE GUID=?"), {clerk}).toInt(), 0);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT BuyIn FROM Role WHERE GUID=?"), {clerk}).toInt(), -1);

    // The administrator role is neither edited nor deleted.
    EXPECT_EQ(refusal([&] { roles().update(kAdminRoleKey, QStringLiteral("x"), {}); }), kAdminRoleNoEdit);
    EXPECT_EQ(refusal([&] { roles().remove(kAdminRoleKey); }), kAdminRoleNoDelete);
    EXPECT_EQ(count(QStringLiteral("Role"), QStringLiteral("GUID=? AND Name='系统管理员' AND UserManage=-1"), {kAdminRoleKey}), 1);
}

TEST_F(AdminTest, DeletingARoleDeletesItsUsersButNeverOnesOwn) {
    const QString clerk = roles().add(QStringLiteral("店员"), flagsFor({QStringLiteral("Sell")}));
    const QString other = roles().add(QStringLiteral("仓管"), {});
    addUser(QStringLiteral("101"), QStringLiteral("小王"), QStringLiteral("a"), clerk);
    addUser(QStringLiteral("102"), QStringLiteral("小张"), QStringLiteral("b"), clerk);
    addUser(QStringLiteral("103"), QStringLiteral("小赵"), QStringLiteral("c"), other);
    roles().remove(clerk);
    EXPECT_EQ(count(QStringLiteral("Role"), QStringLiteral("GUID=?"), {clerk}), 0);
    EXPECT_EQ(count(QStringLiteral("\"User\""), QStringLiteral("RoleGUID=?"), {clerk}), 0);
    EXPECT_EQ(count(QStringLiteral("\"User\"")), 2);  // admin and 103

    // The role of the logged-in user: deleting it would delete him.
    db->exec(QStringLiteral("UPDATE Role SET UserManage=-1 WHERE GUID=?"), {other});
    loginAs(QStringLiteral("103"), QStringLiteral("c"));
    EXPECT_EQ(refusal([&] { roles().remove(other); }), kOwnRoleNoDelete);
    EXPECT_EQ(count(QStringLiteral("\"User\""), QStringLiteral("No='103'")), 1);

    // A failing second statement takes the first back with it.
    loginAs(QStringLiteral("admin"), QStringLiteral("admin"));
    refuseWrites(*db, QStringLiteral("no_user_delete"), QStringLiteral("DELETE"), QStringLiteral("\"User\""),
                 QStringLiteral("1=1"), QStringLiteral("locked"));
    EXPECT_THROW(roles().remove(other), DbError);
    EXPECT_EQ(count(QStringLiteral("Role"), QStringLiteral("GUID=?"), {other}), 1);
}

TEST_F(AdminTest, UserNumbersNamesPasswordsAndSelf) {
    const QString clerk = roles().add(QStringLiteral("店员"), flagsFor({QStringLiteral("Sell")}));
    const QString wang = addUser(QStringLiteral("007"), QStringLiteral("小王"), QStringLiteral("p'w"), clerk);
    const QString stored = db->scalar(QStringLiteral("SELECT pwd FROM \"User\" WHERE GUID=?"), {wang}).toString();
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_EQ(login(QStringLiteral("007"), QStringLiteral("p'w")), LoginService::Outcome::Ok);

    UserEdit u;
    u.no = QStringLiteral("007");
    u.name = QStringLiteral("小李");
    u.roleGuid = clerk;
    u.roleName = QStringLiteral("店员");
    // Staff numbers compare exactly, as the log-in does them.
    EXPECT_EQ(refusal([&] { users().save(u); }), kUserNoTaken);
    u.no = QStringLiteral("7");
    const QString li = users().save(u);
    // An empty password for a new user is an empty password.
    EXPECT_EQ(login(QStringLiteral("7"), QString()), LoginService::Outcome::Ok);
    // Two users never share a display name (their daily settlements would mix).
    u.guid.clear();
    u.no = QStringLiteral("8");
    EXPECT_EQ(refusal([&] { users().save(u); }), kUserNameTaken);
    u.name.clear();
    EXPECT_EQ(refusal([&] { users().save(u); }), kUserNameEmpty);
    u.no.clear();
    EXPECT_EQ(refusal([&] { users().save(u); }), kUserNoEmpty);

    // Editing: own number and name kept; an empty password box keeps the password.
    UserEdit e;
    e.guid = wang;
    e.no = QStringLiteral("007");
    e.name = QStringLiteral("王'五");
    e.roleGuid = clerk;
    e.roleName = QStringLiteral("店员");
    EXPECT_EQ(users().save(e), wang);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT pwd FROM \"User\" WHERE GUID=?"), {wang}).toString(), stored);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Name FROM \"User\" WHERE GUID=?"), {wang}).toString(),
              QStringLiteral("王'五"));
    e.password = QStringLiteral("new");
    users().save(e);
    EXPECT_EQ(login(QStringLiteral("007"), QStringLiteral("p'w")), LoginService::Outcome::WrongPassword);
    EXPECT_EQ(login(QStringLiteral("007"), QStringLiteral("new")), LoginService::Outcome::Ok);

    // A user whose role is gone has none and must be given one.
    db->exec(QStringLiteral("UPDATE \"User\" SET RoleGUID='{GONE}' WHERE GUID=?"), {li});
    e.guid = li;
    e.no = QStringLiteral("7");
    e.name = QStringLiteral("小李");
    e.password.clear();
    e.roleGuid.clear();
    e.roleName.clear();
    EXPECT_EQ(refusal([&] { users().save(e); }), kUserNoRole);

    // Nobody deletes himself; others go.
    EXPECT_EQ(refusal([&] { users().remove(ctx.session.user.GUID); }), kUserNoDeleteSelf);
    users().remove(li);
    EXPECT_EQ(count(QStringLiteral("\"User\""), QStringLiteral("GUID=?"), {li}), 0);

    // The role list keeps names with commas whole.
    roles().add(QStringLiteral("店长,副店长"), {});
    bool found = false;
    for (const auto &[key, name] : users().roles()) found = found || name == QStringLiteral("店长,副店长");
    EXPECT_TRUE(found);
}

// A list is read in an order of its own, not the order rows happen to lie in: rows
// written out of order, and a row rewritten (a server then keeps it elsewhere), come
// back the same on both engines. A reprint lists the pairs as they were sold.
TEST_F(AdminTest, ListsKeepTheirOrderWhenARowIsWrittenOutOfOrderOrRewritten) {
    const QString clerk = roles().add(QStringLiteral("店员"), flagsFor({QStringLiteral("Sell")}));
    addUser(QStringLiteral("102"), QStringLiteral("小李"), {}, clerk);
    const QString zhang = addUser(QStringLiteral("101"), QStringLiteral("小张"), {}, clerk);
    std::vector<SaleLine> sold;
    for (const QString &typeNo : {QStringLiteral("C3"), QStringLiteral("A1"), QStringLiteral("B2"),
                                  QStringLiteral("E5"), QStringLiteral("D4")}) {
        GoodsSpec g;
        g.typeNo = typeNo;
        g.quantity = 1;
        SaleLine line;
        line.goods.storeGuid = plantGoods(*db, g);
        line.goods.typeNo = typeNo;
        line.amount = 100;
        sold.push_back(line);
    }
    const QString sellNo = Checkout(*db, ctx.session, clock).commit(sold, Money::fromWhole(500)).sellNo;
    const auto lists = [&] {
        QStringList numbers, lines;
        const ResultSet u = users().list();
        for (int r = 0; r < u.rowCount(); ++r)
            if (u.text(r, 1).startsWith(QLatin1String("10"))) numbers << u.text(r, 1);
        ReceiptData d;
        EXPECT_EQ(ReprintSource(*db, ctx.session, clock).sale(sellNo, d), ReprintSource::Outcome::Ok);
        for (const ReceiptPair &p : d.pairs) lines << p.typeNo;
        return (numbers.join(QLatin1Char(' ')) + QStringLiteral(" | ") + lines.join(QLatin1Char(' '))).toStdString();
    };
    const std::string expected = "101 102 | C3 A1 B2 E5 D4";
    EXPECT_EQ(lists(), expected);
    db->exec(QStringLiteral("UPDATE \"User\" SET Name=? WHERE GUID=?"), {QStringLiteral("小章"), zhang});
    db->exec(QStringLiteral("UPDATE Sell SET Amount=90 WHERE SellNo=? AND TypeNo='C3'"), {sellNo});
    EXPECT_EQ(lists(), expected);
}

TEST_F(AdminTest, PasswordChangeChecksTheStoredHashAndWritesOneRow) {
    PasswordChange change(*db, ctx.session);
    EXPECT_FALSE(change.matches(QStringLiteral("Admin")));
    EXPECT_EQ(change.change(QStringLiteral("wrong"), QStringLiteral("n")), PasswordChange::Outcome::WrongOldPassword);
    EXPECT_EQ(login(QStringLiteral("admin"), QStringLiteral("admin")), LoginService::Outcome::Ok);

    EXPECT_EQ(change.change(QStringLiteral("admin"), QStringLiteral("新密码'1")), PasswordChange::Outcome::Changed);
    EXPECT_EQ(login(QStringLiteral("admin"), QStringLiteral("admin")), LoginService::Outcome::WrongPassword);
    EXPECT_EQ(login(QStringLiteral("admin"), QStringLiteral("新密码'1")), LoginService::Outcome::Ok);
    // The next change on the same run needs the new one.
    EXPECT_EQ(change.change(QStringLiteral("admin"), QString()), PasswordChange::Outcome::WrongOldPassword);
    EXPECT_EQ(change.change(QStringLiteral("新密码'1"), QString()), PasswordChange::Outcome::Changed);
    EXPECT_EQ(login(QStringLiteral("admin"), QString()), LoginService::Outcome::Ok);

    // A plain stored password (an older file) is still accepted as the old one.
    db->exec(QStringLiteral("UPDATE \"User\" SET pwd='plain' WHERE GUID=?"), {ctx.session.user.GUID});
    EXPECT_EQ(change.change(QStringLiteral("plain"), QStringLiteral("x")), PasswordChange::Outcome::Changed);
    // His row deleted meanwhile: nothing changed, nothing reported as done.
    db->exec(QStringLiteral("DELETE FROM \"User\" WHERE GUID=?"), {ctx.session.user.GUID});
    EXPECT_EQ(change.change(QStringLiteral("x"), QStringLiteral("y")), PasswordChange::Outcome::UserGone);
}

TEST_F(AdminTest, ShopRenameFollowsIntoTheSessionOnlyWhenWritten) {
    ShopSettings shop(*db, ctx.session);
    ASSERT_EQ(shop.shops().rowCount(), 1);
    EXPECT_TRUE(shop.rename(QStringLiteral("老王's 鞋店")));
    EXPECT_EQ(ctx.session.shopName, QStringLiteral("老王's 鞋店"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ShopName FROM Shop WHERE GUID=?"), {kShopKey}).toString(),
              QStringLiteral("老王's 鞋店"));
    EXPECT_EQ(ctx.session.shopNo, kShopKey);

    db->exec(QStringLiteral("DELETE FROM Shop"));
    EXPECT_FALSE(shop.rename(QStringLiteral("别的")));
    EXPECT_EQ(ctx.session.shopName, QStringLiteral("老王's 鞋店"));
}

TEST_F(AdminTest, BackupSettingsDefaultsForNullsAndSavedRow) {
    BackupSettingsService service(*db);
    db->exec(QStringLiteral("UPDATE FileSave SET dirpath=NULL,Drive=NULL,Dir=NULL,FileName=NULL,IsSave=NULL"));
    auto s = service.load();
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->dirpath, platform::defaultBackupFolder());
    EXPECT_EQ(s->drive, BackupSettingsService::driveOf(platform::defaultBackupFolder()));
    EXPECT_EQ(s->fileName, QStringLiteral("数据备份"));
    EXPECT_FALSE(s->isSave);
    EXPECT_EQ(BackupSettingsService::driveOf(QStringLiteral("d:\\数据备份")), QStringLiteral("D:\\"));
    EXPECT_EQ(BackupSettingsService::driveOf(QStringLiteral("/srv/bak")), QStringLiteral("/"));

    s->dirpath = QStringLiteral("/srv/bak'up");
    s->fileName = QStringLiteral("店");
    s->isSave = true;
    EXPECT_EQ(service.save(*s), 1);
    auto back = service.load();
    EXPECT_EQ(back->dirpath, QStringLiteral("/srv/bak'up"));
    EXPECT_EQ(back->fileName, QStringLiteral("店"));
    EXPECT_TRUE(back->isSave);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT IsSave FROM FileSave")).toInt(), 1);

    db->exec(QStringLiteral("DELETE FROM FileSave"));
    EXPECT_FALSE(service.load().has_value());
    EXPECT_EQ(service.save(*s), 0);
}

// Every operation of a gated entry refuses a user without that entry's key and writes
// nothing; the entries without a key refuse nobody.
TEST_F(AdminTest, ServicesRefuseAUserWithoutTheKey) {
    const QString none = roles().add(QStringLiteral("无权限"), {});
    addUser(QStringLiteral("900"), QStringLiteral("临时工"), QStringLiteral("pw"), none);
    GoodsSpec g;
    g.quantity = 3;
    const QString goods = plantIntake(*db, g, 80, QDate(2026, 12, 1));
    loginAs(QStringLiteral("900"), QStringLiteral("pw"));
    const Session &s = ctx.session;
    const QStringList tables = {QStringLiteral("Store"), QStringLiteral("StoreDetail"), QStringLiteral("BuyPrice"),
                                QStringLiteral("Sell"), QStringLiteral("SellChange"), QStringLiteral("BackStore"),
                                QStringLiteral("FactoryBackTotal"), QStringLiteral("Role"), QStringLiteral("\"User\"")};
    std::map<QString, qint64> before;
    for (const QString &t : tables) before[t] = count(t);

    SaleLine line;
    line.goods.storeGuid = goods;
    line.amount = 199;
    GoodsRow row;
    row.guid = goods;
    ReceiptData receipt;
    const std::vector<std::function<void()>> calls = {
        [&] { Checkout(*db, s, clock).commit({line}, Money::fromWhole(200)); },
        [&] { TillGoods::load(*db, s); },
        [&] { ReprintSource(*db, s, clock).previousSale(QStringLiteral("202612090002"), receipt); },
        [&] { GoodsIntakeService(*db, s, kBuyInKey).restock(row, 50, 1, QDate(2026, 12, 9)); },
        [&] { GoodsIntakeService(*db, s, kBuyInKey).takeInNew(GoodsIntake{}); },
        [&] { GoodsIntakeService(*db, s, kBuyInKey).goodsList(); },
        [&] { IntakeHistory(*db, s).list(); },
        [&] { PriceChange(*db, s).setPriceForTypeNo(QStringLiteral("A100"), 1); },
        [&] { CustomerReturn(*db, s, clock).returnPair(QStringLiteral("{X}"), CustomerReturn::Into::NormalStock, {}); },
        [&] { SaleVoid(*db, s, clock).voidRow(QStringLiteral("{X}"), {}); },
        [&] { CustomerExchange(*db, s, clock).commit({ExchangePair{}}); },
        [&] { findSaleRows(*db, s, QStringLiteral("ClientBack"), SaleSearch{{}, QStringLiteral("1"), {}}); },
        [&] { ProblemStock(*db, s).setAside({ProblemLine{goods, 1, QStringLiteral("开胶")}}); },
        [&] { ProblemStock(*db, s).goodsInStock(QStringLiteral("ClientChange")); },
        [&] { ProblemStock(*db, s).returnToFactory({1}, QDate(2026, 12, 9), Money()); },
        [&] { SalesRulesService(*db).save(ctx.session, s.rules); },
        [&] { DataWipe(*db, s).run(); },
        [&] { roles().add(QStringLiteral("新"), {}); },
        [&] { users().remove(QStringLiteral("{X}")); },
        [&] { ShopSettings(*db, ctx.session).rename(QStringLiteral("新名")); },
    };
    for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(refusal(calls[i]), kNoPermission) << "call " << i;
    for (const QString &t : tables) EXPECT_EQ(count(t), before[t]) << t.toStdString();
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ShopName FROM Shop")).toString(), QStringLiteral("测试鞋店"));

    // Entries without a key: the password, the backup setting, the import's intake.
    EXPECT_EQ(PasswordChange(*db, s).change(QStringLiteral("pw"), QStringLiteral("pw2")), PasswordChange::Outcome::Changed);
    EXPECT_TRUE(BackupSettingsService(*db).load().has_value());
    GoodsIntake in;
    in.typeNo = QStringLiteral("IMP1");
    in.quantity = 1;
    in.date = QDate(2026, 12, 9);
    EXPECT_NO_THROW(GoodsIntakeService(*db, s.shopNo).takeInNew(in));

    // The key alone opens its entry.
    db->exec(QStringLiteral("UPDATE Role SET BuyIn=-1 WHERE GUID=?"), {none});
    loginAs(QStringLiteral("900"), QStringLiteral("pw2"));
    EXPECT_NO_THROW(GoodsIntakeService(*db, ctx.session, kBuyInKey).takeInNew(in));
    EXPECT_EQ(refusal([&] { IntakeHistory(*db, ctx.session).list(); }), kNoPermission);
}

}  // namespace
}  // namespace kestavion::test
