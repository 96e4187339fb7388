#include "intake/ui/intake_form.h"

#include "admin/ui/dictionary_screen.h"
#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/prompter.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "intake/goods_intake.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kestavion::intakeform {

QLineEdit *lineEdit(QWidget *parent, const char *name) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QComboBox *dictCombo(AppContext &ctx, QWidget *parent, const char *name, const QString &item) {
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(false);
    c->setMinimumWidth(120);
    fillComboFromDictionary(ctx, item, c);
    return c;
}

QPushButton *dictButton(AppContext &ctx, QWidget *parent, const char *name, const QString &item, QComboBox *combo) {
    auto *b = new QPushButton(QStringLiteral("…"), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setFixedWidth(28);
    QObject::connect(b, &QPushButton::clicked, parent, [&ctx, parent, item, combo] {
        openDictionaryFor(ctx, parent->window(), item, combo);
    });
    return b;
}

QDateEdit *datePicker(QWidget *parent, const char *name) {
    auto *d = new QDateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    return d;
}

int addGridRow(Grid *grid, const QStringList &cells, int row) {
    const bool before = row >= 1 && row < grid->rows();
    grid->addItem(QString(), before ? row : -1);
    const int at = before ? row : grid->rows() - 1;
    for (int c = 0; c < cells.size() && c < grid->cols(); ++c) grid->setTextMatrix(at, c, cells[c]);
    return at;
}

void addRow(QGridLayout *grid, int row, int col, const QString &label, QWidget *field, QWidget *extra) {
    auto *l = new QLabel(label, grid->parentWidget());
    l->setBuddy(field);
    grid->addWidget(l, row, col);
    grid->addWidget(field, row, col + 1);
    if (extra) grid->addWidget(extra, row, col + 2);
}

QPlainTextEdit *memoBox(QWidget *parent) {
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(QStringLiteral("txtMemo"));
    m->setTabChangesFocus(true);
    m->setFixedHeight(60);
    return m;
}

void GoodsFields::buildGoodsFields(AppContext &ctx, QWidget *page) {
    txtNo = lineEdit(page, "txtNo");
    comName = dictCombo(ctx, page, "comName", QStringLiteral("种类"));
    cmdName = dictButton(ctx, page, "cmdName", QStringLiteral("种类"), comName);
    comBrand = dictCombo(ctx, page, "comBrand", QStringLiteral("品牌"));
    cmdBrand = dictButton(ctx, page, "cmdBrand", QStringLiteral("品牌"), comBrand);
    comSize = dictCombo(ctx, page, "comSize", QStringLiteral("尺码"));
    cmdSize = dictButton(ctx, page, "cmdSize", QStringLiteral("尺码"), comSize);
    comColour = dictCombo(ctx, page, "comColour", QStringLiteral("颜色"));
    cmdColour = dictButton(ctx, page, "cmdColour", QStringLiteral("颜色"), comColour);
    comLeather = dictCombo(ctx, page, "comLeather", QStringLiteral("面料"));
    cmdLeather = dictButton(ctx, page, "cmdLeather", QStringLiteral("面料"), comLeather);
    comGrade = dictCombo(ctx, page, "comGrade", QStringLiteral("等级"));
    cmdGrade = dictButton(ctx, page, "cmdGrade", QStringLiteral("等级"), comGrade);
    comProductPlace = dictCombo(ctx, page, "comProductPlace", QStringLiteral("产地"));
    cmdProductPlace = dictButton(ctx, page, "cmdProductPlace", QStringLiteral("产地"), comProductPlace);
    txtPrice = lineEdit(page, "txtPrice");
    txtQuantity = lineEdit(page, "txtQuantity");
}

bool GoodsFields::readGoodsFields(Prompter &prompter, GoodsIntake &in) const {
    auto refuse = [&prompter](const QString &text, QWidget *focus) {
        prompter.info(text);
        focus->setFocus();
        return false;
    };
    if (txtNo->text().isEmpty()) return refuse(QStringLiteral("货号不能为空！"), txtNo);
    if (comBrand->currentText().isEmpty()) return refuse(QStringLiteral("品牌不能为空！"), comBrand);
    if (!moneyBoxAccepted(prompter, txtPrice)) return false;
    const auto price = parseNumber(txtPrice->text());
    if (!price) return refuse(QStringLiteral("数据类型不正确！"), txtPrice);
    const auto quantity = parseNumber(txtQuantity->text());
    if (!quantity) return refuse(QStringLiteral("数据类型不正确！"), txtQuantity);
    in.typeNo = txtNo->text();
    in.name = comName->currentText();
    in.brand = comBrand->currentText();
    in.size = comSize->currentText();
    in.colour = comColour->currentText();
    in.leather = comLeather->currentText();
    in.grade = comGrade->currentText();
    in.place = comProductPlace->currentText();
    in.quantity = *quantity;
    in.buyPrice = *price;
    return true;
}

void GoodsFields::layOutGoodsFields(QGridLayout *g, const QString &nameCaption) {
    addRow(g, 0, 0, QStringLiteral("货  号"), txtNo);
    addRow(g, 0, 3, nameCaption, comName, cmdName);
    addRow(g, 1, 0, QStringLiteral("品  牌"), comBrand, cmdBrand);
    addRow(g, 1, 3, QStringLiteral("尺  码"), comSize, cmdSize);
    addRow(g, 2, 0, QStringLiteral("颜  色"), comColour, cmdColour);
    addRow(g, 2, 3, QStringLiteral("面  料 "), comLeather, cmdLeather);
    addRow(g, 3, 0, QStringLiteral("等  级"), comGrade, cmdGrade);
    addRow(g, 3, 3, QStringLiteral("产  地"), comProductPlace, cmdProductPlace);
    addRow(g, 4, 0, QStringLiteral("进 价"), txtPrice);
    addRow(g, 4, 3, QStringLiteral("数  量"), txtQuantity);
}

}  // namespace kestavion::intakeform
