#include "admin/ui/account_screens.h"
#include "admin/ui/admin_screens.h"
#include "admin/ui/admin_toolbar.h"
#include "admin/ui/role_screen.h"
#include "admin/ui/user_screen.h"
#include "foundation/login_service.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/screen_registry.h"
#include "kit/fixtures.h"
#include "mainwindow/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

namespace kestavion::test {
namespace {

class AdminScreens : public DbTest {
protected:
    static void showActive(QWidget &w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static void alt(QWidget &w, Qt::Key key) { QTest::keyClick(&w, key, Qt::AltModifier); }
    static bool on(EditToolbar *t, const char *key) { return t->button(QString::fromLatin1(key))->isEnabled(); }
    int roleRow(Grid *g, const QString &name) { return g->findRow(name, 1, g->colIndex(QStringLiteral("Name"))); }
};

TEST_F(AdminScreens, RolesFromTheKeyboardWithTheTreeRules) {
    RoleScreen s(ctx);
    showActive(s);
    Grid *g = s.VSFlexGrid;
    EXPECT_EQ(s.windowTitle(), QStringLiteral("角色"));
    EXPECT_EQ(g->textMatrix(0, 2), QStringLiteral("角色名称"));
    EXPECT_EQ(s.TreeView->topLevelItemCount(), 1);
    EXPECT_EQ(s.node(QStringLiteral("AllList"))->childCount(), 25);
    EXPECT_EQ(s.node(QStringLiteral("ReStart"))->parent()->indexOfChild(s.node(QStringLiteral("ReStart"))), 1);
    EXPECT_EQ(s.txtRole->text(), QStringLiteral("系统管理员"));
    EXPECT_EQ(s.node(QStringLiteral("Profit"))->checkState(0), Qt::Checked);
    EXPECT_TRUE(on(s.Toolbar, "Add") && on(s.Toolbar, "Edit") && on(s.Toolbar, "Del"));
    EXPECT_FALSE(on(s.Toolbar, "Cancel") || on(s.Toolbar, "Save"));

    // A node click on the administrator role is refused and changes nothing.
    s.node(QStringLiteral("Sell"))->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("对不起不能编辑管理员角色！"));
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Info);
    EXPECT_EQ(prompter.last()->title, QStringLiteral("提示"));
    EXPECT_EQ(s.node(QStringLiteral("Sell"))->checkState(0), Qt::Checked);
    EXPECT_FALSE(s.isEditing());
    alt(s, Qt::Key_D);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("对不起不能删除管理员角色！"));

    // Alt+A adds; an empty name is refused with the focus back in the name box.
    alt(s, Qt::Key_A);
    EXPECT_TRUE(s.isAdding());
    EXPECT_EQ(QApplication::focusWidget(), s.txtRole);
    EXPECT_FALSE(on(s.Toolbar, "Add"));
    EXPECT_TRUE(on(s.Toolbar, "Save"));
    EXPECT_EQ(s.node(QStringLiteral("AllList"))->checkState(0), Qt::Unchecked);
    alt(s, Qt::Key_S);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("角色名称不能为空！"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtRole);

    // Name, Enter to the tree, Space ticks a child: the root follows.
    s.txtRole->insert(QStringLiteral("店员"));  // typed through the input method
    QTest::keyClick(s.txtRole, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.TreeView);
    s.TreeView->setCurrentItem(s.node(QStringLiteral("Sell")));
    QTest::keyClick(s.TreeView, Qt::Key_Space);
    EXPECT_EQ(s.node(QStringLiteral("Sell"))->checkState(0), Qt::Checked);
    EXPECT_EQ(s.node(QStringLiteral("AllList"))->checkState(0), Qt::Checked);
    s.node(QStringLiteral("BuyIn"))->setCheckState(0, Qt::Checked);
    // Unchecking the children leaves the root checked.
    s.node(QStringLiteral("BuyIn"))->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(s.node(QStringLiteral("AllList"))->checkState(0), Qt::Checked);
    alt(s, Qt::Key_S);
    EXPECT_FALSE(s.isAdding());
    EXPECT_EQ(count(QStringLiteral("Role"), QStringLiteral("Name='店员' AND Sell=-1 AND AllList=-1 AND BuyIn=0")), 1);
    EXPECT_TRUE(on(s.Toolbar, "Add"));

