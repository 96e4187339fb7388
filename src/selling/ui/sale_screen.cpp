#include "selling/ui/sale_screen.h"

#include "foundation/numbers.h"
#include "foundation/refusal.h"
#include "foundation/ui/file_health_notice.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"
#include "foundation/ui/typed_search.h"
#include "foundation/ui/printer_access.h"
#include "foundation/refusal.h"
#include "selling/checkout.h"
#include "selling/kept_sale.h"
#include "selling/receipt.h"
#include "selling/sale_numbering.h"
#include "selling/till_goods.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kestavion {

namespace {

const QString kKeyLegend = QStringLiteral(
    "F1:数量 F2:折扣 F3:特价 F4:客人付款 F5:货号 F6:商品列表 F7:预售列表 Del:取消当前商品 F8:重新打印");
const QString kHelp = QStringLiteral(
    "  使用帮助：在货号栏可以直接手工输入鞋子的货号或用扫描枪扫描条码（扫描的前提是货号和条码一致），可查询到要销售的鞋子。"
    "选中要销售的鞋子后，点击回车进入数量输入栏，默认为1，可对数量进行修改，之后按回车到折扣栏，如果不打折扣默认是\"全\""
    ",比如是8.5折，直接在折扣栏输入8.5即可，如果是特价鞋，可以用上下键把定位到特价栏，输入鞋子价格之后按回车就添加了一个鞋子"
    "到预售列表里，可以一次销售几双不同过的鞋子。添加完成后输入客人付款，按回车直接结账即可完成一次销售。如果需要打印可打开【"
    "系统】菜单下的【系统设置】打印设置勾选打印结账单，选择您的打印机类型。");
const QString kNoPrinter = QStringLiteral("没有发现打印机！");
// What the printer said when it could print nothing, or that none was found.
QString printerProblem(const AppContext &ctx) {
    return ctx.printer && !ctx.printer->problem().isEmpty() ? ctx.printer->problem() : kNoPrinter;
}
// Asked when Esc would close the till with pairs still on the list.
const QString kDropSale = QStringLiteral("预售列表中还有未结帐的商品，确定要放弃本次销售吗？");
// Asked on opening when this seller left a list on this till (the program or the
// machine stopped before checkout).
const QString kRestoreKept = QStringLiteral("恢复上次未结帐的预售列表？");
const QString kNotRestored = QStringLiteral("以下商品不能再恢复到预售列表，已去掉：\n");
const QString kKeepFailed = QStringLiteral(
    "预售列表没能保存到数据库（%1）。\n可以继续销售，但如果程序意外关闭，这张预售列表将无法恢复。");

const QStringList kSellHeadings = {QString(),           QStringLiteral("GUID"), QStringLiteral("货号"),
                                   QStringLiteral("种类"), QStringLiteral("品牌"), QStringLiteral("尺码"),
                                   QStringLiteral("颜色"), QStringLiteral("面料"), QStringLiteral("等级"),
                                   QStringLiteral("产地"), QStringLiteral("零售价"), QStringLiteral("数量"),
                                   QStringLiteral("折扣"), QStringLiteral("应收金额")};

bool isEnter(const QKeyEvent *e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

QLabel *caption(const QString &text, QWidget *parent) { return new QLabel(text, parent); }

}  // namespace

SaleScreen::SaleScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSell"));
    setWindowTitle(QStringLiteral("售货"));
    buildControls();
    search_ = std::make_unique<TypedSearch>(VSFlexGrid, QStringLiteral("货号"));
    search_->require(QStringLiteral("数量"), [](const QString &t) { return parseNumber(t).value_or(0) > 0; });
    disableAutoDefault(this);
    // Enter on a button clicks it, as on the other fields it moves on.
    EnterClicksButtons::install(this);

    loadGoodsGrid();
    initSellGrid();
    lbOpt->setText(ctx_.session.user.Name);
    refreshSellNo();
    showCurrentPrice();
    // Looked up before any pair can be added: only a list left from before counts.
    try {
        keptListFound_ = KeptSale(ctx_.database(), ctx_.session).exists();
    } catch (const DbError &) {
        // Unreadable now: the till still sells; the next write will say so.
    } catch (const Refusal &) {
    }

