#include "foundation/ui/file_health_notice.h"
#include "foundation/ui/grid.h"
#include "foundation/ui/printer_access.h"
#include "kit/fixtures.h"
#include "selling/receipt.h"
#include "selling/fake_network_printer.h"
#include "selling/ui/escpos_printer_access.h"
#include "selling/ui/sale_screen.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kestavion;
using namespace kestavion::test;
using Kind = Prompter::Kind;

namespace {

// Keeps every job it is given; refuses them all when `present` is false.
class RecordingPrinter final : public PrinterAccess {
public:
    bool print(const PrintJob &job) override {
        if (!present) return false;
        jobs.push_back(job);
        return true;
    }
    bool present = true;
    std::vector<PrintJob> jobs;
};

class SaleScreenTest : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        GoodsSpec a;
        a.typeNo = QStringLiteral("A100");
        a.quantity = 3;
        a.price = 199;
        guidA = plantGoods(*db, a);
        lotA1 = plantLot(*db, guidA, 80, 1, QDate(2026, 10, 1));
        lotA2 = plantLot(*db, guidA, 90, 2, QDate(2026, 11, 1));
        GoodsSpec b;
        b.typeNo = QStringLiteral("B200");
        b.name = QStringLiteral("运动鞋");
        b.quantity = 2;
        b.price = 299;
        guidB = plantIntake(*db, b, 150, QDate(2026, 11, 5));
        GoodsSpec gone;
        gone.typeNo = QStringLiteral("A999");
        gone.quantity = 0;
        plantGoods(*db, gone);
        ctx.printer = &printer;
    }

    std::unique_ptr<SaleScreen> open() {
        auto s = std::make_unique<SaleScreen>(ctx);
        s->show();
        QApplication::setActiveWindow(s.get());
        return s;
    }
    // A key pressed where the focus is, as the keyboard would.
    void press(SaleScreen &s, int key, const QString &text = {}) {
        QWidget *target = s.focusWidget() ? s.focusWidget() : &s;
        if (text.isEmpty())
            QTest::keyClick(target, static_cast<Qt::Key>(key));
        else
            QTest::keyClicks(target, text);
    }
    void enter(SaleScreen &s) { press(s, Qt::Key_Return); }
    void type(SaleScreen &s, const QString &text) { press(s, 0, text); }

    QString guidA, guidB;
    qint64 lotA1 = 0, lotA2 = 0;
    RecordingPrinter printer;
};

}  // namespace

