#include "aftersales/ui/exchange_screen.h"
#include "aftersales/ui/factory_return_screen.h"
#include "aftersales/ui/problem_goods_screen.h"
#include "aftersales/ui/replacement_dialog.h"
#include "aftersales/ui/return_screen.h"
#include "aftersales/ui/sales_rules_screen.h"
#include "aftersales/ui/void_screen.h"
#include "aftersales/ui/aftersales_screens.h"
#include "aftersales/ui/after_sales_ui.h"
#include "aftersales/problem_stock.h"
#include "aftersales/sales_rules_service.h"
#include "foundation/dictionary.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/screen_registry.h"
#include "kit/fixtures.h"
#include "../sale_kit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace kestavion::test {
namespace {

using Kind = Prompter::Kind;

class AfterSalesScreenTest : public DbTest {
protected:
    QString goods(const QString &typeNo, double price, double quantity, double buyPrice = 100) {
        GoodsSpec g;
        g.typeNo = typeNo;
        g.price = price;
        g.quantity = quantity;
        return plantIntake(*db, g, buyPrice, clock.today().addDays(-30));
    }
    void expectLast(Kind kind, const QString &text, const QString &title = kAppTitle) {
        ASSERT_NE(prompter.last(), nullptr);
        EXPECT_EQ(prompter.last()->kind, kind);
        EXPECT_EQ(prompter.last()->text, text);
        EXPECT_EQ(prompter.last()->title, title);
    }
    static void showActive(QWidget &w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    static void enter(QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }
    static void click(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); }
};

TEST_F(AfterSalesScreenTest, RegistersEveryScreenWithItsModality) {
    ScreenRegistry reg;
    registerAftersalesScreens(reg);
    for (const char *m : {"SellRole", "ClientBackChange", "ClientBack", "Question", "CompanyBack", "BlankOut"})
        EXPECT_TRUE(reg.has(QString::fromLatin1(m))) << m;
    ASSERT_NE(reg.byToolbarKey(QStringLiteral("CompanyBack")), nullptr);
    EXPECT_FALSE(reg.byMenu(QStringLiteral("CompanyBack"))->modalFromMenu);
    EXPECT_TRUE(reg.byToolbarKey(QStringLiteral("CompanyBack"))->modalFromToolbar);
    EXPECT_NE(reg.byToolbarKey(QStringLiteral("ClientBack")), nullptr);
    EXPECT_NE(reg.byToolbarKey(QStringLiteral("ClientBackChange")), nullptr);
    std::unique_ptr<QDialog> d(reg.byMenu(QStringLiteral("BlankOut"))->create(ctx, nullptr));
    EXPECT_EQ(d->objectName(), QStringLiteral("frmBlankout"));
    EXPECT_EQ(d->windowTitle(), QStringLiteral("销售作废"));
}

TEST_F(AfterSalesScreenTest, SalesRulesShowSaveAndRefuseAMissingRow) {
    ctx.session.rules.BackDays = 7;
    ctx.session.rules.SellOrder = 1;
    ctx.session.rules.ChangeOneTime = true;
    SalesRulesScreen s(ctx);
    showActive(s);
    EXPECT_EQ(s.windowTitle(), QStringLiteral("系统设置"));
    EXPECT_TRUE(s.OptB->isChecked());
    EXPECT_TRUE(s.chkIsMany->isChecked());
    EXPECT_EQ(s.txtBackdays->text(), QStringLiteral("7"));
    EXPECT_TRUE(s.optBig->isChecked());
    EXPECT_EQ(s.SSTab->tabText(2), QStringLiteral("调换规则"));

    // Tab 1 puts the focus into the days box; digits only.
    s.SSTab->setCurrentIndex(1);
    EXPECT_EQ(QApplication::focusWidget(), s.txtBackdays);
    s.txtBackdays->clear();
    QTest::keyClicks(s.txtBackdays, QStringLiteral("-1.5"));
    EXPECT_EQ(s.txtBackdays->text(), QStringLiteral("15"));
    s.txtBackdays->clear();  // empty saves 0
    s.txtChangeDays->setText(QStringLiteral("3"));
    s.chkBackSpecial->setChecked(true);
    s.OptA->setChecked(true);
    s.optSmall->setChecked(true);
    click(s.cmdSetting);
    expectLast(Kind::Info, QStringLiteral("设置成功！"));
    EXPECT_EQ(ctx.session.rules.BackDays, 0);
    EXPECT_EQ(ctx.session.rules.ChangeDays, 3);
    EXPECT_EQ(ctx.session.rules.SellOrder, 0);
    EXPECT_EQ(ctx.session.rules.PrinterType, 1);
    EXPECT_TRUE(ctx.session.rules.SpecialCanNotBack);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT ChangeDays FROM SellRole")).toInt(), 3);

    // Reopened, it shows what was saved.
    SalesRulesScreen again(ctx);
    EXPECT_EQ(again.txtChangeDays->text(), QStringLiteral("3"));
    EXPECT_TRUE(again.optSmall->isChecked());

    // No row: the refusal alone (no engine box before it), no success, the session stays.
    db->exec(QStringLiteral("DELETE FROM SellRole"));
    prompter.clear();
    s.txtChangeDays->setText(QStringLiteral("9"));
    click(s.cmdSetting);
    ASSERT_EQ(prompter.messages.size(), 1u);
    expectLast(Kind::Warning, kNoRulesRow);
    EXPECT_EQ(ctx.session.rules.ChangeDays, 3);
}

TEST_F(AfterSalesScreenTest, ReturnSearchRulesAndBothDestinations) {
    Dictionary(*db).add(QStringLiteral("退货原因"), QStringLiteral("开胶"));
    const QString g = goods(QStringLiteral("A1"), 199, 3, 80);
    const QString old = sellPair(*db, ctx.session, g,
                                 SaleSpec{.date = clock.today().addDays(-7), .sellNo = QStringLiteral("202612020001")});
    const QString fresh = sellPair(*db, ctx.session, g,
                                   SaleSpec{.sellNo = QStringLiteral("202612090001"), .amount = 150});
    ctx.session.rules.BackDays = 7;

    ReturnScreen s(ctx);
    showActive(s);
    EXPECT_TRUE(s.Opt->isChecked());
    const int reason = s.comResion->findText(QStringLiteral("开胶"));
    ASSERT_GE(reason, 0);  // the list comes from the dictionary
    s.comResion->setCurrentIndex(reason);
    // A long reason added to the list neither widens the box nor the row.
    const int boxWidth = s.comResion->width();
    const int rowWidth = s.minimumSizeHint().width();
    s.comResion->addItem(QString(60, QChar(0x957F)));
    s.comResion->setCurrentIndex(s.comResion->count() - 1);
    QApplication::processEvents();
    EXPECT_EQ(s.comResion->width(), boxWidth);
    EXPECT_EQ(s.minimumSizeHint().width(), rowWidth);
    s.comResion->setCurrentIndex(reason);
    click(s.search.cmdQuery);
    expectLast(Kind::Info, QStringLiteral("请选择条件！"));

    s.search.chkType->setChecked(true);
    s.search.txtType->setText(QStringLiteral("NONE"));
    click(s.search.cmdQuery);
    EXPECT_EQ(s.lbTip->text(), QStringLiteral("无记录！"));
    s.search.txtType->setText(QStringLiteral("A1"));
    click(s.search.cmdQuery);
    EXPECT_TRUE(s.lbTip->text().isEmpty());
    ASSERT_EQ(s.VSFlexGrid->rows(), 3);
    EXPECT_TRUE(s.VSFlexGrid->colHidden(s.VSFlexGrid->colIndex(QStringLiteral("等级"))));
    EXPECT_TRUE(s.VSFlexGrid->colHidden(1));
    EXPECT_EQ(QApplication::focusWidget(), s.VSFlexGrid);
    // The arrows move the current row straight after the search, and the amount follows.
    ASSERT_EQ(s.VSFlexGrid->row(), 1);
    QTest::keyClick(s.VSFlexGrid, Qt::Key_Down);
    EXPECT_EQ(s.VSFlexGrid->row(), 2);
    EXPECT_EQ(s.lb->text(), QStringLiteral("150"));
    QTest::keyClick(s.VSFlexGrid, Qt::Key_Up);
    EXPECT_EQ(s.VSFlexGrid->row(), 1);
    EXPECT_EQ(s.lb->text(), QStringLiteral("199"));
    const int oldRow = s.VSFlexGrid->findRow(old, 1, 1);
    const int freshRow = s.VSFlexGrid->findRow(fresh, 1, 1);
    s.VSFlexGrid->setRow(freshRow);
    EXPECT_EQ(s.lb->text(), QStringLiteral("150"));
    enter(s.VSFlexGrid);
    EXPECT_EQ(QApplication::focusWidget(), s.comResion);

    // Seven days ago is day 8: refused, nothing written.
    s.VSFlexGrid->setRow(oldRow);
    click(s.cmdOk);
    expectLast(Kind::Info, QStringLiteral("很遗憾！该商品已经超过了规定的退货时间，您无法退货！"));
    EXPECT_EQ(count(QStringLiteral("SellChange")), 0);

    // No to the question: nothing.
    s.VSFlexGrid->setRow(s.VSFlexGrid->findRow(fresh, 1, 1));
    prompter.answer({false});
    click(s.cmdOk);
    expectLast(Kind::Question, QStringLiteral("确认要退货吗？"), kTitleHint);
    EXPECT_EQ(count(QStringLiteral("SellChange")), 0);

    // Into normal stock this time.
    s.OptQuestion->setChecked(true);
    click(s.cmdOk);
    EXPECT_EQ(s.VSFlexGrid->rows(), 2);
    EXPECT_EQ(storeQuantity(*db, g), 2);
    EXPECT_EQ(count(QStringLiteral("BackStore")), 0);
    EXPECT_EQ(count(QStringLiteral("SellChange"), QStringLiteral("State=2 AND Resion=?"), {QStringLiteral("开胶")}), 1);
}

TEST_F(AfterSalesScreenTest, ExchangeOrderPairsCommitsAndStaysConsistent) {
    const QString sold = goods(QStringLiteral("A1"), 200, 3);
    const QString dear = goods(QStringLiteral("B1"), 230, 1, 120);
    const QString s1 = sellPair(*db, ctx.session, sold);
    const QString s2 = sellPair(*db, ctx.session, sold);
    ctx.session.rules.DearGoodsChange = true;

    ExchangeScreen s(ctx);
    showActive(s);
    click(s.cmdChange);
    expectLast(Kind::Info, QStringLiteral("请选择被调换的商品"));
    s.search.chkNo->setChecked(true);
    s.search.txtSellNo->setText(QStringLiteral("202612090001"));
    click(s.search.cmdQuery);
    ASSERT_EQ(s.VSFlexGrid->rows(), 3);
    const int reasonCol = s.VSFlexGrid->colIndex(QStringLiteral("调换原因"));
    ASSERT_GT(reasonCol, 0);
    EXPECT_TRUE(s.VSFlexGrid->colHidden(reasonCol));
    s.comResion->addItem(QStringLiteral("尺码小"));
    s.comResion->setCurrentText(QStringLiteral("尺码小"));

    // First row: the dialog refuses a cheaper pair, then takes the dear one.
    s.VSFlexGrid->setRow(s.VSFlexGrid->findRow(s1, 1, 1));
    onNextModal([&](QWidget *w) {
        auto *d = qobject_cast<ReplacementDialog *>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->txtAbate->text(), QStringLiteral("全"));
        QTest::keyClicks(d->txtNo, QStringLiteral("A1"));
        ASSERT_EQ(d->VSFlexGrid->rows(), 2);
        EXPECT_EQ(d->VSFlexGrid->text(1, QStringLiteral("货号")), QStringLiteral("A1"));
        d->txtNo->setText(QStringLiteral("B1"));
        ASSERT_EQ(d->VSFlexGrid->rows(), 2);
        // A special price of 0 is refused on confirm too.
        click(d->OptChangePrice);
        d->txtChangePrice->setText(QStringLiteral("0"));
        click(d->cmdOk);
        EXPECT_EQ(prompter.lastText(), QStringLiteral("特价也不可能小于0的！"));
        d->txtAbate->setFocus();
        d->txtAbate->setText(QStringLiteral("10"));
        EXPECT_EQ(d->txtAbate->text(), QStringLiteral("全"));
        enter(d->txtAbate);
        EXPECT_EQ(QApplication::focusWidget(), d->cmdOk);
        click(d->cmdOk);
    });
    click(s.cmdChange);
    ASSERT_EQ(s.VSChange->rows(), 2);
    EXPECT_EQ(s.VSChange->text(1, QStringLiteral("应收金额")), QStringLiteral("230"));
    EXPECT_EQ(s.VSChange->text(1, QStringLiteral("SellGUID")), s1);
    EXPECT_EQ(s.lbAmount->text(), QStringLiteral("230"));
    EXPECT_EQ(s.lbHave->text(), QStringLiteral("200"));
    EXPECT_EQ(s.lbBackAdd->text(), QStringLiteral("30"));
    const int r1 = s.VSFlexGrid->findRow(s1, 1, 1);
    EXPECT_EQ(s.VSFlexGrid->cellBackColor(r1, 0), kPairedColour);
    EXPECT_EQ(s.VSFlexGrid->text(r1, QStringLiteral("调换原因")), QStringLiteral("尺码小"));