    connect(txtNo, &QLineEdit::textChanged, this, [this] { search(); });
    connect(VSFlexGrid, &Grid::rowChanged, this, [this] { showCurrentPrice(); });
    connect(txtAbate, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (t != kFullPrice && SaleList::discountMeansFull(t)) txtAbate->setText(kFullPrice);
    });
    connect(txtReciveAmout, &QLineEdit::textChanged, this, [this] { updateTotals(); });
    connect(OptAbate, &QRadioButton::clicked, this, [this] { focusTo(txtAbate); });
    connect(OptChangePrice, &QRadioButton::clicked, this, [this] { focusTo(txtChangePrice); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] {
        if (OptAbate->isChecked())
            addWithDiscount();
        else
            addWithSpecialPrice();
    });
    connect(cmdCheckOut, &QPushButton::clicked, this, [this] { checkOut(); });
    connect(VSSell, &Grid::rightClicked, this, [this](int, int, const QPoint &pos) { Main->popup(pos); });
    connect(Cancel, &QAction::triggered, this, [this] { removeCurrentLine(); });

    for (QLineEdit *box : {txtQuatity, txtAbate, txtChangePrice}) box->installEventFilter(this);
    preview_ = std::make_unique<KeyPreview>(this, [this](QKeyEvent *e) { return previewKey(e); });
    txtNo->setFocus();
}

SaleScreen::~SaleScreen() = default;

void SaleScreen::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // The question comes once the till is on the screen behind it.
    if (keptListFound_) QTimer::singleShot(0, this, [this] { offerKeptList(); });
}

