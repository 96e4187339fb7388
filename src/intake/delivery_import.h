#pragma once

#include "foundation/database.h"
#include "foundation/refusal.h"
#include "intake/goods_intake.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace kestavion {

class SheetReader;

// Where a supplier's delivery note keeps what: 1-based rows and columns of its first
// worksheet. A column of 0 is not read (its attribute stays empty).
struct DeliveryLayout {
    enum Setting {
        BeginRow, EndRow, SizeBeginCol, SizeEndCol, SizeRow, TypeNoCol, BrandCol, NameCol, ColourCol,
        LeatherCol, GradeCol, PlaceCol, BuyPriceCol, SellPriceCol, SettingCount
    };
    // Each setting as read from its box (see readSetting); may lie outside 16 bits.
    std::array<qint64, SettingCount> values{4, 0, 6, 15, 3, 2, 1, 3, 5, 0, 0, 0, 17, 18};

    qint64 operator[](Setting s) const { return values[s]; }
    qint64 &operator[](Setting s) { return values[s]; }
    // The label of a setting's box without its colon ("数据开始行").
    static QString label(Setting s);
    // The text each box shows when the screen opens.
    static QString defaultText(Setting s);
    // A box's text read as its leading decimal number, taken to the nearest whole
    // number (halves to even); empty or no number reads as 0. "4行" reads as 4.
    static qint64 readSetting(const QString &text);
};

// A layout setting that cannot be used as it stands; names the setting.
class LayoutRefusal : public Refusal {
public:
    LayoutRefusal(const QString &message, DeliveryLayout::Setting setting)
        : Refusal(message, Icon::Info, kAppTitle), setting_(setting) {}
    DeliveryLayout::Setting setting() const { return setting_; }

private:
    DeliveryLayout::Setting setting_;
};

// The goods one import would write, each with the place of its quantity cell.
struct DeliveryPlan {
    std::vector<GoodsIntake> goods;
    std::vector<int> cellOrdinal;  // 1-based position of the goods' cell among all (row, size column) cells
    int cellCount = 0;             // rows × size columns, skipped cells included
};

// The import of a supplier's delivery note: each cell of the quantity block holding a
// whole number above 0 becomes one new Goods with its intake record and first lot,
// written exactly as a hand-entered batch intake writes it, all in one transaction.
class DeliveryImport {
public:
    DeliveryImport(Database &db, QString shopNo) : db_(db), shopNo_(std::move(shopNo)) {}

    // Reads and checks everything the import would write, writing nothing. Throws
    // LayoutRefusal for no end row, or a setting beyond 16 bits or outside the sheet;
    // Refusal for a cell that would be written and cannot be (a quantity that is no
    // whole number, a price that is no number), naming its row and column.
    static DeliveryPlan plan(const SheetReader &sheet, const DeliveryLayout &layout, const QDate &date);

    // Writes the plan in one transaction; `progress` hears the ordinal of each cell
    // written. Throws DbError (nothing written) when the engine refuses.
    void write(const DeliveryPlan &plan, const std::function<void(int cellOrdinal)> &progress = {});

private:
    Database &db_;
    QString shopNo_;
};

}  // namespace kestavion
