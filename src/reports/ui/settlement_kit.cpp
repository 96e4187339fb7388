#include "reports/ui/settlement_kit.h"

#include "foundation/refusal.h"
#include "foundation/ui/grid.h"

#include <QLabel>

namespace kestavion::settlementkit {

bool run(Prompter &prompter, const std::function<void()> &work) {
    try {
        work();
        return true;
    } catch (const Refusal &r) {
        r.show(prompter);
    } catch (const DbError &e) {
        prompter.plain(e.message());
    }
    return false;
}

void showTotalRow(Grid *grid, const QString &caption, const QList<QPair<QString, QString>> &cells) {
    if (grid->rows() <= 1) return;
    // The grid's own total row (placed, styled and marked as a total) …
    for (const auto &[key, text] : cells)
        grid->subtotal(Grid::Aggregate::Sum, -1, grid->colIndex(key), {}, -1, 255, true, caption);
    // … carrying the exact sums rather than the grid's floating-point ones.
    for (const auto &[key, text] : cells) grid->setText(1, key, text);
}

QLabel *caption(QWidget *parent, const QString &name, const QString &text) {
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLabel *figure(QWidget *parent, const char *name) {
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setMinimumWidth(90);
    return l;
}

}  // namespace kestavion::settlementkit
