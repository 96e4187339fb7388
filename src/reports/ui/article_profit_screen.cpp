#include "reports/ui/article_profit_screen.h"

#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "intake/ui/intake_form.h"
#include "reports/article_profit.h"
#include "reports/ui/settlement_kit.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

using settlementkit::caption;

ArticleProfitScreen::ArticleProfitScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmProfitByNo"));
    setWindowTitle(QStringLiteral("单品利润分析"));
    txtNo = intakeform::lineEdit(this, "txtNo");
    DTBeginTime = intakeform::datePicker(this, "DTBeginTime");
    DTEndTime = intakeform::datePicker(this, "DTEndTime");
    DTBeginTime->setDate(ctx.today());
    DTEndTime->setDate(ctx.today());
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确 定"));
    VSSell = new Grid(this);
    VSSell->setObjectName(QStringLiteral("VSSell"));

    auto *row = new QHBoxLayout;
    row->addWidget(caption(this, QStringLiteral("lbInfo_0"), QStringLiteral("货  号")));
    row->addWidget(txtNo);
    row->addWidget(caption(this, QStringLiteral("lbInfo_1"), QStringLiteral("开始日期")));
    row->addWidget(DTBeginTime);
    row->addWidget(caption(this, QStringLiteral("lbInfo_2"), QStringLiteral("至")));
    row->addWidget(DTEndTime);
    row->addStretch();
    row->addWidget(cmdOk);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(VSSell, 1);
    resize(1100, 600);

    // Enter in the article number runs the query; in the dates it moves on.
    EnterToTab::install({DTBeginTime, DTEndTime});
    EnterClicksButtons::install(this);
    disableAutoDefault(this);
    connect(txtNo, &QLineEdit::returnPressed, this, &ArticleProfitScreen::query);
    connect(cmdOk, &QPushButton::clicked, this, &ArticleProfitScreen::query);

    settlementkit::run(ctx_.prompt(), [&] { VSSell->bind(ArticleProfit(ctx_.database(), ctx_.session.shopNo).headings()); });
    sizeColumns();
    txtNo->setFocus();
}

void ArticleProfitScreen::sizeColumns() {
    VSSell->sizeColumns(820);
    VSSell->setColWidth(1, 1600);
    // A full date is wider than the other columns.
    const int dateCol = VSSell->colIndex(QStringLiteral("销售日期"));
    if (dateCol > 0) {
        VSSell->autoSize(dateCol, dateCol);
        if (VSSell->colWidth(dateCol) < 1300) VSSell->setColWidth(dateCol, 1300);
    }
}

void ArticleProfitScreen::query() {
    ArticleProfitList list;
    if (!settlementkit::run(ctx_.prompt(), [&] {
            list = ArticleProfit(ctx_.database(), ctx_.session.shopNo)
                       .list(txtNo->text(), DTBeginTime->date(), DTEndTime->date());
        })) {
        VSSell->clearSubtotals();
        VSSell->clearRows();
        return;
    }
    VSSell->bind(list.rows);
    sizeColumns();
    settlementkit::showTotalRow(VSSell, QStringLiteral("总合计"),
                                {{QStringLiteral("实收金额"), list.amount.toString()},
                                 {QStringLiteral("数量"), formatNumber(list.quantity)},
                                 {QStringLiteral("成本价"), list.cost.toString()},
                                 {QStringLiteral("利润"), list.profit.toString()}});
}

}  // namespace kestavion
