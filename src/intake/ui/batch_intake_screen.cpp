#include "intake/ui/batch_intake_screen.h"

#include "foundation/app_context.h"
#include "foundation/dictionary.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "intake/ui/intake_form.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kestavion {

using namespace intakeform;

namespace {
const QString kTotal = QStringLiteral("合计");
}

BatchIntakeScreen::BatchIntakeScreen(AppContext &ctx, std::function<void(const GoodsRow &)> appendGoods,
                                     QWidget *parent)
    : QDialog(parent), ctx_(ctx), appendGoods_(std::move(appendGoods)) {
    setObjectName(QStringLiteral("frmbatchbuyIn"));
    setWindowTitle(QStringLiteral("批量进货"));

    txtNo = lineEdit(this, "txtNo");
    comName = dictCombo(ctx, this, "comName", QStringLiteral("种类"));
    cmdName = dictButton(ctx, this, "cmdName", QStringLiteral("种类"), comName);
    comBrand = dictCombo(ctx, this, "comBrand", QStringLiteral("品牌"));
    cmdBrand = dictButton(ctx, this, "cmdBrand", QStringLiteral("品牌"), comBrand);
    txtPrice = lineEdit(this, "txtPrice");
    txtSellPrice = lineEdit(this, "txtSellPrice");
    comLeather = dictCombo(ctx, this, "comLeather", QStringLiteral("面料"));
    cmdLeather = dictButton(ctx, this, "cmdLeather", QStringLiteral("面料"), comLeather);
    comProductPlace = dictCombo(ctx, this, "comProductPlace", QStringLiteral("产地"));
    cmdProductPlace = dictButton(ctx, this, "cmdProductPlace", QStringLiteral("产地"), comProductPlace);
    comGrade = dictCombo(ctx, this, "comGrade", QStringLiteral("等级"));
    cmdGrade = dictButton(ctx, this, "cmdGrade", QStringLiteral("等级"), comGrade);
    DT = datePicker(this, "DT");
    DT->setDate(ctx.today());
    txtBlock = lineEdit(this, "txtBlock");
    txtFloor = lineEdit(this, "txtFloor");
    txtMemo = lineEdit(this, "txtMemo");
    comColour = dictCombo(ctx, this, "comColour", QStringLiteral("颜色"));
    comSize = dictCombo(ctx, this, "comSize", QStringLiteral("尺码"));
    comColour->hide();
    comSize->hide();
    listCoulor = new QListWidget(this);
    listCoulor->setObjectName(QStringLiteral("listCoulor"));
    listSize = new QListWidget(this);
    listSize->setObjectName(QStringLiteral("listSize"));
    txtColour = lineEdit(this, "txtColour");
    txtSize = lineEdit(this, "txtSize");
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    // One quantity at a time: the current cell is highlighted, not its row.
    VSFlexGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    VSFlexGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdInStore = namedButton(this, "cmdInStore", QStringLiteral("入 库(&I)"));
    cmdClear = namedButton(this, "cmdClear", QStringLiteral("清 空(&C)"));
    lbTitle = new QLabel(
        QStringLiteral("  使用帮助：货号，种类，品牌，进价，零售价 是必须输入的，输入完成以上信息，在右边勾选需要入库的颜色，"
                       "同样勾选需要入库的尺码，在下面表格的对应位置输入数量即可，点入库即可完成入库。如果需要增加当前尺码和颜色，"
                       "直接在增加尺码栏输入需要增加的尺码后按回车，尺码就自动添加到上面的列表里。特别提示如果进货输入错了，"
                       "可以打开【查询】菜单下面的【进货明细查询】窗体进行修改。"),
        this);
    lbTitle->setObjectName(QStringLiteral("lbTitle"));
    lbTitle->setWordWrap(true);
    comBrand->view()->setMinimumHeight(500);

    auto *fields = new QGridLayout;
    addRow(fields, 0, 0, QStringLiteral("货  号"), txtNo);
    addRow(fields, 1, 0, QStringLiteral("种  类"), comName, cmdName);
    addRow(fields, 2, 0, QStringLiteral("品  牌"), comBrand, cmdBrand);
    addRow(fields, 3, 0, QStringLiteral("进  价"), txtPrice);
    addRow(fields, 4, 0, QStringLiteral("零售价"), txtSellPrice);
    addRow(fields, 5, 0, QStringLiteral("面  料 "), comLeather, cmdLeather);
    addRow(fields, 6, 0, QStringLiteral("产  地"), comProductPlace, cmdProductPlace);
    addRow(fields, 7, 0, QStringLiteral("等  级"), comGrade, cmdGrade);
    addRow(fields, 8, 0, QStringLiteral("进货日期"), DT);
    addRow(fields, 9, 0, QStringLiteral("货柜号"), txtBlock);
    addRow(fields, 10, 0, QStringLiteral("柜  层"), txtFloor);
    addRow(fields, 11, 0, QStringLiteral("备  注"), txtMemo);
    auto *lists = new QGridLayout;
    lists->addWidget(new QLabel(QStringLiteral("颜 色"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("尺 码"), this), 0, 1);
    lists->addWidget(listCoulor, 1, 0);
    lists->addWidget(listSize, 1, 1);
    auto *addColour = new QHBoxLayout;
    addColour->addWidget(new QLabel(QStringLiteral("增加颜色："), this));
    addColour->addWidget(txtColour);
    auto *addSize = new QHBoxLayout;
    addSize->addWidget(new QLabel(QStringLiteral("增加尺码："), this));
    addSize->addWidget(txtSize);
    lists->addLayout(addColour, 2, 0);
    lists->addLayout(addSize, 2, 1);
    auto *upper = new QHBoxLayout;
    upper->addLayout(fields);
    upper->addLayout(lists, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lbTitle, 1);
    buttons->addWidget(cmdInStore);
    buttons->addWidget(cmdClear);
    auto *top = new QVBoxLayout(this);
    top->addLayout(upper);
    top->addWidget(VSFlexGrid, 1);
    top->addLayout(buttons);
    resize(980, 720);

    QWidget *order[] = {txtNo,    comName, comBrand, txtPrice,  txtSellPrice, comLeather, comProductPlace,
                        comGrade, DT,      txtBlock, txtFloor,  txtMemo,      listCoulor, listSize,
                        txtColour, txtSize, VSFlexGrid, cmdInStore, cmdClear};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    EnterToTab::install({txtNo, comName, comBrand, txtPrice, txtSellPrice, comLeather, comProductPlace, comGrade, DT,
                         txtBlock, txtFloor, txtMemo});
    disableAutoDefault(this);

    fillCheckList(comColour, listCoulor);
    fillCheckList(comSize, listSize);
    connect(listCoulor, &QListWidget::itemChanged, this, [this](QListWidgetItem *i) { ticked(listCoulor, i); });
    connect(listSize, &QListWidget::itemChanged, this, [this](QListWidgetItem *i) { ticked(listSize, i); });
    connect(txtColour, &QLineEdit::returnPressed, this,
            [this] { addListEntry(QStringLiteral("颜色"), txtColour, listCoulor); });
    connect(txtSize, &QLineEdit::returnPressed, this,
            [this] { addListEntry(QStringLiteral("尺码"), txtSize, listSize); });

    // The quantity grid: only colour × size cells take input.
    connect(VSFlexGrid, &Grid::beforeEdit, this, [this](int row, int col, bool *cancel) {
        *cancel = row < 1 || col < 1 || row > matrix_.colours().size() || col > matrix_.sizes().size();
    });
    connect(VSFlexGrid, &Grid::afterEdit, this, &BatchIntakeScreen::cellEdited);
    // Coming into the grid, typing goes into a quantity cell at once (the first one
    // unless a quantity cell is current already), never into a caption or a total.
    connect(VSFlexGrid, &Grid::gotFocus, this, [this] {
        const int n = matrix_.colours().size();
        const int m = matrix_.sizes().size();
        const int row = VSFlexGrid->row(), col = VSFlexGrid->col();
        if (n == 0 || m == 0 || (row >= 1 && row <= n && col >= 1 && col <= m)) return;
        goToCell(1, 1);
    });
    // Enter commits the cell and moves right, wrapping to the next colour row.
    connect(VSFlexGrid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache) QTimer::singleShot(0, this, [this] { moveToNextCell(); });
            });
    connect(VSFlexGrid, &Grid::keyPressed, this, [this](QKeyEvent *e, bool *handled) {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && QApplication::focusWidget() == VSFlexGrid) {
            moveToNextCell();
            *handled = true;
        }
    });
    connect(cmdInStore, &QPushButton::clicked, this, &BatchIntakeScreen::saveBatch);
    connect(cmdClear, &QPushButton::clicked, this, &BatchIntakeScreen::clear);
    render();
    txtNo->setFocus();
}

