#include "intake/delivery_import.h"

#include "foundation/numbers.h"
#include "foundation/refusal.h"
#include "intake/sheet_reader.h"

#include <cmath>
#include <limits>

namespace kestavion {

namespace {

using L = DeliveryLayout;

struct SettingText {
    const char *label;
    const char *defaultText;
};

const SettingText kSettings[L::SettingCount] = {
    {"数据开始行", "4"}, {"数据结束行", ""},  {"尺码开始列", "6"}, {"尺码结束列", "15"}, {"尺码行号", "3"},
    {"货号列号", "2"},   {"品牌列号", "1"},   {"种类列号", "3"},   {"颜色列号", "5"},    {"面料列号", ""},
    {"等级列号", ""},    {"产地列号", ""},    {"进价列号", "17"},  {"零售价列号", "18"},
};

constexpr qint64 kSettingMax = std::numeric_limits<qint16>::max();
constexpr qint64 kSettingMin = std::numeric_limits<qint16>::min();

[[noreturn]] void refuse(const QString &message) { throw Refusal(message, Refusal::Icon::Info, kAppTitle); }
[[noreturn]] void refuse(L::Setting s, const QString &message) { throw LayoutRefusal(message, s); }

// "Q" for column 17, as the spreadsheet heads its columns.
QString columnLetters(int col) {
    QString out;
    for (; col > 0; col = (col - 1) / 26) out.prepend(QChar(u'A' + (col - 1) % 26));
    return out;
}

QString cellName(int row, int col) {
    return QStringLiteral("第%1行第%2列（%3）").arg(row).arg(col).arg(columnLetters(col) + QString::number(row));
}

const QString kNothingImported = QStringLiteral("，没有导入任何数据。请改正表格后重新选择文件。");

// A price of the row that has a quantity to take in: a plain number, or refused.
double priceOf(const SheetReader &sheet, int row, const DeliveryLayout &layout, L::Setting setting, const QString &what) {
    const qint64 col = layout[setting];
    if (col == 0) refuse(setting, QStringLiteral("第%1行有数量，请设置%2列号！").arg(row).arg(what));
    const QString text = sheet.cell(row, int(col));
    const auto value = parseNumber(text);
    if (!value) {
        const QString fault = text.trimmed().isEmpty() ? QStringLiteral("的%1是空的").arg(what)
                                                        : QStringLiteral("的%1“%2”不是数字").arg(what, text);
        refuse(cellName(row, int(col)) + fault + kNothingImported);
    }
    return *value;
}

}  // namespace

QString DeliveryLayout::label(Setting s) { return QString::fromUtf8(kSettings[s].label); }
QString DeliveryLayout::defaultText(Setting s) { return QString::fromUtf8(kSettings[s].defaultText); }

qint64 DeliveryLayout::readSetting(const QString &text) {
    // The leading number: spaces, an optional sign, digits and one decimal point.
    int i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    QString number;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) number += text[i++];
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            number += c;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return 0;
    // Far beyond 16 bits stays far beyond, without overflowing.
    if (std::abs(v) > 1e15) return v < 0 ? -qint64(1e15) : qint64(1e15);
    return roundHalfEven(v);
}

