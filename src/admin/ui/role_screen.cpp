#include "admin/ui/role_screen.h"

#include "admin/role_service.h"
#include "admin/ui/admin_toolbar.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestavion {

namespace {

// The permission tree below its root, in the order the tree shows it.
struct Node {
    const char *key;
    const char *caption;
};
const Node kRoot = {"AllList", "全部权限"};
const Node kChildren[] = {
    {"Data", "数据维护"},           {"ReStart", "重新开始"},       {"UserManage", "角色管理"},
    {"SellRole", "系统参数规则"},   {"ChangeShop", "店面管理"},    {"BuyIn", "进货"},
    {"Sell", "售货"},               {"ClientChange", "客户调换"},  {"ClientBack", "客户退货"},
    {"Question", "问题鞋"},         {"FactoryBack", "厂家退货"},   {"SellBlankOut", "销售作废"},
    {"ChangePrice", "价格变动"},    {"OtherOut", "营业外支出"},    {"StoreQuery", "库存查询"},
    {"SellQuery", "销售查询"},      {"SellGroup", "销售排行"},     {"BuyDetail", "进货明细"},
    {"ClientChangeQuery", "客户退换查询"}, {"FactoryBackQuery", "厂家退货查询"},
    {"BlankOutQuery", "销售作废查询"}, {"OtherOurQuery", "营业外支出查询"}, {"DayAmount", "日结算"},
    {"TotalAmount", "结算汇总"},    {"Profit", "利润分析"},
};


bool cellSet(const QString &text) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && v != 0.0;
}

}  // namespace

RoleScreen::RoleScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmRole"));
    setWindowTitle(QStringLiteral("角色"));

    Toolbar = new EditToolbar(this);
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    TreeView = new QTreeWidget(this);
    TreeView->setObjectName(QStringLiteral("TreeView"));
    TreeView->setHeaderHidden(true);
    Label1 = new QLabel(QStringLiteral("角色名称："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtRole = new QLineEdit(this);
    txtRole->setObjectName(QStringLiteral("txtRole"));
    txtRole->setReadOnly(true);
    Label1->setBuddy(txtRole);

    auto *left = new QVBoxLayout;
    left->addWidget(VSFlexGrid, 1);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(Label1);
    nameRow->addWidget(txtRole, 1);
    left->addLayout(nameRow);
    auto *body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addWidget(TreeView, 1);
    auto *top = new QVBoxLayout(this);
    top->setMenuBar(Toolbar);
    top->addLayout(body);
    resize(780, 540);

    LoadRightTree();
    LoadRoleList();
    setEditing(false);
    EnterToTab::install(txtRole);

    connect(Toolbar, &EditToolbar::clicked, this, &RoleScreen::click);
    connect(VSFlexGrid, &Grid::rowChanged, this, [this] {
        if (!IsAdd && !IsEdit) showCurrentRow();
    });
    connect(VSFlexGrid, &Grid::gotFocus, this, [this] {
        if (!IsAdd && !IsEdit) showCurrentRow();
    });
    connect(TreeView, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item) { nodeChanged(item); });
    VSFlexGrid->setFocus();
}

