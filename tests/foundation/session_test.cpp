#include "admin/account_service.h"
#include "foundation/delivered_database.h"
#include "foundation/dictionary.h"
#include "foundation/login_service.h"
#include "foundation/password.h"
#include "foundation/till_settings.h"

#include <QFile>
#include "kit/fixtures.h"

using namespace kestavion;
using namespace kestavion::test;

TEST_F(DbTest, RoleAndRulesLoadEveryColumnByName) {
    EXPECT_EQ(ctx.session.shopNo, kShopKey);
    EXPECT_EQ(ctx.session.shopName, QStringLiteral("测试鞋店"));
    EXPECT_EQ(ctx.session.user.No, QStringLiteral("admin"));
    EXPECT_EQ(ctx.session.user.role.GUID, kAdminRoleKey);
    for (const QString &k : kPermissionKeys) EXPECT_TRUE(ctx.session.user.role.allows(k)) << k.toStdString();

    // NULL flags read as false; other rules keep their values.
    db->exec(QStringLiteral("UPDATE Role SET Sell=NULL, Profit=0 WHERE GUID=?"), {kAdminRoleKey});
    db->exec(QStringLiteral("UPDATE SellRole SET SellOrder=1, BackDays=NULL, IsPrint=-1, PrinterType=1"));
    loginAs(QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_FALSE(ctx.session.user.role.allows(QStringLiteral("Sell")));
    EXPECT_FALSE(ctx.session.user.role.allows(QStringLiteral("Profit")));
    EXPECT_TRUE(ctx.session.user.role.allows(QStringLiteral("ReStart")));
    EXPECT_EQ(ctx.session.rules.SellOrder, 1);
    EXPECT_EQ(ctx.session.rules.BackDays, 0);
    EXPECT_TRUE(ctx.session.rules.IsPrint);
    EXPECT_EQ(ctx.session.rules.PrinterType, 1);
}

TEST_F(DbTest, ColumnWithoutPropertyIsAnError) {
    ResultSet rs = db->exec(QStringLiteral("SELECT GUID, Name, Sell, 1 AS Extra FROM Role"));
    Role r;
    EXPECT_THROW(r.assignFrom(rs), DbError);
    EXPECT_TRUE(r.GUID.isEmpty());  // nothing half-assigned
    ResultSet rules = db->exec(QStringLiteral("SELECT ShopNo, 3 AS Whatever FROM SellRole"));
    SellRules s;
    EXPECT_THROW(s.assignFrom(rules), DbError);
}

TEST_F(DbTest, LoginOutcomesAndPlainPasswordUpgrade) {
    LoginService login(*db);
    db->exec(QStringLiteral("INSERT INTO \"User\" (GUID,No,Name,pwd,RoleGUID,RoleName) VALUES ('{U2}','007','小王','Secret',?,'x')"),
             {kAdminRoleKey});
    Session s;
    EXPECT_EQ(login.login(s, QStringLiteral("nobody"), QStringLiteral("x")), LoginService::Outcome::UserNotFound);
    EXPECT_EQ(login.login(s, QStringLiteral("007"), QStringLiteral("secret")), LoginService::Outcome::WrongPassword);
    EXPECT_TRUE(s.user.No.isEmpty());
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT pwd FROM \"User\" WHERE No='007'")).toString(), QStringLiteral("Secret"));
    EXPECT_EQ(login.login(s, QStringLiteral("007"), QStringLiteral("Secret")), LoginService::Outcome::Ok);
    EXPECT_EQ(s.user.Name, QStringLiteral("小王"));
    const QString stored = db->scalar(QStringLiteral("SELECT pwd FROM \"User\" WHERE No='007'")).toString();
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_EQ(login.login(s, QStringLiteral("007"), QStringLiteral("Secret")), LoginService::Outcome::Ok);
    EXPECT_EQ(login.changeUser(s, QStringLiteral("admin"), QStringLiteral("bad")), LoginService::Outcome::WrongPassword);
    EXPECT_EQ(s.user.No, QStringLiteral("007"));
    // A NULL password matches only an empty entry.
    db->exec(QStringLiteral("UPDATE \"User\" SET pwd=NULL WHERE No='007'"));
    EXPECT_EQ(login.changeUser(s, QStringLiteral("007"), QStringLiteral(" ")), LoginService::Outcome::WrongPassword);
    EXPECT_EQ(login.changeUser(s, QStringLiteral("007"), QString()), LoginService::Outcome::Ok);
}

