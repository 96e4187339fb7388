#include "aftersales/exchange_order.h"
#include "kit/fixtures.h"

#include <gtest/gtest.h>

using namespace kestavion;
using namespace kestavion::test;

namespace {
ExchangeReplacement replacement(const QString &storeGuid, qint64 amount) {
    ExchangeReplacement r;
    r.storeGuid = storeGuid;
    r.price = yuan(amount);
    r.abate = QStringLiteral("全");
    r.amount = yuan(amount);
    return r;
}
}  // namespace

TEST(ExchangeOrder, PairsEachSoldPairOnceAndKeepsItsThreeFigures) {
    ExchangeOrder order;
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(order.backAdd(), Money());

    const ExchangeSold s1{QStringLiteral("{S1}"), QStringLiteral("202612090001"), *Money::parse(QStringLiteral("199.5"))};
    const ExchangeSold s2{QStringLiteral("{S2}"), QStringLiteral("202612090001"), yuan(150)};
    ASSERT_TRUE(order.add(s1, QStringLiteral("尺码小"), replacement(QStringLiteral("{B}"), 230)));
    // The same sold pair again: refused, the order unchanged.
    EXPECT_FALSE(order.add(s1, QStringLiteral("颜色"), replacement(QStringLiteral("{C}"), 99)));
    ASSERT_TRUE(order.add(s2, QString(), replacement(QStringLiteral("{B}"), 120)));
    EXPECT_EQ(order.size(), 2);
    EXPECT_TRUE(order.isPaired(QStringLiteral("{S1}")));
    EXPECT_EQ(order.pendingFor(QStringLiteral("{B}")), 2);
    EXPECT_EQ(order.pendingFor(QStringLiteral("{C}")), 0);
    EXPECT_EQ(order.amount().toString(), QStringLiteral("350"));
    EXPECT_EQ(order.have().toString(), QStringLiteral("349.5"));
    EXPECT_EQ(order.backAdd().toString(), QStringLiteral("0.5"));

    const std::vector<ExchangePair> pairs = order.pairs();
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].sellGuid, QStringLiteral("{S1}"));
    EXPECT_EQ(pairs[0].reason, QStringLiteral("尺码小"));
    EXPECT_EQ(pairs[0].replacementGuid, QStringLiteral("{B}"));
    EXPECT_EQ(pairs[0].amount, yuan(230));

    // Taking a line out frees its sold pair and its goods; the figures follow.
    order.remove(0);
    order.remove(7);  // no such line
    EXPECT_FALSE(order.isPaired(QStringLiteral("{S1}")));
    EXPECT_EQ(order.pendingFor(QStringLiteral("{B}")), 1);
    EXPECT_EQ(order.backAdd().toString(), QStringLiteral("-30"));
    EXPECT_TRUE(order.add(s1, QString(), replacement(QStringLiteral("{C}"), 99)));
    order.clear();
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(order.amount(), Money());
}
