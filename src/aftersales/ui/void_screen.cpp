#include "aftersales/ui/void_screen.h"

#include "aftersales/customer_return.h"
#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

namespace {
const QString kReasonItem = QStringLiteral("作废原因");
}

VoidScreen::VoidScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmBlankout"));
    setWindowTitle(QStringLiteral("销售作废"));
    auto *outer = new QVBoxLayout(this);
    SSTab = new QTabWidget(this);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    auto *page = new QWidget;
    auto *g = new QGridLayout(page);
    auto *l0 = new QLabel(QStringLiteral("销售编号："), page);
    l0->setObjectName(QStringLiteral("lbInfo_0"));
    g->addWidget(l0, 0, 0);
    txtSellNo = new QLineEdit(page);
    txtSellNo->setObjectName(QStringLiteral("txtSellNo"));
    g->addWidget(txtSellNo, 0, 1);
    g->setColumnStretch(2, 1);
    VSFlexGrid = new Grid(page);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    g->addWidget(VSFlexGrid, 1, 0, 1, 3);
    lbTip = tipLabel(page);
    g->addWidget(lbTip, 2, 0, 1, 3);
    addOnlyTab(SSTab, page, QStringLiteral("销售作废"));
    outer->addWidget(SSTab);

    auto *bottom = new QHBoxLayout;
    addReasonRow(ctx, this, bottom, QStringLiteral("作废原因："), "lbInfo_1", 160, kReasonItem, comResion, cmdLeather);
    bottom->addStretch();
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确 定(&O)"));
    bottom->addWidget(cmdOk);
    outer->addLayout(bottom);
    lbTitle = helpLabel(
        this,
        QStringLiteral(" 使用帮助：销售作废是指商品销售错了或已经销售了但客人不要该鞋子了，比如卖的35黑色的，系统销售的时候销售成36黑色的，"
                       "此时可以使用该功能对刚才的一笔销售进行作废，此处要输入销售编号，查询刚销售的记录，如果没打印小票的话，"
                       "您可以在销售窗口里查看当前的销售编号，当前销售编号直接减1就可以得到刚销售出错的鞋子的销售编号。"
                       "查询到后，写上作废原因，点确定即可。系统自动更新库存。"));
    outer->addWidget(lbTitle);

    showEmptySoldGrid(ctx, VSFlexGrid, false);
    fillComboFromDictionary(ctx, kReasonItem, comResion);
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    resize(900, 520);

    txtSellNo->installEventFilter(this);
    enterMovesOn(VSFlexGrid, comResion);
    connect(cmdOk, &QPushButton::clicked, this, [this] { voidCurrent(); });
}

bool VoidScreen::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtSellNo && event->type() == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(event);
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            lookUp();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void VoidScreen::lookUp() {
    SaleSearch s;
    s.sellNo = txtSellNo->text();
    // The first page into the list, the next ones as it is scrolled; no row found
    // leaves the list as it was.
    int found = 0;
    if (!runReporting(ctx_.prompt(),
                      [&] { found = bindSaleSearch(ctx_, VSFlexGrid, QStringLiteral("SellBlankOut"), s, QStringLiteral("金额")); }))
        return;
    if (found == 0) {
        lbTip->setText(QStringLiteral("该销售编号不存在！"));
        return;
    }
    showFoundSoldRows(VSFlexGrid, lbTip, false);
}

void VoidScreen::voidCurrent() {
    const int r = VSFlexGrid->row();
    if (VSFlexGrid->rows() < 2 || r < 1) return;
    if (!ctx_.prompt().question(QStringLiteral("确认要作废该次售货吗？"), kTitleHint)) return;
    const QString sellGuid = VSFlexGrid->text(r, QStringLiteral("GUID"));
    const bool ok = runReporting(ctx_.prompt(), [&] {
        SaleVoid(ctx_.database(), ctx_.session, *ctx_.clock).voidRow(sellGuid, comResion->currentText());
    });
    if (ok) VSFlexGrid->removeItem(r);
}

}  // namespace kestavion
