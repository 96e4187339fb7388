#include "selling/sale_list.h"

#include "foundation/numbers.h"

namespace kestavion {

QString saleCheckMessage(SaleCheck check) {
    switch (check) {
    case SaleCheck::Ok: return {};
    case SaleCheck::NoGoods: return QStringLiteral("请选择一个商品！");
    case SaleCheck::QuantityNotNumber:
    case SaleCheck::DiscountNotNumber: return QStringLiteral("数量的数据类型不正确！");
    case SaleCheck::QuantityNotPositive: return QStringLiteral("数量的不能小于0！");
    case SaleCheck::NotEnoughStock: return QStringLiteral("库存不足不能结帐，请通知管理员！");
    case SaleCheck::DiscountOutOfRange: return QStringLiteral("请输入0.1-10的数字或小数！");
    case SaleCheck::SpecialNotNumber: return QStringLiteral("请输入有效数字！");
    case SaleCheck::SpecialNegative: return QStringLiteral("特价也不可能小于0的！");
    case SaleCheck::SpecialAboveRetail: return QStringLiteral("特价比零售价还要贵么？");
    }
    return {};
}

SaleCheck SaleList::checkQuantity(const QString &quantityText, const SaleGoods &goods) const {
    // Pairs are whole: "0.4" would add nothing, so it is refused like any non-number.
    const auto n = parseWholeNumber(quantityText);
    if (!n) return SaleCheck::QuantityNotNumber;
    if (*n <= 0) return SaleCheck::QuantityNotPositive;
    if (goods.onHand - countOf(goods.storeGuid) < static_cast<double>(*n)) return SaleCheck::NotEnoughStock;
    return SaleCheck::Ok;
}

SaleCheck SaleList::checkDiscount(const QString &abateText) {
    // A discount has no grouping: "8,5" is a mistyped 8.5, never 85. It is no number,
    // and the seller is told what a discount looks like.
    if (abateText.contains(QLatin1Char(','))) return SaleCheck::DiscountOutOfRange;
    if (const auto v = parseDiscount(abateText)) {
        if (*v < 0.1 || *v > 9.9) return SaleCheck::DiscountOutOfRange;
        return SaleCheck::Ok;
    }
    return abateText == kFullPrice ? SaleCheck::Ok : SaleCheck::DiscountNotNumber;
}

SaleCheck SaleList::checkSpecialPrice(const QString &specialText, const QString &retailText) {
    const auto v = parseNumber(specialText);
    if (!v) return SaleCheck::SpecialNotNumber;
    if (*v < 0) return SaleCheck::SpecialNegative;
    if (*v > parseNumber(retailText).value_or(0)) return SaleCheck::SpecialAboveRetail;
    return SaleCheck::Ok;
}

bool SaleList::discountMeansFull(const QString &abateText) {
    const auto v = parseDiscount(abateText);
    return v && *v >= 10;
}

qint64 SaleList::discountAmount(const QString &retailText, const QString &abateText) {
    const double factor = abateText == kFullPrice ? 10.0 : parseDiscount(abateText).value_or(0);
    return discountedAmount(parseNumber(retailText).value_or(0), factor);
}

qint64 SaleList::specialAmount(const QString &specialText) {
    return roundHalfEven(parseNumber(specialText).value_or(0));
}

int SaleList::addDiscounted(const SaleGoods &goods, const QString &retailText, const QString &quantityText,
                            const QString &abateText) {
    const int n = static_cast<int>(parseWholeNumber(quantityText).value_or(0));
    for (int i = 0; i < n; ++i)
        lines_.push_back({goods, Money::parse(retailText).value_or(Money()), 1, abateText,
                          discountAmount(retailText, abateText)});
    return n;
}

int SaleList::addSpecial(const SaleGoods &goods, const QString &retailText, const QString &quantityText,
                         const QString &specialText) {
    const int n = static_cast<int>(parseWholeNumber(quantityText).value_or(0));
    for (int i = 0; i < n; ++i)
        lines_.push_back(
            {goods, Money::parse(retailText).value_or(Money()), 1, kSpecialPrice, specialAmount(specialText)});
    return n;
}

void SaleList::remove(int index) {
    if (index >= 0 && index < size()) lines_.erase(lines_.begin() + index);
}

int SaleList::countOf(const QString &storeGuid) const {
    int n = 0;
    for (const SaleLine &l : lines_)
        if (l.goods.storeGuid == storeGuid) n += l.quantity;
    return n;
}

Money SaleList::total() const {
    Money t;
    for (const SaleLine &l : lines_) t += Money::fromWhole(l.amount);
    return t;
}

QString SaleList::totalText() const {
    if (lines_.empty()) return {};
    return total().toString();
}

QString SaleList::changeText(const QString &paymentText) const {
    if (lines_.empty()) return {};
    const auto payment = Money::parse(paymentText);
    if (!payment || *payment < total()) return {};
    return (*payment - total()).toString();
}

}  // namespace kestavion