TEST_F(SaleScreenTest, AKeyboardOnlySaleWritesTheRowsAndPrints) {
    setRule(QStringLiteral("IsPrint"), 1);
    setRule(QStringLiteral("PrinterType"), 1);
    auto s = open();
    EXPECT_EQ(s->objectName(), QStringLiteral("frmSell"));
    EXPECT_EQ(s->windowTitle(), QStringLiteral("售货"));
    EXPECT_EQ(s->lbNo->text(), QStringLiteral("202612090001"));
    EXPECT_EQ(s->lbOpt->text(), QStringLiteral("管理员"));
    EXPECT_EQ(s->VSFlexGrid->rows(), 3);  // goods out of stock are not listed
    EXPECT_EQ(s->VSSell->cols(), 14);
    EXPECT_EQ(s->VSSell->textMatrix(0, 13), QStringLiteral("应收金额"));
    EXPECT_EQ(s->cmdAdd->text(), QStringLiteral("加 单(&A)"));
    EXPECT_EQ(s->cmdCheckOut->text(), QStringLiteral("结 帐(&C)"));
    EXPECT_EQ(s->focusWidget(), s->txtNo);

    // First goods: found by part of its article number, 3 pairs at 8.5.
    type(*s, QStringLiteral("100"));
    ASSERT_EQ(s->VSFlexGrid->rows(), 2);
    EXPECT_EQ(s->txtPrice->text(), QStringLiteral("199"));
    enter(*s);  // a scanner's Enter moves on to the goods list
    EXPECT_EQ(s->focusWidget(), s->VSFlexGrid);
    enter(*s);
    EXPECT_EQ(s->focusWidget(), s->txtQuatity);
    type(*s, QStringLiteral("3"));
    enter(*s);
    EXPECT_EQ(s->focusWidget(), s->txtAbate);
    EXPECT_TRUE(s->OptAbate->isChecked());
    type(*s, QStringLiteral("8.5"));
    enter(*s);
    EXPECT_EQ(s->focusWidget(), s->txtReciveAmout);
    ASSERT_EQ(s->VSSell->rows(), 4);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(s->VSSell->text(r, QStringLiteral("数量")), QStringLiteral("1"));
        EXPECT_EQ(s->VSSell->text(r, QStringLiteral("折扣")), QStringLiteral("8.5"));
        EXPECT_EQ(s->VSSell->text(r, QStringLiteral("应收金额")), QStringLiteral("169"));
        EXPECT_EQ(s->VSSell->text(r, QStringLiteral("GUID")), guidA);
    }
    EXPECT_EQ(s->lbAmount->text(), QStringLiteral("507"));
    EXPECT_TRUE(FileHealthNotice::saleInProgress());  // a damaged-file notice waits

    // "+" goes back to the article number and is not typed.
    type(*s, QStringLiteral("+"));
    EXPECT_EQ(s->focusWidget(), s->txtNo);
    EXPECT_EQ(s->txtReciveAmout->text(), QString());

    // Second goods at a special price: Down from the discount box.
    s->txtNo->selectAll();
    type(*s, QStringLiteral("B2"));
    press(*s, Qt::Key_Down);
    EXPECT_EQ(s->focusWidget(), s->VSFlexGrid);
    enter(*s);
    type(*s, QStringLiteral("1"));
    enter(*s);
    press(*s, Qt::Key_Down);
    EXPECT_EQ(s->focusWidget(), s->txtChangePrice);
    EXPECT_TRUE(s->OptChangePrice->isChecked());
    type(*s, QStringLiteral("250"));
    enter(*s);
    EXPECT_EQ(s->lbAmount->text(), QStringLiteral("757"));
    EXPECT_EQ(s->VSSell->text(4, QStringLiteral("折扣")), QStringLiteral("特价"));

    type(*s, QStringLiteral("800"));
    EXPECT_EQ(s->lb->text(), QStringLiteral("43"));
    enter(*s);

    // Confirmed with the default answer (Yes) and written.
    ASSERT_FALSE(prompter.messages.empty());
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("确认要结帐吗？"));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("询问"));
    EXPECT_EQ(prompter.messages.back().kind, Kind::Question);
    EXPECT_EQ(count(QStringLiteral("Sell"), QStringLiteral("SellNo='202612090001' AND Money1=800 AND Money2=43")), 4);
    EXPECT_EQ(count(QStringLiteral("Sell"), QStringLiteral("Amount=169 AND Abate='8.5'")), 3);
    EXPECT_EQ(count(QStringLiteral("Sell"), QStringLiteral("Amount=250 AND Abate='特价' AND BuyPrice=150")), 1);
    EXPECT_EQ(storeQuantity(*db, guidA), 0);
    EXPECT_EQ(storeQuantity(*db, guidB), 1);
    EXPECT_EQ(lotQuantity(*db, lotA1), 0);
    EXPECT_EQ(lotQuantity(*db, lotA2), 0);

    // The receipt, then an empty till for the next customer.
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_TRUE(printer.jobs[0][1].text.contains(QStringLiteral("销售编号：202612090001")));
    EXPECT_TRUE(printer.jobs[0][1].text.contains(QStringLiteral("B200      自有品牌 1 299  特价 250  ")));
    EXPECT_EQ(printer.jobs[0][0].fontSize, 10);
    EXPECT_TRUE(printer.jobs[0][0].bold);
    EXPECT_EQ(s->VSSell->rows(), 1);
    EXPECT_EQ(s->lbAmount->text(), QString());
    EXPECT_EQ(s->lb->text(), QString());
    EXPECT_EQ(s->txtReciveAmout->text(), QString());
    EXPECT_EQ(s->txtQuatity->text(), QStringLiteral("1"));
    EXPECT_EQ(s->lbNo->text(), QStringLiteral("202612090002"));
    EXPECT_EQ(s->focusWidget(), s->txtNo);
    EXPECT_FALSE(FileHealthNotice::saleInProgress());
    EXPECT_EQ(s->txtNo->text(), QStringLiteral("B2"));
    EXPECT_EQ(s->VSFlexGrid->text(1, QStringLiteral("数量")), QStringLiteral("1"));
    // The next search works on the stock as stored: the sold-out A100 is gone.
    s->txtNo->clear();
    ASSERT_EQ(s->VSFlexGrid->rows(), 2);
    EXPECT_EQ(s->VSFlexGrid->text(1, QStringLiteral("货号")), QStringLiteral("B200"));

    // F8 reprints that sale.
    press(*s, Qt::Key_F8);
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("确定要进行重复打印吗？"));
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[1][0].fontSize, 0);
    EXPECT_TRUE(printer.jobs[1][1].text.contains(QStringLiteral("销售编号：202612090001")));
}

