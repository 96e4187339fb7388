#include "intake/ui/intake_history_screen.h"

#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"
#include "intake/intake_history.h"
#include "intake/ui/intake_form.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestavion {

using namespace intakeform;

namespace {
const QString kGuid = QStringLiteral("GUID");
const QString kParent = QStringLiteral("ParentGUID");
const QString kTotalCaption = QStringLiteral("合计");

const QString kQuantity = QStringLiteral("数量");

// The grand total row: captioned "合计", no record key.
bool isTotalRow(Grid *g, int row) {
    return row >= 1 && row < g->rows() && g->textMatrix(row, 0) == kTotalCaption && g->text(row, kGuid).isEmpty();
}
bool isDataRow(Grid *g, int row) { return row >= 1 && row < g->rows() && !isTotalRow(g, row); }
}  // namespace

void retotalIntakeList(Grid *grid) {
    for (int r = grid->rows() - 1; r >= 1; --r)
        if (isTotalRow(grid, r)) grid->removeItem(r);
    // Every list ends in its total row, an empty one too ("合计" 0).
    const int col = grid->colIndex(kQuantity);
    double sum = 0;
    for (int r = 1; r < grid->rows(); ++r) sum += parseNumber(grid->textMatrix(r, col)).value_or(0);
    // Below the intakes, bold red.
    const int at = addGridRow(grid, {kTotalCaption});
    grid->setText(at, kQuantity, formatNumber(sum));
    grid->setRowBold(at, true);
    // Column 0 wide enough for the caption.
    if (grid->colWidth(0) < 600) grid->setColWidth(0, 600);
    for (int c = 0; c < grid->cols(); ++c) grid->setCellForeColor(at, c, 255);
}

IntakeHistoryScreen::IntakeHistoryScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmbuyInDetail"));
    setWindowTitle(QStringLiteral("进货明细查询"));
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("进货明细"));
    chkTypeNo = new QCheckBox(QStringLiteral("货号"), page);
    chkTypeNo->setObjectName(QStringLiteral("chkTypeNo"));
    txtNo = lineEdit(page, "txtNo");
    chkDate = new QCheckBox(QStringLiteral("进货日期"), page);
    chkDate->setObjectName(QStringLiteral("chkDate"));
    DTBeginTime = datePicker(page, "DTBeginTime");
    lbUserNo = new QLabel(QStringLiteral("至"), page);
    lbUserNo->setObjectName(QStringLiteral("lbUserNo"));
    DTEndTime = datePicker(page, "DTEndTime");
    cmdQuery = namedButton(page, "cmdQuery", QStringLiteral("查 询(&Q)"));
    cmdedit = namedButton(page, "cmdedit", QStringLiteral("修 改(&E)"));
    cmdDel = namedButton(page, "cmdDel", QStringLiteral("删 除(&D)"));
    VSFlexGrid = new Grid(page);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));

    auto *filters = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{chkTypeNo, txtNo, chkDate, DTBeginTime, lbUserNo, DTEndTime})
        filters->addWidget(w);
    filters->addStretch();
    filters->addWidget(cmdQuery);
    filters->addWidget(cmdedit);
    filters->addWidget(cmdDel);
    auto *inner = new QVBoxLayout(page);
    inner->addLayout(filters);
    inner->addWidget(VSFlexGrid, 1);
    auto *top = new QVBoxLayout(this);
    top->addWidget(tabs);
    resize(1100, 640);
    disableAutoDefault(this);

    connect(cmdQuery, &QPushButton::clicked, this, [this] { query(true); });
    connect(cmdDel, &QPushButton::clicked, this, &IntakeHistoryScreen::remove);
    connect(cmdedit, &QPushButton::clicked, this, &IntakeHistoryScreen::edit);
    query(false);
    DTEndTime->setDate(ctx.today());
    DTBeginTime->setDate(ctx.today().addMonths(-1));
}

void IntakeHistoryScreen::query(bool filtered) {
    IntakeFilter f;
    if (filtered) {
        f.byDate = chkDate->isChecked();
        f.from = DTBeginTime->date();
        f.to = DTEndTime->date();
        f.byTypeNo = chkTypeNo->isChecked();
        f.typeNo = txtNo->text();
    }
    // Streamed into the list's own compact columns; a failed read leaves the list as
    // it was.
    try {
        VSFlexGrid->bindRows(IntakeHistory::listColumns(), [&](const GridModel::RowSink &sink) {
            IntakeHistory(ctx_.database(), ctx_.session).scan(f, sink);
        });
    } catch (const DbError &e) {
        showDbError(ctx_.prompt(), e);
        ctx_.prompt().warning(kReadFailed, kTitleHint);
        return;
    }
    VSFlexGrid->setColHidden(VSFlexGrid->colIndex(kParent), true);
    VSFlexGrid->setColHidden(VSFlexGrid->colIndex(kGuid), true);
    VSFlexGrid->sizeColumns(1040);
    // A full date, a long article number or purchase price is shown whole.
    VSFlexGrid->widenToContents();
    // A memo reads from its start, and a long one does not push the dates away.
    const int memoCol = VSFlexGrid->colIndex(QStringLiteral("备注"));
    VSFlexGrid->autoSize(memoCol, memoCol);
    VSFlexGrid->setColWidth(memoCol, std::clamp(VSFlexGrid->colWidth(memoCol), 1040, 3000));
    VSFlexGrid->setColAlignment(memoCol, Qt::AlignLeft | Qt::AlignVCenter);
    retotalIntakeList(VSFlexGrid);
}

