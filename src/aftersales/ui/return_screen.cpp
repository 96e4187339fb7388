#include "aftersales/ui/return_screen.h"

#include "aftersales/customer_return.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

namespace {
const QString kReasonItem = QStringLiteral("退货原因");
}

ReturnScreen::ReturnScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmClientBack"));
    setWindowTitle(QStringLiteral("客户退货"));
    auto *outer = new QVBoxLayout(this);
    SSTab = new QTabWidget(this);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    auto *page = new QWidget;
    auto *g = new QGridLayout(page);
    search.build(page, g, 0, ctx.today());
    VSFlexGrid = new Grid(page);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    g->addWidget(VSFlexGrid, 1, 0, 1, 7);
    lbTip = tipLabel(page);
    g->addWidget(lbTip, 2, 0, 1, 7);
    addOnlyTab(SSTab, page, QStringLiteral("客户退货"));
    outer->addWidget(SSTab);

    auto *bottom = new QHBoxLayout;
    Frame1 = new QGroupBox(QStringLiteral("退入"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *f = new QHBoxLayout(Frame1);
    Opt = new QRadioButton(QStringLiteral("问题库存"), Frame1);
    Opt->setObjectName(QStringLiteral("Opt"));
    OptQuestion = new QRadioButton(QStringLiteral("正常库存"), Frame1);
    OptQuestion->setObjectName(QStringLiteral("OptQuestion"));
    Opt->setChecked(true);
    f->addWidget(Opt);
    f->addWidget(OptQuestion);
    bottom->addWidget(Frame1);
    addReasonRow(ctx, this, bottom, QStringLiteral("退货原因："), "lbInfo_0", 140, kReasonItem, comResion, cmdLeather);
    auto *l1 = new QLabel(QStringLiteral("找回金额"), this);
    l1->setObjectName(QStringLiteral("lbInfo_1"));
    bottom->addWidget(l1);
    lb = new QLabel(this);
    lb->setObjectName(QStringLiteral("lb"));
    lb->setMinimumWidth(60);
    lb->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    bottom->addWidget(lb);
    bottom->addStretch();
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确 定(&O)"));
    bottom->addWidget(cmdOk);
    outer->addLayout(bottom);
    lbTitle = helpLabel(
        this,
        QStringLiteral("  使用帮助：可根据销售编号，货号或销售日期，查询出要退货的销售记录，选择退货原因，默认是退入到问题库存的，"
                       "主要考虑是退货的鞋子都可能有质量问题，如果是可以销售的鞋子可选择退入到正常库存。点击确定即可完成一次退货。"
                       "退货后系统自动更新库存信息。"));
    outer->addWidget(lbTitle);

    showEmptySoldGrid(ctx, VSFlexGrid, true);
    fillComboFromDictionary(ctx, kReasonItem, comResion);
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    resize(900, 560);

    connect(search.cmdQuery, &QPushButton::clicked, this, [this] { query(); });
    connect(VSFlexGrid, &Grid::rowChanged, this, [this](int) { showAmount(); });
    enterMovesOn(VSFlexGrid, comResion);
    connect(cmdOk, &QPushButton::clicked, this, [this] { returnCurrent(); });
}

void ReturnScreen::showAmount() {
    const int r = VSFlexGrid->row();
    lb->setText(r > 0 && VSFlexGrid->rows() > 1 ? VSFlexGrid->text(r, QStringLiteral("金额")) : QString());
}

void ReturnScreen::query() {
    auto cond = search.conditions();
    if (!cond) {
        ctx_.prompt().info(QStringLiteral("请选择条件！"));
        return;
    }
    // The first page into the list, the next ones as it is scrolled; no row found
    // leaves the list as it was.
    int found = 0;
    if (!runReporting(ctx_.prompt(),
                      [&] { found = bindSaleSearch(ctx_, VSFlexGrid, QStringLiteral("ClientBack"), *cond, QStringLiteral("金额")); }))
        return;
    if (found == 0) {
        lbTip->setText(QStringLiteral("无记录！"));
        return;
    }
    showFoundSoldRows(VSFlexGrid, lbTip, true);
    showAmount();
}

void ReturnScreen::returnCurrent() {
    const int r = VSFlexGrid->row();
    if (VSFlexGrid->rows() < 2 || r < 1) return;
    const QDate saleDate = QDate::fromString(VSFlexGrid->text(r, QStringLiteral("销售日期")), Qt::ISODate);
    const QString refusal =
        returnRefusal(ctx_.session.rules, static_cast<int>(gridNumber(VSFlexGrid, r, QStringLiteral("State"))),
                      VSFlexGrid->text(r, QStringLiteral("折扣")), saleDate, ctx_.today());
    if (!refusal.isEmpty()) {
        ctx_.prompt().info(refusal);
        return;
    }
    if (!ctx_.prompt().question(QStringLiteral("确认要退货吗？"), kTitleHint)) return;
    const QString sellGuid = VSFlexGrid->text(r, QStringLiteral("GUID"));
    const auto into = Opt->isChecked() ? CustomerReturn::Into::ProblemStock : CustomerReturn::Into::NormalStock;
    const bool ok = runReporting(ctx_.prompt(), [&] {
        CustomerReturn(ctx_.database(), ctx_.session, *ctx_.clock).returnPair(sellGuid, into, comResion->currentText());
    });
    if (!ok) return;
    VSFlexGrid->removeItem(r);
    showAmount();
}

}  // namespace kestavion
