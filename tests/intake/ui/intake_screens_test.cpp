#include "foundation/dictionary.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/screen_registry.h"
#include "intake/ui/batch_intake_screen.h"
#include "intake/ui/goods_property_screen.h"
#include "intake/ui/intake_history_screen.h"
#include "intake/ui/intake_screens.h"
#include "intake/ui/price_change_screen.h"
#include "intake/ui/restock_screen.h"
#include "kit/fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace kestavion;
using namespace kestavion::test;

namespace {

class IntakeScreens : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        db->exec(QStringLiteral("DELETE FROM DataDictionary WHERE Item IN ('颜色','尺码','品牌')"));
        Dictionary d(*db);
        for (const char *c : {"红", "黑"}) d.add(QStringLiteral("颜色"), QString::fromUtf8(c));
        for (const char *s : {"38", "39", "40"}) d.add(QStringLiteral("尺码"), QString::fromLatin1(s));
        d.add(QStringLiteral("品牌"), QStringLiteral("自有品牌"));
    }
    static void showActive(QWidget *w) {
        w->show();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    static void tick(QListWidget *list, const QString &text, bool on = true) {
        const auto found = list->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        found.first()->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    // Types into the current cell and presses Enter, as a user on delivery day does.
    static void typeAndEnter(Grid *g, const QString &text) {
        if (!text.isEmpty()) QTest::keyClicks(g, text);
        settle();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        settle();
    }
    static QStringList headings(Grid *g) {
        QStringList out;
        for (int c = 1; c < g->cols(); ++c) out << g->textMatrix(0, c);
        return out;
    }
    static QStringList column0(Grid *g) {
        QStringList out;
        for (int r = 1; r < g->rows(); ++r) out << g->textMatrix(r, 0);
        return out;
    }
};

}  // namespace

TEST_F(IntakeScreens, BatchGridFromTheKeyboardWritesOneGoodsPerFilledCell) {
    std::vector<GoodsRow> appended;
    BatchIntakeScreen s(ctx, [&](const GoodsRow &r) { appended.push_back(r); });
    showActive(&s);
    Grid *g = s.VSFlexGrid;
    EXPECT_EQ(g->rows(), 1);
    EXPECT_EQ(g->cols(), 1);
    tick(s.listCoulor, QStringLiteral("红"));
    tick(s.listCoulor, QStringLiteral("黑"));
    tick(s.listSize, QStringLiteral("38"));
    tick(s.listSize, QStringLiteral("39"));
    EXPECT_EQ(column0(g), QStringList({QStringLiteral("红"), QStringLiteral("黑"), QStringLiteral("合计")}));
    EXPECT_EQ(headings(g), QStringList({QStringLiteral("38"), QStringLiteral("39"), QStringLiteral("合计")}));

    // 红/38 = 2, then Enter twice moves right and wraps to 黑/38, Enter to 黑/39 = 3.
    g->setFocus();
    g->setRow(1);
    g->setCol(1);
    typeAndEnter(g, QStringLiteral("2"));
    EXPECT_EQ(g->row(), 1);
    EXPECT_EQ(g->col(), 2);
    typeAndEnter(g, QString());
    EXPECT_EQ(g->row(), 2);
    EXPECT_EQ(g->col(), 1);
    typeAndEnter(g, QString());
    typeAndEnter(g, QStringLiteral("3"));
    EXPECT_EQ(g->textMatrix(1, 1), QStringLiteral("2"));
    EXPECT_EQ(g->textMatrix(2, 2), QStringLiteral("3"));
    EXPECT_EQ(g->textMatrix(1, 3), QStringLiteral("2"));  // row totals
    EXPECT_EQ(g->textMatrix(2, 3), QStringLiteral("3"));
    EXPECT_EQ(g->textMatrix(3, 1), QStringLiteral("2"));  // column totals
    EXPECT_EQ(g->textMatrix(3, 3), QStringLiteral("5"));  // grand total

    // Refusals change nothing.
    QTest::mouseClick(s.cmdInStore, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("产品货号不能为空！"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtNo);
    s.txtNo->setText(QStringLiteral("K'7"));
    s.txtPrice->setText(QStringLiteral("80"));
    s.txtSellPrice->setText(QStringLiteral("abc"));
    QTest::mouseClick(s.cmdInStore, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("请正确填写零售价,要确认是数字！"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtSellPrice);
    EXPECT_EQ(count("Store"), 0);

    s.txtSellPrice->setText(QStringLiteral("1,299"));
    s.txtMemo->setText(QStringLiteral("到货"));
    prompter.answer({true});
    QTest::mouseClick(s.cmdInStore, Qt::LeftButton);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Question);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("确认要入库么？"));
    ASSERT_EQ(count("Store"), 2);
    EXPECT_EQ(count("Store", "TypeNo='K''7' AND Colour='红' AND [Size]='38' AND Quantity=2 AND Price=1299"), 1);
    EXPECT_EQ(count("Store", "TypeNo='K''7' AND Colour='黑' AND [Size]='39' AND Quantity=3"), 1);
    EXPECT_EQ(count("BuyPrice", "Price=80"), 2);
    EXPECT_EQ(count("StoreDetail", "Memo='到货'"), 2);
    ASSERT_EQ(appended.size(), 2u);
    EXPECT_EQ(appended[0].colour, QStringLiteral("红"));

    // Cleared for the next article: sizes and descriptive fields stay.
    EXPECT_TRUE(s.txtNo->text().isEmpty());
    EXPECT_EQ(g->rows(), 1);
    EXPECT_EQ(headings(g), QStringList({QStringLiteral("38"), QStringLiteral("39"), QStringLiteral("合计")}));
    EXPECT_EQ(s.txtPrice->text(), QStringLiteral("80"));
    EXPECT_EQ(s.listCoulor->item(0)->checkState(), Qt::Unchecked);
}

