#include "admin/ui/account_screens.h"

#include "admin/account_service.h"
#include "admin/backup_settings.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace kestavion {

namespace {


QLineEdit *hiddenBox(QWidget *parent, const char *name) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setEchoMode(QLineEdit::Password);
    return e;
}

// The shop list's icon: a small shop front.
QIcon shopIcon() {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x33, 0x55, 0x88), 2));
    p.setBrush(QColor(0xdd, 0xe8, 0xf5));
    p.drawRect(8, 18, 32, 24);
    p.setBrush(QColor(0xc0, 0x39, 0x2b));
    p.drawPolygon(QPolygon({QPoint(4, 18), QPoint(24, 6), QPoint(44, 18)}));
    p.setBrush(QColor(0x88, 0x66, 0x44));
    p.drawRect(20, 28, 8, 14);
    return QIcon(pm);
}

}  // namespace

// --- password -------------------------------------------------------------------

ChangePasswordScreen::ChangePasswordScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmChangePwd"));
    setWindowTitle(QStringLiteral("修改密码"));
    Frame1 = new QGroupBox(QStringLiteral("密码设置"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    txtOldPwd = hiddenBox(Frame1, "txtOldPwd");
    txtNewPwd = hiddenBox(Frame1, "txtNewPwd");
    txtRepeatPwd = hiddenBox(Frame1, "txtRepeatPwd");
    auto *form = new QFormLayout(Frame1);
    form->addRow(QStringLiteral("旧密码："), txtOldPwd);
    form->addRow(QStringLiteral("新密码："), txtNewPwd);
    form->addRow(QStringLiteral("密  码："), txtRepeatPwd);
    lbInfor = new QLabel(QStringLiteral("请保证两次输入的密码保持一致"), this);
    lbInfor->setObjectName(QStringLiteral("lbInfor"));
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确定(&O)"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lbInfor, 1);
    bottom->addWidget(cmdOk);
    auto *top = new QVBoxLayout(this);
    top->addWidget(Frame1);
    top->addLayout(bottom);
    resize(360, 200);

    EnterToTab::install({txtOldPwd, txtNewPwd});
    connect(txtRepeatPwd, &QLineEdit::returnPressed, this, &ChangePasswordScreen::ok);
    connect(cmdOk, &QPushButton::clicked, this, &ChangePasswordScreen::ok);
    EnterClicksButtons::install(this);
    txtOldPwd->setFocus();
}

void ChangePasswordScreen::ok() {
    PasswordChange change(ctx_.database(), ctx_.session);
    // A wrong old password is told before the new ones are looked at.
    bool oldOk = false;
    if (!runReporting(ctx_.prompt(), [&] { oldOk = change.matches(txtOldPwd->text()); })) {
        ctx_.prompt().warning(kReadFailed, kTitleHint);
        return;
    }
    if (!oldOk) {
        ctx_.prompt().info(QStringLiteral("旧密码不正确！"));
        txtOldPwd->clear();
        txtOldPwd->setFocus();
        return;
    }
    if (txtRepeatPwd->text() != txtNewPwd->text()) {
        ctx_.prompt().info(QStringLiteral("两次输入的密码不一致！"));
        txtNewPwd->clear();
        txtRepeatPwd->clear();
        txtNewPwd->setFocus();
        return;
    }
    PasswordChange::Outcome outcome = PasswordChange::Outcome::UserGone;
    if (!runReporting(ctx_.prompt(), [&] { outcome = change.change(txtOldPwd->text(), txtNewPwd->text()); })) {
        ctx_.prompt().warning(kReadFailed, kTitleHint);
        return;
    }
    if (outcome == PasswordChange::Outcome::WrongOldPassword) {
        ctx_.prompt().info(QStringLiteral("旧密码不正确！"));
        txtOldPwd->clear();
        txtOldPwd->setFocus();
        return;
    }
    if (outcome != PasswordChange::Outcome::Changed) {
        ctx_.prompt().warning(QStringLiteral("没有找到您的用户记录，密码没有修改！"), kTitleHint);
        return;
    }
    ctx_.prompt().warning(QStringLiteral("修改成功！"));
    accept();
}

// --- shop -----------------------------------------------------------------------

ShopListScreen::ShopListScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmChangeShop"));
    setWindowTitle(QStringLiteral("店面管理"));
    ListView = new QListWidget(this);
    ListView->setObjectName(QStringLiteral("ListView"));
    ListView->setViewMode(QListView::IconMode);
    ListView->setIconSize(QSize(48, 48));
    ListView->setGridSize(QSize(140, 90));
    ListView->setMovement(QListView::Static);
    ListView->setWordWrap(true);
    cmdEdit = namedButton(this, "cmdEdit", QStringLiteral("修 改(&I)"));
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdEdit);
    auto *top = new QVBoxLayout(this);
    top->addWidget(ListView, 1);
    top->addLayout(bottom);
    resize(420, 300);

    connect(cmdEdit, &QPushButton::clicked, this, &ShopListScreen::rename);
    connect(ListView, &QListWidget::itemActivated, this, &ShopListScreen::rename);
    EnterClicksButtons::install(this);
    LoadShopList();
    if (ListView->count() > 0) ListView->setCurrentRow(0);
    ListView->setFocus();
}

