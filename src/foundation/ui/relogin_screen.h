#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kestavion {

struct AppContext;

// "更换用户": another member of staff takes over without restarting. Accepted only
// when the password matches; the session's user is then the new one (shop and sales
// rules are not re-read). Closing it any other way leaves the current user.
class ReLoginScreen : public QDialog {
    Q_OBJECT
public:
    explicit ReLoginScreen(AppContext &ctx, QWidget *parent = nullptr);

    QLabel *lbUserNo = nullptr;
    QLineEdit *txtUserNo = nullptr;
    QLabel *L_PassWord = nullptr;
    QLineEdit *txtUserPassWord = nullptr;
    QLabel *lb = nullptr;
    QPushButton *cmdLogin = nullptr;
    QPushButton *cmdExit = nullptr;
    QTabWidget *SSTab1 = nullptr;

private:
    void cmdLogin_Click();
    AppContext &ctx_;
};

}  // namespace kestavion
