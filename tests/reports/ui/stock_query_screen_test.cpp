#include "foundation/refusal.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"
#include "reports/query_shop_kit.h"
#include "printing/ui/print_screen.h"
#include "reports/ui/stock_query_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace kestavion::test {
namespace {

class StockQueryScreenTest : public QueryShopTest {
protected:
    void SetUp() override {
        QueryShopTest::SetUp();
        takeIn({QStringLiteral("A1"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"),
                QStringLiteral("奥康"), 200, 2});
        takeIn({QStringLiteral("A1"), QStringLiteral("39"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"),
                QStringLiteral("奥康"), 200, 3});
        takeIn({QStringLiteral("B2"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"),
                QStringLiteral("奥康"), 200, 4});
        soldOut = takeIn({QStringLiteral("C3"), QStringLiteral("40"), QStringLiteral("白色"), QStringLiteral("女皮鞋"),
                          QStringLiteral("其他"), 150, 1});
        sell(soldOut, QDate(2026, 12, 1), 150);
    }
    static bool merged(const Grid *g, int row, int col) {
        return qobject_cast<const GridModel *>(g->model())->mergedWithAbove(row - 1, col);
    }
    QString soldOut;
};

TEST_F(StockQueryScreenTest, TotalsAboveEachRunGrandTotalFirstAndMergesStopAtRuns) {
    StockQueryScreen s(ctx);
    EXPECT_EQ(s.windowTitle(), QStringLiteral("库存查询"));
    EXPECT_EQ(s.TabStrip->tabText(0), QStringLiteral("可售库存  "));
    EXPECT_EQ(s.TabStrip->tabText(1), QStringLiteral("问题库存  "));
    EXPECT_TRUE(s.chkZero->isChecked());
    Grid *g = s.VSFlexGrid;
    EXPECT_EQ(column0(g), QStringList({"总合计", "合计", "", "", "合计", ""}));
    EXPECT_EQ(column(g, QStringLiteral("货号")), QStringList({"", "", "A1", "A1", "", "B2"}));
    EXPECT_EQ(column(g, QStringLiteral("数量")), QStringList({"9", "5", "2", "3", "4", "4"}));
    EXPECT_TRUE(g->isSubtotal(1));
    auto *model = qobject_cast<GridModel *>(g->model());
    EXPECT_TRUE(model->rowBold(0));
    EXPECT_EQ(model->foreColor(0, 1), 255);
    // Columns 1 to 7 merge inside a run; a total row ends the merge, and 尺码 (8)
    // never merges.
    EXPECT_TRUE(merged(g, 4, 1));
    EXPECT_TRUE(merged(g, 4, 7));
    EXPECT_FALSE(merged(g, 4, 8));
    EXPECT_FALSE(merged(g, 6, 1));
    EXPECT_FALSE(merged(g, 6, 2));  // same kind as the run above, but a total row between

    // The zero switch shows the sold-out pair at once, with its own totals.
    s.chkZero->click();
    EXPECT_EQ(column(g, QStringLiteral("货号")).last(), QStringLiteral("C3"));
    EXPECT_EQ(column(g, QStringLiteral("数量")).last(), QStringLiteral("0"));
    EXPECT_EQ(g->textMatrix(1, g->colIndex(QStringLiteral("数量"))), QStringLiteral("9"));
    s.chkZero->click();
    EXPECT_EQ(g->rows(), 7);
}

TEST_F(StockQueryScreenTest, ArticleBoxFiltersAsTypedAndKindBrandQueryReplacesTheList) {
    StockQueryScreen s(ctx);
    EXPECT_EQ(s.focusWidget(), s.txtNo);
    Grid *g = s.VSFlexGrid;
    // The middle of a number finds it; a number that matches nothing leaves the
    // headings only, without totals.
    QTest::keyClicks(s.txtNo, QStringLiteral("1"));
    EXPECT_EQ(column(g, QStringLiteral("货号")), QStringList({"", "", "A1", "A1"}));
    EXPECT_EQ(g->row(), 3);  // the first pair found is current
    QTest::keyClicks(s.txtNo, QStringLiteral("x"));
    EXPECT_EQ(g->rows(), 1);
    EXPECT_EQ(g->colIndex(QStringLiteral("数量")), 9);
    // Enter goes to the list only when there is one.
    QTest::keyClick(s.txtNo, Qt::Key_Return);
    EXPECT_EQ(s.focusWidget(), s.txtNo);
    s.txtNo->clear();
    EXPECT_EQ(g->rows(), 7);
    QTest::keyClick(s.txtNo, Qt::Key_Return);
    EXPECT_EQ(s.focusWidget(), g);

    // Kind and brand: merged in columns 1 to 6 only.
    s.chkZero->setChecked(false);
    s.comName->setCurrentText(QStringLiteral("女皮鞋"));
    ASSERT_GT(s.comName->currentIndex(), 0);
    s.cmdQuery->click();
    EXPECT_EQ(column(g, QStringLiteral("货号")), QStringList({"", "", "C3"}));
    EXPECT_EQ(qobject_cast<GridModel *>(g->model())->mergeCols(), QList<int>({1, 2, 3, 4, 5, 6}));
    s.chkZero->setChecked(true);
    EXPECT_EQ(g->rows(), 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StockQueryScreenTest, ProblemTabTotalsEachArticleAndTheFirstTabComesBackWhole) {
    const QString a = db->scalar(QStringLiteral("SELECT GUID FROM Store WHERE TypeNo='A1' AND Size='39'")).toString();
    setAside(a, 2, QStringLiteral("开胶"));
    setAside(a, 1, QStringLiteral("色差"));
    StockQueryScreen s(ctx);
    QTest::keyClicks(s.txtNo, QStringLiteral("B"));
    s.TabStrip->setCurrentIndex(1);
    Grid *p = s.VSQuestion;
    EXPECT_EQ(column0(p), QStringList({"合计", "", ""}));
    EXPECT_EQ(p->textMatrix(1, p->colIndex(QStringLiteral("数量"))), QStringLiteral("3"));
    EXPECT_EQ(p->textMatrix(1, p->colIndex(QStringLiteral("进价"))), QStringLiteral("270"));
    // Back on the first tab: the stock is read again and shown whole.
    s.TabStrip->setCurrentIndex(0);
    EXPECT_EQ(s.focusWidget(), s.txtNo);
    EXPECT_TRUE(s.txtNo->text().isEmpty());
    EXPECT_EQ(s.VSFlexGrid->textMatrix(1, s.VSFlexGrid->colIndex(QStringLiteral("数量"))), QStringLiteral("6"));
}

TEST_F(StockQueryScreenTest, PrintHandsOverTheSellableListFromEitherTab) {
    StockQueryScreen s(ctx);
    s.TabStrip->setCurrentIndex(1);
    int rows = 0;
    QString first, lastHeading;
    onNextModal([&](QWidget *dlg) {
        auto *print = qobject_cast<PrintScreen *>(dlg);
        ASSERT_NE(print, nullptr);
        rows = print->VSFlexGrid->rows();
        first = print->VSFlexGrid->textMatrix(1, 0);
        lastHeading = print->VSFlexGrid->textMatrix(0, print->VSFlexGrid->cols() - 1);
        print->reject();
    });
    s.cmdPrint->click();
    EXPECT_EQ(rows, s.VSFlexGrid->rows());
    EXPECT_EQ(first, QStringLiteral("总合计"));
    EXPECT_EQ(lastHeading, QStringLiteral("柜层"));
}

TEST_F(StockQueryScreenTest, WithoutThePermissionTheListStaysEmpty) {
    ctx.session.user.role.set(QStringLiteral("StoreQuery"), false);
    StockQueryScreen s(ctx);
    EXPECT_EQ(s.VSFlexGrid->rows(), 1);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kNoPermission);
}

}  // namespace
}  // namespace kestavion::test