    // The same row again is refused; a new search waits for the order.
    s.VSFlexGrid->setRow(r1);
    click(s.cmdChange);
    expectLast(Kind::Info, QStringLiteral("该商品已经被调换到下面的列表！"));
    click(s.search.cmdQuery);
    EXPECT_EQ(s.VSFlexGrid->rows(), 3);
    EXPECT_EQ(s.VSFlexGrid->cellBackColor(r1, 0), kPairedColour);

    // The second row cannot take the same goods: its one pair is in the order already.
    s.VSFlexGrid->setRow(s.VSFlexGrid->findRow(s2, 1, 1));
    onNextModal([&](QWidget *w) {
        auto *d = qobject_cast<ReplacementDialog *>(w);
        d->txtNo->setText(QStringLiteral("B1"));
        click(d->cmdOk);
        EXPECT_EQ(prompter.lastText(), QStringLiteral("库存不足不能调换，请通知管理员！"));
        d->reject();
    });
    click(s.cmdChange);
    EXPECT_EQ(s.VSChange->rows(), 2);

    // Del takes the replacement out and unmarks the row; pairing again works.
    s.VSChange->setRow(1);
    s.Del->trigger();
    EXPECT_EQ(s.VSChange->rows(), 1);
    EXPECT_EQ(s.lbBackAdd->text(), QStringLiteral("0"));
    EXPECT_NE(s.VSFlexGrid->cellBackColor(r1, 0), kPairedColour);
    s.VSFlexGrid->setRow(r1);
    onNextModal([&](QWidget *w) {
        auto *d = qobject_cast<ReplacementDialog *>(w);
        d->txtNo->setText(QStringLiteral("B1"));
        click(d->cmdOk);
    });
    click(s.cmdChange);
    ASSERT_EQ(s.VSChange->rows(), 2);

