#include "reports/ui/other_expense_screen.h"

#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/refusal.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "intake/ui/intake_form.h"
#include "reports/other_expense.h"
#include "reports/ui/settlement_kit.h"

#include <algorithm>

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

using settlementkit::caption;

namespace {
const QString kGuid = QStringLiteral("GUID");
const QString kAmount = QStringLiteral("金额");
const QString kTotalCaption = QStringLiteral("总合计");
}  // namespace

OtherExpenseScreen::OtherExpenseScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmOtherOut"));
    setWindowTitle(QStringLiteral("其他支出"));
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab"));
    auto *page = new QWidget(tabs);
    addOnlyTab(tabs, page, QStringLiteral("其他支出"));

    comItem = intakeform::dictCombo(ctx, page, "comItem", kExpenseItemList);
    cmdColour = intakeform::dictButton(ctx, page, "cmdColour", kExpenseItemList, comItem);
    txtAmount = intakeform::lineEdit(page, "txtAmount");
    DT = intakeform::datePicker(page, "DT");
    DT->setDate(ctx.today());
    txtMemo = intakeform::lineEdit(page, "txtMemo");
    cmdQuery = namedButton(this, "cmdQuery", QStringLiteral("确 定(&O)"));

    auto *g = new QGridLayout(page);
    intakeform::addRow(g, 0, 0, QStringLiteral("支出项目："), comItem, cmdColour);
    intakeform::addRow(g, 1, 0, QStringLiteral("支出金额："), txtAmount);
    intakeform::addRow(g, 2, 0, QStringLiteral("支出日期："), DT);
    intakeform::addRow(g, 3, 0, QStringLiteral("备    注："), txtMemo);
    g->setColumnStretch(1, 1);
    g->setRowStretch(4, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdQuery);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    resize(420, 260);

    // Enter runs item, amount, date, memo, save; the item list's "…" comes last, so
    // the Enter flow never lands on it.
    setTabOrder(comItem, txtAmount);
    setTabOrder(txtAmount, DT);
    setTabOrder(DT, txtMemo);
    setTabOrder(txtMemo, cmdQuery);
    setTabOrder(cmdQuery, cmdColour);
    EnterToTab::install({comItem, txtAmount, DT, txtMemo});
    EnterClicksButtons::install(this);
    disableAutoDefault(this);
    connect(cmdQuery, &QPushButton::clicked, this, &OtherExpenseScreen::save);
    comItem->setFocus();
}

void OtherExpenseScreen::save() {
    OtherExpense e;
    e.item = comItem->currentText();
    e.date = DT->date();
    e.memo = txtMemo->text();
    bool refused = false;
    try {
        e.amount = OtherExpenseEntry::readAmount(txtAmount->text());
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
        refused = true;
    }
    if (refused) {
        txtAmount->setFocus();
        txtAmount->selectAll();
        return;
    }
    if (!settlementkit::run(ctx_.prompt(), [&] { OtherExpenseEntry(ctx_.database(), ctx_.session).add(e); })) return;
    ctx_.prompt().info(QStringLiteral("保存成功！"));
    // Ready for the next expense of the same item and day.
    txtAmount->clear();
    txtMemo->clear();
    txtAmount->setFocus();
}

OtherExpenseQueryScreen::OtherExpenseQueryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmOtherOutQuery"));
    setWindowTitle(QStringLiteral("其他指出查询"));
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab"));
    auto *page = new QWidget(tabs);
    addOnlyTab(tabs, page, QStringLiteral("其他支出明细"));

    DTBeginTime = intakeform::datePicker(page, "DTBeginTime");
    DTEndTime = intakeform::datePicker(page, "DTEndTime");
    DTBeginTime->setDate(ctx.today());
    DTEndTime->setDate(ctx.today());
    cmdQuery = namedButton(page, "cmdQuery", QStringLiteral("查 询(&Q)"));
    cmdDel = namedButton(page, "cmdDel", QStringLiteral("删 除(&D)"));
    VSSell = new Grid(page);
    VSSell->setObjectName(QStringLiteral("VSSell"));

    auto *row = new QHBoxLayout;
    row->addWidget(caption(page, QStringLiteral("lbInfo_0"), QStringLiteral("开始日期")));
    row->addWidget(DTBeginTime);
    row->addWidget(caption(page, QStringLiteral("lbInfo_1"), QStringLiteral("结束日期")));
    row->addWidget(DTEndTime);
    row->addStretch();
    row->addWidget(cmdQuery);
    row->addWidget(cmdDel);
    auto *inner = new QVBoxLayout(page);
    inner->addLayout(row);
    inner->addWidget(VSSell, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    resize(900, 520);

    EnterToTab::install({DTBeginTime, DTEndTime});
    EnterClicksButtons::install(this);
    disableAutoDefault(this);
    connect(cmdQuery, &QPushButton::clicked, this, &OtherExpenseQueryScreen::query);
    connect(cmdDel, &QPushButton::clicked, this, &OtherExpenseQueryScreen::remove);

    settlementkit::run(ctx_.prompt(), [&] { VSSell->bind(OtherExpenseQuery(ctx_.database(), ctx_.session).headings()); });
    dressGrid();
    DTBeginTime->setFocus();
}

void OtherExpenseQueryScreen::dressGrid() {
    VSSell->setColHidden(1, true);
    fitColumns(VSSell, 2020);
    const int memoCol = VSSell->colIndex(QStringLiteral("备注"));
    if (memoCol > 0) VSSell->setColAlignment(memoCol, Qt::AlignLeft | Qt::AlignVCenter);
}

void OtherExpenseQueryScreen::query() {
    OtherExpenseList list;
    if (!settlementkit::run(ctx_.prompt(), [&] {
            list = OtherExpenseQuery(ctx_.database(), ctx_.session).list(DTBeginTime->date(), DTEndTime->date());
        })) {
        VSSell->clearSubtotals();
        VSSell->clearRows();
        return;
    }
    VSSell->bind(list.rows);
    dressGrid();
    settlementkit::showTotalRow(VSSell, kTotalCaption, {{kAmount, list.total.toString()}});
}

// The total of the expenses still listed, taken exactly from their cells.
void OtherExpenseQueryScreen::retotal() {
    VSSell->clearSubtotals();
    Money total;
    for (int r = 1; r < VSSell->rows(); ++r) total += Money::parse(VSSell->text(r, kAmount)).value_or(Money());
    settlementkit::showTotalRow(VSSell, kTotalCaption, {{kAmount, total.toString()}});
}

void OtherExpenseQueryScreen::remove() {
    const int row = VSSell->row();
    if (row < 1 || row >= VSSell->rows() || VSSell->isSubtotal(row)) return;
    const QString guid = VSSell->text(row, kGuid);
    if (guid.isEmpty()) return;
    if (!settlementkit::run(ctx_.prompt(), [&] { OtherExpenseQuery(ctx_.database(), ctx_.session).remove(guid); }))
        return;
    // Gone from the list either way: deleted now, or by someone else before.
    const int at = VSSell->findRow(guid, 1, VSSell->colIndex(kGuid));
    if (at >= 1) VSSell->removeItem(at);
    retotal();
    int next = std::min(at, VSSell->rows() - 1);
    if (next >= 1 && VSSell->isSubtotal(next)) ++next;
    VSSell->setRow(next >= 1 && next < VSSell->rows() ? next : 0);
}

}  // namespace kestavion