TEST_F(IntakeScreens, BatchUntickingAMiddleSizeMovesQuantitiesLeft) {
    BatchIntakeScreen s(ctx, {});
    showActive(&s);
    Grid *g = s.VSFlexGrid;
    tick(s.listCoulor, QStringLiteral("红"));
    for (const char *size : {"38", "39", "40"}) tick(s.listSize, QString::fromLatin1(size));
    g->setFocus();
    g->setRow(1);
    g->setCol(1);
    typeAndEnter(g, QStringLiteral("1"));
    typeAndEnter(g, QStringLiteral("2"));
    typeAndEnter(g, QStringLiteral("4"));
    EXPECT_EQ(g->textMatrix(1, 4), QStringLiteral("7"));
    // Totals take no typing.
    g->setRow(1);
    g->setCol(4);
    typeAndEnter(g, QStringLiteral("9"));
    EXPECT_EQ(g->textMatrix(1, 4), QStringLiteral("7"));

    tick(s.listSize, QStringLiteral("39"), false);
    EXPECT_EQ(headings(g), QStringList({QStringLiteral("38"), QStringLiteral("40"), QStringLiteral("合计")}));
    EXPECT_EQ(g->colKey(2), QStringLiteral("40"));
    EXPECT_EQ(g->textMatrix(1, 2), QStringLiteral("4"));
    EXPECT_EQ(g->textMatrix(1, 3), QStringLiteral("5"));
    EXPECT_EQ(g->textMatrix(2, 3), QStringLiteral("5"));

    // A further size keeps the totals, now in the new last column.
    tick(s.listSize, QStringLiteral("39"));
    EXPECT_EQ(headings(g).last(), QStringLiteral("合计"));
    EXPECT_EQ(g->textMatrix(1, 4), QStringLiteral("5"));
    EXPECT_TRUE(g->textMatrix(1, 3).isEmpty());

    // Letters, 0 and negatives empty the cell.
    g->setRow(1);
    g->setCol(1);
    typeAndEnter(g, QStringLiteral("x"));
    EXPECT_TRUE(g->textMatrix(1, 1).isEmpty());
    EXPECT_EQ(g->textMatrix(1, 4), QStringLiteral("4"));

    // A new colour typed in goes into the dictionary and the list, unticked; a
    // duplicate is refused.
    s.txtColour->setText(QStringLiteral("Blue"));
    QTest::keyClick(s.txtColour, Qt::Key_Return);
    EXPECT_TRUE(Dictionary(*db).entries(QStringLiteral("颜色")).contains(QStringLiteral("Blue")));
    EXPECT_EQ(s.listCoulor->count(), 3);
    EXPECT_EQ(s.listCoulor->item(2)->checkState(), Qt::Unchecked);
    s.txtColour->setText(QStringLiteral("红"));
    QTest::keyClick(s.txtColour, Qt::Key_Return);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("该内容已经存在！"));

    // Unticking the only colour drops its row and the total row.
    tick(s.listCoulor, QStringLiteral("红"), false);
    EXPECT_EQ(g->rows(), 1);
}

