#pragma once

#include "foundation/money.h"

#include <QString>
#include <vector>

namespace kestavion {

// The goods a line is sold from, as the till's goods list shows them.
struct SaleGoods {
    QString storeGuid;
    QString typeNo, name, brand, size, colour, leather, grade, place;
    double onHand = 0;  // Store.Quantity as shown
};

// One pair on the pre-sale list.
struct SaleLine {
    SaleGoods goods;
    Money price;        // retail price
    int quantity = 1;   // always 1: one line per pair
    QString abate;      // "全", a figure such as "8.5", or "特价"
    qint64 amount = 0;  // charged for the pair, a whole number
    qint64 keptId = 0;  // its row in the till's kept list (0: not kept)
};

inline const QString kFullPrice = QStringLiteral("全");
inline const QString kSpecialPrice = QStringLiteral("特价");

// Why a line cannot be added. The till turns each into its message.
enum class SaleCheck {
    Ok,
    NoGoods,             // "请选择一个商品！"
    QuantityNotNumber,   // "数量的数据类型不正确！" (also for 0.4 or "abc")
    QuantityNotPositive, // "数量的不能小于0！"
    NotEnoughStock,      // "库存不足不能结帐，请通知管理员！"
    DiscountOutOfRange,  // "请输入0.1-10的数字或小数！"
    DiscountNotNumber,   // "数量的数据类型不正确！" (text that is neither a figure nor "全")
    SpecialNotNumber,    // "请输入有效数字！"
    SpecialNegative,     // "特价也不可能小于0的！"
    SpecialAboveRetail,  // "特价比零售价还要贵么？"
};
QString saleCheckMessage(SaleCheck check);

// The pre-sale list: lines, their checks and totals. Nothing of it reaches the sales or
// the stock before checkout (the till keeps a copy of it: KeptSale).
class SaleList {
public:
    // Quantity typed in the quantity box against the goods' stock, counting the pairs
    // of that goods already in the list.
    SaleCheck checkQuantity(const QString &quantityText, const SaleGoods &goods) const;
    static SaleCheck checkDiscount(const QString &abateText);
    static SaleCheck checkSpecialPrice(const QString &specialText, const QString &retailText);

    // The discount box shows "全" as soon as its value reaches 10 or more.
    static bool discountMeansFull(const QString &abateText);

    // Amount of one pair: retail price × discount ÷ 10 ("全" is 10), or the special
    // price, each rounded half to even to a whole number.
    static qint64 discountAmount(const QString &retailText, const QString &abateText);
    static qint64 specialAmount(const QString &specialText);

    // Appends one line per pair (quantity already checked); returns how many.
    int addDiscounted(const SaleGoods &goods, const QString &retailText, const QString &quantityText,
                      const QString &abateText);
    int addSpecial(const SaleGoods &goods, const QString &retailText, const QString &quantityText,
                   const QString &specialText);
    void remove(int index);
    void clear() { lines_.clear(); }
    // The list as restored from the till's kept list.
    void assign(std::vector<SaleLine> lines) { lines_ = std::move(lines); }
    void setKeptId(int index, qint64 id) { lines_.at(static_cast<std::size_t>(index)).keptId = id; }

    int countOf(const QString &storeGuid) const;
    bool empty() const { return lines_.empty(); }
    int size() const { return static_cast<int>(lines_.size()); }
    const std::vector<SaleLine> &lines() const { return lines_; }

    Money total() const;
    // The total label: empty when the list is empty.
    QString totalText() const;
    // The change label: payment − total when the payment is a number not smaller
    // than the total and the list has lines, otherwise empty.
    QString changeText(const QString &paymentText) const;

private:
    std::vector<SaleLine> lines_;
};

}  // namespace kestavion