void RoleScreen::LoadRightTree() {
    syncing_ = true;
    TreeView->clear();
    auto *root = new QTreeWidgetItem(TreeView, {QString::fromUtf8(kRoot.caption)});
    root->setFlags(root->flags() | Qt::ItemIsUserCheckable);
    root->setCheckState(0, Qt::Unchecked);
    root->setData(0, Qt::UserRole, QString::fromLatin1(kRoot.key));
    nodes_.insert(QString::fromLatin1(kRoot.key), root);
    for (const Node &n : kChildren) {
        auto *item = new QTreeWidgetItem(root, {QString::fromUtf8(n.caption)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        item->setData(0, Qt::UserRole, QString::fromLatin1(n.key));
        nodes_.insert(QString::fromLatin1(n.key), item);
    }
    root->setExpanded(true);
    TreeView->setCurrentItem(root);
    syncing_ = false;
}

void RoleScreen::LoadRoleList() {
    ResultSet rs;
    try {
        rs = RoleService(ctx_.database(), ctx_.session).list();
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
    } catch (const DbError &e) {
        showReadFailure(ctx_.prompt(), e);
    }
    VSFlexGrid->bind(rs);
    if (VSFlexGrid->cols() > 2) VSFlexGrid->setTextMatrix(0, 2, QStringLiteral("角色名称"));
    for (int c = 1; c < VSFlexGrid->cols(); ++c) VSFlexGrid->setColHidden(c, c != 2);
    VSFlexGrid->sizeColumns(5095);
    if (VSFlexGrid->rows() > 1) VSFlexGrid->setRow(1);
    showCurrentRow();
}

void RoleScreen::ClearRightTree() {
    const bool was = syncing_;
    syncing_ = true;
    for (QTreeWidgetItem *n : std::as_const(nodes_)) n->setCheckState(0, Qt::Unchecked);
    syncing_ = was;
}

void RoleScreen::SyncRightTree(bool toTree) {
    const int row = VSFlexGrid->row();
    if (VSFlexGrid->rows() <= 1 || row < 1) {
        ClearRightTree();
        txtRole->clear();
        return;
    }
    const bool was = syncing_;
    syncing_ = true;
    for (auto it = nodes_.cbegin(); it != nodes_.cend(); ++it) {
        if (toTree)
            it.value()->setCheckState(0, cellSet(VSFlexGrid->text(row, it.key())) ? Qt::Checked : Qt::Unchecked);
        else
            VSFlexGrid->setText(row, it.key(),
                                it.value()->checkState(0) == Qt::Checked ? QStringLiteral("-1") : QStringLiteral("0"));
    }
    syncing_ = was;
}

void RoleScreen::showCurrentRow() {
    SyncRightTree(true);
    const int row = VSFlexGrid->row();
    txtRole->setText(row >= 1 ? VSFlexGrid->text(row, QStringLiteral("Name")) : QString());
}

void RoleScreen::setEditing(bool editing) {
    Toolbar->setEditing(editing);
    txtRole->setReadOnly(!editing);
    // The list keeps its row while a role is being added or edited.
    VSFlexGrid->setEnabled(!editing);
}

void RoleScreen::click(const QString &key) {
    if (key == QLatin1String("Add")) Add();
    else if (key == QLatin1String("Edit")) Edit();
    else if (key == QLatin1String("Del")) Del();
    else if (key == QLatin1String("Cancel")) Cancel();
    else if (key == QLatin1String("Save")) Save();
}

void RoleScreen::nodeChanged(QTreeWidgetItem *item) {
    if (syncing_ || !item) return;
    // A click on a node starts editing the role, as the Edit button would.
    if (!IsAdd && !IsEdit && !Edit()) {
        SyncRightTree(true);
        return;
    }
    syncing_ = true;
    const bool checked = item->checkState(0) == Qt::Checked;
    if (!item->parent()) {
        for (int i = 0; i < item->childCount(); ++i) item->child(i)->setCheckState(0, item->checkState(0));
    } else if (checked) {
        item->parent()->setCheckState(0, Qt::Checked);
    }
    syncing_ = false;
}

void RoleScreen::Add() {
    VSFlexGrid->addItem(QString());
    VSFlexGrid->setRow(VSFlexGrid->rows() - 1);
    ClearRightTree();
    txtRole->clear();
    IsAdd = true;
    IsEdit = false;
    setEditing(true);
    txtRole->setFocus();
}

bool RoleScreen::Edit() {
    const int row = VSFlexGrid->row();
    if (row < 1) return false;
    if (VSFlexGrid->text(row, QStringLiteral("GUID")) == kAdminRoleKey) {
        ctx_.prompt().info(kAdminRoleNoEdit, kTitleHint);
        VSFlexGrid->setFocus();
        return false;
    }
    IsEdit = true;
    IsAdd = false;
    setEditing(true);
    if (!TreeView->hasFocus()) txtRole->setFocus();
    return true;
}

void RoleScreen::Save() {
    if (!IsAdd && !IsEdit) return;
    const int row = VSFlexGrid->row();
    const QString name = txtRole->text();
    std::array<bool, 26> flags{};
    for (int i = 0; i < kPermissionKeys.size(); ++i)
        flags[static_cast<size_t>(i)] = nodes_.value(kPermissionKeys[i])->checkState(0) == Qt::Checked;
    RoleService roles(ctx_.database(), ctx_.session);
    QString guid = VSFlexGrid->text(row, QStringLiteral("GUID"));
    try {
        if (IsAdd) guid = roles.add(name, flags);
        else roles.update(guid, name, flags);
    } catch (const FieldRefusal &r) {
        r.show(ctx_.prompt());
        txtRole->setFocus();
        return;
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
        return;
    } catch (const DbError &e) {
        showReadFailure(ctx_.prompt(), e);
        return;
    }
    VSFlexGrid->setText(row, QStringLiteral("GUID"), guid);
    VSFlexGrid->setText(row, QStringLiteral("Name"), name);
    SyncRightTree(false);
    IsAdd = IsEdit = false;
    setEditing(false);
    VSFlexGrid->setFocus();
}

void RoleScreen::Cancel() {
    if (IsAdd) {
        IsAdd = false;
        dropAddedRow(VSFlexGrid);
    }
    IsEdit = false;
    setEditing(false);
    showCurrentRow();
    VSFlexGrid->setFocus();
}

void RoleScreen::Del() {
    const int row = VSFlexGrid->row();
    if (row < 1) return;
    const QString guid = VSFlexGrid->text(row, QStringLiteral("GUID"));
    if (guid == kAdminRoleKey) {
        ctx_.prompt().info(kAdminRoleNoDelete, kTitleHint);
        return;
    }
    if (guid == ctx_.session.user.RoleGUID) {
        ctx_.prompt().info(kOwnRoleNoDelete, kTitleHint);
        return;
    }
    if (!ctx_.prompt().question(QStringLiteral("如果要删除该角色那么该角色下的用户也将一并删除？"), kTitleHint)) return;
    try {
        RoleService(ctx_.database(), ctx_.session).remove(guid);
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
        return;
    } catch (const DbError &e) {
        showReadFailure(ctx_.prompt(), e);
        return;
    }
    VSFlexGrid->removeItem(row);
    selectAfterRemoval(VSFlexGrid, row);
    showCurrentRow();
}

void RoleScreen::reject() {
    IsAdd = IsEdit = false;
    QDialog::reject();
}

}  // namespace kestavion