void ShopListScreen::LoadShopList() {
    ListView->clear();
    ResultSet rs;
    if (!runReporting(ctx_.prompt(), [&] { rs = ShopSettings(ctx_.database(), ctx_.session).shops(); })) return;
    const QIcon icon = shopIcon();
    for (int r = 0; r < rs.rowCount(); ++r) {
        auto *item = new QListWidgetItem(icon, rs.text(r, QStringLiteral("ShopName")), ListView);
        item->setData(Qt::UserRole, rs.text(r, QStringLiteral("GUID")));
    }
}

void ShopListScreen::rename() {
    QListWidgetItem *item = ListView->currentItem();
    if (!item || !item->isSelected()) return;  // nothing chosen: nothing to rename
    ShopNameDialog dialog(ctx_, this);
    dialog.LoadIt(2, item->text());
    dialog.exec();
    if (!dialog.renamed()) return;
    // Whichever entry was chosen, the shop renamed is the one with the fixed key.
    for (int i = 0; i < ListView->count(); ++i)
        if (ListView->item(i)->data(Qt::UserRole).toString() == (ctx_.session.shopNo.isEmpty() ? kShopKey : ctx_.session.shopNo)) ListView->item(i)->setText(ctx_.session.shopName);
}

ShopNameDialog::ShopNameDialog(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmShopSetting"));
    setWindowTitle(QStringLiteral("店面"));
    txtNo = new QLineEdit(this);
    txtNo->setObjectName(QStringLiteral("txtNo"));
    cmdNewGoods = namedButton(this, "cmdNewGoods", QStringLiteral("确 定(&O)"));
    lbInfo = new QLabel(QStringLiteral("填写店面的名称，该名称不能为空！"), this);
    lbInfo->setObjectName(QStringLiteral("lbInfo"));
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("名 称"), this));
    row->addWidget(txtNo, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lbInfo, 1);
    bottom->addWidget(cmdNewGoods);
    auto *top = new QVBoxLayout(this);
    top->addLayout(row);
    top->addLayout(bottom);
    resize(380, 110);
    connect(txtNo, &QLineEdit::returnPressed, this, &ShopNameDialog::save);
    connect(cmdNewGoods, &QPushButton::clicked, this, &ShopNameDialog::save);
    EnterClicksButtons::install(this);
    txtNo->setFocus();
}

void ShopNameDialog::LoadIt(int mode, const QString &name) {
    mode_ = mode;
    txtNo->setText(name);
    txtNo->selectAll();
}

void ShopNameDialog::save() {
    const QString name = txtNo->text();
    if (name.isEmpty()) {
        ctx_.prompt().info(QStringLiteral("名称不能为空！"));
        txtNo->setFocus();
        return;
    }
    if (mode_ != 2) return;
    bool changed = false;
    if (!runReporting(ctx_.prompt(), [&] { changed = ShopSettings(ctx_.database(), ctx_.session).rename(name); }))
        return;
    if (!changed) return;  // no shop row with the fixed key: nothing renamed
    renamed_ = true;
    accept();
}

// --- backup settings ------------------------------------------------------------

