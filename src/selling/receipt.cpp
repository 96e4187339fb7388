#include "selling/receipt.h"

#include "foundation/numbers.h"
#include "foundation/refusal.h"
#include "selling/sale_numbering.h"

#include <QStringList>

namespace kestavion {

namespace {

QString sp(int n) { return QString(std::max(0, n), QLatin1Char(' ')); }
// As many spaces as n minus the length of x; none when x is that long already.
QString pad(int n, const QString &x) { return sp(n - static_cast<int>(x.size())); }
// As pad, but at least one space, so two figures never run together ("8.5 169").
QString gap(int n, const QString &x) { return sp(std::max(1, n - static_cast<int>(x.size()))); }

const QString kSep40 = sp(4) + QString(40, QChar(0x2026));
const QString kSep20 = QString(20, QChar(0x2026));
const QString kTitle = QStringLiteral("结帐单");
const QString kDotHeading =
    QStringLiteral(" 货号    品牌      种类     尺码    数量    零售价    折扣/特价    实收金额");

QString timeText(const QDateTime &t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

struct Totals {
    QString q, t, net, d;
};

// Q: pairs; T: retail total; D: discount total; net: T − D.
Totals totalsOf(const ReceiptData &d) {
    qint64 q = 0;
    Money t, disc;
    for (const ReceiptPair &p : d.pairs) {
        q += roundHalfEven(parseNumber(p.quantity).value_or(0));
        const Money price = Money::parse(p.price).value_or(Money());
        t += price;
        disc += price - Money::parse(p.amount).value_or(Money());
    }
    return {QString::number(q), t.toString(), (t - disc).toString(), disc.toString()};
}

// The body shared by the dot-matrix checkout receipt and its reprint: `indent` spaces
// before the time, seller and number lines.
QStringList dotMatrixBody(const ReceiptData &d, int indent) {
    QStringList lines;
    for (size_t i = 0; i < d.pairs.size(); ++i) lines << QString();
    lines << sp(indent) + QStringLiteral("销售时间：") + timeText(d.time)
          << sp(indent) + QStringLiteral("销 售 员：") + sp(4) + d.seller
          << sp(indent) + QStringLiteral("销售编号：") + d.sellNo << QString() << kSep40 << kDotHeading;
    for (const ReceiptPair &p : d.pairs) {
        lines << QString()
              << p.typeNo + sp(4) + p.brand + sp(4) + p.kind + sp(5) + p.size + sp(8) + p.quantity + sp(6) + p.price +
                     sp(10) + p.abate + sp(10) + p.amount;
    }
    const Totals t = totalsOf(d);
    lines << QString() << kSep40
          << QStringLiteral("    数    量：") + t.q + pad(10, t.q) + QStringLiteral("应收合计：") + t.t + pad(10, t.t) +
                 QStringLiteral("实收合计：") + t.net
          << QString()
          << QStringLiteral("    优惠合计：") + t.d + pad(10, t.d) + QStringLiteral("客人付款：") + d.payment +
                 pad(10, d.payment) + QStringLiteral("找回金额：") + d.change
          << kSep40 << QStringLiteral("               欢迎再次光临  多谢惠顾");
    return lines;
}

QStringList posBody(const ReceiptData &d) {
    QStringList lines;
    for (size_t i = 0; i < d.pairs.size(); ++i) lines << QString();
    lines << QStringLiteral("   销售时间：") + timeText(d.time) << QStringLiteral("   销 售 员：") + sp(4) + d.seller
          << QStringLiteral("   销售编号：") + d.sellNo << kSep20 << QStringLiteral("货号   品牌 数量 零售价 折扣 实收 ")
          << QString();
    for (const ReceiptPair &p : d.pairs) {
        lines << p.typeNo + pad(10, p.typeNo) + p.brand + sp(1) + p.quantity + sp(1) + p.price + sp(2) + p.abate +
                     gap(3, p.abate) + p.amount + pad(5, p.amount);
    }
    const Totals t = totalsOf(d);
    lines << kSep20 << QStringLiteral(" 数    量：") + t.q + pad(4, t.q) + QStringLiteral("  应收合计：") + t.t
          << QStringLiteral(" 实收合计：") + t.net + pad(4, t.net) + QStringLiteral("优惠合计：") + t.d
          << QStringLiteral(" 客人付款：") + d.payment + pad(4, d.payment) + QStringLiteral("  找回金额：") + d.change
          << kSep20 << QStringLiteral("凭本票按国家三包法规实行三包") << kSep20
          << QStringLiteral("    谢谢惠顾，欢迎下次光临！") << sp(3);
    return lines;
}

QString join(const QStringList &lines) { return lines.join(QLatin1Char('\n')); }

}  // namespace

PrintJob Receipt::checkoutDotMatrix(const ReceiptData &d) {
    QStringList lines = dotMatrixBody(d, 40);
    // The shop line stands after the empty lines that open the block.
    lines.insert(static_cast<int>(d.pairs.size()), sp(23) + d.shopName + kTitle + sp(17));
    return {PrintCall{10, false, join(lines)}};
}

PrintJob Receipt::checkoutPos(const ReceiptData &d) {
    return {PrintCall{10, true, sp(4) + d.shopName + kTitle + sp(7) + QLatin1Char('\n')},
            PrintCall{8, false, join(posBody(d))}};
}

PrintJob Receipt::reprintDotMatrix(const ReceiptData &d) {
    return {PrintCall{10, false, sp(23) + d.shopName + kTitle + sp(17) + QLatin1Char('\n')},
            PrintCall{8, false, join(dotMatrixBody(d, 53))}};
}

PrintJob Receipt::reprintPos(const ReceiptData &d) {
    return {PrintCall{0, true, sp(4) + d.shopName + kTitle + sp(7) + QLatin1Char('\n')},
            PrintCall{8, false, join(posBody(d))}};
}

// ---- thermal layout -----------------------------------------------------------

namespace {

int charWidth(char32_t c) {
    // East Asian wide and full-width forms; everything else one column.
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                   (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                   (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD)
               ? 2
               : 1;
}

// `text` broken into lines of at most `width` columns (a wide character never split).
QStringList wrap(const QString &text, int width) {
    QStringList out;
    QString line;
    int used = 0;
    for (char32_t c : text.toUcs4()) {
        const int w = charWidth(c);
        if (used + w > width && !line.isEmpty()) {
            out << line;
            line.clear();
            used = 0;
        }
        line += QString::fromUcs4(&c, 1);
        used += w;
    }
    if (!line.isEmpty() || out.isEmpty()) out << line;
    return out;
}

QString spaces(int n) { return QString(std::max(0, n), QLatin1Char(' ')); }

QString centred(const QString &text, int width) {
    const int free = width - Receipt::displayWidth(text);
    return spaces(free / 2) + text;
}

// `label` at the left, `value` at the right of a `width`-column line (on lines of
// their own when both do not fit).
QStringList labelled(const QString &label, const QString &value, int width) {
    const int gap = width - Receipt::displayWidth(label) - Receipt::displayWidth(value);
    if (gap >= 1) return {label + spaces(gap) + value};
    QStringList out = wrap(label, width);
    for (const QString &v : wrap(value, width)) out << spaces(width - Receipt::displayWidth(v)) + v;
    return out;
}

// Right-aligned fields of the given widths (a field too long pushes the rest right).
QString fields(const QStringList &values, const std::vector<int> &widths) {
    QString line;
    for (size_t i = 0; i < widths.size() && i < size_t(values.size()); ++i)
        line += spaces(widths[i] - Receipt::displayWidth(values[int(i)])) + values[int(i)];
    return line;
}

}  // namespace

int Receipt::displayWidth(const QString &text) {
    int w = 0;
    for (char32_t c : text.toUcs4()) w += charWidth(c);
    return w;
}

PrintJob Receipt::thermal(const ReceiptData &d, int columns, bool reprint) {
    const int w = std::max(24, columns);
    // Quantity, retail price, discount or special price, amount; they fill the width.
    const std::vector<int> widths = w >= 48 ? std::vector<int>{10, 12, 12, w - 34} : std::vector<int>{5, 9, 8, w - 22};
    const QString rule(w, QLatin1Char('-'));

    QStringList head;
    // Double size: half as many characters fit on a line.
    for (const QString &l : wrap(d.shopName, w / 2)) head << centred(l, w / 2);

    QStringList body;
    body << centred(reprint ? QStringLiteral("结帐单（重打）") : kTitle, w);
    body << labelled(QStringLiteral("销售时间："), timeText(d.time), w);
    body << labelled(QStringLiteral("销 售 员："), d.seller, w);
    body << labelled(QStringLiteral("销售编号："), d.sellNo, w);
    body << rule;
    body << QStringLiteral("货号 品牌 种类 尺码");
    body << fields({QStringLiteral("数量"), QStringLiteral("零售价"), QStringLiteral("折扣"), QStringLiteral("实收")},
                   widths);
    body << rule;
    for (const ReceiptPair &p : d.pairs) {
        QStringList name{p.typeNo, p.brand, p.kind, p.size};
        name.removeAll(QString());
        body << wrap(name.join(QLatin1Char(' ')), w);
        body << fields({p.quantity, p.price, p.abate, p.amount}, widths);
    }
    const Totals t = totalsOf(d);
    body << rule;
    body << labelled(QStringLiteral("数    量："), t.q, w) << labelled(QStringLiteral("应收合计："), t.t, w)
         << labelled(QStringLiteral("优惠合计："), t.d, w) << labelled(QStringLiteral("实收合计："), t.net, w)
         << labelled(QStringLiteral("客人付款："), d.payment, w) << labelled(QStringLiteral("找回金额："), d.change, w);
    body << rule;
    for (const QString &l : wrap(QStringLiteral("凭本票按国家三包法规实行三包"), w)) body << centred(l, w);
    for (const QString &l : wrap(QStringLiteral("谢谢惠顾，欢迎下次光临！"), w)) body << centred(l, w);
    return {PrintCall{kThermalDouble, true, join(head)}, PrintCall{kThermalNormal, false, join(body)}};
}

ReceiptData Receipt::fromSale(const std::vector<SaleLine> &lines, const QString &sellNo, const Money &payment,
                              const Money &change, const Session &session, const QDateTime &time) {
    ReceiptData d;
    d.shopName = session.shopName;
    d.time = time;
    d.seller = session.user.Name;
    d.sellNo = sellNo;
    for (const SaleLine &l : lines) {
        d.pairs.push_back({l.goods.typeNo, l.goods.brand, l.goods.name, l.goods.size, QString::number(l.quantity),
                           l.price.toString(), l.abate, QString::number(l.amount)});
    }
    d.payment = payment.toString();
    d.change = change.toString();
    return d;
}

ReprintSource::Outcome ReprintSource::previousSale(const QString &currentNo, ReceiptData &out) {
    requirePermission(session_, QStringLiteral("Sell"));
    const auto previous = SaleNumbering::previous(currentNo);
    if (!previous) return Outcome::NoSaleToday;
    return sale(*previous, out);
}

ReprintSource::Outcome ReprintSource::sale(const QString &sellNo, ReceiptData &out) {
    requirePermission(session_, QStringLiteral("Sell"));
    const std::optional<QString> previous = sellNo;
    // The sale's rows in key order, as the return and exchange screens list them, so
    // that the reprint is the same on every engine (a sale has only a few rows to sort).
    const ResultSet rs = db_.exec(QStringLiteral("SELECT TypeNo,Brand,Name,Size,Quantity,Price,Abate,Amount,Money1,"
                                                 "Money2 FROM Sell WHERE SellNo=? AND ShopNo=? AND State<2 ORDER BY GUID"),
                                  {*previous, session_.shopNo});
    if (rs.empty()) return Outcome::NothingLeft;
    out = ReceiptData();
    out.shopName = session_.shopName;
    out.time = clock_.now();
    out.seller = session_.user.Name;
    out.sellNo = *previous;
    const auto numberText = [&](int r, const char *col) {
        return rs.isNull(r, QLatin1String(col)) ? QString() : formatNumber(rs.number(r, QLatin1String(col)));
    };
    for (int r = 0; r < rs.rowCount(); ++r) {
        out.pairs.push_back({rs.text(r, QStringLiteral("TypeNo")), rs.text(r, QStringLiteral("Brand")),
                             rs.text(r, QStringLiteral("Name")), rs.text(r, QStringLiteral("Size")),
                             numberText(r, "Quantity"), numberText(r, "Price"), rs.text(r, QStringLiteral("Abate")),
                             numberText(r, "Amount")});
    }
    const int last = rs.rowCount() - 1;
    out.payment = formatNumber(rs.number(last, QStringLiteral("Money1")));
    out.change = formatNumber(rs.number(last, QStringLiteral("Money2")));
    return Outcome::Ok;
}

}  // namespace kestavion
