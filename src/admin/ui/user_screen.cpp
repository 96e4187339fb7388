#include "admin/ui/user_screen.h"

#include "admin/ui/admin_toolbar.h"
#include "admin/ui/role_screen.h"
#include "admin/user_service.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

namespace {
const QString kGuid = QStringLiteral("GUID");
const QString kNo = QStringLiteral("工号");
const QString kName = QStringLiteral("姓名");
const QString kRoleGuid = QStringLiteral("RoleGUID");
const QString kRole = QStringLiteral("角色");
}  // namespace

UserScreen::UserScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmUser"));
    setWindowTitle(QStringLiteral("用户管理"));

    Toolbar = new EditToolbar(this);
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    auto field = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    txtNo = field("txtNo");
    txtName = field("txtName");
    txtPwd = field("txtPwd");
    // A password is set here, never shown: typed hidden, and left empty it keeps the
    // stored one.
    txtPwd->setEchoMode(QLineEdit::Password);
    comRole = new DropDownCombo(this);
    comRole->setObjectName(QStringLiteral("comRole"));
    cmdRole = namedButton(this, "cmdRole", QStringLiteral("…"));
    cmdRole->setFixedWidth(32);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("工 号"), txtNo);
    form->addRow(QStringLiteral("姓 名"), txtName);
    form->addRow(QStringLiteral("密 码"), txtPwd);
    auto *roleRow = new QHBoxLayout;
    roleRow->addWidget(comRole, 1);
    roleRow->addWidget(cmdRole);
    form->addRow(QStringLiteral("角 色"), roleRow);
    auto *body = new QHBoxLayout;
    body->addWidget(VSFlexGrid, 2);
    body->addLayout(form, 1);
    auto *top = new QVBoxLayout(this);
    top->setMenuBar(Toolbar);
    top->addLayout(body);
    resize(960, 440);

    EnterToTab::install({txtNo, txtName, txtPwd});
    connect(Toolbar, &EditToolbar::clicked, this, &UserScreen::click);
    connect(VSFlexGrid, &Grid::rowChanged, this, [this] {
        if (!IsAdd && !IsEdit) SyncUserFields();
    });
    connect(comRole, &DropDownCombo::aboutToDropDown, this, &UserScreen::LoadRoleCombo);
    connect(cmdRole, &QPushButton::clicked, this, [this] {
        RoleScreen roles(ctx_, this);
        roles.exec();
        LoadRoleCombo();
    });

    // Without the key the screen says so once and shows nothing.
    if (LoadUserList()) LoadRoleCombo();
    EnableUserFields(false);
    if (VSFlexGrid->rows() > 1) {
        VSFlexGrid->setRow(1);
        SyncUserFields();
    }
    setEditing(false);
    VSFlexGrid->setFocus();
}

bool UserScreen::LoadUserList() {
    ResultSet rs;
    bool allowed = true;
    try {
        rs = UserService(ctx_.database(), ctx_.session).list();
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
        allowed = false;
    } catch (const DbError &e) {
        showReadFailure(ctx_.prompt(), e);
    }
    VSFlexGrid->bind(rs);
    for (const QString &hidden : {kGuid, kRoleGuid}) {
        const int c = VSFlexGrid->colIndex(hidden);
        if (c >= 0) VSFlexGrid->setColHidden(c, true);
    }
    VSFlexGrid->sizeColumns(2800);
    return allowed;
}

void UserScreen::LoadRoleCombo() {
    QList<QPair<QString, QString>> roles;
    try {
        roles = UserService(ctx_.database(), ctx_.session).roles();
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
        return;
    } catch (const DbError &e) {
        showReadFailure(ctx_.prompt(), e);
        return;
    }
    // The role chosen stays chosen when it is still there.
    const QString chosen = roleCombo.No();
    roleCombo.Initial(comRole, roles);
    roleCombo.setNo(chosen);
}

void UserScreen::SyncUserFields() {
    const int row = VSFlexGrid->row();
    if (row < 1) {
        ClearUserFields();
        return;
    }
    txtNo->setText(VSFlexGrid->text(row, kNo));
    txtName->setText(VSFlexGrid->text(row, kName));
    txtPwd->clear();
    roleCombo.setNo(VSFlexGrid->text(row, kRoleGuid));
}

