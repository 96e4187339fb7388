#include "kit/fixtures.h"
#include "selling/checkout.h"
#include "selling/receipt.h"

using namespace kestavion;
using namespace kestavion::test;

namespace {

QString S(int n) { return QString(n, QLatin1Char(' ')); }
const QString kSep40 = S(4) + QString(40, QChar(0x2026));
const QString kSep20 = QString(20, QChar(0x2026));

ReceiptData threePairs() {
    ReceiptData d;
    d.shopName = QStringLiteral("测试鞋店");
    d.time = QDateTime(QDate(2026, 12, 9), QTime(10, 0, 5));
    d.seller = QStringLiteral("管理员");
    d.sellNo = QStringLiteral("202612090001");
    const ReceiptPair a{QStringLiteral("A100"), QStringLiteral("自有品牌"), QStringLiteral("男皮鞋"),
                        QStringLiteral("40"),   QStringLiteral("1"),        QStringLiteral("199"),
                        QStringLiteral("8.5"),  QStringLiteral("169")};
    const ReceiptPair b{QStringLiteral("B2"), QStringLiteral("x"),   QStringLiteral("运动鞋"), QStringLiteral("41"),
                        QStringLiteral("1"),  QStringLiteral("299"), QStringLiteral("全"),     QStringLiteral("299")};
    d.pairs = {a, a, b};
    d.payment = QStringLiteral("700");
    d.change = QStringLiteral("63");
    return d;
}

const QString kPairA = QStringLiteral("A100    自有品牌    男皮鞋     40        1      199          8.5          169");
const QString kPairB = QStringLiteral("B2    x    运动鞋     41        1      299          全          299");

QStringList dotBody(int indent, const QString &sellNo) {
    return {S(indent) + QStringLiteral("销售时间：2026-12-09 10:00:05"),
            S(indent) + QStringLiteral("销 售 员：    管理员"),
            S(indent) + QStringLiteral("销售编号：") + sellNo,
            QString(),
            kSep40,
            QStringLiteral(" 货号    品牌      种类     尺码    数量    零售价    折扣/特价    实收金额"),
            QString(), kPairA, QString(), kPairA, QString(), kPairB,
            QString(),
            kSep40,
            QStringLiteral("    数    量：3         应收合计：697       实收合计：637"),
            QString(),
            QStringLiteral("    优惠合计：60        客人付款：700       找回金额：63"),
            kSep40,
            QStringLiteral("               欢迎再次光临  多谢惠顾")};
}

QStringList posBody() {
    return {QString(), QString(), QString(),
            QStringLiteral("   销售时间：2026-12-09 10:00:05"),
            QStringLiteral("   销 售 员：    管理员"),
            QStringLiteral("   销售编号：202612090001"),
            kSep20,
            QStringLiteral("货号   品牌 数量 零售价 折扣 实收 "),
            QString(),
            QStringLiteral("A100      自有品牌 1 199  8.5 169  "),  // two figures, never "8.5169"
            QStringLiteral("A100      自有品牌 1 199  8.5 169  "),  // two figures, never "8.5169"
            QStringLiteral("B2        x 1 299  全  299  "),
            kSep20,
            QStringLiteral(" 数    量：3     应收合计：697"),
            QStringLiteral(" 实收合计：637 优惠合计：60"),
            QStringLiteral(" 客人付款：700   找回金额：63"),
            kSep20,
            QStringLiteral("凭本票按国家三包法规实行三包"),
            kSep20,
            QStringLiteral("    谢谢惠顾，欢迎下次光临！"),
            S(3)};
}

}  // namespace

TEST(Receipt, DotMatrixCheckoutIsOneCallOfTheWholeText) {
    QStringList lines = {QString(), QString(), QString(), S(23) + QStringLiteral("测试鞋店结帐单") + S(17)};
    lines += dotBody(40, QStringLiteral("202612090001"));
    const PrintJob expected = {PrintCall{10, false, lines.join(QLatin1Char('\n'))}};
    EXPECT_EQ(Receipt::checkoutDotMatrix(threePairs()), expected);
    EXPECT_EQ(Receipt::checkout(threePairs(), 0), expected);
}

TEST(Receipt, PosCheckoutHasABoldTitleAndTheNarrowBody) {
    const PrintJob expected = {
        PrintCall{10, true, S(4) + QStringLiteral("测试鞋店结帐单") + S(7) + QLatin1Char('\n')},
        PrintCall{8, false, posBody().join(QLatin1Char('\n'))}};
    EXPECT_EQ(Receipt::checkoutPos(threePairs()), expected);
    EXPECT_EQ(Receipt::checkout(threePairs(), 1), expected);
}

TEST(Receipt, ReprintLayoutsUseTheCheckoutHeadingAndNoExtraBreaks) {
    ReceiptData d = threePairs();
    d.sellNo = QStringLiteral("202612090004");
    const PrintJob dot = Receipt::reprintDotMatrix(d);
    QStringList body = {QString(), QString(), QString()};
    body += dotBody(53, QStringLiteral("202612090004"));
    const PrintJob expectedDot = {
        PrintCall{10, false, S(23) + QStringLiteral("测试鞋店结帐单") + S(17) + QLatin1Char('\n')},
        PrintCall{8, false, body.join(QLatin1Char('\n'))}};
    EXPECT_EQ(dot, expectedDot);

    const PrintJob pos = Receipt::reprintPos(d);
    ASSERT_EQ(pos.size(), 2);
    EXPECT_EQ(pos[0], (PrintCall{0, true, S(4) + QStringLiteral("测试鞋店结帐单") + S(7) + QLatin1Char('\n')}));
    EXPECT_EQ(pos[1], Receipt::checkoutPos(d)[1]);
}

