#include "foundation/ui/relogin_screen.h"

#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/login_screen.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

ReLoginScreen::ReLoginScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmReLogin"));
    setWindowTitle(QStringLiteral("更换用户"));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    auto *page = new QWidget;
    SSTab1->addTab(page, QStringLiteral("更换用户"));

    lbUserNo = new QLabel(QStringLiteral("工 号："), page);
    lbUserNo->setObjectName(QStringLiteral("lbUserNo"));
    txtUserNo = new QLineEdit(page);
    txtUserNo->setObjectName(QStringLiteral("txtUserNo"));
    L_PassWord = new QLabel(QStringLiteral("密 码："), page);
    L_PassWord->setObjectName(QStringLiteral("L_PassWord"));
    txtUserPassWord = new QLineEdit(page);
    txtUserPassWord->setObjectName(QStringLiteral("txtUserPassWord"));
    txtUserPassWord->setEchoMode(QLineEdit::Password);
    lb = new QLabel(QStringLiteral("输入正确的密码登陆系统"), page);
    lb->setObjectName(QStringLiteral("lb"));

    auto *grid = new QGridLayout(page);
    grid->addWidget(lbUserNo, 0, 0);
    grid->addWidget(txtUserNo, 0, 1);
    grid->addWidget(L_PassWord, 1, 0);
    grid->addWidget(txtUserPassWord, 1, 1);
    grid->addWidget(lb, 2, 0, 1, 2);

    cmdLogin = namedButton(this, "cmdLogin", QStringLiteral("确定(&L)"));
    cmdExit = namedButton(this, "cmdExit", QStringLiteral("退出(&E)"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdLogin);
    buttons->addWidget(cmdExit);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(SSTab1);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    txtUserNo->setMinimumWidth(180);

    login_ui::wireKeys(this, txtUserNo, txtUserPassWord, cmdLogin, cmdExit);
    connect(cmdLogin, &QPushButton::clicked, this, &ReLoginScreen::cmdLogin_Click);
}

void ReLoginScreen::cmdLogin_Click() {
    const QString no = txtUserNo->text();
    const QString pwd = txtUserPassWord->text();
    LoginService service(*ctx_.db);
    const auto outcome = login_ui::attempt(*ctx_.prompter, [&] { return service.changeUser(ctx_.session, no, pwd); });
    if (outcome == LoginService::Outcome::Ok) {
        accept();
        return;
    }
    login_ui::reportRefusal(*ctx_.prompter, outcome, txtUserNo, txtUserPassWord);
}

}  // namespace kestavion