    // The goods sold out meanwhile: the commit's refusal alone, with the icon the
    // replacement screen gives it; nothing written, the order kept.
    db->exec(QStringLiteral("UPDATE Store SET Quantity=0 WHERE GUID=?"), {dear});
    prompter.clear();
    click(s.cmdOk);
    ASSERT_EQ(prompter.messages.size(), 1u);
    expectLast(Kind::Info, kNoReplacementStock);
    EXPECT_EQ(s.VSChange->rows(), 2);
    EXPECT_EQ(count(QStringLiteral("SellChange")), 0);
    db->exec(QStringLiteral("UPDATE Store SET Quantity=1 WHERE GUID=?"), {dear});

    click(s.cmdOk);
    expectLast(Kind::Info, QStringLiteral("调换成功！"));
    EXPECT_EQ(s.VSChange->rows(), 1);
    EXPECT_EQ(s.VSFlexGrid->rows(), 2);  // the unpaired row stays
    EXPECT_TRUE(s.lbAmount->text().isEmpty());
    EXPECT_TRUE(s.lbBackAdd->text().isEmpty());
    EXPECT_EQ(storeQuantity(*db, dear), 0);
    EXPECT_EQ(storeQuantity(*db, sold), 2);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT AddAmount FROM SellChange WHERE SellGUID=?"), {s1}).toDouble(), 30);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT Resion FROM SellChange WHERE SellGUID=?"), {s1}).toString(),
              QStringLiteral("尺码小"));
}