    // A node click on another role starts editing; Cancel brings the stored flags back.
    const int clerk = roleRow(g, QStringLiteral("店员"));
    ASSERT_EQ(g->row(), clerk);
    s.node(QStringLiteral("Profit"))->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(s.isEditing());
    EXPECT_TRUE(on(s.Toolbar, "Save"));
    // Unchecking the root unchecks everything.
    s.node(QStringLiteral("AllList"))->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(s.node(QStringLiteral("Sell"))->checkState(0), Qt::Unchecked);
    alt(s, Qt::Key_C);
    EXPECT_FALSE(s.isEditing());
    EXPECT_EQ(s.node(QStringLiteral("Sell"))->checkState(0), Qt::Checked);
    EXPECT_EQ(s.node(QStringLiteral("Profit"))->checkState(0), Qt::Unchecked);

    // Renaming to another role's name is refused.
    alt(s, Qt::Key_E);
    s.txtRole->setText(QStringLiteral("系统管理员"));
    alt(s, Qt::Key_S);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("该角色已经存在！"));
    alt(s, Qt::Key_C);
    EXPECT_EQ(s.txtRole->text(), QStringLiteral("店员"));

    // Delete asks; No keeps it, Yes removes it and shows the row that took its place.
    prompter.answer({false, true});
    alt(s, Qt::Key_D);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("如果要删除该角色那么该角色下的用户也将一并删除？"));
    EXPECT_EQ(count(QStringLiteral("Role")), 2);
    alt(s, Qt::Key_D);
    EXPECT_EQ(count(QStringLiteral("Role")), 1);
    EXPECT_EQ(g->rows(), 2);
    EXPECT_EQ(s.txtRole->text(), QStringLiteral("系统管理员"));
}

TEST_F(AdminScreens, UsersScreenFieldsRolesAndMessages) {
    db->exec(QStringLiteral("INSERT INTO Role (GUID,Name,Sell) VALUES ('{R-1}','店长,副店长',-1)"));
    UserScreen s(ctx);
    showActive(s);
    Grid *g = s.VSFlexGrid;
    EXPECT_EQ(s.windowTitle(), QStringLiteral("用户管理"));
    EXPECT_EQ(g->rows(), 2);
    EXPECT_EQ(s.txtNo->text(), QStringLiteral("admin"));
    EXPECT_TRUE(s.txtPwd->text().isEmpty());  // never shown
    EXPECT_EQ(s.txtPwd->echoMode(), QLineEdit::Password);
    EXPECT_EQ(s.roleCombo.No(), kAdminRoleKey);
    EXPECT_EQ(s.comRole->count(), 2);  // a comma in a role name splits nothing
    EXPECT_FALSE(s.txtNo->isEnabled());

    // Nobody deletes himself.
    alt(s, Qt::Key_D);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("对不起不能删除该用户！"));

    alt(s, Qt::Key_A);
    EXPECT_EQ(QApplication::focusWidget(), s.txtNo);
    QTest::keyClicks(s.txtNo, QStringLiteral("admin"));
    QTest::keyClick(s.txtNo, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.txtName);
    s.txtName->insert(QStringLiteral("小王"));
    QTest::keyClick(s.txtName, Qt::Key_Return);
    QTest::keyClicks(s.txtPwd, QStringLiteral("123"));
    alt(s, Qt::Key_S);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("编号已经存在！"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtNo);
    s.txtNo->setText(QStringLiteral("101"));
    alt(s, Qt::Key_S);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("请选择一个角色！"));
    EXPECT_EQ(QApplication::focusWidget(), s.comRole);
    // Dropping the list down refills it and keeps what is chosen.
    s.roleCombo.setNo(QStringLiteral("{R-1}"));
    s.comRole->showPopup();
    s.comRole->hidePopup();
    EXPECT_EQ(s.roleCombo.Caption(), QStringLiteral("店长,副店长"));
    alt(s, Qt::Key_S);
    EXPECT_FALSE(s.isAdding());
    EXPECT_EQ(count(QStringLiteral("\"User\""), QStringLiteral("No='101' AND RoleGUID='{R-1}' AND RoleName='店长,副店长'")), 1);
    EXPECT_EQ(g->text(g->row(), QStringLiteral("角色")), QStringLiteral("店长,副店长"));
    EXPECT_TRUE(s.txtPwd->text().isEmpty());
    Session other;
    EXPECT_EQ(LoginService(*db).login(other, QStringLiteral("101"), QStringLiteral("123")), LoginService::Outcome::Ok);

    // A user whose role is gone shows none.
    db->exec(QStringLiteral("DELETE FROM Role WHERE GUID='{R-1}'"));
    UserScreen again(ctx);
    again.VSFlexGrid->setRow(1);  // users by staff number: 101 before admin
    EXPECT_EQ(again.roleCombo.ListIndex(), -1);

    prompter.answer({false, true});
    alt(s, Qt::Key_D);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("是否要删除该记录！"));
    EXPECT_EQ(count(QStringLiteral("\"User\"")), 2);
    alt(s, Qt::Key_D);
    EXPECT_EQ(count(QStringLiteral("\"User\"")), 1);
    EXPECT_EQ(s.txtNo->text(), QStringLiteral("admin"));
}

