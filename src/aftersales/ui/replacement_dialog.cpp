#include "aftersales/ui/replacement_dialog.h"

#include "aftersales/customer_exchange.h"
#include "aftersales/problem_stock.h"
#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"
#include "foundation/ui/typed_search.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestavion {

namespace {
const QString kFull = QStringLiteral("全");

bool isEnter(QKeyEvent *e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }
}  // namespace

ReplacementDialog::ReplacementDialog(AppContext &ctx, const ExchangeOrder &order, QWidget *parent)
    : QDialog(parent), ctx_(ctx), order_(order) {
    setObjectName(QStringLiteral("frmChange"));
    setWindowTitle(QStringLiteral("调换"));
    auto *outer = new QVBoxLayout(this);
    auto *top = new QGridLayout;
    auto *l0 = new QLabel(QStringLiteral("货  号"), this);
    l0->setObjectName(QStringLiteral("lbInfo_0"));
    top->addWidget(l0, 0, 0);
    txtNo = new QLineEdit(this);
    txtNo->setObjectName(QStringLiteral("txtNo"));
    top->addWidget(txtNo, 0, 1);
    top->setColumnStretch(2, 1);
    outer->addLayout(top);
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    outer->addWidget(VSFlexGrid, 1);

    auto *price = new QGridLayout;
    OptAbate = new QRadioButton(this);
    OptAbate->setObjectName(QStringLiteral("OptAbate"));
    auto *l1 = new QLabel(QStringLiteral("折 扣"), this);
    l1->setObjectName(QStringLiteral("lbInfo_1"));
    txtAbate = new QLineEdit(kFull, this);
    txtAbate->setObjectName(QStringLiteral("txtAbate"));
    OptChangePrice = new QRadioButton(this);
    OptChangePrice->setObjectName(QStringLiteral("OptChangePrice"));
    auto *l2 = new QLabel(QStringLiteral("特 价"), this);
    l2->setObjectName(QStringLiteral("lbInfo_2"));
    txtChangePrice = new QLineEdit(this);
    txtChangePrice->setObjectName(QStringLiteral("txtChangePrice"));
    auto *l3 = new QLabel(QStringLiteral("数  量"), this);
    l3->setObjectName(QStringLiteral("lbInfo_3"));
    txtQuatity = new QLineEdit(QStringLiteral("1"), this);
    txtQuatity->setObjectName(QStringLiteral("txtQuatity"));
    txtQuatity->setReadOnly(true);
    auto *l4 = new QLabel(QStringLiteral("折 扣"), this);
    l4->setObjectName(QStringLiteral("lbInfo_4"));
    comAbate = new QComboBox(this);
    comAbate->setObjectName(QStringLiteral("comAbate"));
    price->addWidget(OptAbate, 0, 0);
    price->addWidget(l1, 0, 1);
    price->addWidget(txtAbate, 0, 2);
    price->addWidget(l3, 0, 3);
    price->addWidget(txtQuatity, 0, 4);
    price->addWidget(OptChangePrice, 1, 0);
    price->addWidget(l2, 1, 1);
    price->addWidget(txtChangePrice, 1, 2);
    price->addWidget(l4, 1, 3);
    price->addWidget(comAbate, 1, 4);
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确 定(&O)"));
    for (QWidget *w : {static_cast<QWidget *>(txtAbate), static_cast<QWidget *>(txtChangePrice),
                       static_cast<QWidget *>(txtQuatity), static_cast<QWidget *>(comAbate)})
        w->setFixedWidth(110);
    price->setColumnStretch(5, 1);
    price->addWidget(cmdOk, 1, 6);
    outer->addLayout(price);
    OptAbate->setChecked(true);

    // Streamed into the list's own compact columns, already in article order.
    try {
        VSFlexGrid->bindRows(ProblemStock::goodsColumns(), [&](const GridModel::RowSink &sink) {
            ProblemStock(ctx.database(), ctx.session).scanGoodsInStock(QStringLiteral("ClientChange"), sink);
        });
    } catch (const DbError &e) {
        showDbError(ctx.prompt(), e);
    }
    search_ = std::make_unique<TypedSearch>(VSFlexGrid, QStringLiteral("货号"));
    search_->rebound();
    VSFlexGrid->setColHidden(1, true);
    fitColumns(VSFlexGrid, 1000);
    if (VSFlexGrid->rows() > 1) VSFlexGrid->setRow(1);
    fillComboFromDictionary(ctx, QStringLiteral("折扣"), comAbate);
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    resize(820, 480);

    for (QWidget *w : {static_cast<QWidget *>(txtAbate), static_cast<QWidget *>(txtChangePrice),
                       static_cast<QWidget *>(OptAbate)})
        w->installEventFilter(this);
    connect(txtNo, &QLineEdit::textChanged, this, [this] { filter(); });
    connect(txtAbate, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (t == QStringLiteral("10")) txtAbate->setText(kFull);
    });
    connect(OptAbate, &QRadioButton::clicked, this, [this] { txtAbate->setFocus(); });
    connect(OptChangePrice, &QRadioButton::clicked, this, [this] { txtChangePrice->setFocus(); });
    connect(VSFlexGrid, &Grid::keyPressed, this, [this](QKeyEvent *e, bool *handled) {
        if (isEnter(e) && VSFlexGrid->rows() > 1) {
            txtAbate->setFocus();
            *handled = true;
        }
    });
    connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });
}