void SaleScreen::buildControls() {
    txtNo = new QLineEdit(this);
    txtNo->setObjectName(QStringLiteral("txtNo"));
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    txtPrice = new QLineEdit(this);
    txtPrice->setObjectName(QStringLiteral("txtPrice"));
    txtPrice->setReadOnly(true);
    txtPrice->setFocusPolicy(Qt::ClickFocus);
    txtQuatity = new QLineEdit(QStringLiteral("1"), this);
    txtQuatity->setObjectName(QStringLiteral("txtQuatity"));
    OptAbate = new QRadioButton(this);
    OptAbate->setObjectName(QStringLiteral("OptAbate"));
    OptAbate->setChecked(true);
    OptAbate->setFocusPolicy(Qt::NoFocus);  // arrows belong to the price boxes
    txtAbate = new QLineEdit(kFullPrice, this);
    txtAbate->setObjectName(QStringLiteral("txtAbate"));
    OptChangePrice = new QRadioButton(this);
    OptChangePrice->setObjectName(QStringLiteral("OptChangePrice"));
    OptChangePrice->setFocusPolicy(Qt::NoFocus);
    txtChangePrice = new QLineEdit(this);
    txtChangePrice->setObjectName(QStringLiteral("txtChangePrice"));
    cmdAdd = namedButton(this, "cmdAdd", QStringLiteral("加 单(&A)"));
    VSSell = new Grid(this);
    VSSell->setObjectName(QStringLiteral("VSSell"));
    lbAmount = new QLabel(this);
    lbAmount->setObjectName(QStringLiteral("lbAmount"));
    txtReciveAmout = new QLineEdit(this);
    txtReciveAmout->setObjectName(QStringLiteral("txtReciveAmout"));
    lb = new QLabel(this);
    lb->setObjectName(QStringLiteral("lb"));
    cmdCheckOut = namedButton(this, "cmdCheckOut", QStringLiteral("结 帐(&C)"));
    lbOpt = new QLabel(this);
    lbOpt->setObjectName(QStringLiteral("lbOpt"));
    lbNo = new QLabel(this);
    lbNo->setObjectName(QStringLiteral("lbNo"));
    lbKeys = new QLabel(kKeyLegend, this);
    lbKeys->setObjectName(QStringLiteral("lbKeys"));
    lbTitle = new QLabel(kHelp, this);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    lbTitle->setWordWrap(true);
    Main = new QMenu(QStringLiteral("主菜单"), this);
    Main->setObjectName(QStringLiteral("Main"));
    Cancel = Main->addAction(QStringLiteral("取消"));
    Cancel->setObjectName(QStringLiteral("Cancel"));

    QFont big = lbAmount->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    for (QLabel *l : {lbAmount, lb}) {
        l->setFont(big);
        l->setMinimumWidth(120);
        l->setStyleSheet(QStringLiteral("color: #c00000"));
    }

    auto *find = new QHBoxLayout;
    find->addWidget(caption(QStringLiteral("货  号"), this));
    find->addWidget(txtNo, 2);
    find->addSpacing(12);
    find->addWidget(caption(QStringLiteral("零售价"), this));
    find->addWidget(txtPrice, 1);
    find->addSpacing(12);
    find->addWidget(caption(QStringLiteral("数  量"), this));
    find->addWidget(txtQuatity, 1);
    auto *price = new QHBoxLayout;
    price->addWidget(OptAbate);
    price->addWidget(caption(QStringLiteral("折 扣"), this));
    price->addWidget(txtAbate, 1);
    price->addSpacing(12);
    price->addWidget(OptChangePrice);
    price->addWidget(caption(QStringLiteral("特 价"), this));
    price->addWidget(txtChangePrice, 1);
    price->addSpacing(12);
    price->addWidget(cmdAdd);
    price->addStretch(1);

    // The money row in large figures: total, payment, change.
    QFont payFont = txtReciveAmout->font();
    payFont.setPointSize(payFont.pointSize() + 6);
    txtReciveAmout->setFont(payFont);
    txtReciveAmout->setFixedWidth(180);
    auto *pay = new QHBoxLayout;
    pay->addWidget(caption(QStringLiteral("应收金额"), this));
    pay->addWidget(lbAmount);
    pay->addStretch(1);
    pay->addWidget(caption(QStringLiteral("客人付款"), this));
    pay->addWidget(txtReciveAmout);
    pay->addStretch(1);
    pay->addWidget(caption(QStringLiteral("找回金额"), this));
    pay->addWidget(lb);
    pay->addStretch(1);
    pay->addWidget(cmdCheckOut);

    auto *who = new QHBoxLayout;
    who->addWidget(caption(QStringLiteral("销售员："), this));
    who->addWidget(lbOpt);
    who->addSpacing(24);
    who->addWidget(caption(QStringLiteral("销售编号："), this));
    who->addWidget(lbNo);
    who->addStretch();
    who->addWidget(lbKeys);

    auto *v = new QVBoxLayout(this);
    v->addLayout(find);
    v->addLayout(price);
    v->addWidget(VSFlexGrid, 3);
    v->addWidget(caption(QStringLiteral("预售列表："), this));
    v->addWidget(VSSell, 2);
    v->addLayout(pay);
    v->addLayout(who);
    v->addWidget(lbTitle);
    resize(1000, 720);

    setTabOrder(txtNo, VSFlexGrid);
    setTabOrder(VSFlexGrid, txtQuatity);
    setTabOrder(txtQuatity, txtAbate);
    setTabOrder(txtAbate, txtChangePrice);
    setTabOrder(txtChangePrice, cmdAdd);
    setTabOrder(cmdAdd, VSSell);
    setTabOrder(VSSell, txtReciveAmout);
    setTabOrder(txtReciveAmout, cmdCheckOut);
}

// ---- goods list ---------------------------------------------------------------

void SaleScreen::loadGoodsGrid() {
    // Streamed into the list's own compact columns: no copy of the result is kept.
    // A failed read leaves the list, and what the search last showed in it, as they were.
    const bool read = runReporting(ctx_.prompt(), [this] {
        VSFlexGrid->bindRows(TillGoods::columns(), [this](const GridModel::RowSink &sink) {
            TillGoods::scan(ctx_.database(), ctx_.session, sink);
        });
    });
    VSFlexGrid->setColHidden(1, true);
    VSFlexGrid->sizeColumns(1140);
    if (VSFlexGrid->rows() > 1) VSFlexGrid->setRow(1);
    if (read) search_->rebound();
}

// Every keystroke filters the goods already in the list, never the file. Goods sold
// out since the list was read drop out here.
void SaleScreen::search() {
    search_->apply(txtNo->text());
    showCurrentPrice();
}

