#include "selling/sale_numbering.h"

namespace kestavion {

QString SaleNumbering::dateDigits(const QDate &day) { return day.toString(QStringLiteral("yyyyMMdd")); }

QString SaleNumbering::compose(const QString &digits, qint64 running) {
    return digits + QStringLiteral("%1").arg(running, 4, 10, QLatin1Char('0'));
}

qint64 SaleNumbering::runningOf(const QString &sellNo) {
    if (sellNo.size() <= 8) return 0;
    bool ok = false;
    const qint64 n = sellNo.mid(8).toLongLong(&ok);
    return ok ? n : 0;
}

QString SaleNumbering::next(const QDate &day) {
    const QString digits = dateDigits(day);
    // Most days: the greatest number of the day, as text, is a four-digit one below
    // 9999, and one more is new (it sorts above every number of the day). One read
    // at the top of the (ShopNo, SellNo) range, however many sales the day has.
    const ResultSet top = db_.exec(QStringLiteral("SELECT SellNo FROM Sell WHERE ShopNo=? AND SellNo>=? AND SellNo<? "
                                                  "ORDER BY SellNo DESC LIMIT 1"),
                                   {shopNo_, digits, digits + QLatin1Char(':')});
    if (top.empty()) return compose(digits, 1);
    const QString greatest = top.text(0, 0);
    const qint64 running = runningOf(greatest);
    if (greatest.size() == digits.size() + 4 && running >= 1 && running < 9999) return compose(digits, running + 1);
    // Past 9999 (or an odd number): the highest running number compared as a number
    // (a longer number is the higher one), so 10000 follows 9999. The range on
    // (ShopNo, SellNo) reads only that shop's sales of that day: every sale number of
    // the day starts with its digits, and ':' sorts right after '9'.
    const ResultSet rs = db_.exec(QStringLiteral("SELECT SellNo FROM Sell WHERE ShopNo=? AND SellNo>=? AND SellNo<? "
                                                 "AND substr(SellNo,1,8)=? "
                                                 "ORDER BY length(SellNo) DESC, SellNo DESC LIMIT 1"),
                                  {shopNo_, digits, digits + QLatin1Char(':'), digits});
    const qint64 highest = rs.empty() ? 0 : runningOf(rs.text(0, 0));
    return compose(digits, highest + 1);
}

std::optional<QString> SaleNumbering::previous(const QString &current) {
    const qint64 running = runningOf(current);
    if (running <= 1) return std::nullopt;
    return compose(current.left(8), running - 1);
}

}  // namespace kestavion