void UserScreen::EnableUserFields(bool on) {
    for (QWidget *w : {static_cast<QWidget *>(txtName), static_cast<QWidget *>(txtNo),
                       static_cast<QWidget *>(txtPwd), static_cast<QWidget *>(comRole)})
        w->setEnabled(on);
}

void UserScreen::ClearUserFields() {
    txtNo->clear();
    txtName->clear();
    txtPwd->clear();
    roleCombo.setListIndex(-1);
}

void UserScreen::setEditing(bool editing) {
    Toolbar->setEditing(editing);
    EnableUserFields(editing);
    // The list keeps its row while a user is being added or edited.
    VSFlexGrid->setEnabled(!editing);
    txtPwd->setPlaceholderText(editing && IsEdit ? QStringLiteral("不修改密码请留空") : QString());
}

void UserScreen::click(const QString &key) {
    if (key == QLatin1String("Add")) Add();
    else if (key == QLatin1String("Edit")) Edit();
    else if (key == QLatin1String("Del")) Del();
    else if (key == QLatin1String("Cancel")) Cancel();
    else if (key == QLatin1String("Save")) Save();
}

void UserScreen::Add() {
    VSFlexGrid->addItem(QString());
    VSFlexGrid->setRow(VSFlexGrid->rows() - 1);
    ClearUserFields();
    IsEdit = false;
    IsAdd = true;
    setEditing(true);
    txtNo->setFocus();
}

void UserScreen::Edit() {
    if (VSFlexGrid->row() < 1) return;
    IsAdd = false;
    IsEdit = true;
    setEditing(true);
    txtNo->setFocus();
}

void UserScreen::Save() {
    if (!IsAdd && !IsEdit) return;
    const int row = VSFlexGrid->row();
    UserEdit u;
    u.guid = IsAdd ? QString() : VSFlexGrid->text(row, kGuid);
    u.no = txtNo->text();
    u.name = txtName->text();
    u.password = txtPwd->text();
    u.roleGuid = roleCombo.No();
    u.roleName = roleCombo.Caption();
    try {
        u.guid = UserService(ctx_.database(), ctx_.session).save(u);
    } catch (const FieldRefusal &r) {
        r.show(ctx_.prompt());
        if (r.field() == QLatin1String("No")) txtNo->setFocus();
        else if (r.field() == QLatin1String("Role")) comRole->setFocus();
        else txtName->setFocus();
        return;
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
        return;
    } catch (const DbError &e) {
        showReadFailure(ctx_.prompt(), e);
        return;
    }
    VSFlexGrid->setText(row, kGuid, u.guid);
    VSFlexGrid->setText(row, kNo, u.no);
    VSFlexGrid->setText(row, kName, u.name);
    VSFlexGrid->setText(row, kRoleGuid, u.roleGuid);
    VSFlexGrid->setText(row, kRole, u.roleName);
    txtPwd->clear();
    IsAdd = IsEdit = false;
    setEditing(false);
    VSFlexGrid->setFocus();
}

void UserScreen::Cancel() {
    if (IsAdd) {
        IsAdd = false;
        dropAddedRow(VSFlexGrid);
    }
    IsEdit = false;
    setEditing(false);
    SyncUserFields();
    VSFlexGrid->setFocus();
}

void UserScreen::Del() {
    const int row = VSFlexGrid->row();
    if (row < 1) return;
    const QString guid = VSFlexGrid->text(row, kGuid);
    if (guid == ctx_.session.user.GUID) {
        ctx_.prompt().info(kUserNoDeleteSelf, kTitleHint);
        return;
    }
    if (!ctx_.prompt().question(QStringLiteral("是否要删除该记录！"), kTitleHint)) return;
    try {
        UserService(ctx_.database(), ctx_.session).remove(guid);
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
        return;
    } catch (const DbError &e) {
        showReadFailure(ctx_.prompt(), e);
        return;
    }
    VSFlexGrid->removeItem(row);
    selectAfterRemoval(VSFlexGrid, row);
    SyncUserFields();
}

void UserScreen::reject() {
    IsAdd = IsEdit = false;
    QDialog::reject();
}

}  // namespace kestavion