ReplacementDialog::~ReplacementDialog() = default;

void ReplacementDialog::LoadIt(const QString &sellGuid, const QString &sellNo, const QString &typeNo, Money price) {
    sellGuid_ = sellGuid;
    sellNo_ = sellNo;
    typeNo_ = typeNo;
    price_ = price;
}

void ReplacementDialog::filter() {
    // The goods are in the list already: filter them instead of asking the database
    // again at every keystroke.
    search_->apply(txtNo->text());
}

Money ReplacementDialog::retailOf(int row) const {
    return row >= 1 ? Money::parse(VSFlexGrid->text(row, QStringLiteral("零售价"))).value_or(Money()) : Money();
}

int ReplacementDialog::availableInCurrentRow() const {
    const int r = VSFlexGrid->row();
    if (r < 1) return 0;
    // Replacements already in the order have taken their pairs of this stock.
    return static_cast<int>(gridNumber(VSFlexGrid, r, QStringLiteral("数量"))) -
           order_.pendingFor(VSFlexGrid->text(r, QStringLiteral("GUID")));
}

bool ReplacementDialog::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtAbate) {
            OptAbate->setChecked(true);
            txtAbate->selectAll();
        } else if (watched == txtChangePrice) {
            OptChangePrice->setChecked(true);
            txtChangePrice->selectAll();
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto *ke = static_cast<QKeyEvent *>(event);
        if (watched == txtAbate) {
            if (ke->key() == Qt::Key_Down) {
                OptChangePrice->setChecked(true);
                txtChangePrice->setFocus();
                return true;
            }
            if (isEnter(ke)) {
                if (checkAbate()) cmdOk->setFocus();
                return true;
            }
        } else if (watched == txtChangePrice) {
            if (ke->key() == Qt::Key_Up) {
                OptAbate->setChecked(true);
                txtAbate->setFocus();
                return true;
            }
            if (isEnter(ke)) {
                if (checkSpecialPrice(true)) cmdOk->setFocus();
                return true;
            }
        } else if (watched == OptAbate && ke->key() == Qt::Key_Down) {
            if (VSFlexGrid->rows() > 1) VSFlexGrid->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool ReplacementDialog::checkAbate() {
    const QString refusal = exchangeDiscountRefusal(txtAbate->text());
    if (refusal.isEmpty()) return true;
    ctx_.prompt().info(refusal);
    txtAbate->setFocus();
    return false;
}

bool ReplacementDialog::checkSpecialPrice(bool stockToo) {
    if (!moneyBoxAccepted(ctx_.prompt(), txtChangePrice)) return false;
    const int r = VSFlexGrid->row();
    const QString refusal = exchangeSpecialPriceRefusal(txtChangePrice->text(), retailOf(r));
    if (!refusal.isEmpty()) {
        ctx_.prompt().info(refusal);
        if (refusal == QStringLiteral("特价比零售价还要贵么？")) txtAbate->setFocus();
        else txtChangePrice->setFocus();
        return false;
    }
    if (stockToo && availableInCurrentRow() < 1) {
        ctx_.prompt().info(kNoReplacementStock);
        return false;
    }
    return true;
}

void ReplacementDialog::confirm() {
    const int r = VSFlexGrid->row();
    if (VSFlexGrid->rows() < 2 || r < 1) {
        ctx_.prompt().info(QStringLiteral("没有可以调换的商品！"));
        return;
    }
    const Money retail = retailOf(r);
    const QString rule =
        replacementRefusal(ctx_.session.rules, typeNo_, price_, VSFlexGrid->text(r, QStringLiteral("货号")), retail);
    if (!rule.isEmpty()) {
        ctx_.prompt().info(rule);
        return;
    }
    const bool special = OptChangePrice->isChecked();
    if (special ? !checkSpecialPrice(false) : !checkAbate()) return;
    if (availableInCurrentRow() < 1) {
        ctx_.prompt().info(kNoReplacementStock);
        return;
    }
    if (!ctx_.prompt().question(QStringLiteral("确定要调换吗？"), kTitleHint)) return;

    ExchangeReplacement c;
    c.storeGuid = VSFlexGrid->text(r, QStringLiteral("GUID"));
    c.typeNo = VSFlexGrid->text(r, QStringLiteral("货号"));
    c.name = VSFlexGrid->text(r, QStringLiteral("种类"));
    c.brand = VSFlexGrid->text(r, QStringLiteral("品牌"));
    c.size = VSFlexGrid->text(r, QStringLiteral("尺码"));
    c.colour = VSFlexGrid->text(r, QStringLiteral("颜色"));
    c.leather = VSFlexGrid->text(r, QStringLiteral("面料"));
    c.grade = VSFlexGrid->text(r, QStringLiteral("等级"));
    c.place = VSFlexGrid->text(r, QStringLiteral("产地"));
    c.price = retail;
    c.abate = special ? QStringLiteral("特价") : txtAbate->text();
    c.amount = exchangeAmount(retail, special, special ? txtChangePrice->text() : txtAbate->text());
    chosen_ = c;
    accept();
}

}  // namespace kestavion
