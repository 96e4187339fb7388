#include "aftersales/ui/problem_goods_screen.h"

#include "aftersales/problem_stock.h"
#include "aftersales/ui/after_sales_ui.h"
#include "foundation/app_context.h"
#include "foundation/numbers.h"
#include "foundation/ui/form_helpers.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestavion {

namespace {
const QString kReasonItem = QStringLiteral("退货原因");
const QStringList kQuestionKeys = {QString(),          QStringLiteral("GUID"), QStringLiteral("货号"),
                                   QStringLiteral("种类"), QStringLiteral("品牌"), QStringLiteral("尺码"),
                                   QStringLiteral("颜色"), QStringLiteral("面料"), QStringLiteral("等级"),
                                   QStringLiteral("产地"), QStringLiteral("数量"), QStringLiteral("质量问题"),
                                   QStringLiteral("BuyPrice")};
bool isEnter(QKeyEvent *e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }
}  // namespace

ProblemGoodsScreen::ProblemGoodsScreen(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmQuestion"));
    setWindowTitle(QStringLiteral("问题鞋处理"));
    auto *outer = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *l0 = new QLabel(QStringLiteral("货  号"), this);
    l0->setObjectName(QStringLiteral("lbInfo_0"));
    top->addWidget(l0);
    txtNo = new QLineEdit(this);
    txtNo->setObjectName(QStringLiteral("txtNo"));
    top->addWidget(txtNo);
    top->addStretch();
    outer->addLayout(top);
    VSFlexGrid = new Grid(this);
    VSFlexGrid->setObjectName(QStringLiteral("VSFlexGrid"));
    outer->addWidget(VSFlexGrid, 2);

    auto *mid = new QHBoxLayout;
    auto *l1 = new QLabel(QStringLiteral("数  量"), this);
    l1->setObjectName(QStringLiteral("lbInfo_1"));
    mid->addWidget(l1);
    txtQuatity = new QLineEdit(QStringLiteral("1"), this);
    txtQuatity->setObjectName(QStringLiteral("txtQuatity"));
    txtQuatity->setMaximumWidth(80);
    mid->addWidget(txtQuatity);
    addReasonRow(ctx, this, mid, QStringLiteral("问   题："), "lbInfo_2", 160, kReasonItem, comResion, cmdLeather);
    mid->addStretch();
    cmdAddQuestion = namedButton(this, "cmdAddQuestion", QStringLiteral("转成问题鞋(&C)"));
    mid->addWidget(cmdAddQuestion);
    outer->addLayout(mid);

    VSQuestion = new Grid(this);
    VSQuestion->setObjectName(QStringLiteral("VSQuestion"));
    outer->addWidget(VSQuestion, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    cmdOk = namedButton(this, "cmdOk", QStringLiteral("确定(&O)"));
    bottom->addWidget(cmdOk);
    outer->addLayout(bottom);
    lbTitle = helpLabel(
        this,
        QStringLiteral("  使用帮助：问题鞋处理是把有质量问题的鞋子放到问题库存中，放在问题库存中的鞋子不能再销售。根据货号查询到要放进问题库存的鞋子，"
                       "输入数量，选择问题，点击转化成问题鞋即添加到下面的列表中，点击确定即可完成。系统自动更新库存。"));
    outer->addWidget(lbTitle);

    // Streamed into the list's own compact columns, already in article order.
    runReporting(ctx.prompt(), [&] {
        VSFlexGrid->bindRows(ProblemStock::goodsColumns(), [&](const GridModel::RowSink &sink) {
            ProblemStock(ctx.database(), ctx.session).scanGoodsInStock(QStringLiteral("Question"), sink);
        });
    });
    dressGoodsGrid();
    initQuestionGrid();
    fillComboFromDictionary(ctx, kReasonItem, comResion);
    disableAutoDefault(this);
    EnterClicksButtons::install(this);
    resize(900, 620);

    for (QWidget *w : {static_cast<QWidget *>(txtNo), static_cast<QWidget *>(txtQuatity),
                       static_cast<QWidget *>(comResion)})
        w->installEventFilter(this);
    connect(VSFlexGrid, &Grid::keyPressed, this, [this](QKeyEvent *e, bool *handled) {
        if (isEnter(e) && VSFlexGrid->rows() > 1) {
            txtQuatity->setFocus();
            *handled = true;
        }
    });
    connect(cmdAddQuestion, &QPushButton::clicked, this, [this] { addLine(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { confirm(); });
}

void ProblemGoodsScreen::dressGoodsGrid() {
    if (VSFlexGrid->cols() > 1) VSFlexGrid->setColHidden(1, true);
    fitColumns(VSFlexGrid, 1140);
}

void ProblemGoodsScreen::initQuestionGrid() {
    VSQuestion->setRows(1);
    VSQuestion->setCols(kQuestionKeys.size());
    for (int c = 1; c < kQuestionKeys.size(); ++c) {
        VSQuestion->setColKey(c, kQuestionKeys[c]);
        VSQuestion->setTextMatrix(0, c, kQuestionKeys[c]);
    }
    VSQuestion->setColHidden(1, true);
    VSQuestion->setColHidden(12, true);
    fitColumns(VSQuestion, 960, {QStringLiteral("质量问题")});
}

bool ProblemGoodsScreen::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn && watched == txtQuatity) {
        txtQuatity->selectAll();
    } else if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
        if (watched == txtNo) {
            searchGoods();
            return true;
        }
        if (watched == txtQuatity) {
            qint64 n = 0;
            if (checkQuantity(&n)) comResion->setFocus();
            return true;
        }
        if (watched == comResion) {
            cmdAddQuestion->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ProblemGoodsScreen::searchGoods() {
    if (txtNo->text().isEmpty()) {
        VSFlexGrid->setFocus();
        return;
    }
    ResultSet rs;
    if (!runReporting(ctx_.prompt(),
                      [&] { rs = ProblemStock(ctx_.database(), ctx_.session).goodsByTypeNo(txtNo->text()); }))
        return;
    VSFlexGrid->bind(rs);
    // Pending lines have taken their pairs already: the list shows what is left.
    for (int r = 1; r < VSFlexGrid->rows(); ++r) {
        const QString guid = VSFlexGrid->text(r, QStringLiteral("GUID"));
        double pending = 0;
        for (int q = 1; q < VSQuestion->rows(); ++q)
            if (VSQuestion->text(q, QStringLiteral("GUID")) == guid) pending += gridNumber(VSQuestion, q, QStringLiteral("数量"));
        if (pending > 0)
            VSFlexGrid->setText(r, QStringLiteral("数量"), formatNumber(gridNumber(VSFlexGrid, r, QStringLiteral("数量")) - pending));
    }
    dressGoodsGrid();
    if (VSFlexGrid->rows() > 1) {
        VSFlexGrid->setRow(1);
        VSFlexGrid->setFocus();
    }
}

bool ProblemGoodsScreen::checkQuantity(qint64 *quantity) {
    const int r = VSFlexGrid->row();
    if (VSFlexGrid->rows() < 2 || r < 1) {
        ctx_.prompt().info(QStringLiteral("请选择一个商品！"));
        return false;
    }
    // Pairs are whole: a fractional quantity is refused like any other bad number.
    const auto n = parseWholeNumber(txtQuatity->text());
    if (!n) {
        ctx_.prompt().info(QStringLiteral("数量的数据类型不正确！"));
        txtQuatity->setFocus();
        return false;
    }
    if (*n <= 0) {
        ctx_.prompt().info(QStringLiteral("数量的不能小于0！"));
        txtQuatity->setFocus();
        return false;
    }
    if (gridNumber(VSFlexGrid, r, QStringLiteral("数量")) < static_cast<double>(*n)) {
        ctx_.prompt().info(QStringLiteral("库存不足不能转化成问题歇，请通知管理员！"));
        return false;
    }
    *quantity = *n;
    return true;
}

void ProblemGoodsScreen::addLine() {
    qint64 n = 0;
    if (!checkQuantity(&n)) return;
    const int r = VSFlexGrid->row();
    QStringList fields = {QString(), VSFlexGrid->text(r, QStringLiteral("GUID"))};
    for (const char *key : {"货号", "种类", "品牌", "尺码", "颜色", "面料", "等级", "产地"})
        fields << VSFlexGrid->text(r, QString::fromUtf8(key));
    fields << QString::number(n) << comResion->currentText() << QString();
    VSQuestion->addItem(fields.join(QLatin1Char('\t')));
    VSQuestion->setRow(VSQuestion->rows() - 1);
    fitColumns(VSQuestion, 960, {QStringLiteral("质量问题")});
    // The list shows what is left, so later lines are checked against it.
    VSFlexGrid->setText(r, QStringLiteral("数量"), formatNumber(gridNumber(VSFlexGrid, r, QStringLiteral("数量")) - n));
}

void ProblemGoodsScreen::confirm() {
    if (VSQuestion->rows() < 2) return;
    std::vector<ProblemLine> lines;
    for (int r = 1; r < VSQuestion->rows(); ++r)
        lines.push_back({VSQuestion->text(r, QStringLiteral("GUID")),
                         static_cast<qint64>(gridNumber(VSQuestion, r, QStringLiteral("数量"))),
                         VSQuestion->text(r, QStringLiteral("质量问题"))});
    if (!runReporting(ctx_.prompt(), [&] { ProblemStock(ctx_.database(), ctx_.session).setAside(lines); })) return;
    ctx_.prompt().info(QStringLiteral("处理成功！"));
    VSQuestion->clearRows();
}

}  // namespace kestavion
