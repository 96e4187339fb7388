#include "intake/ui/price_change_screen.h"

#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"
#include "intake/price_change.h"
#include "intake/ui/intake_form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

using namespace intakeform;

PriceChangeScreen::PriceChangeScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmChangePrice"));
    setWindowTitle(QStringLiteral("价格变动"));
    txtNo = lineEdit(this, "txtNo");
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    txtNewPrice = lineEdit(this, "txtNewPrice");
    cmdNewPrice = namedButton(this, "cmdNewPrice", QStringLiteral("调 价(&C)"));
    cmdChangePriceBath = namedButton(this, "cmdChangePriceBath", QStringLiteral("同货号调价(&B)"));
    lbInfo_0 = new QLabel(QStringLiteral("调价是把你选中的那种类型的鞋进行价格变动"), this);
    lbInfo_0->setObjectName(QStringLiteral("lbInfo_0"));
    lbInfo_1 = new QLabel(QStringLiteral("同货号调价是指同一货号的鞋价格 一起变动"), this);
    lbInfo_1->setObjectName(QStringLiteral("lbInfo_1"));

    auto *head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("货  号"), this));
    head->addWidget(txtNo);
    head->addStretch();
    auto *foot = new QGridLayout;
    addRow(foot, 0, 0, QStringLiteral("变价为："), txtNewPrice);
    foot->addWidget(cmdNewPrice, 0, 2);
    foot->addWidget(lbInfo_0, 0, 3);
    foot->addWidget(cmdChangePriceBath, 1, 2);
    foot->addWidget(lbInfo_1, 1, 3);
    foot->setColumnStretch(3, 1);
    auto *top = new QVBoxLayout(this);
    top->addLayout(head);
    top->addWidget(VSFlexGrid, 1);
    top->addLayout(foot);
    resize(1000, 600);
    disableAutoDefault(this);

    connect(txtNo, &QLineEdit::returnPressed, this, &PriceChangeScreen::search);
    connect(VSFlexGrid, &Grid::keyPressed, this, [this](QKeyEvent *e, bool *handled) {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && VSFlexGrid->rows() > 1) {
            txtNewPrice->setFocus();
            *handled = true;
        }
    });
    connect(cmdNewPrice, &QPushButton::clicked, this, [this] { applyNewPrice(false); });
    connect(cmdChangePriceBath, &QPushButton::clicked, this, [this] { applyNewPrice(true); });

    try {
        showList(std::nullopt);
    } catch (const DbError &e) {
        showDbError(ctx.prompt(), e);
        ctx.prompt().warning(kReadFailed, kTitleHint);
    }
}

void PriceChangeScreen::showList(const std::optional<QString> &typeNo) {
    // Streamed into the list's own compact columns; a failed read leaves the list as
    // it was.
    VSFlexGrid->bindRows(PriceChange::listColumns(), [&](const GridModel::RowSink &sink) {
        PriceChange(ctx_.database(), ctx_.session).scan(typeNo, sink);
    });
    VSFlexGrid->setColHidden(VSFlexGrid->colIndex(QStringLiteral("GUID")), true);
    VSFlexGrid->sizeColumns(1250);
}

void PriceChangeScreen::search() {
    // The exact article number, read through the file's index.
    if (!runReporting(ctx_.prompt(), [&] { showList(txtNo->text()); })) return;
    if (VSFlexGrid->rows() > 1) {
        VSFlexGrid->setRow(1);
        VSFlexGrid->setFocus();
    }
}

void PriceChangeScreen::applyNewPrice(bool byTypeNo) {
    Grid *g = VSFlexGrid;
    if (!moneyBoxAccepted(ctx_.prompt(), txtNewPrice)) return;
    const auto price = parseNumber(txtNewPrice->text());
    if (!price) {
        ctx_.prompt().info(QStringLiteral("请输入正确的数据类型"));
        txtNewPrice->setFocus();
        txtNewPrice->selectAll();
        return;
    }
    const int row = g->row();
    if (g->rows() <= 1 || row < 1) return;  // nothing chosen: nothing to change
    PriceChange service(ctx_.database(), ctx_.session);
    const QString typeNo = g->text(row, QStringLiteral("货号"));
    int changed = 0;
    if (!runReporting(ctx_.prompt(), [&] {
            changed = byTypeNo ? service.setPriceForTypeNo(typeNo, *price)
                               : service.setPrice(g->text(row, QStringLiteral("GUID")), *price);
        }))
        return;
    if (changed == 0) return;  // the Goods is gone: no success to report
    // The stored value, not the typed text, so the list shows what the till will charge.
    const QString shown = formatNumber(*price);
    if (byTypeNo) {
        const int col = g->colIndex(QStringLiteral("货号"));
        for (int r = 1; r < g->rows(); ++r)
            if (g->textMatrix(r, col) == typeNo) g->setText(r, QStringLiteral("零售价"), shown);
    } else {
        g->setText(row, QStringLiteral("零售价"), shown);
    }
    ctx_.prompt().info(QStringLiteral("变价成功"));
}

}  // namespace kestavion
