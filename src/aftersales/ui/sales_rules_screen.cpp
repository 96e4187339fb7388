#include "aftersales/ui/sales_rules_screen.h"

#include "aftersales/sales_rules_service.h"
#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

namespace {

template <typename T>
T *named(T *w, const char *name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel *help(QWidget *parent, const char *name, const QString &text) {
    auto *l = named(new QLabel(text, parent), name);
    l->setWordWrap(true);
    l->setMinimumHeight(80);
    return l;
}

QWidget *daysRow(QWidget *parent, const char *before, const char *after, QLineEdit *box, const QString &afterText) {
    auto *row = new QWidget(parent);
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(named(new QLabel(QStringLiteral("自售出之日起"), row), before));
    box->setParent(row);
    box->setMaximumWidth(80);
    // Days are held in 16 bits: four digits are plenty and never overflow.
    box->setMaxLength(4);
    h->addWidget(box);
    h->addWidget(named(new QLabel(afterText, row), after));
    h->addStretch();
    return row;
}

}  // namespace

SalesRulesScreen::SalesRulesScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSellRole"));
    setWindowTitle(QStringLiteral("系统设置"));
    auto *outer = new QVBoxLayout(this);
    SSTab = named(new QTabWidget(this), "SSTab");
    outer->addWidget(SSTab);

    // Tab 0: lot order.
    auto *t0 = new QWidget;
    auto *v0 = new QVBoxLayout(t0);
    Frame1 = named(new QGroupBox(t0), "Frame1");
    auto *f1 = new QHBoxLayout(Frame1);
    OptA = named(new QRadioButton(QStringLiteral("先进先出"), Frame1), "OptA");
    OptB = named(new QRadioButton(QStringLiteral("后进先出"), Frame1), "OptB");
    f1->addWidget(OptA);
    f1->addWidget(OptB);
    v0->addWidget(Frame1);
    v0->addWidget(help(t0, "lbStr_0",
                       QStringLiteral("   说明：先进先出是指先进的货物先出售,后进先出是指最后进的货物先卖。这个规则是主要针对同一型号的商品，"
                                      "比如型号为ZMN0001的货物现在库存还有5件，进价为50，现在又进同样的货5件，价格为60元。如果是先进先出，"
                                      "那么系统会自动先把进价为50的卖完后 再销售进价为60的货物。这样主要是为了利润分析！操作员可以不用考虑这些问题！")));
    v0->addStretch();
    SSTab->addTab(t0, QStringLiteral("出货规则"));

    // Tab 1: returns.
    auto *t1 = new QWidget;
    auto *v1 = new QVBoxLayout(t1);
    txtBackdays = named(new QLineEdit, "txtBackdays");
    v1->addWidget(daysRow(t1, "lbInfo_0", "lbInfo_2", txtBackdays, QStringLiteral("天内可以退货")));
    chkBackAbate = named(new QCheckBox(QStringLiteral("  折扣商品不可以退货"), t1), "chkBackAbate");
    chkBackSpecial = named(new QCheckBox(QStringLiteral("  特价商品不可以退货"), t1), "chkBackSpecial");
    chkChangeNotToBack = named(new QCheckBox(QStringLiteral("  调换过的商品不可以退货"), t1), "chkChangeNotToBack");
    v1->addWidget(chkBackAbate);
    v1->addWidget(chkBackSpecial);
    v1->addWidget(chkChangeNotToBack);
    v1->addWidget(help(t1, "lbStr_1",
                       QStringLiteral("    说明：退货天数是指自售出商品之日起开始计算，在规定的天数内该商品可以退货，超出了该规定的大系统将无法退货！"
                                      "如果该该参数为0或没有设置，系统将不限制退货天数！")));
    v1->addStretch();
    SSTab->addTab(t1, QStringLiteral("退货规则"));

