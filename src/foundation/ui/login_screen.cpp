#include "foundation/ui/login_screen.h"

#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

namespace login_ui {

LoginService::Outcome attempt(Prompter &prompter, const std::function<LoginService::Outcome()> &check) {
    try {
        return check();
    } catch (const DbError &e) {
        showDbError(prompter, e);
        prompter.warning(kReadFailed, kTitleHint);
        return LoginService::Outcome::UserNotFound;
    }
}

void reportRefusal(Prompter &prompter, LoginService::Outcome outcome, QLineEdit *userNo, QLineEdit *password) {
    if (outcome == LoginService::Outcome::UserNotFound) {
        prompter.info(QStringLiteral("该用户不存在！"), kTitleHint);
        userNo->setFocus(Qt::OtherFocusReason);
        userNo->selectAll();
        password->clear();
    } else if (outcome == LoginService::Outcome::WrongPassword) {
        prompter.info(QStringLiteral("密码错误！"), kTitleHint);
        password->setFocus(Qt::OtherFocusReason);
        password->clear();
    }
}

namespace {
class EnterClicks : public QObject {
public:
    EnterClicks(QLineEdit *box, QPushButton *button) : QObject(box), button_(button) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            auto *ke = static_cast<QKeyEvent *>(event);
            if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
                button_->click();  // does nothing while the button is disabled
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton *button_;
};
}  // namespace

void wireKeys(QDialog *dialog, QLineEdit *userNo, QLineEdit *password, QPushButton *login, QPushButton *exit) {
    QWidget::setTabOrder(userNo, password);
    QWidget::setTabOrder(password, login);
    QWidget::setTabOrder(login, exit);
    disableAutoDefault(dialog);
    EnterToTab::install(userNo);
    password->installEventFilter(new EnterClicks(password, login));
    QObject::connect(exit, &QPushButton::clicked, dialog, &QDialog::reject);
    userNo->setFocus();
}

QPixmap banner(const QSize &size, const QString &text) {
    QPixmap pm(size);
    QPainter p(&pm);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(0x8b, 0x45, 0x13));
    g.setColorAt(1, QColor(0xd2, 0x9b, 0x5a));
    p.fillRect(pm.rect(), g);
    QFont f = p.font();
    f.setBold(true);
    // As large as fits: a third of the height, smaller when the text is too wide.
    int px = qMax(12, size.height() / 3);
    for (; px > 10; --px) {
        f.setPixelSize(px);
        if (QFontMetrics(f).horizontalAdvance(text) <= size.width() * 9 / 10) break;
    }
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(pm.rect(), Qt::AlignCenter, text);
    return pm;
}

}  // namespace login_ui

LoginScreen::LoginScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("系统登陆"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(login_ui::banner(QSize(420, 90), kAppTitle));
    Image1->setAlignment(Qt::AlignCenter);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(login_ui::banner(QSize(72, 72), QStringLiteral("鞋")));

    auto *lbNo = new QLabel(QStringLiteral("工 号："), this);
    auto *lbPwd = new QLabel(QStringLiteral("密 码："), this);
    txtUserNo = new QLineEdit(this);
    txtUserNo->setObjectName(QStringLiteral("txtUserNo"));
    txtUserPassWord = new QLineEdit(this);
    txtUserPassWord->setObjectName(QStringLiteral("txtUserPassWord"));
    txtUserPassWord->setEchoMode(QLineEdit::Password);
    lb = new QLabel(QStringLiteral("输入正确的密码登陆系统"), this);
    lb->setObjectName(QStringLiteral("lb"));
    cmdLogin = namedButton(this, "cmdLogin", QStringLiteral("登 陆(&L)"));
    cmdExit = namedButton(this, "cmdExit", QStringLiteral("退 出(&E)"));

    auto *fields = new QGridLayout;
    fields->addWidget(Image2, 0, 0, 3, 1, Qt::AlignTop);
    fields->addWidget(lbNo, 0, 1);
    fields->addWidget(txtUserNo, 0, 2);
    fields->addWidget(lbPwd, 1, 1);
    fields->addWidget(txtUserPassWord, 1, 2);
    fields->addWidget(lb, 2, 1, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdLogin);
    buttons->addWidget(cmdExit);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 12);
    body->addLayout(fields);
    body->addLayout(buttons);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Image1);
    outer->addLayout(body);
    outer->setSizeConstraint(QLayout::SetFixedSize);  // a fixed window

    login_ui::wireKeys(this, txtUserNo, txtUserPassWord, cmdLogin, cmdExit);
    connect(cmdLogin, &QPushButton::clicked, this, &LoginScreen::cmdLogin_Click);
}

void LoginScreen::cmdLogin_Click() {
    // A second Enter while an attempt is under way does nothing.
    if (!cmdLogin->isEnabled()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cmdLogin->setEnabled(false);
    const QString no = txtUserNo->text();
    const QString pwd = txtUserPassWord->text();
    LoginService service(*ctx_.db);
    const auto outcome = login_ui::attempt(*ctx_.prompter, [&] { return service.login(ctx_.session, no, pwd); });
    QApplication::restoreOverrideCursor();
    if (outcome == LoginService::Outcome::Ok) {
        accept();
        return;
    }
    login_ui::reportRefusal(*ctx_.prompter, outcome, txtUserNo, txtUserPassWord);
    cmdLogin->setEnabled(true);
}

}  // namespace kestavion
