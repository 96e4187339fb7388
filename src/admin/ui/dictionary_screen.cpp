#include "admin/ui/dictionary_screen.h"

#include "foundation/app_context.h"
#include "foundation/dictionary.h"
#include "foundation/ui/form_helpers.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

DictionaryScreen::DictionaryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmDataDictionary"));
    setWindowTitle(QStringLiteral("数据字典"));
    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("List"));
    txtItem = new QLineEdit(this);
    txtItem->setObjectName(QStringLiteral("txtItem"));
    cmdAdd = namedButton(this, "cmdAdd", QStringLiteral("增 加(&A)"));
    cmdDel = namedButton(this, "cmdDel", QStringLiteral("删 除(&D)"));
    lbInfo = new QLabel(
        QStringLiteral("  单击增加可以给该数据字典增加一个条目，在使用该字典的时候就会自动显示出来，不用再手工输入"), this);
    lbInfo->setObjectName(QStringLiteral("lbInfo"));
    lbInfo->setWordWrap(true);

    auto *right = new QVBoxLayout;
    right->addWidget(txtItem);
    right->addWidget(cmdAdd);
    right->addWidget(cmdDel);
    right->addWidget(lbInfo);
    right->addStretch();
    auto *top = new QHBoxLayout(this);
    top->addWidget(List, 1);
    top->addLayout(right, 1);
    resize(460, 340);

    disableAutoDefault(this);
    connect(cmdAdd, &QPushButton::clicked, this, &DictionaryScreen::add);
    connect(txtItem, &QLineEdit::returnPressed, this, &DictionaryScreen::add);
    connect(cmdDel, &QPushButton::clicked, this, &DictionaryScreen::remove);
    // Ready to type a new entry.
    txtItem->setFocus();
}

void DictionaryScreen::LoadIt(const QString &item) {
    item_ = item;
    List->clear();
    try {
        List->addItems(Dictionary(ctx_.database()).entries(item));
    } catch (const DbError &e) {
        showDbError(ctx_.prompt(), e);
    }
    setWindowTitle(QStringLiteral("数据字典--") + item);
}

bool DictionaryScreen::listContains(const QString &text) const {
    for (int i = 0; i < List->count(); ++i)
        if (List->item(i)->text() == text) return true;
    return false;
}

void DictionaryScreen::add() {
    const QString text = txtItem->text();
    if (text.isEmpty()) {
        ctx_.prompt().info(QStringLiteral("内容不能为空！"));
        txtItem->setFocus();
        return;
    }
    if (listContains(text)) {
        ctx_.prompt().info(QStringLiteral("该内容已经存在！"));
        txtItem->setFocus();
        return;
    }
    if (!runReporting(ctx_.prompt(), [&] { Dictionary(ctx_.database()).add(item_, text); })) return;
    List->addItem(text);
    List->setCurrentRow(List->count() - 1);
    txtItem->clear();
}

void DictionaryScreen::remove() {
    const int index = List->currentRow();
    if (index < 0 || !List->currentItem()->isSelected()) return;
    const QString text = List->item(index)->text();
    if (!runReporting(ctx_.prompt(), [&] { Dictionary(ctx_.database()).remove(item_, text); })) return;
    // Every row of that content went, so every entry showing it goes too.
    int at = index;
    for (int i = List->count() - 1; i >= 0; --i)
        if (List->item(i)->text() == text) {
            delete List->takeItem(i);
            if (i < index) --at;
        }
    if (List->count() == 0) {
        List->setCurrentRow(-1);
        return;
    }
    List->setCurrentRow(std::min(at, List->count() - 1));
}

void openDictionaryFor(AppContext &ctx, QWidget *parent, const QString &item, QComboBox *combo) {
    DictionaryScreen screen(ctx, parent);
    screen.LoadIt(item);
    screen.exec();
    if (combo) fillComboFromDictionary(ctx, item, combo);
}

}  // namespace kestavion