DeliveryPlan DeliveryImport::plan(const SheetReader &sheet, const DeliveryLayout &layout, const QDate &date) {
    for (int s = 0; s < L::SettingCount; ++s) {
        const qint64 v = layout.values[s];
        if (v > kSettingMax || v < kSettingMin)
            refuse(L::Setting(s), QStringLiteral("%1的值%2超出范围！").arg(L::label(L::Setting(s))).arg(v));
    }
    if (layout[L::EndRow] == 0) refuse(L::EndRow, QStringLiteral("请输入结束行！"));

    DeliveryPlan plan;
    const qint64 firstRow = layout[L::BeginRow], lastRow = layout[L::EndRow];
    const qint64 firstCol = layout[L::SizeBeginCol], lastCol = layout[L::SizeEndCol];
    // No data row or no size column: nothing is read and nothing is written.
    if (lastRow < firstRow || lastCol < firstCol) return plan;

    for (L::Setting s : {L::BeginRow, L::SizeBeginCol, L::SizeRow})
        if (layout[s] < 1) refuse(s, QStringLiteral("%1不能小于1！").arg(L::label(s)));
    for (L::Setting s : {L::TypeNoCol, L::BrandCol, L::NameCol, L::ColourCol, L::LeatherCol, L::GradeCol, L::PlaceCol,
                         L::BuyPriceCol, L::SellPriceCol})
        if (layout[s] < 0) refuse(s, QStringLiteral("%1不能小于0！").arg(L::label(s)));
    for (L::Setting s : {L::EndRow, L::SizeRow})
        if (layout[s] > sheet.rowCount())
            refuse(s, QStringLiteral("%1%2超出了表格的范围（表格共%3行）！").arg(L::label(s)).arg(layout[s]).arg(sheet.rowCount()));
    for (L::Setting s : {L::SizeEndCol, L::TypeNoCol, L::BrandCol, L::NameCol, L::ColourCol, L::LeatherCol, L::GradeCol,
                         L::PlaceCol, L::BuyPriceCol, L::SellPriceCol})
        if (layout[s] > sheet.columnCount())
            refuse(s, QStringLiteral("%1%2超出了表格的范围（表格共%3列）！")
                       .arg(L::label(s))
                       .arg(layout[s])
                       .arg(sheet.columnCount()));

    // Column 0 is not read: its attribute stays empty.
    auto text = [&](int row, L::Setting s) { return layout[s] == 0 ? QString() : sheet.cell(row, int(layout[s])); };
    plan.cellCount = int((lastRow - firstRow + 1) * (lastCol - firstCol + 1));
    int ordinal = 0;
    for (int r = int(firstRow); r <= int(lastRow); ++r) {
        GoodsIntake row;
        row.typeNo = text(r, L::TypeNoCol);
        row.brand = text(r, L::BrandCol);
        row.name = text(r, L::NameCol);
        row.colour = text(r, L::ColourCol);
        row.leather = text(r, L::LeatherCol);
        row.grade = text(r, L::GradeCol);
        row.place = text(r, L::PlaceCol);
        row.date = date;
        bool pricesRead = false;
        for (int c = int(firstCol); c <= int(lastCol); ++c) {
            ++ordinal;
            const QString qty = sheet.cell(r, c);
            if (qty.trimmed().isEmpty()) continue;
            const auto quantity = parseNumber(qty);
            if (!quantity) refuse(cellName(r, c) + QStringLiteral("的数量“%1”不是数字").arg(qty) + kNothingImported);
            if (*quantity <= 0) continue;  // 0 and negative quantities are not taken in
            if (*quantity != std::floor(*quantity))
                refuse(cellName(r, c) + QStringLiteral("的数量“%1”不是整数").arg(qty) + kNothingImported);
            if (!pricesRead) {
                row.buyPrice = priceOf(sheet, r, layout, L::BuyPriceCol, QStringLiteral("进价"));
                row.retailPrice = priceOf(sheet, r, layout, L::SellPriceCol, QStringLiteral("零售价"));
                pricesRead = true;
            }
            GoodsIntake in = row;
            in.size = sheet.cell(int(layout[L::SizeRow]), c);
            in.quantity = *quantity;
            plan.goods.push_back(std::move(in));
            plan.cellOrdinal.push_back(ordinal);
        }
    }
    return plan;
}

void DeliveryImport::write(const DeliveryPlan &plan, const std::function<void(int)> &progress) {
    GoodsIntakeService(db_, shopNo_).takeInBatch(plan.goods, [&](std::size_t written) {
        if (progress) progress(plan.cellOrdinal[written - 1]);
    });
}

}  // namespace kestavion