TEST_F(IntakeScreens, RestockFlowFromTheKeyboard) {
    GoodsSpec a, b;
    a.typeNo = QStringLiteral("A100");
    a.quantity = 4;
    b.typeNo = QStringLiteral("B200");
    const QString ga = plantGoods(*db, a);
    plantGoods(*db, b);

    RestockScreen s(ctx);
    showActive(&s);
    Grid *g = s.VSFlexGrid;
    EXPECT_EQ(g->rows(), 3);
    EXPECT_TRUE(g->colHidden(g->colIndex(QStringLiteral("GUID"))));

    // Empty price refused, focus on it.
    g->setRow(1);
    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("数据类型不正确！"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtPrice);

    s.txtNo->setFocus();
    QTest::keyClicks(s.txtNo, QStringLiteral("a1"));
    EXPECT_EQ(g->rows(), 2);
    EXPECT_EQ(g->row(), 1);
    QTest::keyClick(s.txtNo, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), g);
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.txtQuantity);
    QTest::keyClicks(s.txtQuantity, QStringLiteral("3"));
    QTest::keyClick(s.txtQuantity, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.txtPrice);
    QTest::keyClicks(s.txtPrice, QStringLiteral("1,000"));
    QTest::keyClick(s.txtPrice, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.DT);

    prompter.answer({false});
    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("确认要入库吗？"));
    EXPECT_EQ(count("BuyPrice"), 0);
    EXPECT_EQ(s.txtQuantity->text(), QStringLiteral("3"));

    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);
    EXPECT_EQ(storeQuantity(*db, ga), 7);
    EXPECT_EQ(count("BuyPrice", "StoreGUID=? AND Price=1000 AND Quantity=3 AND sDate='2026-12-09'", {ga}), 1);
    EXPECT_EQ(count("StoreDetail", "ParentGUID=? AND TypeNo='A100' AND Quantity=3", {ga}), 1);
    EXPECT_EQ(g->text(1, QStringLiteral("数量")), QStringLiteral("7"));
    EXPECT_TRUE(s.txtQuantity->text().isEmpty());
    EXPECT_TRUE(s.txtPrice->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), s.txtNo);

    // A filter that matches nothing, then cleared: every Goods again, stock as changed.
    s.txtNo->setText(QStringLiteral("'zz"));
    EXPECT_EQ(g->rows(), 1);
    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);  // empty list: nothing, no message
    s.txtNo->clear();
    EXPECT_EQ(g->rows(), 3);
    EXPECT_EQ(g->text(g->findRow(ga, 1, g->colIndex(QStringLiteral("GUID"))), QStringLiteral("数量")),
              QStringLiteral("7"));
}

