#include "reports/ui/profit_screen.h"

#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "intake/ui/intake_form.h"
#include "reports/profit.h"
#include "reports/ui/settlement_kit.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

using settlementkit::caption;
using settlementkit::figure;

namespace {
// A titled group of caption/figure pairs, one pair a row.
QGroupBox *group(QWidget *parent, const char *name, const QString &title,
                 std::initializer_list<std::pair<const char *, QLabel *>> rows, int &captionNo) {
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    auto *g = new QGridLayout(box);
    int r = 0;
    for (const auto &[text, value] : rows) {
        value->setParent(box);
        g->addWidget(caption(box, QStringLiteral("lbInfo_%1").arg(captionNo++), QString::fromUtf8(text)), r, 0,
                     Qt::AlignRight);
        g->addWidget(value, r, 1);
        ++r;
    }
    g->setColumnStretch(1, 1);
    g->setRowStretch(r, 1);  // rows stay at the top when a neighbour group is taller
    return box;
}
}  // namespace

ProfitScreen::ProfitScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmProfit"));
    setWindowTitle(QStringLiteral("利润分析"));
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab"));
    auto *page = new QWidget(tabs);
    addOnlyTab(tabs, page, QStringLiteral("利润分析"));

    DTBeginTime = intakeform::datePicker(page, "DTBeginTime");
    DTEndTime = intakeform::datePicker(page, "DTEndTime");
    DTBeginTime->setDate(ctx.today());
    DTEndTime->setDate(ctx.today());
    cmdQuery = namedButton(page, "cmdQuery", QStringLiteral("确 定(&O)"));
    int no = 0;
    auto *row = new QHBoxLayout;
    row->addWidget(caption(page, QStringLiteral("lbInfo_%1").arg(no++), QStringLiteral("开始日期")));
    row->addWidget(DTBeginTime);
    row->addWidget(caption(page, QStringLiteral("lbInfo_%1").arg(no++), QStringLiteral("结束日期")));
    row->addWidget(DTEndTime);
    row->addStretch();
    row->addWidget(cmdQuery);

    lbInQuantity = figure(page, "lbInQuantity");
    lbInAmount = figure(page, "lbInAmount");
    lbSellQuantity = figure(page, "lbSellQuantity");
    lbSellAmount = figure(page, "lbSellAmount");
    lbBackQuantity = figure(page, "lbBackQuantity");
    lbBackAmount = figure(page, "lbBackAmount");
    lbStoreQuantity = figure(page, "lbStoreQuantity");
    lbQuestionQuantity = figure(page, "lbQuestionQuantity");
    lbStorePrice = figure(page, "lbStorePrice");
    lbProfit = figure(page, "lbProfit");
    lbOtherAmount = figure(page, "lbOtherAmount");
    lbProfitEx = figure(page, "lbProfitEx");
    lbProfitEx->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));

    auto *groups = new QGridLayout;
    groups->addWidget(group(page, "frmIn", QStringLiteral("支出项目(进货)"),
                            {{"进货数量：", lbInQuantity}, {"进货金额：", lbInAmount}}, no),
                      0, 0);
    groups->addWidget(group(page, "frmSell", QStringLiteral("收入项目(售货)"),
                            {{"售货数量：", lbSellQuantity}, {"售货金额：", lbSellAmount}}, no),
                      0, 1);
    groups->addWidget(group(page, "frmBack", QStringLiteral("厂家退货"),
                            {{"退货数量：", lbBackQuantity}, {"退货金额：", lbBackAmount}}, no),
                      1, 0);
    groups->addWidget(group(page, "frmStore", QStringLiteral("库存剩余(含问题库存)"),
                            {{"可售库存数量：", lbStoreQuantity},
                             {"问题库存数量：", lbQuestionQuantity},
                             {"库存成本价：", lbStorePrice}},
                            no),
                      1, 1);
    groups->addWidget(group(page, "frmResult", QString(),
                            {{"销售毛利润：", lbProfit}, {"非盈利性支出", lbOtherAmount}, {"净利润：", lbProfitEx}},
                            no),
                      2, 0, 1, 2);

    auto *inner = new QVBoxLayout(page);
    inner->addLayout(row);
    inner->addLayout(groups);
    inner->addWidget(caption(page, QStringLiteral("lbInfo_%1").arg(no++),
                             QStringLiteral("说明：   销售毛利润是指每销售一双鞋产生的利润(销售价格-成本价格)")));
    inner->addWidget(caption(page, QStringLiteral("lbInfo_%1").arg(no++), QStringLiteral("销售净利润是指(毛利润-非盈利支出)")));
    inner->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    resize(620, 480);

    EnterToTab::install({DTBeginTime, DTEndTime});
    EnterClicksButtons::install(this);
    disableAutoDefault(this);
    connect(cmdQuery, &QPushButton::clicked, this, &ProfitScreen::query);
    DTBeginTime->setFocus();
}

void ProfitScreen::query() {
    ProfitFigures f;
    const bool done = settlementkit::run(ctx_.prompt(), [&] {
        f = ProfitAnalysis(ctx_.database(), ctx_.session).compute(DTBeginTime->date(), DTEndTime->date());
    });
    if (!done) {
        for (QLabel *l : findChildren<QLabel *>())
            if (!l->objectName().startsWith(QStringLiteral("lbInfo"))) l->clear();
        return;
    }
    lbInQuantity->setText(formatNumber(f.inQuantity));
    lbInAmount->setText(f.inAmount.toString());
    lbSellQuantity->setText(formatNumber(f.sellQuantity));
    lbSellAmount->setText(f.sellAmount.toString());
    lbBackQuantity->setText(formatNumber(f.factoryQuantity));
    lbBackAmount->setText(f.factoryAmount.toString());
    lbStoreQuantity->setText(formatNumber(f.stockQuantity));
    lbQuestionQuantity->setText(formatNumber(f.problemQuantity));
    lbStorePrice->setText(f.stockCost.toString());
    lbProfit->setText(f.grossProfit.toString());
    lbOtherAmount->setText(f.otherExpenses.toString());
    lbProfitEx->setText(f.netProfit().toString());
}

}  // namespace kestavion
