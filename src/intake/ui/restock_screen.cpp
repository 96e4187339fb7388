#include "intake/ui/restock_screen.h"

#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/typed_search.h"
#include "intake/ui/batch_intake_screen.h"
#include "intake/ui/goods_property_screen.h"
#include "intake/ui/intake_form.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

using namespace intakeform;

RestockScreen::RestockScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmBuyIn"));
    setWindowTitle(QStringLiteral("进货"));
    txtNo = lineEdit(this, "txtNo");
    cmdNewGoods = namedButton(this, "cmdNewGoods", QStringLiteral("单品进货(&N)"));
    Command1 = namedButton(this, "Command1", QStringLiteral("批量进货(&B)"));
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    search_ = std::make_unique<TypedSearch>(VSFlexGrid, QStringLiteral("货号"));
    Frame1 = new QGroupBox(QStringLiteral("补货"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    DT = datePicker(Frame1, "DT");
    DT->setDate(ctx.today());
    txtQuantity = lineEdit(Frame1, "txtQuantity");
    txtPrice = lineEdit(Frame1, "txtPrice");
    cmdPutIn = namedButton(Frame1, "cmdPutIn", QStringLiteral("入 库(&I)"));
    lbTitle = new QLabel(
        QStringLiteral("  使用帮助：单品进货针对某个货号同颜色同尺码的鞋子，逐个入库。批量进货是针对同一货号的鞋子，"
                       "不同颜色不同尺码的批量入库。（建议批量进货速度比较快） 如果某个货号的鞋子在库存中已存在，"
                       "可以在上面的货号栏直接输入货号查找出对应的鞋子，在下面补货输入价格和数量，直接点本页面的入库，"
                       "库存直接就增加了。"),
        this);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    lbTitle->setWordWrap(true);

    auto *head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("货  号"), this));
    head->addWidget(txtNo);
    head->addStretch();
    head->addWidget(cmdNewGoods);
    head->addWidget(Command1);
    auto *frame = new QGridLayout(Frame1);
    addRow(frame, 0, 0, QStringLiteral("数 量"), txtQuantity);
    addRow(frame, 0, 2, QStringLiteral("进 价"), txtPrice);
    addRow(frame, 0, 4, QStringLiteral("进货日期"), DT);
    frame->addWidget(cmdPutIn, 0, 6);
    auto *top = new QVBoxLayout(this);
    top->addLayout(head);
    top->addWidget(VSFlexGrid, 1);
    top->addWidget(Frame1);
    top->addWidget(lbTitle);
    resize(980, 620);

    setTabOrder(txtQuantity, txtPrice);
    setTabOrder(txtPrice, DT);
    EnterToTab::install({txtQuantity, txtPrice});
    txtNo->installEventFilter(this);
    disableAutoDefault(this);

    connect(txtNo, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(VSFlexGrid, &Grid::keyPressed, this, [this](QKeyEvent *e, bool *handled) {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && VSFlexGrid->rows() > 1) {
            txtQuantity->setFocus();
            *handled = true;
        }
    });
    connect(cmdPutIn, &QPushButton::clicked, this, &RestockScreen::putIn);
    connect(cmdNewGoods, &QPushButton::clicked, this, [this] {
        GoodsPropertyScreen screen(ctx_, [this](const GoodsRow &r) { appendGoods(r); }, this);
        screen.exec();
    });
    connect(Command1, &QPushButton::clicked, this, [this] {
        BatchIntakeScreen screen(ctx_, [this](const GoodsRow &r) { appendGoods(r); }, this);
        screen.exec();
    });

    loadGoodsList();
}

bool RestockScreen::eventFilter(QObject *watched, QEvent *event) {
    if (watched == txtNo && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Down && VSFlexGrid->rows() > 1) {
        VSFlexGrid->setFocus();
        if (VSFlexGrid->row() < 1) VSFlexGrid->setRow(1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

RestockScreen::~RestockScreen() = default;

void RestockScreen::loadGoodsList() {
    // Streamed into the list's own compact columns: no copy of the result is kept.
    const QStringList &columns = GoodsIntakeService::goodsListColumns();
    try {
        VSFlexGrid->bindRows(columns, [this](const GridModel::RowSink &sink) {
            GoodsIntakeService(ctx_.database(), ctx_.session, kBuyInKey).scanGoodsList(sink);
        });
    } catch (const DbError &e) {
        showDbError(ctx_.prompt(), e);
        ctx_.prompt().warning(kReadFailed, kTitleHint);
        VSFlexGrid->bindRows(columns, [](const GridModel::RowSink &) {});
    }
    VSFlexGrid->setColHidden(VSFlexGrid->colIndex(QStringLiteral("GUID")), true);
    VSFlexGrid->sizeColumns(1160);
    // A long article number or price is shown whole, not cut at both ends.
    VSFlexGrid->widenToContents();
    search_->rebound();
    applyFilter();
}

void RestockScreen::applyFilter() {
    // Part of an article number, anywhere in it, over the goods already read; letter
    // case ignored as LIKE does.
    search_->apply(txtNo->text());
}

void RestockScreen::appendGoods(const GoodsRow &r) {
    const int at = addGridRow(VSFlexGrid, r.cells());
    // A list that had no goods row gets one to restock.
    if (VSFlexGrid->row() < 1) VSFlexGrid->setRow(at);
}

void RestockScreen::putIn() {
    Grid *g = VSFlexGrid;
    if (g->rows() <= 1) return;
    if (!moneyBoxAccepted(ctx_.prompt(), txtPrice)) return;
    const auto price = parseNumber(txtPrice->text());
    if (!price) {
        ctx_.prompt().info(QStringLiteral("数据类型不正确！"));
        txtPrice->setFocus();
        return;
    }
    const auto quantity = parseNumber(txtQuantity->text());
    if (!quantity) {
        ctx_.prompt().info(QStringLiteral("数据类型不正确！"));
        txtQuantity->setFocus();
        return;
    }
    const int row = g->row();
    if (row < 1) return;
    GoodsRow goods;
    goods.guid = g->text(row, QStringLiteral("GUID"));
    goods.typeNo = g->text(row, QStringLiteral("货号"));
    goods.name = g->text(row, QStringLiteral("种类"));
    goods.brand = g->text(row, QStringLiteral("品牌"));
    goods.size = g->text(row, QStringLiteral("尺码"));
    goods.colour = g->text(row, QStringLiteral("颜色"));
    goods.leather = g->text(row, QStringLiteral("面料"));
    goods.grade = g->text(row, QStringLiteral("等级"));
    goods.place = g->text(row, QStringLiteral("产地"));

    if (!ctx_.prompt().question(QStringLiteral("确认要入库吗？"), kTitleHint)) return;
    if (!runReporting(ctx_.prompt(), [&] {
            GoodsIntakeService(ctx_.database(), ctx_.session, kBuyInKey).restock(goods, *price, *quantity, DT->date());
        }))
        return;

    const double now = parseNumber(g->text(row, QStringLiteral("数量"))).value_or(0) + *quantity;
    g->setText(row, QStringLiteral("数量"), formatNumber(now));
    txtPrice->clear();
    txtQuantity->clear();
    txtNo->setFocus();
}

}  // namespace kestavion