    // Tab 2: exchanges.
    auto *t2 = new QWidget;
    auto *v2 = new QVBoxLayout(t2);
    txtChangeDays = named(new QLineEdit, "txtChangeDays");
    v2->addWidget(daysRow(t2, "lbInfo_3", "lbInfo_1", txtChangeDays, QStringLiteral("天内可以调换")));
    chkChangeAbate = named(new QCheckBox(QStringLiteral("  折扣商品不可以调换"), t2), "chkChangeAbate");
    chkChangeSpecial = named(new QCheckBox(QStringLiteral("  特价商品不可以调换"), t2), "chkChangeSpecial");
    chkSameType = named(new QCheckBox(QStringLiteral("  仅可以调换同类型商品"), t2), "chkSameType");
    chkHightPrice = named(new QCheckBox(QStringLiteral("  仅可以调换等价格商品或者价格高的商品"), t2), "chkHightPrice");
    chkIsMany = named(new QCheckBox(QStringLiteral("  不可以调换多次"), t2), "chkIsMany");
    for (QCheckBox *c : {chkChangeAbate, chkChangeSpecial, chkSameType, chkHightPrice, chkIsMany}) v2->addWidget(c);
    v2->addWidget(help(t2, "lbStr_2", QStringLiteral("    说明：调换天数量如同退货天数，这里不再说明")));
    v2->addStretch();
    SSTab->addTab(t2, QStringLiteral("调换规则"));

    // Tab 3: receipts.
    auto *t3 = new QWidget;
    auto *v3 = new QVBoxLayout(t3);
    Frame2 = named(new QGroupBox(t3), "Frame2");
    auto *f2 = new QHBoxLayout(Frame2);
    optBig = named(new QRadioButton(QStringLiteral("针式打印机"), Frame2), "optBig");
    optSmall = named(new QRadioButton(QStringLiteral("Pos小票打印机"), Frame2), "optSmall");
    f2->addWidget(optBig);
    f2->addWidget(optSmall);
    v3->addWidget(Frame2);
    chkIsPrint = named(new QCheckBox(QStringLiteral("是否对结算单据进行打印"), t3), "chkIsPrint");
    v3->addWidget(chkIsPrint);
    v3->addStretch();
    SSTab->addTab(t3, QStringLiteral("打印设置"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdSetting = named(new QPushButton(QStringLiteral("确 定(&O)"), this), "cmdSetting");
    buttons->addWidget(cmdSetting);
    outer->addLayout(buttons);

    setNumericOnly(txtBackdays, true);
    setNumericOnly(txtChangeDays, true);
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    resize(520, 360);
    showRules();

    connect(SSTab, &QTabWidget::currentChanged, this, [this](int tab) {
        QLineEdit *box = tab == 1 ? txtBackdays : tab == 2 ? txtChangeDays : nullptr;
        if (!box) return;
        box->setFocus();
        box->selectAll();
    });
    connect(cmdSetting, &QPushButton::clicked, this, [this] { saveSellRole(); });
}

void SalesRulesScreen::showRules() {
    const SellRules &r = ctx_.session.rules;
    (r.SellOrder != 0 ? OptB : OptA)->setChecked(true);
    chkBackAbate->setChecked(r.AbateCanNotBack);
    chkBackSpecial->setChecked(r.SpecialCanNotBack);
    chkChangeAbate->setChecked(r.AbateCanNotChange);
    chkChangeSpecial->setChecked(r.SpecialCanNotChange);
    chkSameType->setChecked(r.SameTypeChange);
    chkHightPrice->setChecked(r.DearGoodsChange);
    chkIsMany->setChecked(r.ChangeOneTime);
    chkChangeNotToBack->setChecked(r.ChangNotToBack);
    chkIsPrint->setChecked(r.IsPrint);
    txtBackdays->setText(QString::number(r.BackDays));
    txtChangeDays->setText(QString::number(r.ChangeDays));
    (r.PrinterType != 0 ? optSmall : optBig)->setChecked(true);
}

void SalesRulesScreen::saveSellRole() {
    SellRules r = ctx_.session.rules;
    r.SellOrder = OptB->isChecked() ? 1 : 0;
    r.PrinterType = optSmall->isChecked() ? 1 : 0;
    r.BackDays = txtBackdays->text().toInt();  // digits only; empty gives 0
    r.ChangeDays = txtChangeDays->text().toInt();
    r.AbateCanNotBack = chkBackAbate->isChecked();
    r.SpecialCanNotBack = chkBackSpecial->isChecked();
    r.ChangNotToBack = chkChangeNotToBack->isChecked();
    r.AbateCanNotChange = chkChangeAbate->isChecked();
    r.SpecialCanNotChange = chkChangeSpecial->isChecked();
    r.SameTypeChange = chkSameType->isChecked();
    r.DearGoodsChange = chkHightPrice->isChecked();
    r.ChangeOneTime = chkIsMany->isChecked();
    r.IsPrint = chkIsPrint->isChecked();
    if (runReporting(ctx_.prompt(), [&] { SalesRulesService(ctx_.database()).save(ctx_.session, r); }))
        ctx_.prompt().info(QStringLiteral("设置成功！"));
}

}  // namespace kestavion