bool SaleScreen::hasGoodsRow() const { return VSFlexGrid->rows() > 1 && VSFlexGrid->row() >= 1; }

void SaleScreen::showCurrentPrice() {
    if (hasGoodsRow()) txtPrice->setText(VSFlexGrid->text(VSFlexGrid->row(), QStringLiteral("零售价")));
}

SaleGoods SaleScreen::currentGoods() const {
    const int r = VSFlexGrid->row();
    SaleGoods g;
    g.storeGuid = VSFlexGrid->text(r, QStringLiteral("GUID"));
    g.typeNo = VSFlexGrid->text(r, QStringLiteral("货号"));
    g.name = VSFlexGrid->text(r, QStringLiteral("种类"));
    g.brand = VSFlexGrid->text(r, QStringLiteral("品牌"));
    g.size = VSFlexGrid->text(r, QStringLiteral("尺码"));
    g.colour = VSFlexGrid->text(r, QStringLiteral("颜色"));
    g.leather = VSFlexGrid->text(r, QStringLiteral("面料"));
    g.grade = VSFlexGrid->text(r, QStringLiteral("等级"));
    g.place = VSFlexGrid->text(r, QStringLiteral("产地"));
    g.onHand = parseNumber(VSFlexGrid->text(r, QStringLiteral("数量"))).value_or(0);
    return g;
}

void SaleScreen::initSellGrid() {
    VSSell->setCols(kSellHeadings.size());
    VSSell->setRows(1);
    for (int c = 0; c < kSellHeadings.size(); ++c) {
        VSSell->setTextMatrix(0, c, kSellHeadings[c]);
        VSSell->setColKey(c, kSellHeadings[c]);
    }
    VSSell->setColHidden(1, true);
    VSSell->sizeColumns(960);
}

// ---- keys -----------------------------------------------------------------------

void SaleScreen::focusTo(QWidget *w) {
    w->setFocus(Qt::OtherFocusReason);
    if (auto *box = qobject_cast<QLineEdit *>(w)) {
        if (box == txtAbate) OptAbate->setChecked(true);
        if (box == txtChangePrice) OptChangePrice->setChecked(true);
        if (box == txtQuatity || box == txtAbate || box == txtChangePrice) box->selectAll();
    }
}

bool SaleScreen::eventFilter(QObject *watched, QEvent *event) {
    // Entering a quantity or price box selects its text and its mode.
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtAbate) OptAbate->setChecked(true);
        if (watched == txtChangePrice) OptChangePrice->setChecked(true);
        if (auto *box = qobject_cast<QLineEdit *>(watched)) box->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

bool SaleScreen::previewKey(QKeyEvent *e) {
    // F-keys and Del wherever the focus is; with nothing on the list Del edits text.
    if (e->key() == Qt::Key_Delete && list_.empty()) return false;
    switch (e->key()) {
    case Qt::Key_F1: focusTo(txtQuatity); return true;
    case Qt::Key_F2: focusTo(txtAbate); return true;
    case Qt::Key_F3: focusTo(txtChangePrice); return true;
    case Qt::Key_F4: focusTo(txtReciveAmout); return true;
    case Qt::Key_F5: focusTo(txtNo); return true;
    case Qt::Key_F6: focusTo(VSFlexGrid); return true;
    case Qt::Key_F7: focusTo(VSSell); return true;
    case Qt::Key_F8: reprint(); return true;
    case Qt::Key_Delete: removeCurrentLine(); return true;
    default: break;
    }

    QWidget *f = focusWidget();
    const int key = e->key();
    if (f == txtNo) {
        if ((key == Qt::Key_Down || isEnter(e)) && VSFlexGrid->rows() > 1) {
            // Down also steps one row on; Enter (a scanner's last key) just moves on.
            if (key == Qt::Key_Down && VSFlexGrid->rows() > 2 && VSFlexGrid->row() < VSFlexGrid->rows() - 1)
                VSFlexGrid->setRow(VSFlexGrid->row() + 1);
            focusTo(VSFlexGrid);
            return true;
        }
        return isEnter(e);
    }
    if (f == VSFlexGrid && isEnter(e)) {
        if (VSFlexGrid->rows() > 1) focusTo(txtQuatity);
        return true;
    }
    if (f == txtQuatity && isEnter(e)) {
        quantityEntered();
        return true;
    }
    if (f == txtAbate) {
        if (key == Qt::Key_Down) {
            focusTo(txtChangePrice);
            return true;
        }
        if (isEnter(e)) {
            addWithDiscount();
            return true;
        }
    }
    if (f == txtChangePrice) {
        if (key == Qt::Key_Up) {
            focusTo(txtAbate);
            return true;
        }
        if (isEnter(e)) {
            addWithSpecialPrice();
            return true;
        }
    }
    if (f == VSSell && isEnter(e)) {
        focusTo(txtReciveAmout);
        return true;
    }
    if (f == txtReciveAmout) {
        if (key == Qt::Key_Up) {
            focusTo(VSSell);
            return true;
        }
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape) return false;
        // No payment without a sale.
        if (lbAmount->text().isEmpty()) return true;
        if (e->text() == QStringLiteral("+")) {
            focusTo(txtNo);
            return true;
        }
        if (isEnter(e)) {
            if (!txtReciveAmout->text().isEmpty()) checkOut();
            return true;
        }
    }
    return false;
}