void BatchIntakeScreen::fillCheckList(QComboBox *source, QListWidget *list) {
    for (int i = 0; i < source->count(); ++i) {
        auto *item = new QListWidgetItem(source->itemText(i), list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void BatchIntakeScreen::ticked(QListWidget *list, QListWidgetItem *item) {
    const bool on = item->checkState() == Qt::Checked;
    if (list == listCoulor)
        matrix_.setColour(item->text(), on);
    else
        matrix_.setSize(item->text(), on);
    render();
}

void BatchIntakeScreen::render() {
    Grid *g = VSFlexGrid;
    const int n = matrix_.colours().size();
    const int m = matrix_.sizes().size();
    rendering_ = true;
    g->setRows(n > 0 ? n + 2 : 1);
    g->setCols(m > 0 ? m + 2 : 1);
    for (int c = 1; c <= m; ++c) {
        g->setTextMatrix(0, c, matrix_.sizes()[c - 1]);
        g->setColKey(c, matrix_.sizes()[c - 1]);
        g->setColEditable(c, true);
    }
    if (m > 0) {
        g->setTextMatrix(0, m + 1, kTotal);
        g->setColKey(m + 1, kTotal);
        g->setColEditable(m + 1, false);
    }
    for (int r = 1; r <= n; ++r) {
        g->setTextMatrix(r, 0, matrix_.colours()[r - 1]);
        for (int c = 1; c <= m; ++c) g->setTextMatrix(r, c, matrix_.cellText(r - 1, c - 1));
    }
    if (n > 0) g->setTextMatrix(n + 1, 0, kTotal);
    for (int c = 0; c < g->cols(); ++c) g->setColAlignment(c, Qt::AlignCenter);
    // Column 0 carries the colours and "合计": wide enough to read them.
    g->setColWidth(0, 1100);
    renderTotals();
    rendering_ = false;
}

void BatchIntakeScreen::renderTotals() {
    Grid *g = VSFlexGrid;
    const int n = matrix_.colours().size();
    const int m = matrix_.sizes().size();
    if (n == 0 || m == 0) return;
    for (int r = 1; r <= n; ++r) g->setTextMatrix(r, m + 1, BatchMatrix::totalText(matrix_.rowTotal(r - 1)));
    for (int c = 1; c <= m; ++c) g->setTextMatrix(n + 1, c, BatchMatrix::totalText(matrix_.colTotal(c - 1)));
    g->setTextMatrix(n + 1, m + 1, BatchMatrix::totalText(matrix_.total()));
}

void BatchIntakeScreen::cellEdited(int row, int col) {
    if (rendering_) return;
    if (row < 1 || col < 1 || row > matrix_.colours().size() || col > matrix_.sizes().size()) return;
    const QString shown = matrix_.setCell(row - 1, col - 1, VSFlexGrid->textMatrix(row, col));
    if (VSFlexGrid->textMatrix(row, col) != shown) VSFlexGrid->setTextMatrix(row, col, shown);
    renderTotals();
}

void BatchIntakeScreen::moveToNextCell() {
    const int n = matrix_.colours().size();
    const int m = matrix_.sizes().size();
    if (n == 0 || m == 0) return;
    int row = std::max(1, VSFlexGrid->row());
    int col = std::max(1, VSFlexGrid->col());
    if (col < m) {
        ++col;
    } else if (row < n) {
        ++row;
        col = 1;
    } else {
        return;  // the last cell: stay
    }
    goToCell(row, col);
}

void BatchIntakeScreen::goToCell(int row, int col) {
    VSFlexGrid->setRow(row);
    VSFlexGrid->setCol(col);
    // The quantity cell, not its whole row, is what is highlighted.
    VSFlexGrid->selectionModel()->select(VSFlexGrid->currentIndex(), QItemSelectionModel::ClearAndSelect);
}

void BatchIntakeScreen::addListEntry(const QString &item, QLineEdit *box, QListWidget *list) {
    const QString text = box->text();
    if (text.isEmpty()) {
        ctx_.prompt().info(QStringLiteral("内容不能为空！"));
        box->setFocus();
        return;
    }
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) {
            ctx_.prompt().info(QStringLiteral("该内容已经存在！"));
            box->setFocus();
            return;
        }
    if (!runReporting(ctx_.prompt(), [&] { Dictionary(ctx_.database()).add(item, text); })) return;
    auto *entry = new QListWidgetItem(text, list);
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Unchecked);
    list->setCurrentItem(entry);
    box->clear();
}

void BatchIntakeScreen::saveBatch() {
    auto refuse = [this](const QString &text, QWidget *focus) {
        ctx_.prompt().info(text);
        if (focus) focus->setFocus();
    };
    if (txtNo->text().isEmpty()) return refuse(QStringLiteral("产品货号不能为空！"), txtNo);
    if (comBrand->currentText().isEmpty()) return refuse(QStringLiteral("品牌不能为空！"), comBrand);
    if (!moneyBoxAccepted(ctx_.prompt(), txtPrice) || !moneyBoxAccepted(ctx_.prompt(), txtSellPrice)) return;
    const auto price = parseNumber(txtPrice->text());
    if (!price) return refuse(QStringLiteral("请正确填写进价,要确认是数字！"), txtPrice);
    const auto sellPrice = parseNumber(txtSellPrice->text());
    if (!sellPrice) return refuse(QStringLiteral("请正确填写零售价,要确认是数字！"), txtSellPrice);
    if (matrix_.colours().isEmpty()) return refuse(QStringLiteral("尺码和颜色至少各选择一种，输入数量！"), nullptr);
    if (!ctx_.prompt().question(QStringLiteral("确认要入库么？"), kTitleHint)) return;
    // Colours but no size: nothing to write, nothing cleared.
    if (matrix_.sizes().isEmpty()) return;

    GoodsIntake base;
    base.typeNo = txtNo->text();
    base.name = comName->currentText();
    base.brand = comBrand->currentText();
    base.leather = comLeather->currentText();
    base.grade = comGrade->currentText();
    base.place = comProductPlace->currentText();
    base.block = txtBlock->text();
    base.floor = txtFloor->text();
    base.memo = txtMemo->text();
    base.buyPrice = *price;
    base.retailPrice = *sellPrice;
    base.date = DT->date();
    const std::vector<GoodsIntake> batch = matrix_.intakes(base);
    std::vector<QString> keys;
    // All or nothing: on a failure the grid keeps its contents and nothing was written.
    if (!runReporting(ctx_.prompt(), [&] {
            keys = GoodsIntakeService(ctx_.database(), ctx_.session, kBuyInKey).takeInBatch(batch);
        }))
        return;
    if (appendGoods_)
        for (size_t i = 0; i < batch.size(); ++i) appendGoods_(GoodsRow::fromIntake(keys[i], batch[i]));
    clear();
}

void BatchIntakeScreen::clear() {
    txtNo->clear();
    txtNo->setFocus();
    matrix_.clearQuantities();
    QSignalBlocker block(listCoulor);
    for (int i = 0; i < listCoulor->count(); ++i) {
        QListWidgetItem *item = listCoulor->item(i);
        if (item->checkState() == Qt::Checked) {
            item->setCheckState(Qt::Unchecked);
            matrix_.setColour(item->text(), false);
        }
    }
    render();
}

}  // namespace kestavion