TEST_F(SaleScreenTest, RefusalsShowTheirMessageAndAddNothing) {
    auto s = open();
    type(*s, QStringLiteral("A100"));
    enter(*s);
    enter(*s);
    ASSERT_EQ(s->focusWidget(), s->txtQuatity);

    const auto expectMessage = [&](Kind kind, const QString &text) {
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_EQ(prompter.messages.back().kind, kind);
        EXPECT_EQ(prompter.messages.back().text, text);
        EXPECT_EQ(prompter.messages.back().title, kAppTitle);
        prompter.clear();
    };
    type(*s, QStringLiteral("0.4"));
    enter(*s);
    expectMessage(Kind::Info, QStringLiteral("数量的数据类型不正确！"));
    EXPECT_EQ(s->focusWidget(), s->txtQuatity);
    s->txtQuatity->setText(QStringLiteral("0"));
    enter(*s);
    expectMessage(Kind::Info, QStringLiteral("数量的不能小于0！"));
    s->txtQuatity->setText(QStringLiteral("4"));
    enter(*s);
    expectMessage(Kind::Info, QStringLiteral("库存不足不能结帐，请通知管理员！"));
    s->txtQuatity->setText(QStringLiteral("2"));
    enter(*s);
    EXPECT_EQ(s->focusWidget(), s->txtAbate);

    // Discount bounds; 10 or more turns into "全" at once.
    type(*s, QStringLiteral("9.95"));
    enter(*s);
    expectMessage(Kind::Warning, QStringLiteral("请输入0.1-10的数字或小数！"));
    EXPECT_EQ(s->focusWidget(), s->txtAbate);
    s->txtAbate->setText(QStringLiteral("abc"));
    enter(*s);
    expectMessage(Kind::Warning, QStringLiteral("数量的数据类型不正确！"));
    // A discount has no grouping: "8,5" is not read as 85 and not turned into "全".
    s->txtAbate->clear();
    type(*s, QStringLiteral("8,5"));
    EXPECT_EQ(s->txtAbate->text(), QStringLiteral("8,5"));
    enter(*s);
    expectMessage(Kind::Warning, QStringLiteral("请输入0.1-10的数字或小数！"));
    EXPECT_TRUE(s->saleList().empty());
    s->txtAbate->clear();
    type(*s, QStringLiteral("10"));
    EXPECT_EQ(s->txtAbate->text(), QStringLiteral("全"));

    // Special price: dearer than retail, below 0, not a number.
    press(*s, Qt::Key_F3);
    EXPECT_TRUE(s->OptChangePrice->isChecked());
    type(*s, QStringLiteral("200"));
    enter(*s);
    expectMessage(Kind::Warning, QStringLiteral("特价比零售价还要贵么？"));
    EXPECT_EQ(s->focusWidget(), s->txtChangePrice);
    s->txtChangePrice->setText(QStringLiteral("-1"));
    enter(*s);
    expectMessage(Kind::Warning, QStringLiteral("特价也不可能小于0的！"));
    s->txtChangePrice->setText(QStringLiteral("x"));
    enter(*s);
    expectMessage(Kind::Warning, QStringLiteral("请输入有效数字！"));
    EXPECT_TRUE(s->saleList().empty());

    // Payment box swallows keys while the list is empty.
    press(*s, Qt::Key_F4);
    type(*s, QStringLiteral("12+"));
    EXPECT_EQ(s->txtReciveAmout->text(), QString());
    EXPECT_EQ(s->focusWidget(), s->txtReciveAmout);

    // Special price equal to retail is fine; with 2 listed of 3 on hand, 2 more are refused.
    press(*s, Qt::Key_F3);
    s->txtChangePrice->setText(QStringLiteral("199"));
    enter(*s);
    EXPECT_EQ(s->saleList().size(), 2);
    EXPECT_EQ(s->lbAmount->text(), QStringLiteral("398"));
    press(*s, Qt::Key_F3);
    enter(*s);
    expectMessage(Kind::Warning, QStringLiteral("库存不足不能结帐，请通知管理员！"));
    EXPECT_EQ(s->saleList().size(), 2);

    // More than a money box takes: our own message, the box selected, nothing written.
    press(*s, Qt::Key_F4);
    type(*s, QStringLiteral("12345678901234567890123"));
    EXPECT_EQ(s->lb->text(), QString());
    enter(*s);
    expectMessage(Kind::Warning, kMoneyTooLarge);
    EXPECT_EQ(s->focusWidget(), s->txtReciveAmout);
    EXPECT_EQ(count(QStringLiteral("Sell")), 0);

    // Not enough paid.
    press(*s, Qt::Key_F4);
    type(*s, QStringLiteral("397"));
    EXPECT_EQ(s->lb->text(), QString());
    enter(*s);
    expectMessage(Kind::Warning, QStringLiteral("对不起所付金额不足，不能结帐！"));
    EXPECT_EQ(count(QStringLiteral("Sell")), 0);

    // Esc asks before throwing the list away; No keeps it.
    prompter.answer({false});
    press(*s, Qt::Key_Escape);
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(prompter.messages.back().kind, Kind::Question);
    prompter.clear();

    // Del removes the current line, the pop-up's "取消" too; the last one empties the total.
    press(*s, Qt::Key_Delete);
    EXPECT_EQ(s->saleList().size(), 1);
    EXPECT_EQ(s->lbAmount->text(), QStringLiteral("199"));
    EXPECT_EQ(s->Cancel->text(), QStringLiteral("取消"));
    s->Cancel->trigger();
    EXPECT_TRUE(s->saleList().empty());
    EXPECT_EQ(s->lbAmount->text(), QString());
    EXPECT_EQ(s->focusWidget(), s->VSFlexGrid);
    EXPECT_EQ(s->VSSell->rows(), 1);

    // A search with no match empties the list and keeps the price; adding is refused.
    press(*s, Qt::Key_F5);
    s->txtNo->setText(QStringLiteral("ZZZ"));
    EXPECT_EQ(s->VSFlexGrid->rows(), 1);
    EXPECT_EQ(s->txtPrice->text(), QStringLiteral("199"));
    press(*s, Qt::Key_F1);
    enter(*s);
    expectMessage(Kind::Info, QStringLiteral("请选择一个商品！"));

    // Nothing sold today: no reprint (POS printer: information icon).
    setRule(QStringLiteral("PrinterType"), 1);
    press(*s, Qt::Key_F8);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("确定要进行重复打印吗？"));
    EXPECT_EQ(prompter.messages[1].text, QStringLiteral("对不起今天还没有销售，不能重新打印！"));
    EXPECT_EQ(prompter.messages[1].kind, Kind::Info);
    EXPECT_TRUE(printer.jobs.empty());
    EXPECT_EQ(count(QStringLiteral("Sell")), 0);
}