void SaleScreen::reject() {
    // Esc must not silently throw a sale in progress away.
    if (!list_.empty() && !ctx_.prompt().question(kDropSale, kTitleHint)) return;
    // Abandoned: the kept copy goes too.
    if (!list_.empty() || keptBroken_) {
        list_.clear();
        keep([](KeptSale &k) { k.discard(); });
    }
    QDialog::reject();
}

// ---- the kept list --------------------------------------------------------------

void SaleScreen::keep(const std::function<void(KeptSale &)> &write) {
    KeptSale kept(ctx_.database(), ctx_.session);
    try {
        if (keptBroken_) {
            const std::vector<qint64> ids = kept.replace(list_.lines());
            for (std::size_t i = 0; i < ids.size(); ++i) list_.setKeptId(static_cast<int>(i), ids[i]);
        } else {
            write(kept);
        }
        keptBroken_ = false;
    } catch (const DbError &e) {
        keptBroken_ = true;
        if (!keptFailureTold_) {
            keptFailureTold_ = true;
            ctx_.prompt().warning(kKeepFailed.arg(e.message()), kTitleHint);
        }
    } catch (const Refusal &) {
        keptBroken_ = true;
    }
}

void SaleScreen::offerKeptList() {
    if (!keptListFound_ || !list_.empty()) return;
    keptListFound_ = false;
    if (!ctx_.prompt().question(kRestoreKept, kTitleHint)) {
        keep([](KeptSale &k) { k.discard(); });
        return;
    }
    KeptSale::Restored restored;
    if (!runReporting(ctx_.prompt(), [&] { restored = KeptSale(ctx_.database(), ctx_.session).restore(); }))
        return;  // the kept list stays for the next opening
    list_.assign(std::move(restored.lines));
    VSSell->clearRows();
    appendLines(0);
    if (!restored.dropped.isEmpty())
        ctx_.prompt().warning(kNotRestored + restored.dropped.join(QLatin1Char('\n')), kTitleHint);
    focusTo(list_.empty() ? static_cast<QWidget *>(txtNo) : txtReciveAmout);
}

// ---- adding and removing pairs --------------------------------------------------

void SaleScreen::tell(bool warningIcon, const QString &text) {
    if (warningIcon)
        ctx_.prompt().warning(text);
    else
        ctx_.prompt().info(text);
}

bool SaleScreen::quantityAccepted(bool warningIcon) {
    const SaleCheck c = list_.checkQuantity(txtQuatity->text(), currentGoods());
    if (c == SaleCheck::Ok) return true;
    tell(warningIcon, saleCheckMessage(c));
    if (c != SaleCheck::NotEnoughStock) focusTo(txtQuatity);
    return false;
}

void SaleScreen::quantityEntered() {
    if (!hasGoodsRow()) {
        tell(false, saleCheckMessage(SaleCheck::NoGoods));
        return;
    }
    if (quantityAccepted(false)) focusTo(txtAbate);
}