TEST_F(AdminScreens, PasswordChangeClearsTheRightBoxes) {
    ChangePasswordScreen s(ctx);
    showActive(s);
    EXPECT_EQ(QApplication::focusWidget(), s.txtOldPwd);
    QTest::keyClicks(s.txtOldPwd, QStringLiteral("nope"));
    QTest::keyClick(s.txtOldPwd, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.txtNewPwd);
    QTest::keyClicks(s.txtNewPwd, QStringLiteral("n1"));
    QTest::keyClick(s.txtNewPwd, Qt::Key_Return);
    QTest::keyClicks(s.txtRepeatPwd, QStringLiteral("n1"));
    QTest::keyClick(s.txtRepeatPwd, Qt::Key_Return);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("旧密码不正确！"));
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Info);
    EXPECT_TRUE(s.txtOldPwd->text().isEmpty());
    EXPECT_EQ(s.txtNewPwd->text(), QStringLiteral("n1"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtOldPwd);

    QTest::keyClicks(s.txtOldPwd, QStringLiteral("admin"));
    s.txtRepeatPwd->setText(QStringLiteral("n2"));
    QTest::keyClick(s.txtRepeatPwd, Qt::Key_Return);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("两次输入的密码不一致！"));
    EXPECT_EQ(s.txtOldPwd->text(), QStringLiteral("admin"));
    EXPECT_TRUE(s.txtNewPwd->text().isEmpty() && s.txtRepeatPwd->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), s.txtNewPwd);

    s.txtNewPwd->setText(QStringLiteral("n2"));
    s.txtRepeatPwd->setText(QStringLiteral("n2"));
    s.cmdOk->click();
    EXPECT_EQ(prompter.lastText(), QStringLiteral("修改成功！"));
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Warning);
    EXPECT_EQ(prompter.last()->title, kAppTitle);
    EXPECT_EQ(s.result(), QDialog::Accepted);
    Session other;
    EXPECT_EQ(LoginService(*db).login(other, QStringLiteral("admin"), QStringLiteral("n2")), LoginService::Outcome::Ok);
}