TEST_F(SaleScreenTest, AFailedCheckoutKeepsTheListAndAMissingPrinterKeepsTheSale) {
    setRule(QStringLiteral("IsPrint"), 1);
    auto s = open();
    type(*s, QStringLiteral("B200"));
    enter(*s);
    enter(*s);
    enter(*s);  // quantity 1
    enter(*s);  // full price
    type(*s, QStringLiteral("300"));

    db->exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Sell BEGIN SELECT RAISE(ABORT,'disk full'); END"));
    enter(*s);
    EXPECT_EQ(prompter.messages.back().kind, Kind::Plain);
    EXPECT_TRUE(prompter.messages.back().text.contains(QStringLiteral("disk full")));
    EXPECT_EQ(s->saleList().size(), 1);
    EXPECT_EQ(s->lbAmount->text(), QStringLiteral("299"));
    EXPECT_EQ(s->lb->text(), QStringLiteral("1"));
    EXPECT_EQ(s->txtReciveAmout->text(), QStringLiteral("300"));
    EXPECT_EQ(storeQuantity(*db, guidB), 2);

    db->exec(QStringLiteral("DROP TRIGGER refuse"));
    printer.present = false;
    prompter.clear();
    s->cmdCheckOut->click();
    EXPECT_EQ(count(QStringLiteral("Sell"), QStringLiteral("SellNo='202612090001'")), 1);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, QStringLiteral("没有发现打印机！"));
    EXPECT_EQ(prompter.messages[1].kind, Kind::Warning);  // dot-matrix layout
    EXPECT_TRUE(s->saleList().empty());
    EXPECT_EQ(s->lbNo->text(), QStringLiteral("202612090002"));

    // With nothing on the list the payment box takes no keys, but Esc still closes.
    prompter.clear();
    press(*s, Qt::Key_F4);
    press(*s, Qt::Key_Escape);
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(prompter.messages.empty());
}

