#include "reports/ui/day_settlement_screen.h"

#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "intake/ui/intake_form.h"
#include "reports/day_settlement.h"
#include "reports/ui/settlement_kit.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

using settlementkit::caption;
using settlementkit::figure;

namespace {
QString yuan(const Money &m) { return QStringLiteral("￥") + m.toString(); }
}  // namespace

DaySettlementScreen::DaySettlementScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmDayAmount"));
    setWindowTitle(QStringLiteral("日结算"));

    auto *dateCaption = caption(this, QStringLiteral("lbInfo_0"), QStringLiteral("结算日期："));
    DTDate = intakeform::datePicker(this, "DTDate");
    DTDate->setDate(ctx.today());
    cmdCheckOut = namedButton(this, "cmdCheckOut", QStringLiteral("结 算(&C)"));
    auto *top = new QHBoxLayout;
    top->addWidget(dateCaption);
    top->addWidget(DTDate);
    top->addStretch();
    top->addWidget(cmdCheckOut);

    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("frmFigures"));
    auto *g = new QGridLayout(box);
    lbDate = figure(box, "lbDate");
    LbSeller = figure(box, "LbSeller");
    lbSellCount = figure(box, "lbSellCount");
    lbSellMny = figure(box, "lbSellMny");
    lbBackCount = figure(box, "lbBackCount");
    lbBackAmount = figure(box, "lbBackAmount");
    lbChangeCount = figure(box, "lbChangeCount");
    lbChangeAmount = figure(box, "lbChangeAmount");
    lbRecive = figure(box, "lbRecive");
    const struct {
        const char *text;
        QLabel *value;
    } cells[] = {{"结算日期：", lbDate},       {"销售员：", LbSeller},        {"当日售货：", lbSellCount},
                 {"售货金额：", lbSellMny},    {"当日退货：", lbBackCount},   {"退货金额：", lbBackAmount},
                 {"当日调换：", lbChangeCount}, {"调换金额：", lbChangeAmount}, {"应交金额：", lbRecive}};
    int i = 0;
    for (const auto &c : cells) {
        g->addWidget(caption(box, QStringLiteral("lbInfo_%1").arg(i + 1), QString::fromUtf8(c.text)), i / 2,
                     (i % 2) * 2, Qt::AlignRight);
        g->addWidget(c.value, i / 2, (i % 2) * 2 + 1);
        ++i;
    }
    auto *note = caption(box, QStringLiteral("lbInfo_10"),
                         QStringLiteral("说明 ：如果调换金额为正的则表示调换收入，否则则表示调换支出"));
    g->addWidget(note, 5, 0, 1, 4);
    lbRecive->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));

    lbTitle = helpLabel(this, QStringLiteral("使用帮助：日结算是指当前登陆销售员今天售货，退货，调换的情况。可选择结算日期"
                                             "点击结算即可。本功能是下班前使用主要是为了方便销售员的盘账。"));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(box);
    layout->addWidget(lbTitle);
    layout->addStretch();
    resize(520, 320);

    EnterToTab::install(DTDate);
    EnterClicksButtons::install(this);
    disableAutoDefault(this);
    connect(cmdCheckOut, &QPushButton::clicked, this, &DaySettlementScreen::settle);
    DTDate->setFocus();
}

void DaySettlementScreen::settle() {
    const QDate date = DTDate->date();
    DayFigures f;
    // A failed read stops the settlement: nothing is stored, and no figures are shown.
    const bool done = settlementkit::run(ctx_.prompt(), [&] { f = DaySettlement(ctx_.database(), ctx_.session).settle(date); });
    for (QLabel *l : {lbDate, LbSeller, lbSellCount, lbSellMny, lbBackCount, lbBackAmount, lbChangeCount,
                      lbChangeAmount, lbRecive})
        l->clear();
    if (!done) return;
    lbSellCount->setText(formatNumber(f.sellQuantity));
    lbSellMny->setText(yuan(f.sellAmount));
    lbBackCount->setText(formatNumber(f.backQuantity));
    lbBackAmount->setText(yuan(f.backAmount));
    lbChangeCount->setText(formatNumber(f.changeQuantity));
    lbChangeAmount->setText(yuan(f.changeAmount));
    lbRecive->setText(yuan(f.receive()));
    LbSeller->setText(ctx_.session.user.Name);
    lbDate->setText(date.toString(QStringLiteral("yyyy-MM-dd")));
}

}  // namespace kestavion
