#pragma once

#include "foundation/ui/keyed_combo.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestavion {

struct AppContext;
class EditToolbar;
class Grid;

// frmUser ("用户管理"): the people who may log in — staff number, name, password, role.
class UserScreen : public QDialog {
    Q_OBJECT
public:
    UserScreen(AppContext &ctx, QWidget *parent = nullptr);

    Grid *VSFlexGrid;
    QLineEdit *txtNo;
    QLineEdit *txtName;
    QLineEdit *txtPwd;
    DropDownCombo *comRole;
    QPushButton *cmdRole;
    EditToolbar *Toolbar;
    KeyedCombo roleCombo;  // clsCombox around comRole

    bool isAdding() const { return IsAdd; }
    bool isEditing() const { return IsEdit; }
    // The toolbar's actions, by key (Add, Edit, Del, Cancel, Save).
    void click(const QString &key);

protected:
    void reject() override;

private:
    bool LoadUserList();
    void LoadRoleCombo();
    void SyncUserFields();
    void EnableUserFields(bool on);
    void ClearUserFields();
    void setEditing(bool editing);

    void Add();
    void Edit();
    void Del();
    void Cancel();
    void Save();

    AppContext &ctx_;
    bool IsAdd = false;
    bool IsEdit = false;
};

}  // namespace kestavion
