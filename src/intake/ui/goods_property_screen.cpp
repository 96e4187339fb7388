#include "intake/ui/goods_property_screen.h"

#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "intake/ui/intake_form.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

using namespace intakeform;

GoodsPropertyScreen::GoodsPropertyScreen(AppContext &ctx, std::function<void(const GoodsRow &)> appendGoods,
                                         QWidget *parent)
    : QDialog(parent), ctx_(ctx), appendGoods_(std::move(appendGoods)) {
    setObjectName(QStringLiteral("frmGoodsProperty"));
    setWindowTitle(QStringLiteral("新货"));
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("新货信息"));

    buildGoodsFields(ctx, page);
    txtSellPrice = lineEdit(page, "txtSellPrice");
    DT = datePicker(page, "DT");
    DT->setDate(ctx.today());
    txtBlock = lineEdit(page, "txtBlock");
    txtFloor = lineEdit(page, "txtFloor");
    txtMemo = memoBox(page);
    txtMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    cmdPutIn = namedButton(this, "cmdPutIn", QStringLiteral("入 库(&I)"));
    cmdClear = namedButton(this, "cmdClear", QStringLiteral("清 空(&C)"));

    auto *g = new QGridLayout(page);
    layOutGoodsFields(g, QStringLiteral("种  类"));
    addRow(g, 5, 0, QStringLiteral("零售价"), txtSellPrice);
    addRow(g, 5, 3, QStringLiteral("进货日期"), DT);
    addRow(g, 6, 0, QStringLiteral("存放货柜"), txtBlock);
    addRow(g, 6, 3, QStringLiteral("货 柜 层"), txtFloor);
    addRow(g, 7, 0, QStringLiteral("备  注"), txtMemo);
    g->addWidget(txtMemo, 7, 1, 1, 5);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPutIn);
    buttons->addWidget(cmdClear);
    auto *top = new QVBoxLayout(this);
    top->addWidget(tabs);
    top->addLayout(buttons);

    // Enter runs down the description without passing brand and place, which come
    // after the "…" buttons.
    QWidget *order[] = {txtNo,     comName,  comSize,  comColour, comLeather, comGrade,  txtPrice,
                        txtQuantity, txtSellPrice, DT, txtBlock, txtFloor,   txtMemo,   cmdPutIn,
                        cmdClear,  cmdName,  cmdBrand, cmdSize,   cmdColour,  cmdLeather, cmdGrade,
                        cmdProductPlace, comProductPlace, comBrand};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    EnterToTab::install({txtNo, comName, comBrand, comSize, comColour, comLeather, comGrade, comProductPlace, txtPrice,
                         txtQuantity, txtSellPrice, DT, txtBlock, txtFloor, txtMemo});
    disableAutoDefault(this);
    connect(cmdPutIn, &QPushButton::clicked, this, &GoodsPropertyScreen::putIn);
    connect(cmdClear, &QPushButton::clicked, this, &GoodsPropertyScreen::clear);
    txtNo->setFocus();
}

void GoodsPropertyScreen::putIn() {
    GoodsIntake in;
    if (!readGoodsFields(ctx_.prompt(), in)) return;
    if (!moneyBoxAccepted(ctx_.prompt(), txtSellPrice)) return;
    const auto sellPrice = parseNumber(txtSellPrice->text());
    if (!sellPrice) {
        ctx_.prompt().info(QStringLiteral("数据类型不正确！"));
        txtSellPrice->setFocus();
        return;
    }
    in.retailPrice = *sellPrice;
    in.block = txtBlock->text();
    in.floor = txtFloor->text();
    in.memo = txtMemo->toPlainText();
    in.date = DT->date();

    if (!ctx_.prompt().question(QStringLiteral("确认要入库么？"), kTitleHint)) return;
    QString guid;
    if (!runReporting(ctx_.prompt(), [&] { guid = GoodsIntakeService(ctx_.database(), ctx_.session, kBuyInKey).takeInNew(in); }))
        return;
    if (appendGoods_) appendGoods_(GoodsRow::fromIntake(guid, in));
}

void GoodsPropertyScreen::clear() {
    for (QLineEdit *e : {txtNo, txtPrice, txtQuantity, txtSellPrice, txtBlock, txtFloor}) e->clear();
    txtMemo->clear();
    txtNo->setFocus();
}

}  // namespace kestavion