TEST_F(IntakeScreens, NewGoodsTwiceGivesTwoGoodsAppendedToTheRestockList) {
    RestockScreen restock(ctx);
    showActive(&restock);
    onNextModal([&](QWidget *w) {
        auto *s = qobject_cast<GoodsPropertyScreen *>(w);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->comBrand->currentText(), QStringLiteral("自有品牌"));
        // Enter from the article number skips the brand, which sits after the "…" buttons.
        s->txtNo->setFocus();
        QTest::keyClicks(s->txtNo, QStringLiteral("N'1"));
        QTest::keyClick(s->txtNo, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), s->comName);
        QTest::keyClick(s->comName, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), s->comSize);
        // The date picker passes Enter on too.
        s->DT->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), s->txtBlock);
        QTest::mouseClick(s->cmdPutIn, Qt::LeftButton);
        EXPECT_EQ(prompter.lastText(), QStringLiteral("数据类型不正确！"));
        EXPECT_EQ(QApplication::focusWidget(), s->txtPrice);
        s->txtPrice->setText(QStringLiteral("60"));
        s->txtQuantity->setText(QStringLiteral("-2"));
        s->txtSellPrice->setText(QStringLiteral("1,000"));
        s->txtMemo->setPlainText(QStringLiteral("退回'厂家'"));
        QTest::mouseClick(s->cmdPutIn, Qt::LeftButton);
        QTest::mouseClick(s->cmdPutIn, Qt::LeftButton);
        // Clear keeps the combo boxes and the date.
        QTest::mouseClick(s->cmdClear, Qt::LeftButton);
        EXPECT_TRUE(s->txtPrice->text().isEmpty());
        EXPECT_EQ(s->comSize->currentText(), QStringLiteral("38"));
        EXPECT_EQ(QApplication::focusWidget(), s->txtNo);
        s->accept();
    });
    QTest::mouseClick(restock.cmdNewGoods, Qt::LeftButton);
    EXPECT_EQ(count("Store", "TypeNo='N''1' AND Quantity=-2 AND Price=1000 AND [Size]='38' AND Colour='红'"), 2);
    EXPECT_EQ(count("BuyPrice", "Quantity=-2 AND Price=60"), 2);
    EXPECT_EQ(count("StoreDetail", "Memo='退回''厂家'''"), 2);
    EXPECT_EQ(restock.VSFlexGrid->rows(), 3);
    EXPECT_EQ(restock.VSFlexGrid->text(2, QStringLiteral("货号")), QStringLiteral("N'1"));
    EXPECT_EQ(restock.VSFlexGrid->text(2, QStringLiteral("数量")), QStringLiteral("-2"));

    // Restocking a row appended in this visit works like any other.
    restock.VSFlexGrid->setRow(2);
    restock.txtQuantity->setText(QStringLiteral("5"));
    restock.txtPrice->setText(QStringLiteral("61"));
    QTest::mouseClick(restock.cmdPutIn, Qt::LeftButton);
    EXPECT_EQ(restock.VSFlexGrid->text(2, QStringLiteral("数量")), QStringLiteral("3"));
    EXPECT_EQ(count("Store", "Quantity=3"), 1);
}

