#include "foundation/password.h"
#include "foundation/ui/login_screen.h"
#include "foundation/ui/relogin_screen.h"
#include "kit/fixtures.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kestavion;
using namespace kestavion::test;

namespace {

// A shop assistant whose role allows only selling, password stored as typed.
void plantClerk(Database &db, const QString &roleGuid = QStringLiteral("{ROLE-CLERK}")) {
    db.exec(QStringLiteral("INSERT INTO Role (GUID,Name,Sell) VALUES ('{ROLE-CLERK}','店员',-1)"));
    db.exec(QStringLiteral("INSERT INTO \"User\" (GUID,No,Name,pwd,RoleGUID,RoleName) VALUES ('{U-007}','007','小王','Secret',?,'店员')"),
            {roleGuid});
}

// Records like the scripted prompter, and presses Enter in the password box again
// while a message is "on screen", as an impatient user would.
class EnterAgainPrompter final : public Prompter {
public:
    ScriptedPrompter inner;
    QLineEdit *box = nullptr;
    void info(const QString &t, const QString &title) override {
        inner.info(t, title);
        again();
    }
    void warning(const QString &t, const QString &title) override { inner.warning(t, title); }
    void exclamation(const QString &t, const QString &title) override { inner.exclamation(t, title); }
    bool question(const QString &t, const QString &title) override { return inner.question(t, title); }
    void plain(const QString &t, const QString &title) override { inner.plain(t, title); }

private:
    void again() {
        if (box && depth++ == 0) QTest::keyClick(box, Qt::Key_Return);
        depth = 0;
    }
    int depth = 0;
};

void type(QLineEdit *box, const QString &text) {
    box->clear();
    QTest::keyClicks(box, text);
}

}  // namespace

class LoginScreenTest : public DbTest {};

TEST_F(LoginScreenTest, FourOutcomesWithMessagesFocusAndClearing) {
    plantClerk(*db);
    LoginScreen dlg(ctx);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("系统登陆"));
    EXPECT_EQ(child<QPushButton>(&dlg, QStringLiteral("cmdLogin"))->text(), QStringLiteral("登 陆(&L)"));
    EXPECT_EQ(child<QPushButton>(&dlg, QStringLiteral("cmdExit"))->text(), QStringLiteral("退 出(&E)"));

    // Unknown staff number: number selected, password cleared, user unchanged.
    type(dlg.txtUserNo, QStringLiteral("nobody"));
    type(dlg.txtUserPassWord, QStringLiteral("x"));
    QTest::mouseClick(dlg.cmdLogin, Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Info);
    EXPECT_EQ(prompter.last()->text, QStringLiteral("该用户不存在！"));
    EXPECT_EQ(prompter.last()->title, QStringLiteral("提示"));
    EXPECT_EQ(dlg.focusWidget(), dlg.txtUserNo);
    EXPECT_EQ(dlg.txtUserNo->selectedText(), QStringLiteral("nobody"));
    EXPECT_TRUE(dlg.txtUserPassWord->text().isEmpty());
    EXPECT_TRUE(dlg.cmdLogin->isEnabled());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(ctx.session.user.No, QStringLiteral("admin"));

    // Wrong password (case counts): focus back in the cleared password box.
    type(dlg.txtUserNo, QStringLiteral("007"));
    type(dlg.txtUserPassWord, QStringLiteral("secret"));
    QTest::mouseClick(dlg.cmdLogin, Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.last()->text, QStringLiteral("密码错误！"));
    EXPECT_EQ(prompter.last()->title, QStringLiteral("提示"));
    EXPECT_EQ(dlg.focusWidget(), dlg.txtUserPassWord);
    EXPECT_TRUE(dlg.txtUserPassWord->text().isEmpty());
    EXPECT_EQ(dlg.txtUserNo->text(), QStringLiteral("007"));
    EXPECT_EQ(ctx.session.user.No, QStringLiteral("admin"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT pwd FROM \"User\" WHERE No='007'")).toString(), QStringLiteral("Secret"));

    // Matching password: the screen closes and the clerk is the user; the stored
    // plain-text password is now a hash.
    type(dlg.txtUserPassWord, QStringLiteral("Secret"));
    QTest::mouseClick(dlg.cmdLogin, Qt::LeftButton);
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(ctx.session.user.No, QStringLiteral("007"));
    EXPECT_EQ(ctx.session.user.Name, QStringLiteral("小王"));
    EXPECT_TRUE(ctx.session.user.role.allows(QStringLiteral("Sell")));
    EXPECT_FALSE(ctx.session.user.role.allows(QStringLiteral("UserManage")));
    const QString stored = db->scalar(QStringLiteral("SELECT pwd FROM \"User\" WHERE No='007'")).toString();
    EXPECT_TRUE(isPasswordHash(stored));
    EXPECT_TRUE(verifyPassword(stored, QStringLiteral("Secret")));
}