// A search shows its first page; moving to the end of the list reads the next one.
TEST_F(AfterSalesScreenTest, ReturnListReadsTheNextPageAtItsEnd) {
    const int total = 2 * kSaleSearchPage + 10;
    db->begin();
    for (int i = 0; i < total; ++i)  // three pairs to a sale
        db->exec(QStringLiteral("INSERT INTO Sell (GUID,ShopNo,SellNo,TypeNo,State,DateTime) VALUES (?,?,?,'A1',0,?)"),
                 {QStringLiteral("{G%1}").arg(i, 4, 10, QLatin1Char('0')), kShopKey,
                  QStringLiteral("20261209%1").arg(i / 3, 4, 10, QLatin1Char('0')), clock.today().toString(Qt::ISODate)});
    db->commit();
    ReturnScreen s(ctx);
    showActive(s);
    s.search.chkType->setChecked(true);
    s.search.txtType->setText(QStringLiteral("A1"));
    click(s.search.cmdQuery);
    ASSERT_EQ(s.VSFlexGrid->rows(), kSaleSearchPage + 1);
    EXPECT_EQ(s.VSFlexGrid->row(), 1);
    QTest::keyClick(s.VSFlexGrid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(s.VSFlexGrid->rows(), 2 * kSaleSearchPage + 1);
    QTest::keyClick(s.VSFlexGrid, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(s.VSFlexGrid, Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(s.VSFlexGrid->rows(), total + 1);
    EXPECT_EQ(s.VSFlexGrid->text(total, QStringLiteral("GUID")), QStringLiteral("{G%1}").arg(total - 1, 4, 10, QLatin1Char('0')));
    EXPECT_EQ(s.VSFlexGrid->text(kSaleSearchPage + 1, QStringLiteral("GUID")),
              QStringLiteral("{G%1}").arg(kSaleSearchPage, 4, 10, QLatin1Char('0')));
    // A search that finds nothing leaves the list as it was.
    s.search.txtType->setText(QStringLiteral("NONE"));
    click(s.search.cmdQuery);
    EXPECT_EQ(s.lbTip->text(), QStringLiteral("无记录！"));
    EXPECT_EQ(s.VSFlexGrid->rows(), total + 1);
}

TEST_F(AfterSalesScreenTest, VoidLooksUpAndVoidsTheCurrentRow) {
    const QString g = goods(QStringLiteral("A1"), 100, 2);
    const QString sale = sellPair(*db, ctx.session, g, SaleSpec{.sellNo = QStringLiteral("202612090007")});
    VoidScreen s(ctx);
    showActive(s);
    s.txtSellNo->setFocus();
    QTest::keyClicks(s.txtSellNo, QStringLiteral("202612090008"));
    enter(s.txtSellNo);
    EXPECT_EQ(s.lbTip->text(), QStringLiteral("该销售编号不存在！"));
    s.txtSellNo->setText(QStringLiteral("202612090007"));
    enter(s.txtSellNo);
    ASSERT_EQ(s.VSFlexGrid->rows(), 2);
    EXPECT_FALSE(s.VSFlexGrid->colHidden(s.VSFlexGrid->colIndex(QStringLiteral("等级"))));
    EXPECT_EQ(QApplication::focusWidget(), s.VSFlexGrid);
    enter(s.VSFlexGrid);
    EXPECT_EQ(QApplication::focusWidget(), s.comResion);
    click(s.cmdOk);
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("确认要作废该次售货吗？"));
    EXPECT_EQ(s.VSFlexGrid->rows(), 1);
    EXPECT_EQ(storeQuantity(*db, g), 2);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT State FROM Sell WHERE GUID=?"), {sale}).toInt(), 3);
    EXPECT_EQ(count(QStringLiteral("SellChange"), QStringLiteral("State=3")), 1);
}

TEST_F(AfterSalesScreenTest, ProblemGoodsPendingLinesAndConfirm) {
    GoodsSpec pair;
    pair.typeNo = QStringLiteral("Q1");
    pair.quantity = 5;
    const QString g = plantIntake(*db, pair, 60, clock.today().addDays(-5));
    pair.typeNo = QStringLiteral("Q0");
    pair.quantity = 0;
    plantGoods(*db, pair);
    ProblemGoodsScreen s(ctx);
    showActive(s);
    EXPECT_EQ(s.VSFlexGrid->rows(), 2);  // only goods with stock at first

    s.txtNo->setText(QStringLiteral("Q1"));
    enter(s.txtNo);
    EXPECT_EQ(QApplication::focusWidget(), s.VSFlexGrid);
    enter(s.VSFlexGrid);
    EXPECT_EQ(QApplication::focusWidget(), s.txtQuatity);
    s.txtQuatity->setText(QStringLiteral("1.5"));
    enter(s.txtQuatity);
    expectLast(Kind::Info, QStringLiteral("数量的数据类型不正确！"));
    EXPECT_EQ(QApplication::focusWidget(), s.txtQuatity);
    s.txtQuatity->setText(QStringLiteral("0"));
    click(s.cmdAddQuestion);
    expectLast(Kind::Info, QStringLiteral("数量的不能小于0！"));
    s.txtQuatity->setText(QStringLiteral("3"));
    enter(s.txtQuatity);
    EXPECT_EQ(QApplication::focusWidget(), s.comResion);
    enter(s.comResion);
    EXPECT_EQ(QApplication::focusWidget(), s.cmdAddQuestion);
    enter(s.cmdAddQuestion);  // Enter on the button adds the line
    ASSERT_EQ(s.VSQuestion->rows(), 2);
    EXPECT_EQ(s.VSFlexGrid->text(1, QStringLiteral("数量")), QStringLiteral("2"));
    click(s.cmdAddQuestion);
    expectLast(Kind::Info, QStringLiteral("库存不足不能转化成问题歇，请通知管理员！"));
    EXPECT_EQ(s.VSQuestion->rows(), 2);
    // Searched again, the list still counts the pending line.
    enter(s.txtNo);
    EXPECT_EQ(s.VSFlexGrid->text(1, QStringLiteral("数量")), QStringLiteral("2"));

    // An article without stock is listed but cannot be added.
    s.txtNo->setText(QStringLiteral("Q0"));
    enter(s.txtNo);
    ASSERT_EQ(s.VSFlexGrid->rows(), 2);
    s.txtQuatity->setText(QStringLiteral("1"));
    click(s.cmdAddQuestion);
    expectLast(Kind::Info, QStringLiteral("库存不足不能转化成问题歇，请通知管理员！"));

    click(s.cmdOk);
    expectLast(Kind::Info, QStringLiteral("处理成功！"));
    EXPECT_EQ(s.VSQuestion->rows(), 1);
    EXPECT_EQ(storeQuantity(*db, g), 2);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT BuyPrice FROM BackStore")).toDouble(), 180);
    prompter.clear();
    click(s.cmdOk);  // empty list: nothing
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AfterSalesScreenTest, FactoryReturnTicksAmountsAndChecks) {
    const QString a = goods(QStringLiteral("A1"), 200, 1, 120);
    const QString b = goods(QStringLiteral("B1"), 100, 1, 45.5);
    ProblemStock(*db, ctx.session).setAside({{a, 1, {}}, {b, 1, {}}});
    FactoryReturnScreen s(ctx);
    showActive(s);
    EXPECT_EQ(s.DT->date(), clock.today());
    ASSERT_EQ(s.VSFlexGrid->rows(), 3);
    const int tick = s.VSFlexGrid->colIndex(QStringLiteral("选中"));
    ASSERT_GT(tick, 0);
    EXPECT_TRUE(s.VSFlexGrid->colHidden(s.VSFlexGrid->colIndex(QStringLiteral("ID"))));

    click(s.cmdRegist);  // empty amount text
    expectLast(Kind::Info, QStringLiteral("请输入正确的退货金额！"));
    s.txtAmount->setText(QStringLiteral("0"));
    click(s.cmdRegist);
    expectLast(Kind::Info, QStringLiteral("请选择要退的商品！"));

    click(s.cmdAll);
    EXPECT_EQ(s.txtAmount->text(), QStringLiteral("165.5"));
    EXPECT_EQ(s.VSFlexGrid->textMatrix(1, tick), QStringLiteral("-1"));
    s.VSFlexGrid->setCellChecked(2, tick, false);
    emit s.VSFlexGrid->checkToggled(2, tick, false);
    EXPECT_EQ(s.txtAmount->text(), s.VSFlexGrid->text(1, QStringLiteral("进价")));
    s.txtAmount->setText(QStringLiteral("-1"));
    click(s.cmdRegist);
    expectLast(Kind::Info, QStringLiteral("请输入大于0的数字！"));
    EXPECT_EQ(count(QStringLiteral("FactoryBackTotal")), 0);

    s.txtAmount->setText(QStringLiteral("0"));
    click(s.cmdRegist);
    expectLast(Kind::Info, QStringLiteral("退货成功！"));
    EXPECT_EQ(s.VSFlexGrid->rows(), 2);
    EXPECT_EQ(count(QStringLiteral("FactoryBackTotal"), QStringLiteral("Amount=0 AND Quantity=1")), 1);
    FactoryReturnScreen again(ctx);
    EXPECT_EQ(again.VSFlexGrid->rows(), 2);
}

}  // namespace
}  // namespace kestavion::test
