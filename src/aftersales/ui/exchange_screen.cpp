#include "aftersales/ui/exchange_screen.h"

#include "aftersales/customer_exchange.h"
#include "aftersales/ui/replacement_dialog.h"
#include "foundation/app_context.h"
#include "foundation/money.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kestavion {

namespace {
const QString kReasonItem = QStringLiteral("调换原因");
const QString kReasonCol = QStringLiteral("调换原因");
const QString kAmount = QStringLiteral("应收金额");
const QStringList kChangeKeys = {QString(),          QStringLiteral("StoreGUID"), QStringLiteral("货号"),
                                 QStringLiteral("种类"), QStringLiteral("品牌"),      QStringLiteral("尺码"),
                                 QStringLiteral("颜色"), QStringLiteral("面料"),      QStringLiteral("等级"),
                                 QStringLiteral("产地"), QStringLiteral("零售价"),    QStringLiteral("数量"),
                                 QStringLiteral("折扣"), QStringLiteral("应收金额"),  QStringLiteral("SellGUID"),
                                 QStringLiteral("SellNo")};

// A money cell of a grid that shows stored rows.
Money cellMoney(const Grid *grid, int row, const QString &key) {
    return Money::parse(grid->text(row, key)).value_or(Money());
}

QLabel *figure(QWidget *parent, const char *name) {
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(70);
    l->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    return l;
}
}  // namespace