TEST_F(IntakeScreens, HistoryDeleteAndCorrectKeepTheListInStep) {
    GoodsSpec a, b;
    a.quantity = 10;
    b.typeNo = QStringLiteral("S1");
    b.quantity = 2;
    const QString ga = plantIntake(*db, a, 100, QDate(2026, 12, 1));
    const QString gb = plantIntake(*db, b, 50, QDate(2026, 12, 2));
    db->exec(QStringLiteral("UPDATE BuyPrice SET Quantity=9 WHERE StoreGUID=?"), {ga});  // one pair sold

    IntakeHistoryScreen s(ctx);
    showActive(&s);
    Grid *g = s.VSFlexGrid;
    EXPECT_EQ(s.DTBeginTime->date(), QDate(2026, 11, 9));
    ASSERT_EQ(g->rows(), 4);  // heading, total, two intakes
    const int total = g->rows() - 1;  // below the intakes
    EXPECT_EQ(g->textMatrix(total, 0), QStringLiteral("合计"));
    EXPECT_EQ(g->text(total, QStringLiteral("数量")), QStringLiteral("12"));

    // The total row: nothing happens.
    g->setRow(total);
    QTest::mouseClick(s.cmdDel, Qt::LeftButton);
    EXPECT_TRUE(prompter.messages.empty());

    const int parentCol = g->colIndex(QStringLiteral("ParentGUID"));
    g->setRow(g->findRow(ga, 1, parentCol));
    QTest::mouseClick(s.cmdDel, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("对不起，这批货已经出售不能再删除！"));
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Info);
    EXPECT_EQ(count("StoreDetail"), 2);
    // Nor corrected: the message, and the form stays open with nothing changed.
    onNextModal([&](QWidget *w) {
        auto *e = qobject_cast<IntakeEditScreen *>(w);
        ASSERT_NE(e, nullptr);
        QTest::mouseClick(e->cmdOk, Qt::LeftButton);
        EXPECT_EQ(prompter.lastText(), QStringLiteral("对不起，这批货已经出售不能再修改！"));
        EXPECT_TRUE(e->isVisible());
        e->reject();
    });
    QTest::mouseClick(s.cmdedit, Qt::LeftButton);
    EXPECT_EQ(count("Store", "GUID=?", {ga}), 1);

    // Correct the unsold one: it moves to a new Goods and takes its old place.
    g->setRow(g->findRow(gb, 1, parentCol));
    onNextModal([&](QWidget *w) {
        auto *e = qobject_cast<IntakeEditScreen *>(w);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->txtNo->text(), QStringLiteral("S1"));
        EXPECT_EQ(e->DT->date(), QDate(2026, 12, 2));
        EXPECT_EQ(e->comColour->currentIndex(), -1);  // 黑色 is not in the colour list
        e->txtQuantity->setText(QStringLiteral("3"));
        QTest::mouseClick(e->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(s.cmdedit, Qt::LeftButton);
    EXPECT_EQ(count("Store", "GUID=?", {gb}), 0);
    EXPECT_EQ(count("Store", "TypeNo='S1' AND Quantity=3 AND GoodsBlock=''"), 1);
    ASSERT_EQ(g->rows(), 4);
    const int totalAfter = g->rows() - 1;
    EXPECT_EQ(g->text(totalAfter, QStringLiteral("数量")), QStringLiteral("13"));
    const int moved = g->findRow(QStringLiteral("S1"), 1, g->colIndex(QStringLiteral("货号")));
    ASSERT_GE(moved, 1);
    EXPECT_NE(g->text(moved, QStringLiteral("ParentGUID")), gb);

    // Delete the corrected intake: its Goods goes, and its list row.
    g->setRow(moved);
    QTest::mouseClick(s.cmdDel, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("确定要删除这次进货吗？"));
    EXPECT_EQ(count("Store", "TypeNo='S1'"), 0);
    EXPECT_EQ(g->rows(), 3);
    EXPECT_EQ(g->row(), 1);  // the remaining intake, ready for the next action
    EXPECT_EQ(g->text(2, QStringLiteral("数量")), QStringLiteral("10"));
}

TEST_F(IntakeScreens, LongValuesWidenTheirColumnsAndAnEmptyHistoryStillHasItsTotal) {
    GoodsSpec a;
    a.typeNo = QStringLiteral("WZ-2026-SPRING-000123456");
    const QString price = QStringLiteral("12345678.25");
    plantIntake(*db, a, price.toDouble(), QDate(2026, 12, 1));
    const auto fits = [](Grid *g, const QString &key) {
        const int c = g->colIndex(key);
        const int needed = g->fontMetrics().horizontalAdvance(g->text(1, key));
        return g->columnWidth(c) > needed;
    };

    IntakeHistoryScreen history(ctx);
    showActive(&history);
    Grid *g = history.VSFlexGrid;
    ASSERT_EQ(g->text(1, QStringLiteral("进价")), price);
    EXPECT_TRUE(fits(g, QStringLiteral("货号")));
    EXPECT_TRUE(fits(g, QStringLiteral("进价")));

    // A search that finds nothing still ends in its total row.
    history.chkTypeNo->setChecked(true);
    history.txtNo->setText(QStringLiteral("NONE"));
    QTest::mouseClick(history.cmdQuery, Qt::LeftButton);
    ASSERT_EQ(g->rows(), 2);
    EXPECT_EQ(g->textMatrix(1, 0), QStringLiteral("合计"));
    EXPECT_EQ(g->text(1, QStringLiteral("数量")), QStringLiteral("0"));

    RestockScreen restock(ctx);
    showActive(&restock);
    EXPECT_TRUE(fits(restock.VSFlexGrid, QStringLiteral("货号")));
}

TEST_F(IntakeScreens, PriceChangeByArticleNumber) {
    GoodsSpec a, b, c;
    b.size = QStringLiteral("41");
    c.typeNo = QStringLiteral("C3");
    plantGoods(*db, a);
    plantGoods(*db, b);
    plantGoods(*db, c);
    PriceChangeScreen s(ctx);
    showActive(&s);
    Grid *g = s.VSFlexGrid;
    EXPECT_EQ(g->rows(), 4);
    g->setRow(1);
    QTest::mouseClick(s.cmdNewPrice, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("请输入正确的数据类型"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtNewPrice);

    s.txtNo->setFocus();
    QTest::keyClicks(s.txtNo, QStringLiteral("A100"));
    QTest::keyClick(s.txtNo, Qt::Key_Return);
    EXPECT_EQ(g->rows(), 3);
    EXPECT_EQ(QApplication::focusWidget(), g);
    QTest::keyClick(g, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), s.txtNewPrice);
    QTest::keyClicks(s.txtNewPrice, QStringLiteral(" 1,288 "));
    QTest::mouseClick(s.cmdChangePriceBath, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("变价成功"));
    EXPECT_EQ(count("Store", "TypeNo='A100' AND Price=1288"), 2);
    EXPECT_EQ(count("Store", "TypeNo='C3' AND Price=199"), 1);
    EXPECT_EQ(g->text(2, QStringLiteral("零售价")), QStringLiteral("1288"));

    ScreenRegistry reg;
    registerIntakeScreens(reg);
    ASSERT_NE(reg.byToolbarKey(QStringLiteral("BuyIn")), nullptr);
    EXPECT_TRUE(reg.has(QStringLiteral("BuyInDetail")));
    EXPECT_TRUE(reg.has(QStringLiteral("ChangePrice")));
}

TEST_F(IntakeScreens, NewGoodsRefusesAMissingArticleNumberOrSellingPriceAndWritesNothing) {
    int appended = 0;
    GoodsPropertyScreen s(ctx, [&](const GoodsRow &) { ++appended; });
    showActive(&s);
    s.txtPrice->setText(QStringLiteral("60"));
    s.txtQuantity->setText(QStringLiteral("2"));
    s.txtSellPrice->setText(QStringLiteral("120"));
    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("货号不能为空！"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtNo);
    s.txtNo->setText(QStringLiteral("Q1"));
    s.txtSellPrice->setText(QStringLiteral("贵"));
    QTest::mouseClick(s.cmdPutIn, Qt::LeftButton);
    EXPECT_EQ(prompter.lastText(), QStringLiteral("数据类型不正确！"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtSellPrice);
    EXPECT_EQ(appended, 0);
    EXPECT_EQ(count("Store"), 0);
}