void SaleScreen::addWithDiscount() {
    const SaleCheck c = SaleList::checkDiscount(txtAbate->text());
    if (c != SaleCheck::Ok) {
        tell(true, saleCheckMessage(c));
        focusTo(txtAbate);
        return;
    }
    if (!hasGoodsRow()) return;
    if (!quantityAccepted(true)) return;
    const int from = list_.size();
    list_.addDiscounted(currentGoods(), txtPrice->text(), txtQuatity->text(), txtAbate->text());
    appendLines(from);
    keepAdded(from);
    focusTo(txtReciveAmout);
}

void SaleScreen::addWithSpecialPrice() {
    if (!hasGoodsRow()) {
        tell(true, saleCheckMessage(SaleCheck::NoGoods));
        return;
    }
    if (!moneyBoxAccepted(ctx_.prompt(), txtChangePrice)) return;
    const SaleCheck c = SaleList::checkSpecialPrice(txtChangePrice->text(), txtPrice->text());
    if (c != SaleCheck::Ok) {
        tell(true, saleCheckMessage(c));
        focusTo(txtChangePrice);
        return;
    }
    if (!quantityAccepted(true)) return;
    const int from = list_.size();
    list_.addSpecial(currentGoods(), txtPrice->text(), txtQuatity->text(), txtChangePrice->text());
    appendLines(from);
    keepAdded(from);
    focusTo(txtReciveAmout);
}

void SaleScreen::appendLines(int from) {
    const QChar tab = QLatin1Char('\t');
    for (int i = from; i < list_.size(); ++i) {
        const SaleLine &l = list_.lines()[i];
        const QStringList fields = {QString(),     l.goods.storeGuid, l.goods.typeNo,  l.goods.name,
                                    l.goods.brand, l.goods.size,      l.goods.colour,  l.goods.leather,
                                    l.goods.grade, l.goods.place,     l.price.toString(),     QString::number(l.quantity),
                                    l.abate,       QString::number(l.amount)};
        VSSell->addItem(fields.join(tab));
        VSSell->setRow(VSSell->rows() - 1);
    }
    updateTotals();
}

void SaleScreen::keepAdded(int from) {
    keep([&](KeptSale &k) {
        const std::vector<qint64> ids = k.add(list_.lines(), from);
        for (std::size_t i = 0; i < ids.size(); ++i) list_.setKeptId(from + static_cast<int>(i), ids[i]);
    });
}

void SaleScreen::removeCurrentLine() {
    if (list_.empty()) return;
    const int r = VSSell->row();
    if (r < 1 || r > list_.size()) return;
    const qint64 keptId = list_.lines()[static_cast<std::size_t>(r - 1)].keptId;
    list_.remove(r - 1);
    VSSell->removeItem(r);
    if (VSSell->rows() > 1) VSSell->setRow(std::min(r, VSSell->rows() - 1));
    updateTotals();
    keep([keptId](KeptSale &k) { k.remove(keptId); });
    if (list_.total() == Money()) focusTo(VSFlexGrid);
}

void SaleScreen::updateTotals() {
    // A message about the file's health waits while pairs are on the list.
    setProperty(FileHealthNotice::kSaleInProgress, !list_.empty());
    lbAmount->setText(list_.totalText());
    lb->setText(list_.changeText(txtReciveAmout->text()));
}

// ---- checkout and receipts ------------------------------------------------------

void SaleScreen::refreshSellNo() {
    try {
        lbNo->setText(SaleNumbering(ctx_.database(), ctx_.session.shopNo).next(ctx_.today()));
    } catch (const DbError &e) {
        showDbError(ctx_.prompt(), e);
        ctx_.prompt().warning(kReadFailed, kTitleHint);
        lbNo->clear();
    }
}