ExchangeScreen::ExchangeScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmClientBackChange"));
    setWindowTitle(QStringLiteral("客户调换"));
    auto *outer = new QVBoxLayout(this);
    auto *g = new QGridLayout;
    search.build(this, g, 0, ctx.today());
    outer->addLayout(g);
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    outer->addWidget(VSFlexGrid, 3);
    lbTip = tipLabel(this);
    outer->addWidget(lbTip);

    auto *mid = new QHBoxLayout;
    addReasonRow(ctx, this, mid, QStringLiteral("调换原因："), "lbInfo_0", 160, kReasonItem, comResion, cmdLeather);
    mid->addStretch();
    cmdChange = namedButton(this, "cmdChange", QStringLiteral("调 换(&C)"));
    mid->addWidget(cmdChange);
    outer->addLayout(mid);

    VSChange = new Grid(this);
    VSChange->setObjectName(QStringLiteral("VSChange"));
    outer->addWidget(VSChange, 2);
    Main = new QMenu(QStringLiteral("Main"), this);
    Main->setObjectName(QStringLiteral("Main"));
    Del = Main->addAction(QStringLiteral("删除"));
    Del->setObjectName(QStringLiteral("Del"));

    auto *bottom = new QHBoxLayout;
    const char *names[] = {"lbAmount", "lbHave", "lbBackAdd"};
    const QString captions[] = {QStringLiteral("应收金额"), QStringLiteral("已收金额"), QStringLiteral("退补金额")};
    QLabel *figures[3];
    for (int i = 0; i < 3; ++i) {
        auto *cap = new QLabel(captions[i], this);
        cap->setObjectName(QStringLiteral("lbInfo_%1").arg(i + 1));
        bottom->addWidget(cap);
        figures[i] = figure(this, names[i]);
        bottom->addWidget(figures[i]);
    }
    lbAmount = figures[0];
    lbHave = figures[1];
    lbBackAdd = figures[2];
    bottom->addStretch();
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确 定(&O)"));
    bottom->addWidget(cmdOk);
    outer->addLayout(bottom);
    lbTitle = helpLabel(
        this,
        QStringLiteral("  使用帮助：查询销售记录同退货一样，查询出后选择调换原因，单机调换，在新弹出的窗口中选择要调换成哪个鞋子，"
                       "选择后点确定，要调换的鞋子就添加到本窗口下面的表格里，系统会自动计算退补金额。点击确定即可完成一次调换。"
                       "调换后系统自动更新库存信息。"));
    outer->addWidget(lbTitle);

    showEmptySoldGrid(ctx, VSFlexGrid, false, kAmount);
    initChangeGrid();
    fillComboFromDictionary(ctx, kReasonItem, comResion);
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    resize(920, 640);

    connect(search.cmdQuery, &QPushButton::clicked, this, [this] { query(); });
    connect(VSFlexGrid, &Grid::keyPressed, this, [this](QKeyEvent *e, bool *handled) {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && VSFlexGrid->rows() > 1) {
            *handled = true;
            chooseReplacement();
        }
    });
    connect(cmdChange, &QPushButton::clicked, this, [this] { chooseReplacement(); });
    connect(VSChange, &Grid::rightClicked, this, [this](int, int, const QPoint &pos) { Main->popup(pos); });
    connect(Del, &QAction::triggered, this, [this] { removeReplacement(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { commit(); });
}

void ExchangeScreen::RemoveVsRowsAll(Grid *grid) {
    for (int r = grid->rows() - 1; r >= 1; --r) grid->removeItem(r);
}

void ExchangeScreen::initChangeGrid() {
    VSChange->setRows(1);
    VSChange->setCols(kChangeKeys.size());
    for (int c = 1; c < kChangeKeys.size(); ++c) {
        VSChange->setColKey(c, kChangeKeys[c]);
        VSChange->setTextMatrix(0, c, kChangeKeys[c]);
    }
    for (int c : {1, 14, 15}) VSChange->setColHidden(c, true);
    fitColumns(VSChange, 1000);
}

bool ExchangeScreen::isPaired(int soldRow) const {
    return soldRow >= 1 && soldRow < VSFlexGrid->rows() &&
           order_.isPaired(VSFlexGrid->text(soldRow, QStringLiteral("GUID")));
}

void ExchangeScreen::showOrder() {
    const int current = VSChange->row();
    VSChange->setRows(1);
    for (const ExchangeOrder::Line &l : order_.lines()) {
        const ExchangeReplacement &c = l.replacement;
        const QStringList fields = {QString(),   c.storeGuid, c.typeNo,           c.name,  c.brand,
                                    c.size,      c.colour,    c.leather,          c.grade, c.place,
                                    c.price.toString(), QStringLiteral("1"), c.abate, c.amount.toString(),
                                    l.sold.sellGuid, l.sold.sellNo};
        VSChange->addItem(fields.join(QLatin1Char('\t')));
    }
    if (VSChange->rows() > 1) VSChange->setRow(std::clamp(current, 1, VSChange->rows() - 1));
    fitColumns(VSChange, 1000);
    for (int r = 1; r < VSFlexGrid->rows(); ++r) {
        const QString guid = VSFlexGrid->text(r, QStringLiteral("GUID"));
        QString reason;
        for (const ExchangeOrder::Line &l : order_.lines())
            if (l.sold.sellGuid == guid) reason = l.reason;
        VSFlexGrid->setCellBackColor(r, 0, order_.isPaired(guid) ? kPairedColour : -1);
        VSFlexGrid->setText(r, kReasonCol, reason);
    }
    lbAmount->setText(order_.amount().toString());
    lbHave->setText(order_.have().toString());
    lbBackAdd->setText(order_.backAdd().toString());
}

void ExchangeScreen::query() {
    // Replacements waiting for their commit belong to the rows now listed: a new
    // search would lose the pairing, so it waits until the order is done.
    if (!order_.empty()) {
        ctx_.prompt().info(QStringLiteral("下面的列表中还有没确定的调换商品，请先确定调换或删除后再查询！"));
        return;
    }
    auto cond = search.conditions();
    if (!cond) {
        ctx_.prompt().info(QStringLiteral("请选择条件！"));
        return;
    }
    // The first page into the list, the next ones as it is scrolled; no row found
    // leaves the list as it was.
    int found = 0;
    if (!runReporting(ctx_.prompt(),
                      [&] { found = bindSaleSearch(ctx_, VSFlexGrid, QStringLiteral("ClientChange"), *cond, kAmount); }))
        return;
    if (found == 0) {
        lbTip->setText(QStringLiteral("无记录！"));
        return;
    }
    const int c = VSFlexGrid->cols();
    VSFlexGrid->setCols(c + 1);
    VSFlexGrid->setColKey(c, kReasonCol);
    VSFlexGrid->setTextMatrix(0, c, kReasonCol);
    VSFlexGrid->setColHidden(c, true);
    dressSoldGrid(VSFlexGrid, false, 860);
    VSFlexGrid->setRow(1);
    lbTip->clear();
}

void ExchangeScreen::chooseReplacement() {
    if (VSFlexGrid->rows() < 2) {
        ctx_.prompt().info(QStringLiteral("请选择被调换的商品"));
        search.txtSellNo->setFocus();
        return;
    }
    int r = VSFlexGrid->row();
    if (r < 1) {
        r = 1;
        VSFlexGrid->setRow(1);
    }
    if (isPaired(r)) {
        ctx_.prompt().info(QStringLiteral("该商品已经被调换到下面的列表！"));
        search.txtSellNo->setFocus();
        return;
    }
    const QDate saleDate = QDate::fromString(VSFlexGrid->text(r, QStringLiteral("销售日期")), Qt::ISODate);
    const QString refusal =
        exchangeRefusal(ctx_.session.rules, static_cast<int>(gridNumber(VSFlexGrid, r, QStringLiteral("State"))),
                        VSFlexGrid->text(r, QStringLiteral("折扣")), saleDate, ctx_.today());
    if (!refusal.isEmpty()) {
        ctx_.prompt().info(refusal);
        return;
    }
    ReplacementDialog dlg(ctx_, order_, this);
    dlg.LoadIt(VSFlexGrid->text(r, QStringLiteral("GUID")), VSFlexGrid->text(r, QStringLiteral("SellNo")),
               VSFlexGrid->text(r, QStringLiteral("货号")), cellMoney(VSFlexGrid, r, QStringLiteral("零售价")));
    if (dlg.exec() != QDialog::Accepted || !dlg.chosen()) return;
    const ExchangeSold sold{VSFlexGrid->text(r, QStringLiteral("GUID")), VSFlexGrid->text(r, QStringLiteral("SellNo")),
                            cellMoney(VSFlexGrid, r, kAmount)};
    order_.add(sold, comResion->currentText(), *dlg.chosen());
    showOrder();
    VSChange->setRow(VSChange->rows() - 1);
}

void ExchangeScreen::removeReplacement() {
    const int r = VSChange->row();
    if (VSChange->rows() < 2 || r < 1) return;
    order_.remove(r - 1);
    showOrder();
}

void ExchangeScreen::commit() {
    if (order_.empty()) return;
    const std::vector<ExchangePair> pairs = order_.pairs();
    if (!runReporting(ctx_.prompt(),
                      [&] { CustomerExchange(ctx_.database(), ctx_.session, *ctx_.clock).commit(pairs); }))
        return;
    for (int r = VSFlexGrid->rows() - 1; r >= 1; --r)
        if (isPaired(r)) VSFlexGrid->removeItem(r);
    order_.clear();
    RemoveVsRowsAll(VSChange);
    // The figures belong to the order just committed; the next one starts from nothing.
    lbAmount->clear();
    lbHave->clear();
    lbBackAdd->clear();
    ctx_.prompt().info(QStringLiteral("调换成功！"));
}

}  // namespace kestavion
