#include "mainwindow/ui/about_screen.h"

#include "foundation/app_context.h"
#include "foundation/platform.h"
#include "foundation/sqlite_database.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/login_screen.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

AboutScreen::AboutScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于 ") + kAppTitle);

    auto *picture = new QLabel(this);
    picture->setPixmap(login_ui::banner(QSize(64, 64), QStringLiteral("鞋")));
    lblTitle = new QLabel(kAppTitle, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont f = lblTitle->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    lblTitle->setFont(f);
    lblVersion = new QLabel(versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDatabase = new QLabel(databaseText(ctx), this);
    lblDatabase->setObjectName(QStringLiteral("lblDatabase"));
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确定"));
    cmdSysInfo = namedButton(this, "cmdSysInfo", QStringLiteral("系统信息(&S)..."));

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDatabase);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdSysInfo);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addSpacing(16);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    disableAutoDefault(this);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] {
        SystemInfoDialog info(ctx_, this);
        info.exec();
    });
}

namespace {
QString versionNumber() {
    return QStringLiteral("%1.%2.%3").arg(KESTAVION_VERSION_MAJOR).arg(KESTAVION_VERSION_MINOR).arg(KESTAVION_VERSION_PATCH);
}
}  // namespace

QString AboutScreen::versionText() { return QStringLiteral("版本 ") + versionNumber(); }

QString AboutScreen::databaseText(const AppContext &ctx) {
    if (!ctx.db) return QStringLiteral("数据库：—");
    const bool server = ctx.db->localFile().isEmpty();
    return QStringLiteral("数据库：") + ctx.db->engineDescription() + QStringLiteral("，") +
           (server ? QStringLiteral("服务器 ") + ctx.db->location() : QStringLiteral("本机文件"));
}

QStringList SystemInfoDialog::lines(const AppContext &ctx) {
    return {
        QStringLiteral("程序：") + kAppTitle + QLatin1Char(' ') + versionNumber(),
        QStringLiteral("Qt：") + QString::fromLatin1(qVersion()),
        QStringLiteral("操作系统：") + platform::systemDescription(),
        QStringLiteral("数据库引擎：") + (ctx.db ? ctx.db->engineDescription() : QStringLiteral("—")),
        QStringLiteral("数据库：") + (ctx.db && ctx.db->localFile().isEmpty()
                                          ? QStringLiteral("服务器 ") + ctx.db->location()
                                          : QDir::toNativeSeparators(ctx.databasePath)),
    };
}

SystemInfoDialog::SystemInfoDialog(AppContext &ctx, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSysInfo"));
    setWindowTitle(QStringLiteral("系统信息"));
    auto *text = new QLabel(lines(ctx).join(QLatin1Char('\n')), this);
    text->setObjectName(QStringLiteral("lblInfo"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *ok = namedButton(this, "cmdOk", QStringLiteral("确定"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(text);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    disableAutoDefault(this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kestavion