void SaleScreen::showStockOfListedGoods() {
    // The goods list keeps its rows with the stock as now stored; the next search
    // works on it (sold-out goods drop out).
    QStringList listed;
    for (const SaleLine &l : list_.lines())
        if (!listed.contains(l.goods.storeGuid)) listed << l.goods.storeGuid;
    runReporting(ctx_.prompt(), [&] {
        const QHash<QString, double> stock = TillGoods::stockOf(ctx_.database(), ctx_.session, listed);
        GridModel &goods = VSFlexGrid->store();
        const int guidCol = goods.colIndex(QStringLiteral("GUID")), quantityCol = goods.colIndex(QStringLiteral("数量"));
        for (auto it = stock.cbegin(); it != stock.cend(); ++it)
            goods.setStoredCell(goods.findStoredRow(guidCol, it.key()), quantityCol, formatNumber(it.value()));
    });
}

void SaleScreen::checkOut() {
    if (list_.empty()) return;
    if (!moneyBoxAccepted(ctx_.prompt(), txtReciveAmout)) return;
    const Money payment = Checkout::paymentOf(txtReciveAmout->text());
    if (!Checkout::paymentCovers(list_.total(), payment)) {
        ctx_.prompt().warning(QStringLiteral("对不起所付金额不足，不能结帐！"));
        focusTo(txtReciveAmout);
        return;
    }
    if (!ctx_.prompt().question(QStringLiteral("确认要结帐吗？"), QStringLiteral("询问"))) return;

    CheckoutResult result;
    // Rolled back on failure: the list, payment and change stay for another try.
    try {
        result = Checkout(ctx_.database(), ctx_.session, *ctx_.clock).commit(list_.lines(), payment);
    } catch (const Refusal &r) {
        r.show(ctx_.prompt());
        // Most often another till sold the last pairs meanwhile: the goods list shows
        // what is left now, as the message says, and the next number is read anew.
        showStockOfListedGoods();
        refreshSellNo();
        return;
    } catch (const DbError &e) {
        showDbError(ctx_.prompt(), e);
        return;
    }
    lastSellNo_ = result.sellNo;
    keptBroken_ = false;  // the checkout removed the kept list with the sale
    showStockOfListedGoods();

    const SellRules &rules = ctx_.session.rules;
    if (rules.IsPrint) {
        const ReceiptData data =
            Receipt::fromSale(list_.lines(), result.sellNo, result.payment, result.change, ctx_.session, ctx_.clock->now());
        // The sale is stored already: a printer that fails only says so; F8 reprints.
        const int thermal = ctx_.printer ? ctx_.printer->thermalColumns() : 0;
        if (!ctx_.printer || !ctx_.printer->print(Receipt::checkout(data, rules.PrinterType, thermal)))
            tell(rules.PrinterType == 0, printerProblem(ctx_));
    }

    txtReciveAmout->clear();
    txtQuatity->setText(QStringLiteral("1"));
    list_.clear();
    VSSell->clearRows();
    updateTotals();
    focusTo(txtNo);
    refreshSellNo();
}

void SaleScreen::reprint() {
    const int printerType = ctx_.session.rules.PrinterType;
    const bool warningIcon = printerType == 0;
    if (!ctx_.prompt().question(QStringLiteral("确定要进行重复打印吗？"), kTitleHint)) return;
    ReceiptData data;
    ReprintSource::Outcome outcome = ReprintSource::Outcome::Ok;
    if (!runReporting(ctx_.prompt(), [&] {
            ReprintSource source(ctx_.database(), ctx_.session, *ctx_.clock);
            // This till's last sale; before its first one, the number before the next.
            outcome = lastSellNo_.isEmpty() ? source.previousSale(lbNo->text(), data) : source.sale(lastSellNo_, data);
        })) {
        tell(warningIcon, kNoPrinter);
        return;
    }
    if (outcome == ReprintSource::Outcome::NoSaleToday) {
        tell(warningIcon, QStringLiteral("对不起今天还没有销售，不能重新打印！"));
        return;
    }
    if (outcome == ReprintSource::Outcome::NothingLeft) {
        tell(warningIcon, QStringLiteral("该次销售可能被退货或调换不能打印！"));
        return;
    }
    const int thermal = ctx_.printer ? ctx_.printer->thermalColumns() : 0;
    if (!ctx_.printer || !ctx_.printer->print(Receipt::reprint(data, printerType, thermal)))
        tell(warningIcon, printerProblem(ctx_));
}

}  // namespace kestavion
