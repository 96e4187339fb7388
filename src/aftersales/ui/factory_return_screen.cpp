#include "aftersales/ui/factory_return_screen.h"

#include "aftersales/problem_stock.h"
#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/money.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

namespace {
const QString kTick = QStringLiteral("选中");
// A ticked row's cell reads "-1", a clear one "0".
const QString kTicked = QStringLiteral("-1");
const QString kClear = QStringLiteral("0");
}

FactoryReturnScreen::FactoryReturnScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmFactoryBack"));
    setWindowTitle(QStringLiteral("厂家退货"));
    auto *outer = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    VSFlexGrid = new Grid;
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    addOnlyTab(SSTab1, VSFlexGrid, QStringLiteral("问题库存"));
    outer->addWidget(SSTab1, 1);

    auto *bottom = new QHBoxLayout;
    cmdAll = namedButton(this, "cmdAll", QStringLiteral("全 选(&A)"));
    bottom->addWidget(cmdAll);
    auto *l0 = new QLabel(QStringLiteral("退货日期"), this);
    l0->setObjectName(QStringLiteral("lbInfo_0"));
    bottom->addWidget(l0);
    DT = new QDateEdit(ctx.today(), this);
    DT->setObjectName(QStringLiteral("DT"));
    DT->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DT->setCalendarPopup(true);
    bottom->addWidget(DT);
    auto *l1 = new QLabel(QStringLiteral("退货金额"), this);
    l1->setObjectName(QStringLiteral("lbInfo_1"));
    bottom->addWidget(l1);
    txtAmount = new QLineEdit(this);
    txtAmount->setObjectName(QStringLiteral("txtAmount"));
    txtAmount->setMaximumWidth(100);
    bottom->addWidget(txtAmount);
    bottom->addStretch();
    cmdRegist = namedButton(this, "cmdRegist", QStringLiteral("确 定(&O)"));
    bottom->addWidget(cmdRegist);
    outer->addLayout(bottom);
    lbTitle = helpLabel(
        this,
        QStringLiteral("  使用帮助：厂家退货我们这里设计的是只能从问题库存中退货，有质量问题的鞋子可以事先放置到问题库存中。在此选中要退货的鞋子，"
                       "自动根据进价计算金额，如果把问题库存中全部退货，点全选就可以了。最后点击确定完成一次厂家退货，系统自动更新库存。"));
    outer->addWidget(lbTitle);

    loadProblemStock();
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    resize(900, 520);

    connect(VSFlexGrid, &Grid::beforeEdit, this, [this](int, int col, bool *cancel) {
        if (col != tickCol()) *cancel = true;
    });
    connect(VSFlexGrid, &Grid::afterEdit, this, [this](int, int) { calcBackAmount(); });
    connect(VSFlexGrid, &Grid::checkToggled, this, [this](int row, int col, bool checked) {
        VSFlexGrid->setTextMatrix(row, col, checked ? kTicked : kClear);
        calcBackAmount();
    });
    connect(cmdAll, &QPushButton::clicked, this, [this] {
        const int c = tickCol();
        for (int r = 1; r < VSFlexGrid->rows(); ++r) VSFlexGrid->setTextMatrix(r, c, kTicked);
        calcBackAmount();
    });
    connect(cmdRegist, &QPushButton::clicked, this, [this] { registReturn(); });
}

int FactoryReturnScreen::tickCol() const { return VSFlexGrid->colIndex(kTick); }

void FactoryReturnScreen::loadProblemStock() {
    // Streamed into the list's own compact columns; a failed read leaves the list as
    // it was.
    if (!runReporting(ctx_.prompt(), [&] {
            VSFlexGrid->bindRows(ProblemStock::openRowColumns(), [&](const GridModel::RowSink &sink) {
                ProblemStock(ctx_.database(), ctx_.session).scanOpenRows(sink);
            });
        }))
        return;
    VSFlexGrid->setColHidden(VSFlexGrid->colIndex(QStringLiteral("ID")), true);
    const int c = VSFlexGrid->cols();
    VSFlexGrid->setCols(c + 1);
    VSFlexGrid->setColKey(c, kTick);
    VSFlexGrid->setTextMatrix(0, c, kTick);
    VSFlexGrid->setColCheckBox(c, true);
    VSFlexGrid->setColEditable(c, true);
    for (int r = 1; r < VSFlexGrid->rows(); ++r) VSFlexGrid->setTextMatrix(r, c, kClear);
    fitColumns(VSFlexGrid, 1000, {QStringLiteral("问题")});
}

void FactoryReturnScreen::calcBackAmount() {
    const int c = tickCol();
    Money sum;
    for (int r = 1; r < VSFlexGrid->rows(); ++r)
        if (VSFlexGrid->cellChecked(r, c)) sum += Money::fromDouble(gridNumber(VSFlexGrid, r, QStringLiteral("进价")));
    txtAmount->setText(sum.toString());
}

void FactoryReturnScreen::registReturn() {
    if (VSFlexGrid->rows() < 2) return;
    if (!moneyBoxAccepted(ctx_.prompt(), txtAmount)) return;
    const auto amount = Money::parse(txtAmount->text());
    if (!amount) {
        ctx_.prompt().info(QStringLiteral("请输入正确的退货金额！"));
        txtAmount->setFocus();
        return;
    }
    if (*amount < Money()) {
        ctx_.prompt().info(QStringLiteral("请输入大于0的数字！"));
        return;
    }
    const int c = tickCol();
    std::vector<qint64> ids;
    qint64 pairs = 0;
    for (int r = 1; r < VSFlexGrid->rows(); ++r) {
        if (!VSFlexGrid->cellChecked(r, c)) continue;
        ids.push_back(static_cast<qint64>(gridNumber(VSFlexGrid, r, QStringLiteral("ID"))));
        pairs = roundHalfEven(static_cast<double>(pairs) + gridNumber(VSFlexGrid, r, QStringLiteral("数量")));
    }
    if (pairs < 1) {
        ctx_.prompt().info(kNothingToReturn);
        return;
    }
    const bool ok = runReporting(ctx_.prompt(), [&] {
        ProblemStock(ctx_.database(), ctx_.session).returnToFactory(ids, DT->date(), *amount);
    });
    if (!ok) return;
    for (int r = VSFlexGrid->rows() - 1; r >= 1; --r)
        if (VSFlexGrid->cellChecked(r, c)) VSFlexGrid->removeItem(r);
    ctx_.prompt().info(QStringLiteral("退货成功！"));
}

}  // namespace kestavion
