#include "selling/sale_list.h"

#include <gtest/gtest.h>

using namespace kestavion;

namespace {

SaleGoods goods(const QString &guid, double onHand) {
    SaleGoods g;
    g.storeGuid = guid;
    g.typeNo = QStringLiteral("A100");
    g.onHand = onHand;
    return g;
}

}  // namespace

TEST(SaleList, ThreePairsAtADiscountAreThreeLinesOfTheRoundedAmount) {
    SaleList list;
    const SaleGoods g = goods(QStringLiteral("{G1}"), 5);
    ASSERT_EQ(list.checkQuantity(QStringLiteral("3"), g), SaleCheck::Ok);
    EXPECT_EQ(list.addDiscounted(g, QStringLiteral("199"), QStringLiteral("3"), QStringLiteral("8.5")), 3);
    ASSERT_EQ(list.size(), 3);
    for (const SaleLine &l : list.lines()) {
        EXPECT_EQ(l.quantity, 1);
        EXPECT_EQ(l.abate, QStringLiteral("8.5"));
        EXPECT_EQ(l.amount, 169);
        EXPECT_EQ(l.price, Money::fromWhole(199));
    }
    EXPECT_EQ(list.totalText(), QStringLiteral("507"));
    EXPECT_EQ(list.countOf(QStringLiteral("{G1}")), 3);

    // Halves go to the even neighbour; full price is a factor of 10; special prices
    // are rounded the same way.
    EXPECT_EQ(SaleList::discountAmount(QStringLiteral("125"), QStringLiteral("9")), 112);
    EXPECT_EQ(SaleList::discountAmount(QStringLiteral("135"), QStringLiteral("9")), 122);
    EXPECT_EQ(SaleList::discountAmount(QStringLiteral("199"), kFullPrice), 199);
    EXPECT_EQ(SaleList::specialAmount(QStringLiteral("88.5")), 88);
    EXPECT_EQ(SaleList::specialAmount(QStringLiteral("89.5")), 90);
}

TEST(SaleList, DiscountAndSpecialPriceChecks) {
    EXPECT_EQ(SaleList::checkDiscount(QStringLiteral("9.9")), SaleCheck::Ok);
    EXPECT_EQ(SaleList::checkDiscount(QStringLiteral("0.1")), SaleCheck::Ok);
    EXPECT_EQ(SaleList::checkDiscount(kFullPrice), SaleCheck::Ok);
    EXPECT_EQ(SaleList::checkDiscount(QStringLiteral("9.95")), SaleCheck::DiscountOutOfRange);
    EXPECT_EQ(SaleList::checkDiscount(QStringLiteral("0.05")), SaleCheck::DiscountOutOfRange);
    EXPECT_EQ(SaleList::checkDiscount(QStringLiteral("0")), SaleCheck::DiscountOutOfRange);
    EXPECT_EQ(SaleList::checkDiscount(QStringLiteral("八折")), SaleCheck::DiscountNotNumber);
    EXPECT_EQ(SaleList::checkDiscount(QString()), SaleCheck::DiscountNotNumber);
    // A discount has no grouping: "8,5" is no 85, so it never turns into "全".
    EXPECT_EQ(SaleList::checkDiscount(QStringLiteral("8,5")), SaleCheck::DiscountOutOfRange);
    EXPECT_FALSE(SaleList::discountMeansFull(QStringLiteral("8,5")));
    EXPECT_FALSE(SaleList::discountMeansFull(QStringLiteral("1,0")));

    EXPECT_TRUE(SaleList::discountMeansFull(QStringLiteral("10")));
    EXPECT_TRUE(SaleList::discountMeansFull(QStringLiteral("12")));
    EXPECT_FALSE(SaleList::discountMeansFull(QStringLiteral("9.9")));
    EXPECT_FALSE(SaleList::discountMeansFull(QStringLiteral("1")));

    const QString retail = QStringLiteral("199");
    EXPECT_EQ(SaleList::checkSpecialPrice(QStringLiteral("199"), retail), SaleCheck::Ok);
    EXPECT_EQ(SaleList::checkSpecialPrice(QStringLiteral("0"), retail), SaleCheck::Ok);
    EXPECT_EQ(SaleList::checkSpecialPrice(QStringLiteral("199.5"), retail), SaleCheck::SpecialAboveRetail);
    EXPECT_EQ(SaleList::checkSpecialPrice(QStringLiteral("-1"), retail), SaleCheck::SpecialNegative);
    EXPECT_EQ(SaleList::checkSpecialPrice(QStringLiteral("abc"), retail), SaleCheck::SpecialNotNumber);
}

TEST(SaleList, QuantityIsWholePositiveAndCountsPairsAlreadyListed) {
    SaleList list;
    const SaleGoods g = goods(QStringLiteral("{G1}"), 2);
    EXPECT_EQ(list.checkQuantity(QStringLiteral("0.4"), g), SaleCheck::QuantityNotNumber);
    EXPECT_EQ(list.checkQuantity(QStringLiteral("abc"), g), SaleCheck::QuantityNotNumber);
    EXPECT_EQ(list.checkQuantity(QStringLiteral("0"), g), SaleCheck::QuantityNotPositive);
    EXPECT_EQ(list.checkQuantity(QStringLiteral("-2"), g), SaleCheck::QuantityNotPositive);
    EXPECT_EQ(list.checkQuantity(QStringLiteral("3"), g), SaleCheck::NotEnoughStock);

    list.addSpecial(g, QStringLiteral("199"), QStringLiteral("1"), QStringLiteral("150"));
    EXPECT_EQ(list.lines().back().abate, kSpecialPrice);
    EXPECT_EQ(list.checkQuantity(QStringLiteral("2"), g), SaleCheck::NotEnoughStock);
    EXPECT_EQ(list.checkQuantity(QStringLiteral("1"), g), SaleCheck::Ok);
    // Other goods are not counted against this one.
    EXPECT_EQ(list.checkQuantity(QStringLiteral("2"), goods(QStringLiteral("{G2}"), 2)), SaleCheck::Ok);
}

TEST(SaleList, TotalAndChangeFollowTheListAndThePayment) {
    SaleList list;
    EXPECT_EQ(list.totalText(), QString());
    EXPECT_EQ(list.changeText(QStringLiteral("100")), QString());

    const SaleGoods g = goods(QStringLiteral("{G1}"), 9);
    list.addDiscounted(g, QStringLiteral("199"), QStringLiteral("1"), QStringLiteral("8.5"));
    list.addDiscounted(g, QStringLiteral("199"), QStringLiteral("1"), kFullPrice);
    EXPECT_EQ(list.totalText(), QStringLiteral("368"));
    EXPECT_EQ(list.changeText(QStringLiteral("400")), QStringLiteral("32"));
    EXPECT_EQ(list.changeText(QStringLiteral("368")), QStringLiteral("0"));
    EXPECT_EQ(list.changeText(QStringLiteral("1,000")), QStringLiteral("632"));
    EXPECT_EQ(list.changeText(QStringLiteral("367.5")), QString());
    EXPECT_EQ(list.changeText(QStringLiteral("abc")), QString());

    list.remove(0);
    EXPECT_EQ(list.totalText(), QStringLiteral("199"));
    list.remove(5);  // no such line: nothing happens
    EXPECT_EQ(list.size(), 1);
    list.remove(0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.totalText(), QString());
}
