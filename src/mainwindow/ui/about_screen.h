#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kestavion {

struct AppContext;

// "关于 …": the program's title and version, and a button to the system information.
class AboutScreen : public QDialog {
    Q_OBJECT
public:
    explicit AboutScreen(AppContext &ctx, QWidget *parent = nullptr);

    // "版本 " + major.minor.patch of this build.
    static QString versionText();

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
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
