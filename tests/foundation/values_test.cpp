#include "foundation/guid.h"
#include "foundation/money.h"
#include "foundation/numbers.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kestavion;

TEST(Numbers, ParseNumberAcceptsPlainAndGroupedFormsOnly) {
    EXPECT_EQ(parseNumber(QStringLiteral(" 1,000 ")), 1000.0);
    EXPECT_EQ(parseNumber(QStringLiteral("-12.5")), -12.5);
    EXPECT_EQ(parseNumber(QStringLiteral("+3")), 3.0);
    EXPECT_EQ(parseNumber(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(parseNumber(QStringLiteral("5.")), 5.0);
    for (const char *bad : {"", " ", "-", "+", "1e3", "0x10", "$5", "1,,000", ",100", "100,", "1.2.3", "abc", "12a", "1,000.5,0"})
        EXPECT_FALSE(parseNumber(QString::fromLatin1(bad)).has_value()) << bad;
    EXPECT_EQ(parseWholeNumber(QStringLiteral("3")), 3);
    EXPECT_FALSE(parseWholeNumber(QStringLiteral("0.4")).has_value());
}

TEST(Numbers, FormattingIsShortestPlainDecimal) {
    EXPECT_EQ(formatNumber(507), QStringLiteral("507"));
    EXPECT_EQ(formatNumber(16.5), QStringLiteral("16.5"));
    EXPECT_EQ(formatNumber(1234567.0), QStringLiteral("1234567"));
    EXPECT_EQ(formatNumber(0.1 + 0.2 - 0.3 + 0.3), QStringLiteral("0.30000000000000004"));
    EXPECT_EQ(Money::fromDouble(0.1 + 0.2).toString(), QStringLiteral("0.3"));
    EXPECT_EQ(Money::fromDouble(-3.05).toString(), QStringLiteral("-3.05"));
}

TEST(Numbers, DiscountRoundsHalfToEvenExactly) {
    EXPECT_EQ(discountedAmount(199, 8.5), 169);   // 169.15
    EXPECT_EQ(discountedAmount(125, 9), 112);     // 112.5 → even
    EXPECT_EQ(discountedAmount(135, 9), 122);     // 121.5 → even
    EXPECT_EQ(discountedAmount(15, 1), 2);        // 1.5 → 2
    EXPECT_EQ(discountedAmount(25, 1), 2);        // 2.5 → 2
    EXPECT_EQ(discountedAmount(199, 9.9), 197);   // 197.01
    EXPECT_EQ(Money::fromWhole(199).discounted(8.5), Money::fromWhole(169));
    EXPECT_EQ(roundHalfEven(112.5), 112);
    EXPECT_EQ(roundHalfEven(113.5), 114);
}

TEST(Money, AddsExactlyAndParsesTypedText) {
    Money m = *Money::parse(QStringLiteral("120")) + *Money::parse(QStringLiteral("45.5"));
    EXPECT_EQ(m.toString(), QStringLiteral("165.5"));
    EXPECT_FALSE(Money::parse(QStringLiteral("abc")).has_value());
    Money sum;
    for (int i = 0; i < 10; ++i) sum += Money::fromDouble(0.1);
    EXPECT_EQ(sum, Money::fromWhole(1));
}

TEST(Money, ParsesExactlyUpToTheMaximumOfAMoneyBox) {
    // 16 digits went through double and came back one off.
    EXPECT_FALSE(Money::parse(QStringLiteral("9999999999999601")).has_value());
    EXPECT_TRUE(Money::tooLarge(QStringLiteral("9999999999999601")));
    EXPECT_TRUE(Money::tooLarge(QStringLiteral("12345678901234567890123")));
    EXPECT_TRUE(Money::tooLarge(QStringLiteral("100,000,000,000")));
    EXPECT_TRUE(Money::tooLarge(QStringLiteral("-100000000000")));
    EXPECT_EQ(Money::parse(QStringLiteral("99,999,999,999.99"))->cents(), Money::kMaxCents);
    EXPECT_EQ(Money::parse(QStringLiteral("99999999999.99"))->toString(), QStringLiteral("99999999999.99"));
    EXPECT_EQ(Money::parse(QStringLiteral("0099999999999.99"))->cents(), Money::kMaxCents);
    EXPECT_EQ((*Money::parse(QStringLiteral("99999999999")) - Money::fromWhole(1)).toString(),
              QStringLiteral("99999999998"));
    // Beyond the cent: rounded half away from zero, exactly.
    EXPECT_EQ(Money::parse(QStringLiteral("0.005"))->cents(), 1);
    EXPECT_EQ(Money::parse(QStringLiteral("-2.675"))->cents(), -268);
    EXPECT_EQ(Money::parse(QStringLiteral("1.004"))->cents(), 100);
    EXPECT_EQ(Money::parse(QStringLiteral(" +.5 "))->cents(), 50);
    EXPECT_FALSE(Money::tooLarge(QStringLiteral("abc")));
    EXPECT_FALSE(Money::tooLarge(QStringLiteral("99999999999.99")));
}

TEST(Guid, FormAndUniqueness) {
    static const QRegularExpression form(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    const QString a = newGuid(), b = newGuid();
    EXPECT_NE(a, b);
    EXPECT_TRUE(form.match(a).hasMatch()) << a.toStdString();
    EXPECT_EQ(newGuid(true).size(), 32);
    EXPECT_EQ(escapeQuotes(QStringLiteral("O'Neil")), QStringLiteral("O''Neil"));
    EXPECT_EQ(escapeQuotes(QString()), QString());
}
