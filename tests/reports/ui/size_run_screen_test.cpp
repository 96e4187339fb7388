#include "foundation/refusal.h"
#include "foundation/ui/grid.h"
#include "printing/ui/print_screen.h"
#include "reports/query_shop_kit.h"
#include "reports/ui/size_run_screen.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kestavion::test {
namespace {

class SizeRunScreenTest : public QueryShopTest {
protected:
    void SetUp() override {
        QueryShopTest::SetUp();
        // A1: 38 and 40 in stock, 39 sold out: broken.
        takeIn({QStringLiteral("A1"), QStringLiteral("38"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"),
                QStringLiteral("奥康"), 200, 2});
        const QString gone = takeIn({QStringLiteral("A1"), QStringLiteral("39"), QStringLiteral("黑色"),
                                     QStringLiteral("男皮鞋"), QStringLiteral("奥康"), 200, 1});
        sell(gone, QDate(2026, 12, 1), 200);
        takeIn({QStringLiteral("A1"), QStringLiteral("40"), QStringLiteral("黑色"), QStringLiteral("男皮鞋"),
                QStringLiteral("奥康"), 200, 3});
        takeIn({QStringLiteral("B2"), QStringLiteral("41"), QStringLiteral("白色"), QStringLiteral("女皮鞋"),
                QStringLiteral("其他"), 150, 4});
    }
};

TEST_F(SizeRunScreenTest, MatrixWithGrandTotalBrokenCellMarkedAndFiltersWired) {
    SizeRunScreen s(ctx);
    EXPECT_EQ(s.focusWidget(), s.txtNo);
    Grid *g = s.VSFlexGrid;
    EXPECT_EQ(g->textMatrix(0, 5), QStringLiteral("38"));
    EXPECT_EQ(g->textMatrix(0, 8), QStringLiteral("41"));
    EXPECT_EQ(g->textMatrix(0, g->cols() - 1), QStringLiteral("断码"));
    EXPECT_EQ(column0(g), QStringList({"总合计", "", ""}));
    // Outside a run the cell is blank; the broken size reads 0 on a marked cell.
    EXPECT_EQ(column(g, QStringLiteral("39")), QStringList({"0", "0", ""}));
    EXPECT_EQ(column(g, QStringLiteral("41")), QStringList({"4", "", "4"}));
    EXPECT_EQ(column(g, QStringLiteral("合计")), QStringList({"9", "5", "4"}));
    EXPECT_EQ(column(g, QStringLiteral("断码")), QStringList({"", "39", ""}));
    EXPECT_EQ(g->cellBackColor(2, g->colIndex(QStringLiteral("39"))), SizeRunScreen::kBrokenBgr);
    EXPECT_EQ(g->cellBackColor(2, g->colIndex(QStringLiteral("38"))), -1);
    EXPECT_EQ(s.lbCount->text(), QStringLiteral("共 2 个货号颜色，其中断码 1 个"));

    s.chkBroken->click();
    EXPECT_EQ(column(g, QStringLiteral("货号")), QStringList({"", "A1"}));
    EXPECT_EQ(g->colIndex(QStringLiteral("41")), -1);  // no kept run spans it
    s.chkBroken->click();
    QTest::keyClicks(s.txtNo, QStringLiteral("b"));
    EXPECT_EQ(column(g, QStringLiteral("货号")), QStringList({"", "B2"}));
    QTest::keyClick(s.txtNo, Qt::Key_Return);
    EXPECT_EQ(s.focusWidget(), g);
}

TEST_F(SizeRunScreenTest, PrintHandsTheMatrixOverAndAMissingPermissionIsSaid) {
    {
        SizeRunScreen s(ctx);
        int cols = 0;
        QString first;
        onNextModal([&](QWidget *dlg) {
            auto *print = qobject_cast<PrintScreen *>(dlg);
            ASSERT_NE(print, nullptr);
            cols = print->VSFlexGrid->cols();
            first = print->VSFlexGrid->textMatrix(1, 0);
            print->reject();
        });
        s.cmdPrint->click();
        EXPECT_EQ(cols, s.VSFlexGrid->cols());
        EXPECT_EQ(first, QStringLiteral("总合计"));
    }
    ctx.session.user.role.set(QStringLiteral("StoreQuery"), false);
    SizeRunScreen s(ctx);
    EXPECT_EQ(s.VSFlexGrid->rows(), 1);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kNoPermission);
}

}  // namespace
}  // namespace kestavion::test