TEST_F(LoginScreenTest, UnreadableUserTableReportsEngineTextThenReadFailure) {
    db->exec(QStringLiteral("ALTER TABLE \"User\" RENAME TO UserGone"));
    LoginScreen dlg(ctx);
    dlg.show();
    type(dlg.txtUserNo, QStringLiteral("admin"));
    type(dlg.txtUserPassWord, QStringLiteral("admin"));
    QTest::mouseClick(dlg.cmdLogin, Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(prompter.messages[0].kind, Prompter::Kind::Plain);
    EXPECT_TRUE(prompter.messages[0].text.contains(QStringLiteral("User"))) << prompter.messages[0].text.toStdString();
    EXPECT_EQ(prompter.messages[1].kind, Prompter::Kind::Warning);
    EXPECT_EQ(prompter.messages[1].text, kReadFailed);
    EXPECT_EQ(prompter.messages[2].text, QStringLiteral("该用户不存在！"));
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(dlg.cmdLogin->isEnabled());
}

TEST_F(LoginScreenTest, EnterMovesOnThenLogsInExactlyOnce) {
    EnterAgainPrompter p;
    ctx.prompter = &p;
    LoginScreen dlg(ctx);
    p.box = dlg.txtUserPassWord;
    dlg.show();
    dlg.txtUserNo->setFocus();
    QTest::keyClicks(dlg.txtUserNo, QStringLiteral("admin"));
    QTest::keyClick(dlg.txtUserNo, Qt::Key_Return);
    EXPECT_EQ(dlg.focusWidget(), dlg.txtUserPassWord);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    // A second Enter while the refusal is on screen does not start another attempt.
    QTest::keyClicks(dlg.txtUserPassWord, QStringLiteral("wrong"));
    QTest::keyClick(dlg.txtUserPassWord, Qt::Key_Return);
    ASSERT_EQ(p.inner.messages.size(), 1u);
    EXPECT_EQ(p.inner.lastText(), QStringLiteral("密码错误！"));
    EXPECT_TRUE(dlg.cmdLogin->isEnabled());

    QTest::keyClicks(dlg.txtUserPassWord, QStringLiteral("admin"));
    QTest::keyClick(dlg.txtUserPassWord, Qt::Key_Enter);
    EXPECT_EQ(p.inner.messages.size(), 1u);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(LoginScreenTest, ChangeUserOnlyOnMatchingPassword) {
    plantClerk(*db);
    db->exec(QStringLiteral("UPDATE Shop SET ShopName='改名后'"));
    {
        ReLoginScreen dlg(ctx);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("更换用户"));
        EXPECT_EQ(dlg.cmdLogin->text(), QStringLiteral("确定(&L)"));
        EXPECT_EQ(dlg.lbUserNo->text(), QStringLiteral("工 号："));
        EXPECT_EQ(dlg.L_PassWord->text(), QStringLiteral("密 码："));
        type(dlg.txtUserNo, QStringLiteral("007"));
        type(dlg.txtUserPassWord, QStringLiteral("bad"));
        QTest::keyClick(dlg.txtUserPassWord, Qt::Key_Return);
        EXPECT_EQ(prompter.lastText(), QStringLiteral("密码错误！"));
        EXPECT_EQ(dlg.focusWidget(), dlg.txtUserPassWord);
        QTest::mouseClick(dlg.cmdExit, Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    // The failed attempt and the exit leave the previous user with their role.
    EXPECT_EQ(ctx.session.user.No, QStringLiteral("admin"));
    EXPECT_TRUE(ctx.session.user.role.allows(QStringLiteral("UserManage")));

    ReLoginScreen dlg(ctx);
    dlg.show();
    type(dlg.txtUserNo, QStringLiteral("007"));
    type(dlg.txtUserPassWord, QStringLiteral("Secret"));
    QTest::keyClick(dlg.txtUserPassWord, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(ctx.session.user.No, QStringLiteral("007"));
    EXPECT_FALSE(ctx.session.user.role.allows(QStringLiteral("UserManage")));
    // Shop and rules are not re-read by a change of user.
    EXPECT_EQ(ctx.session.shopName, QStringLiteral("测试鞋店"));
}

TEST_F(LoginScreenTest, UserWithUnknownRoleGetsNoPermissions) {
    plantClerk(*db, QStringLiteral("{NO-SUCH-ROLE}"));
    ReLoginScreen dlg(ctx);
    dlg.show();
    type(dlg.txtUserNo, QStringLiteral("007"));
    type(dlg.txtUserPassWord, QStringLiteral("Secret"));
    QTest::mouseClick(dlg.cmdLogin, Qt::LeftButton);
    ASSERT_EQ(ctx.session.user.No, QStringLiteral("007"));
    // Not the administrator's flags carried over from the previous user.
    for (const QString &k : kPermissionKeys) EXPECT_FALSE(ctx.session.user.role.allows(k)) << k.toStdString();
}