// Another till sold the last pairs while these were on the list: the seller is told
// what is left, the goods list shows it, and nothing is sold.
TEST_F(SaleScreenTest, PairsSoldElsewhereMeanwhileAreRefusedAndTheGoodsListShowsWhatIsLeft) {
    auto s = open();
    type(*s, QStringLiteral("A100"));
    enter(*s);
    enter(*s);
    type(*s, QStringLiteral("2"));
    enter(*s);
    enter(*s);  // full price
    type(*s, QStringLiteral("400"));
    // The other till's sale: two of the three pairs, and the shop's first number today.
    db->exec(QStringLiteral("UPDATE Store SET Quantity=1 WHERE GUID=?"), {guidA});
    db->exec(QStringLiteral("INSERT INTO Sell (GUID,StoreGUID,ShopNo,SellNo,DateTime,State) VALUES (?,?,?,?,?,0)"),
             {QStringLiteral("{other}"), guidA, kShopKey, QStringLiteral("202612090001"), QDate(2026, 12, 9)});
    prompter.clear();
    enter(*s);
    ASSERT_EQ(prompter.messages.size(), 2u);  // the question, then the refusal
    EXPECT_EQ(prompter.messages[1].kind, Kind::Warning);
    EXPECT_EQ(prompter.messages[1].text,
              QStringLiteral("货号 A100（40码 黑色）库存不足，只剩 1 双。\n可能刚被别的收银台卖出，请重新查询后再试。"));
    EXPECT_EQ(s->VSFlexGrid->text(1, QStringLiteral("数量")), QStringLiteral("1"));
    EXPECT_EQ(s->lbNo->text(), QStringLiteral("202612090002"));
    EXPECT_EQ(s->saleList().size(), 2);
    EXPECT_EQ(count(QStringLiteral("Sell")), 1);
    EXPECT_EQ(lotQuantity(*db, lotA1) + lotQuantity(*db, lotA2), 3);
}

// A thermal printer of this machine: the sale is stored first, whatever the printer
// does; its receipt is laid out in characters; a silent or paperless printer only
// says so, and F8 prints the sale once the printer is back.
TEST_F(SaleScreenTest, ThermalPrinterNeverHoldsUpASale) {
    setRule(QStringLiteral("IsPrint"), 1);
    FakeNetworkPrinter silent{QByteArray()};
    EscPosSettings settings;
    settings.enabled = true;
    settings.device = silent.address();
    EscPosPrinterAccess thermal(settings);
    ctx.printer = &thermal;
    auto s = open();
    auto sellB200 = [&] {
        type(*s, QStringLiteral("B200"));
        enter(*s);
        enter(*s);
        enter(*s);
        enter(*s);
        type(*s, QStringLiteral("300"));
        enter(*s);
    };
    sellB200();
    EXPECT_EQ(count(QStringLiteral("Sell"), QStringLiteral("SellNo='202612090001'")), 1);
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("没有发现打印机！"));
    EXPECT_TRUE(s->saleList().empty());
    EXPECT_EQ(silent.received(), escpos::kStatusQuery);

    FakeNetworkPrinter noPaper(QByteArray("\x12\x72", 2));
    settings.device = noPaper.address();
    EscPosPrinterAccess paperless(settings);
    ctx.printer = &paperless;
    s->txtNo->clear();
    sellB200();
    EXPECT_EQ(count(QStringLiteral("Sell"), QStringLiteral("SellNo='202612090002'")), 1);
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("打印机缺纸，请装纸后按F8重新打印！"));

    // Paper in (a device that takes the bytes): F8 prints the last sale in GB18030.
    QTemporaryDir dir;
    settings.device = dir.filePath(QStringLiteral("lp0"));
    {
        QFile f(settings.device);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EscPosPrinterAccess ready(settings);
    ctx.printer = &ready;
    press(*s, Qt::Key_F8);
    QFile f(settings.device);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QStringDecoder("GB18030").decode(f.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("结帐单（重打）")));
    EXPECT_TRUE(text.contains(QStringLiteral("销售编号：          202612090002")));
    ctx.printer = &printer;
}

