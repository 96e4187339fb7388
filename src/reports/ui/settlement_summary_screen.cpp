#include "reports/ui/settlement_summary_screen.h"

#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "intake/ui/intake_form.h"
#include "reports/settlement_summary.h"
#include "reports/ui/settlement_kit.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

SettlementSummaryScreen::SettlementSummaryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAmountTotal"));
    setWindowTitle(QStringLiteral("结算汇总"));
    SSTab = new QTabWidget(this);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    auto *page = new QWidget(SSTab);
    addOnlyTab(SSTab, page, QStringLiteral("结算汇总查询"));

    DTBeginTime = intakeform::datePicker(page, "DTBeginTime");
    DTEndTime = intakeform::datePicker(page, "DTEndTime");
    DTBeginTime->setDate(ctx.today());
    DTEndTime->setDate(ctx.today());
    cmdQuery = namedButton(page, "cmdQuery", QStringLiteral("汇总(&H)"));
    VSAmountTotal = new Grid(page);
    VSAmountTotal->setObjectName(QStringLiteral("VSAmountTotal"));
    lbTitle = helpLabel(page, QStringLiteral("使用帮助：结算汇总是指对没个售货员，每天的销售情况做总的汇总。可以根据此处汇总情况"
                                             "给员工提成。选择开始日期结束日期点汇总就可生成数据。特别提醒：此处的数据是每天员工"
                                             "下班前点日结算，如果不点日结算此处没有数据。"));

    auto *row = new QHBoxLayout;
    row->addWidget(settlementkit::caption(page, QStringLiteral("lbInfo_0"), QStringLiteral("开始日期")));
    row->addWidget(DTBeginTime);
    row->addWidget(settlementkit::caption(page, QStringLiteral("lbInfo_1"), QStringLiteral("结束日期")));
    row->addWidget(DTEndTime);
    row->addStretch();
    row->addWidget(cmdQuery);
    auto *inner = new QVBoxLayout(page);
    inner->addLayout(row);
    inner->addWidget(VSAmountTotal, 1);
    inner->addWidget(lbTitle);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab);
    resize(1000, 560);

    EnterToTab::install({DTBeginTime, DTEndTime});
    EnterClicksButtons::install(this);
    disableAutoDefault(this);
    connect(cmdQuery, &QPushButton::clicked, this, &SettlementSummaryScreen::query);

    settlementkit::run(ctx_.prompt(), [&] {
        VSAmountTotal->bind(SettlementSummary(ctx_.database(), ctx_.session).headings());
    });
    VSAmountTotal->sizeColumns(1200);
    DTBeginTime->setFocus();
}

void SettlementSummaryScreen::query() {
    SettlementList list;
    Grid *g = VSAmountTotal;
    if (!settlementkit::run(ctx_.prompt(), [&] {
            list = SettlementSummary(ctx_.database(), ctx_.session).list(DTBeginTime->date(), DTEndTime->date());
        })) {
        g->clearSubtotals();
        g->clearRows();
        return;
    }
    g->bind(list.rows);
    fitColumns(g, 1200);
    settlementkit::showTotalRow(g, QStringLiteral("总计"),
                                {{QStringLiteral("结算金额"), list.receiveAmount.toString()},
                                 {QStringLiteral("售货数量"), formatNumber(list.sellQuantity)},
                                 {QStringLiteral("退货数量"), formatNumber(list.backQuantity)},
                                 {QStringLiteral("调换数量"), formatNumber(list.changeQuantity)},
                                 {QStringLiteral("售货金额"), list.sellAmount.toString()},
                                 {QStringLiteral("退货金额"), list.backAmount.toString()},
                                 {QStringLiteral("调换金额"), list.changeAmount.toString()}});
}

}  // namespace kestavion