void IntakeHistoryScreen::remove() {
    Grid *g = VSFlexGrid;
    const int row = g->row();
    if (!isDataRow(g, row)) return;
    const QString goods = g->text(row, kParent);
    const QString record = g->text(row, kGuid);
    IntakeHistory history(ctx_.database(), ctx_.session);
    bool exists = false;
    if (!runReporting(ctx_.prompt(), [&] { exists = history.goodsExists(goods); }) || !exists) return;
    if (!ctx_.prompt().question(QStringLiteral("确定要删除这次进货吗？"), kTitleHint)) return;
    IntakeChange outcome = IntakeChange::NoGoods;
    if (!runReporting(ctx_.prompt(), [&] { outcome = history.remove(record); })) return;
    if (outcome == IntakeChange::Sold) {
        ctx_.prompt().info(QStringLiteral("对不起，这批货已经出售不能再删除！"));
        return;
    }
    if (outcome != IntakeChange::Done) return;
    const int at = g->findRow(record, 1, g->colIndex(kGuid));
    if (at >= 1) g->removeItem(at);
    retotalIntakeList(g);
    // The intake that took its place (or the new last one) is selected.
    int next = std::min(at, g->rows() - 1);
    if (!isDataRow(g, next)) --next;
    g->setRow(isDataRow(g, next) ? next : 0);
}

void IntakeHistoryScreen::edit() {
    if (VSFlexGrid->rows() <= 1) return;
    IntakeEditScreen screen(ctx_, this);
    screen.LoadIt(VSFlexGrid);
    screen.exec();
}

IntakeEditScreen::IntakeEditScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmedit"));
    setWindowTitle(QStringLiteral("修改"));
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("修改信息"));
    buildGoodsFields(ctx, page);
    DT = datePicker(page, "DT");
    txtMemo = memoBox(page);
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确定(&O)"));

    auto *g = new QGridLayout(page);
    layOutGoodsFields(g, QStringLiteral("品  名"));
    addRow(g, 5, 0, QStringLiteral("进货日期"), DT);
    addRow(g, 6, 0, QStringLiteral("备  注"), txtMemo);
    g->addWidget(txtMemo, 6, 1, 1, 5);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    auto *top = new QVBoxLayout(this);
    top->addWidget(tabs);
    top->addLayout(buttons);
    EnterToTab::install({txtNo, comName, comBrand, comSize, comColour, comLeather, comGrade, comProductPlace, txtPrice,
                         txtQuantity, DT});
    disableAutoDefault(this);
    connect(cmdOk, &QPushButton::clicked, this, &IntakeEditScreen::save);
}

void IntakeEditScreen::LoadIt(Grid *list) {
    list_ = list;
    const int row = list->row();
    if (!isDataRow(list, row)) return;
    txtNo->setText(list->text(row, QStringLiteral("货号")));
    txtPrice->setText(list->text(row, QStringLiteral("进价")));
    txtQuantity->setText(list->text(row, QStringLiteral("数量")));
    txtMemo->setPlainText(list->text(row, QStringLiteral("备注")));
    DT->setDate(QDate::fromString(list->text(row, QStringLiteral("进货日期")), Qt::ISODate));
    const std::pair<QComboBox *, const char *> combos[] = {
        {comColour, "颜色"}, {comGrade, "等级"}, {comLeather, "面料"},     {comName, "种类"},
        {comSize, "尺码"},   {comBrand, "品牌"}, {comProductPlace, "产地"}};
    for (const auto &[combo, key] : combos) {
        const QString cell = list->text(row, QString::fromUtf8(key));
        int found = -1;
        for (int i = 0; i < combo->count() && found < 0; ++i)
            if (combo->itemText(i).compare(cell, Qt::CaseInsensitive) == 0) found = i;
        combo->setCurrentIndex(found);
    }
    recordGuid_ = list->text(row, kGuid);
}

void IntakeEditScreen::save() {
    if (!list_) return;
    const int row = list_->row();
    if (!isDataRow(list_, row)) return;
    GoodsIntake in;
    if (!readGoodsFields(ctx_.prompt(), in)) return;
    in.memo = txtMemo->toPlainText();
    in.date = DT->date();

    IntakeHistory history(ctx_.database(), ctx_.session);
    CorrectionResult result;
    if (!runReporting(ctx_.prompt(), [&] { result = history.correct(recordGuid_, in); })) return;
    if (result.outcome == IntakeChange::Sold) {
        ctx_.prompt().info(QStringLiteral("对不起，这批货已经出售不能再修改！"));
        return;
    }
    if (result.outcome != IntakeChange::Done) return;

    // The corrected intake takes the old one's place in the list.
    const int at = list_->findRow(recordGuid_, 1, list_->colIndex(kGuid));
    if (at >= 1) list_->removeItem(at);
    addGridRow(list_,
               {QString(), in.typeNo, in.name, in.brand, in.size, in.colour, in.leather, in.grade, in.place,
                formatNumber(in.quantity), formatNumber(in.buyPrice), in.memo, in.date.toString(Qt::ISODate),
                result.goodsGuid, result.recordGuid},
               at);
    retotalIntakeList(list_);
    list_->setRow(list_->findRow(result.recordGuid, 1, list_->colIndex(kGuid)));
    accept();
}

}  // namespace kestavion
