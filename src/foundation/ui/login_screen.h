#pragma once

#include "foundation/login_service.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class Prompter;

// "系统登陆": staff number and password. Accepted when the password matches; the
// context's session then holds the user, the role, the shop and the sales rules.
class LoginScreen : public QDialog {
    Q_OBJECT
public:
    explicit LoginScreen(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *txtUserNo = nullptr;
    QLineEdit *txtUserPassWord = nullptr;
    QPushButton *cmdLogin = nullptr;
    QPushButton *cmdExit = nullptr;
    QLabel *lb = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;

private:
    void cmdLogin_Click();
    AppContext &ctx_;
};

namespace login_ui {
// Runs one check; a database failure is shown (engine text, then the read failure)
// and counts as an unknown staff number.
LoginService::Outcome attempt(Prompter &prompter, const std::function<LoginService::Outcome()> &check);
// The refusal messages and focus moves shared by both log-in screens.
void reportRefusal(Prompter &prompter, LoginService::Outcome outcome, QLineEdit *userNo, QLineEdit *password);
// The keys both log-in screens share: Tab order number → password → buttons, Enter
// in the number moves on, Enter in the password clicks `login`, `exit` closes the
// dialog; the focus starts in the number.
void wireKeys(QDialog *dialog, QLineEdit *userNo, QLineEdit *password, QPushButton *login, QPushButton *exit);
// A small picture with the program's title, drawn in code.
QPixmap banner(const QSize &size, const QString &text);
}  // namespace login_ui

}  // namespace kestavion