TEST(Receipt, TotalsAndLongValues) {
    ReceiptData d = threePairs();
    d.pairs = {{QStringLiteral("A1"), QStringLiteral("b"), QStringLiteral("k"), QStringLiteral("40"),
                QStringLiteral("1"), QStringLiteral("199"), QStringLiteral("8.5"), QStringLiteral("169")},
               {QStringLiteral("A1"), QStringLiteral("b"), QStringLiteral("k"), QStringLiteral("40"),
                QStringLiteral("1"), QStringLiteral("199"), QStringLiteral("全"), QStringLiteral("199")}};
    d.payment = QStringLiteral("400");
    d.change = QStringLiteral("32");
    const QString dot = Receipt::checkoutDotMatrix(d)[0].text;
    EXPECT_TRUE(dot.contains(QStringLiteral("\n    数    量：2         应收合计：398       实收合计：368\n")));
    EXPECT_TRUE(dot.contains(QStringLiteral("\n    优惠合计：30        客人付款：400       找回金额：32\n")));

    // Values longer than their column are printed whole, without padding.
    d.pairs = {{QStringLiteral("ABCDEFGHIJKL"), QStringLiteral("b"), QStringLiteral("k"), QStringLiteral("40"),
                QStringLiteral("1"), QStringLiteral("123456"), QStringLiteral("9.55"), QStringLiteral("123456")}};
    d.payment = QStringLiteral("123456");
    d.change = QStringLiteral("0");
    const QString pos = Receipt::checkoutPos(d)[1].text;
    EXPECT_TRUE(pos.contains(QStringLiteral("\nABCDEFGHIJKLb 1 123456  9.55 123456\n")));
    EXPECT_TRUE(pos.contains(QStringLiteral("\n 客人付款：123456  找回金额：0\n")));
    EXPECT_TRUE(pos.endsWith(QStringLiteral("谢谢惠顾，欢迎下次光临！\n   ")));
}

namespace {
class ReprintTest : public DbTest {};
}  // namespace

TEST_F(ReprintTest, PreviousSaleIsReadBackWithoutReturnedPairs) {
    GoodsSpec pair;
    pair.quantity = 5;
    const QString guid = plantIntake(*db, pair, 80, QDate(2026, 1, 1));
    SaleGoods g;
    g.storeGuid = guid;
    g.typeNo = pair.typeNo;
    g.name = pair.name;
    g.brand = pair.brand;
    g.size = pair.size;
    g.onHand = 5;
    SaleList list;
    list.addDiscounted(g, QStringLiteral("199"), QStringLiteral("2"), QStringLiteral("8.5"));
    list.addSpecial(g, QStringLiteral("199"), QStringLiteral("1"), QStringLiteral("100"));
    const CheckoutResult r = Checkout(*db, ctx.session, clock).commit(list.lines(), Money::fromWhole(500));

    ReprintSource source(*db, ctx.session, clock);
    ReceiptData d;
    EXPECT_EQ(source.previousSale(QStringLiteral("202612090001"), d), ReprintSource::Outcome::NoSaleToday);
    clock.set(QDateTime(QDate(2026, 12, 9), QTime(11, 30)));
    ASSERT_EQ(source.previousSale(QStringLiteral("202612090002"), d), ReprintSource::Outcome::Ok);
    EXPECT_EQ(d.sellNo, r.sellNo);
    EXPECT_EQ(d.shopName, QStringLiteral("测试鞋店"));
    EXPECT_EQ(d.seller, QStringLiteral("管理员"));
    EXPECT_EQ(d.time, clock.now());
    ASSERT_EQ(d.pairs.size(), 3u);
    EXPECT_EQ(d.pairs[0].abate, QStringLiteral("8.5"));
    EXPECT_EQ(d.pairs[0].amount, QStringLiteral("169"));
    EXPECT_EQ(d.pairs[0].price, QStringLiteral("199"));
    EXPECT_EQ(d.pairs[0].quantity, QStringLiteral("1"));
    EXPECT_EQ(d.pairs[0].kind, QStringLiteral("男皮鞋"));
    EXPECT_EQ(d.pairs[2].abate, QStringLiteral("特价"));
    EXPECT_EQ(d.payment, QStringLiteral("500"));
    EXPECT_EQ(d.change, QStringLiteral("62"));

    // A returned pair is left out; a sale whose pairs all went back cannot be printed.
    db->exec(QStringLiteral("UPDATE Sell SET State=2 WHERE GUID=?"), {r.rows[2].sellGuid});
    ASSERT_EQ(source.previousSale(QStringLiteral("202612090002"), d), ReprintSource::Outcome::Ok);
    EXPECT_EQ(d.pairs.size(), 2u);
    db->exec(QStringLiteral("UPDATE Sell SET State=3"));
    EXPECT_EQ(source.previousSale(QStringLiteral("202612090002"), d), ReprintSource::Outcome::NothingLeft);
}