TEST_F(AdminScreens, ShopRenameFromTheToolbarAndTheCaptionFollows) {
    ScreenRegistry registry;
    registerAdminScreens(registry);
    MainWindow w(ctx, registry);
    bool renamed = false;
    onNextModal([&](QWidget *list) {
        EXPECT_EQ(list->objectName(), QStringLiteral("frmChangeShop"));
        auto *view = child<QListWidget>(list, QStringLiteral("ListView"));
        ASSERT_EQ(view->count(), 1);
        EXPECT_EQ(view->item(0)->text(), QStringLiteral("测试鞋店"));
        onNextModal([&](QWidget *dlg) {
            EXPECT_EQ(dlg->objectName(), QStringLiteral("frmShopSetting"));
            auto *name = child<QLineEdit>(dlg, QStringLiteral("txtNo"));
            EXPECT_EQ(name->selectedText(), QStringLiteral("测试鞋店"));
            name->clear();
            QTest::keyClick(name, Qt::Key_Return);
            EXPECT_EQ(prompter.lastText(), QStringLiteral("名称不能为空！"));
            name->setText(QStringLiteral("老王's 鞋店"));
            QTest::keyClick(name, Qt::Key_Return);
            renamed = true;
        });
        child<QPushButton>(list, QStringLiteral("cmdEdit"))->click();
        EXPECT_EQ(view->item(0)->text(), QStringLiteral("老王's 鞋店"));
        static_cast<QDialog *>(list)->reject();
    });
    w.toolbarButton(QStringLiteral("ChangeShop"))->trigger();
    EXPECT_TRUE(renamed);
    EXPECT_EQ(ctx.session.shopName, QStringLiteral("老王's 鞋店"));
    EXPECT_EQ(w.windowTitle(), kAppTitle + QStringLiteral("-老王's 鞋店"));
}

TEST_F(AdminScreens, BackupSettingsShowDefaultsAndSave) {
    db->exec(QStringLiteral("UPDATE FileSave SET dirpath=NULL,Drive=NULL,Dir=NULL,FileName=NULL,IsSave=NULL"));
    BackupSettingsScreen s(ctx);
    showActive(s);
    EXPECT_EQ(s.comFile->currentText(), QStringLiteral(".mdb"));
    EXPECT_EQ(s.txtFileName->text(), QStringLiteral("数据备份"));
    EXPECT_FALSE(s.txtFilePath->text().isEmpty());
    EXPECT_FALSE(s.IsSave->isChecked());

    // A folder picked in the list replaces the typed path.
    s.txtFilePath->setText(QStringLiteral("typed"));
    s.Dir->setCurrentIndex(static_cast<QFileSystemModel *>(s.Dir->model())->index(dir.path()));
    EXPECT_EQ(QDir::fromNativeSeparators(s.txtFilePath->text()), dir.path());

    s.txtFileName->setText(QStringLiteral("a/b"));
    s.cmdSave->click();
    EXPECT_EQ(QApplication::focusWidget(), s.txtFileName);
    EXPECT_EQ(count(QStringLiteral("FileSave"), QStringLiteral("FileName IS NULL")), 1);

    s.txtFileName->setText(QStringLiteral("店铺"));
    s.IsSave->setChecked(true);
    s.cmdSave->click();
    EXPECT_EQ(prompter.lastText(), QStringLiteral("保存成功！"));
    EXPECT_EQ(s.result(), QDialog::Accepted);
    EXPECT_EQ(count(QStringLiteral("FileSave"), QStringLiteral("FileName='店铺' AND IsSave=1 AND dirpath=?"),
                    {QDir::toNativeSeparators(dir.path())}),
              1);

    // No row to write: no success.
    db->exec(QStringLiteral("DELETE FROM FileSave"));
    BackupSettingsScreen empty(ctx);
    empty.txtFilePath->setText(QStringLiteral("/x"));
    empty.txtFileName->setText(QStringLiteral("y"));
    prompter.clear();
    empty.cmdSave->click();
    EXPECT_NE(prompter.lastText(), QStringLiteral("保存成功！"));
    EXPECT_NE(empty.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace kestavion::test
