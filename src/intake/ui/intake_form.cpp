#include "intake/ui/intake_form.h"

#include "admin/ui/dictionary_screen.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
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

QPushButton *button(QWidget *parent, const char *name, const QString &caption) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
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

}  // namespace kestavion::intakeform