TEST_F(DbTest, DictionaryKeepsOrderAndExactTexts) {
    Dictionary d(*db);
    EXPECT_EQ(d.entries(QStringLiteral("尺码")).first(), QStringLiteral("34"));
    EXPECT_EQ(d.entries(QStringLiteral("折扣")).first(), QStringLiteral("9.5"));
    EXPECT_EQ(d.entries(QStringLiteral("折扣")).last(), QStringLiteral("5"));
    d.add(QStringLiteral("品牌"), QStringLiteral("O'Neil"));
    d.add(QStringLiteral("品牌"), QStringLiteral("O'Neil"));
    EXPECT_EQ(d.entries(QStringLiteral("品牌")).count(QStringLiteral("O'Neil")), 2);
    EXPECT_EQ(d.remove(QStringLiteral("品牌"), QStringLiteral("O'Neil")), 2);
    EXPECT_TRUE(d.entries(QStringLiteral("没有这一项")).isEmpty());
    for (const char *item : {"颜色", "尺码", "种类", "品牌", "面料", "等级", "产地", "退货原因", "调换原因", "作废原因",
                             "其他支出项目", "折扣"})
        EXPECT_FALSE(d.entries(QString::fromUtf8(item)).isEmpty()) << item;
}

// A till of a second shop logs in to its own shop and rules, and renames only it.
TEST_F(DbTest, TillOfAnAddedShopUsesItsOwnShopRulesAndName) {
    const QString second = addShop(*db, QStringLiteral("二店"));
    EXPECT_THROW(addShop(*db, QStringLiteral("二店")), DbError);
    db->exec(QStringLiteral("UPDATE SellRole SET BackDays=3 WHERE ShopNo=?"), {second});
    ctx.session.tillShop = second;
    loginAs(QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(ctx.session.shopNo, second);
    EXPECT_EQ(ctx.session.shopName, QStringLiteral("二店"));
    EXPECT_EQ(ctx.session.rules.BackDays, 3);
    EXPECT_TRUE(ShopSettings(*db, ctx.session).rename(QStringLiteral("二号店")));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ShopName FROM Shop WHERE GUID=?"), {kShopKey}).toString(),
              QStringLiteral("测试鞋店"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ShopName FROM Shop WHERE GUID=?"), {second}).toString(),
              QStringLiteral("二号店"));
    // A till naming no shop keeps to the delivered one, also once its row is rewritten
    // (a server then returns it after the added shop's).
    db->exec(QStringLiteral("UPDATE Shop SET ShopName=? WHERE GUID=?"), {QStringLiteral("一号店"), kShopKey});
    ctx.session.tillShop.clear();
    loginAs(QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(ctx.session.shopNo, kShopKey);
    EXPECT_EQ(ctx.session.shopName, QStringLiteral("一号店"));
}

TEST_F(TempDirTest, SettingsFileNamesTheServerButNeverItsPassword) {
    const QString ini = path(QStringLiteral("Kestavion.ini"));
    EXPECT_FALSE(readTillSettings(ini).server);  // no file: the embedded database

    auto write = [&](const QString &text) {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    };
    write(QStringLiteral("[database]\nengine=postgresql\nhost=db.lan\nport=5433\nname=shop\nuser=till1\n"
                         "[till]\nshop={AB}\ntill=2\n"));
    const TillSettings t = readTillSettings(ini);
    EXPECT_TRUE(t.server);
    EXPECT_EQ(t.shopKey, QStringLiteral("{AB}"));
    EXPECT_EQ(t.tillKey, QStringLiteral("2"));
    EXPECT_TRUE(t.conninfo.contains(QStringLiteral("host='db.lan'")));
    EXPECT_TRUE(t.conninfo.contains(QStringLiteral("dbname='shop'")));
    EXPECT_FALSE(t.conninfo.contains(QStringLiteral("password")));

    write(QStringLiteral("[database]\nengine=postgresql\npassword=secret\n"));
    EXPECT_THROW(readTillSettings(ini), DbError);
    write(QStringLiteral("[database]\nengine=oracle\n"));
    EXPECT_THROW(readTillSettings(ini), DbError);
#ifndef Q_OS_WIN
    QFile pass(path(QStringLiteral("till.pgpass")));
    ASSERT_TRUE(pass.open(QIODevice::WriteOnly));
    pass.close();
    pass.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    write(QStringLiteral("[database]\nengine=postgresql\npassfile=till.pgpass\n"));
    EXPECT_THROW(readTillSettings(ini), DbError);
    pass.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(readTillSettings(ini).conninfo.contains(QStringLiteral("passfile=")));
#endif
}