BackupSettingsScreen::BackupSettingsScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("数据备份设置"));

    Drive = new QComboBox(this);
    Drive->setObjectName(QStringLiteral("Drive"));
    for (const QFileInfo &d : QDir::drives()) Drive->addItem(QDir::toNativeSeparators(d.absoluteFilePath()));
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QString());
    Dir = new QTreeView(this);
    Dir->setObjectName(QStringLiteral("Dir"));
    Dir->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c) Dir->hideColumn(c);
    Dir->setHeaderHidden(true);
    txtFilePath = new QLineEdit(this);
    txtFilePath->setObjectName(QStringLiteral("txtFilePath"));
    txtFileName = new QLineEdit(this);
    txtFileName->setObjectName(QStringLiteral("txtFileName"));
    comFile = new QComboBox(this);
    comFile->setObjectName(QStringLiteral("comFile"));
    comFile->addItem(kBackupExtension);
    comFile->setCurrentIndex(0);
    IsSave = new QCheckBox(QStringLiteral("关闭系统之前自动备份数据库"), this);
    IsSave->setObjectName(QStringLiteral("IsSave"));
    cmdSave = namedButton(this, "cmdSave", QStringLiteral("保存设置(&S)"));

    auto *grid = new QGridLayout(this);
    auto *pathLabel = new QLabel(QStringLiteral("设置保存路径："), this);
    pathLabel->setBuddy(Drive);
    grid->addWidget(pathLabel, 0, 0);
    grid->addWidget(Drive, 0, 1);
    grid->addWidget(Dir, 1, 0, 1, 2);
    grid->addWidget(txtFilePath, 2, 0, 1, 2);
    auto *nameLabel = new QLabel(QStringLiteral("保存文件名："), this);
    nameLabel->setBuddy(txtFileName);
    grid->addWidget(nameLabel, 3, 0);
    grid->addWidget(txtFileName, 3, 1);
    auto *extLabel = new QLabel(QStringLiteral("文件后缀名："), this);
    extLabel->setBuddy(comFile);
    grid->addWidget(extLabel, 4, 0);
    grid->addWidget(comFile, 4, 1);
    grid->addWidget(IsSave, 5, 0, 1, 2);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdSave);
    grid->addLayout(bottom, 6, 0, 1, 2);
    grid->setRowStretch(1, 1);
    resize(440, 480);

    connect(Drive, &QComboBox::currentTextChanged, this, &BackupSettingsScreen::setDrive);
    connect(Dir->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        // A folder picked in the list replaces whatever path was typed.
        if (!loading_) txtFilePath->setText(dirPath());
    });
    connect(cmdSave, &QPushButton::clicked, this, &BackupSettingsScreen::save);
    EnterToTab::install({txtFilePath, txtFileName});
    EnterClicksButtons::install(this);

    LoadBackupSettings();
    txtFilePath->setFocus();
}

QString BackupSettingsScreen::dirPath() const {
    const QModelIndex i = Dir->currentIndex();
    const QString path = i.isValid() ? folders_->filePath(i) : folders_->filePath(Dir->rootIndex());
    return QDir::toNativeSeparators(path.isEmpty() ? Drive->currentText() : path);
}

void BackupSettingsScreen::setDrive(const QString &drive) {
    const bool was = loading_;
    loading_ = true;
    const int at = Drive->findText(drive, Qt::MatchFixedString);
    if (at >= 0 && Drive->currentIndex() != at) Drive->setCurrentIndex(at);
    const QModelIndex root = folders_->index(QDir::fromNativeSeparators(drive));
    Dir->setRootIndex(root);
    Dir->setCurrentIndex(QModelIndex());
    loading_ = was;
}

void BackupSettingsScreen::setDirPath(const QString &path) {
    const bool was = loading_;
    loading_ = true;
    // A folder not made yet: its nearest existing parent is shown.
    QString existing = QDir::fromNativeSeparators(path);
    while (!existing.isEmpty() && !QFileInfo(existing).isDir()) {
        const QString up = QFileInfo(existing).path();
        existing = up == existing ? QString() : up;
    }
    const QModelIndex i = folders_->index(existing);
    if (i.isValid()) {
        Dir->setCurrentIndex(i);
        Dir->scrollTo(i);
    }
    loading_ = was;
}

void BackupSettingsScreen::LoadBackupSettings() {
    std::optional<BackupSettings> s;
    try {
        s = BackupSettingsService(ctx_.database()).load();
    } catch (const DbError &) {
        return;  // the controls keep their empty state
    }
    if (!s) return;
    loading_ = true;
    setDrive(s->drive);
    setDirPath(s->dir);
    txtFileName->setText(s->fileName);
    // The path box shows the stored folder, whatever the lists show.
    txtFilePath->setText(s->dirpath);
    IsSave->setChecked(s->isSave);
    loading_ = false;
}

void BackupSettingsScreen::save() {
    BackupSettings s;
    s.dirpath = txtFilePath->text().trimmed();
    s.drive = Drive->currentText();
    s.dir = dirPath();
    s.fileName = txtFileName->text().trimmed();
    s.isSave = IsSave->isChecked();
    if (s.dirpath.isEmpty()) {
        ctx_.prompt().info(QStringLiteral("保存路径不能为空！"));
        txtFilePath->setFocus();
        return;
    }
    static const QString kBadChars = QStringLiteral("\\/:*?\"<>|");
    bool bad = s.fileName.isEmpty();
    for (QChar c : s.fileName) bad = bad || kBadChars.contains(c);
    if (bad) {
        ctx_.prompt().info(QStringLiteral("保存文件名不能为空，也不能含有 \\ / : * ? \" < > | 这些字符！"));
        txtFileName->setFocus();
        return;
    }
    int changed = 0;
    if (!runReporting(ctx_.prompt(), [&] { changed = BackupSettingsService(ctx_.database()).save(s); })) return;
    if (changed < 1) {
        ctx_.prompt().info(QStringLiteral("数据库被修改，请联系软件商！"));
        return;
    }
    ctx_.prompt().info(QStringLiteral("保存成功！"));
    accept();
}

}  // namespace kestavion