// A till closed without checkout or Esc (a crash) leaves its list: the next opening by
// the same seller asks, restores what can still be sold, names what cannot, and puts
// the focus on the payment. No drops the kept list; Esc then abandons it for good.
TEST_F(SaleScreenTest, AListLeftByACrashIsOfferedBackOnOpening) {
    auto addPairs = [&](SaleScreen &s, const QString &typeNo, const QString &quantity) {
        press(s, Qt::Key_F5);
        s.txtNo->clear();
        type(s, typeNo);
        enter(s);
        enter(s);
        type(s, quantity);
        enter(s);
        type(s, QStringLiteral("8.5"));
        enter(s);
    };
    auto reopen = [&] {
        prompter.clear();
        auto s = open();
        QApplication::processEvents();  // the question comes once the till is shown
        return s;
    };
    {
        auto s = open();
        addPairs(*s, QStringLiteral("A100"), QStringLiteral("2"));
        addPairs(*s, QStringLiteral("B200"), QStringLiteral("1"));
        ASSERT_EQ(s->saleList().size(), 3);
    }  // gone without a word, as in a crash
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 3);
    db->exec(QStringLiteral("UPDATE Store SET Quantity=0 WHERE GUID=?"), {guidB});

    auto s = reopen();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("恢复上次未结帐的预售列表？"));
    EXPECT_EQ(prompter.messages[0].kind, Kind::Question);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("提示"));
    EXPECT_EQ(prompter.messages[1].kind, Kind::Warning);
    EXPECT_EQ(prompter.messages[1].text, QStringLiteral("以下商品不能再恢复到预售列表，已去掉：\n"
                                                        "货号 B200 尺码 40 颜色 黑色：库存不足"));
    EXPECT_EQ(s->VSSell->rows(), 3);
    EXPECT_EQ(s->lbAmount->text(), QStringLiteral("338"));
    EXPECT_EQ(s->focusWidget(), s->txtReciveAmout);
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 2);
    press(*s, Qt::Key_F7);
    press(*s, Qt::Key_Delete);  // a pair taken off the list leaves the kept list too
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 1);

    s.reset();
    prompter.answer({false});
    s = reopen();
    EXPECT_EQ(prompter.texts(), QStringList({QStringLiteral("恢复上次未结帐的预售列表？")}));
    EXPECT_TRUE(s->saleList().empty());
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 0);

    addPairs(*s, QStringLiteral("A100"), QStringLiteral("1"));
    press(*s, Qt::Key_Escape);  // Yes: the sale is abandoned, its kept copy too
    EXPECT_FALSE(s->isVisible());
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 0);
    s = reopen();
    EXPECT_TRUE(prompter.messages.empty());
}

// A kept list that cannot be written never stops the sale: said once, and the next
// write that succeeds keeps the whole list.
TEST_F(SaleScreenTest, AFailingKeptListIsToldOnceAndTheSaleGoesOn) {
    auto s = open();
    auto addOne = [&](const QString &typeNo) {
        press(*s, Qt::Key_F5);
        s->txtNo->clear();
        type(*s, typeNo);
        enter(*s);
        enter(*s);
        enter(*s);
        enter(*s);
    };
    db->exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON PendingSaleLine BEGIN SELECT RAISE(ABORT,'disk full'); END"));
    addOne(QStringLiteral("A100"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, Kind::Warning);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(QStringLiteral("预售列表没能保存到数据库（disk full）")));
    EXPECT_EQ(s->focusWidget(), s->txtReciveAmout);
    addOne(QStringLiteral("B200"));
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(s->saleList().size(), 2);

    db->exec(QStringLiteral("DROP TRIGGER refuse"));
    addOne(QStringLiteral("A100"));
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 3);
    type(*s, QStringLiteral("1000"));
    enter(*s);
    EXPECT_EQ(count(QStringLiteral("Sell")), 3);
    EXPECT_EQ(count(QStringLiteral("PendingSaleLine")), 0);
}
