#include "reports/ui/size_run_screen.h"

#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "printing/ui/print_screen.h"
#include "reports/ui/reports_query_screens.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

using namespace reportsui;

namespace {
const QString kTotal = QStringLiteral("合计");
const QString kBroken = QStringLiteral("断码");
const QString kHelp = QStringLiteral(
    "使用帮助：每行是一个货号的一种颜色，每列是一个尺码，尺码按尺码列表的顺序排列。空白格不在该货号颜色进过的尺码范围内；"
    "红底的格子是断码：该尺码已经没有库存，而比它小和比它大的尺码都还有货。可输入货号直接查询，也可选择种类和品牌点查询。"
    "点击打印可打印或者导出到Excel中。");
}  // namespace

SizeRunScreen::SizeRunScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSizeRun"));
    setWindowTitle(QStringLiteral("尺码断码查询"));

    auto *noLabel = new QLabel(QStringLiteral("货  号"), this);
    txtNo = new QLineEdit(this);
    txtNo->setObjectName(QStringLiteral("txtNo"));
    noLabel->setBuddy(txtNo);
    comName = new QComboBox(this);
    comName->setObjectName(QStringLiteral("comName"));
    comName->setMinimumWidth(120);
    comBrand = new QComboBox(this);
    comBrand->setObjectName(QStringLiteral("comBrand"));
    comBrand->setMinimumWidth(120);
    cmdQuery = namedButton(this, "cmdQuery", QStringLiteral("查 询(&Q)"));
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    chkZero = new QCheckBox(QStringLiteral("不显示零库存商品"), this);
    chkZero->setObjectName(QStringLiteral("chkZero"));
    chkZero->setChecked(true);
    chkBroken = new QCheckBox(QStringLiteral("只显示断码"), this);
    chkBroken->setObjectName(QStringLiteral("chkBroken"));
    lbCount = new QLabel(this);
    lbCount->setObjectName(QStringLiteral("lbCount"));
    cmdPrint = namedButton(this, "cmdPrint", QStringLiteral("打印(&P)"));
    lbTitle = helpLabel(this, kHelp);

    auto *filters = new QHBoxLayout;
    filters->addWidget(noLabel);
    filters->addWidget(txtNo);
    filters->addSpacing(16);
    filters->addWidget(new QLabel(QStringLiteral("种 类："), this));
    filters->addWidget(comName);
    filters->addWidget(new QLabel(QStringLiteral("品 牌："), this));
    filters->addWidget(comBrand);
    filters->addWidget(cmdQuery);
    filters->addStretch();
    auto *foot = new QHBoxLayout;
    foot->addWidget(chkZero);
    foot->addWidget(chkBroken);
    foot->addSpacing(16);
    foot->addWidget(lbCount);
    foot->addStretch();
    foot->addWidget(cmdPrint);
    auto *top = new QVBoxLayout(this);
    top->addLayout(filters);
    top->addWidget(VSFlexGrid, 1);
    top->addLayout(foot);
    top->addWidget(lbTitle);
    resize(1100, 680);

    wireArticleFilters(this, ctx, txtNo, comName, comBrand, cmdQuery, VSFlexGrid, chkZero);
    setTabOrder(chkZero, chkBroken);
    setTabOrder(chkBroken, cmdPrint);

    connect(txtNo, &QLineEdit::textChanged, this, &SizeRunScreen::showRuns);
    connect(cmdQuery, &QPushButton::clicked, this, &SizeRunScreen::query);
    connect(chkZero, &QCheckBox::toggled, this, &SizeRunScreen::showRuns);
    connect(chkBroken, &QCheckBox::toggled, this, &SizeRunScreen::showRuns);
    connect(cmdPrint, &QPushButton::clicked, this, &SizeRunScreen::print);

    query();
    txtNo->setFocus();
}

void SizeRunScreen::query() {
    const QString kind = chosen(comName), brand = chosen(comBrand);
    runs_ = SizeRunTable();
    runQuery(ctx_, [&] { runs_ = SizeRunQuery(ctx_.database(), ctx_.session).load(kind, brand); });
    showRuns();
}

void SizeRunScreen::showRuns() {
    const SizeRunTable t = SizeRunQuery::filter(runs_, txtNo->text(), chkZero->isChecked(), chkBroken->isChecked());
    QStringList columns{QStringLiteral("货号"), QStringLiteral("颜色"), QStringLiteral("种类"), QStringLiteral("品牌")};
    const int firstSize = columns.size();
    columns << t.sizes << kTotal << kBroken;
    std::vector<QVariantList> rows;
    rows.reserve(t.runs.size());
    int broken = 0;
    for (const SizeRun &run : t.runs) {
        QVariantList r{run.typeNo, run.colour, run.kind, run.brand};
        for (int c = 0; c < t.sizes.size(); ++c) r << (run.inRun(c) ? QVariant(run.pairs[c]) : QVariant(QString()));
        r << run.total;
        QStringList gaps;
        for (int g : run.gaps) gaps << t.sizes[g];
        r << gaps.join(QLatin1Char(' '));
        if (!gaps.isEmpty()) ++broken;
        rows.push_back(std::move(r));
    }

    Grid *g = VSFlexGrid;
    g->bind(ResultSet(columns, std::move(rows)));
    // Grid columns are the result's shifted by column 0.
    for (int c = 0; c <= t.sizes.size(); ++c) g->setColAlignment(firstSize + 1 + c, Qt::AlignRight | Qt::AlignVCenter);
    g->sizeColumns(1160);
    const int dataTop = t.runs.empty() ? 1 : 2;
    if (!t.runs.empty()) {
        for (int c = 0; c <= t.sizes.size(); ++c) g->subtotal(Grid::Aggregate::Sum, -1, firstSize + 1 + c);
        for (size_t i = 0; i < t.runs.size(); ++i)
            for (int gap : t.runs[i].gaps) g->setCellBackColor(dataTop + int(i), firstSize + 1 + gap, kBrokenBgr);
        g->setRow(dataTop);
    }
    g->setMergeCols({1});
    lbCount->setText(QStringLiteral("共 %1 个货号颜色，其中断码 %2 个").arg(t.runs.size()).arg(broken));
}

void SizeRunScreen::print() { openPrintScreen(ctx_, *VSFlexGrid, this); }

}  // namespace kestavion
