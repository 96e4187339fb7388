#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;
class QFileSystemModel;

namespace kestavion {

struct AppContext;

// frmChangePwd ("修改密码"): the logged-in user changes his own password.
class ChangePasswordScreen : public QDialog {
    Q_OBJECT
public:
    ChangePasswordScreen(AppContext &ctx, QWidget *parent = nullptr);

    QGroupBox *Frame1;
    QLineEdit *txtOldPwd;
    QLineEdit *txtNewPwd;
    QLineEdit *txtRepeatPwd;
    QLabel *lbInfor;
    QPushButton *cmdOk;

private:
    void ok();
    AppContext &ctx_;
};

// frmChangeShop ("店面管理"): the shops as icons; 修 改 renames the selected one.
class ShopListScreen : public QDialog {
    Q_OBJECT
public:
    ShopListScreen(AppContext &ctx, QWidget *parent = nullptr);

    QListWidget *ListView;
    QPushButton *cmdEdit;

private:
    void LoadShopList();
    void rename();
    AppContext &ctx_;
};

// frmShopSetting ("店面"): the shop's new name.
class ShopNameDialog : public QDialog {
    Q_OBJECT
public:
    ShopNameDialog(AppContext &ctx, QWidget *parent = nullptr);

    // Remembers the mode (2: rename) and shows the name, all of it selected.
    void LoadIt(int mode, const QString &name);
    // True when the shop was renamed.
    bool renamed() const { return renamed_; }

    QLineEdit *txtNo;
    QPushButton *cmdNewGoods;
    QLabel *lbInfo;

private:
    void save();
    AppContext &ctx_;
    int mode_ = 2;
    bool renamed_ = false;
};

// frmBackup ("数据备份设置"): where and under which name the database is copied when
// the program closes, and whether it is.
class BackupSettingsScreen : public QDialog {
    Q_OBJECT
public:
    BackupSettingsScreen(AppContext &ctx, QWidget *parent = nullptr);

    QComboBox *Drive;
    QTreeView *Dir;
    QLineEdit *txtFilePath;
    QLineEdit *txtFileName;
    QComboBox *comFile;
    QCheckBox *IsSave;
    QPushButton *cmdSave;

    // The folder the folder list shows as chosen (full path, native separators).
    QString dirPath() const;
    // Moves the folder list to a folder (and its drive); the path box is not touched.
    void setDirPath(const QString &path);
    void setDrive(const QString &drive);

private:
    void LoadBackupSettings();
    void save();
    AppContext &ctx_;
    QFileSystemModel *folders_;
    bool loading_ = false;
};

}  // namespace kestavion
