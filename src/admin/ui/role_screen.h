#pragma once

#include <QDialog>
#include <QHash>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace kestavion {

struct AppContext;
class EditToolbar;
class Grid;

// frmRole ("角色"): roles with their permission flags — add, edit, delete.
class RoleScreen : public QDialog {
    Q_OBJECT
public:
    RoleScreen(AppContext &ctx, QWidget *parent = nullptr);

    Grid *VSFlexGrid;
    QTreeWidget *TreeView;
    QLabel *Label1;
    QLineEdit *txtRole;
    EditToolbar *Toolbar;

    bool isAdding() const { return IsAdd; }
    bool isEditing() const { return IsEdit; }
    // The tree node of a permission key.
    QTreeWidgetItem *node(const QString &key) const { return nodes_.value(key); }

    // The toolbar's actions, by key (Add, Edit, Del, Cancel, Save).
    void click(const QString &key);

protected:
    void reject() override;

private:
    void LoadRightTree();
    void LoadRoleList();
    void SyncRightTree(bool toTree);
    void ClearRightTree();
    void showCurrentRow();
    void setEditing(bool editing);
    void nodeChanged(QTreeWidgetItem *item);

    void Add();
    bool Edit();
    void Del();
    void Cancel();
    void Save();

    AppContext &ctx_;
    QHash<QString, QTreeWidgetItem *> nodes_;
    bool IsAdd = false;
    bool IsEdit = false;
    bool syncing_ = false;
};

}  // namespace kestavion
