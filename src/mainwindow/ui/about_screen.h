#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kestavion {

struct AppContext;

// "关于 …": the program's title and version, the database engine and where the data
// lives (this machine's file or a server), and a button to the system information.
class AboutScreen : public QDialog {
    Q_OBJECT
public:
    explicit AboutScreen(AppContext &ctx, QWidget *parent = nullptr);

    // "版本 " + major.minor.patch of this build.
    static QString versionText();
    // "数据库：PostgreSQL 15.4，服务器 host:5432/shop" or "…，本机文件".
    static QString databaseText(const AppContext &ctx);

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDatabase = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdSysInfo = nullptr;

private:
    AppContext &ctx_;
};

// The program and Qt versions, the operating system, the SQLCipher version and the
// database's path.
class SystemInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit SystemInfoDialog(AppContext &ctx, QWidget *parent = nullptr);
    // The lines shown, one "label：value" each.
    static QStringList lines(const AppContext &ctx);
};

}  // namespace kestavion
