#include "kit/fixtures.h"
#include "printing/grid_report.h"
#include "printing/report_files.h"
#include "printing/xlsx_export.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kestavion;
using namespace kestavion::test;

namespace {

// Row header, article, colour, pairs, amount, and a hidden key; the grand total first.
GridSnapshot stockSnapshot() {
    GridSnapshot s;
    const QStringList headings{QString(), QStringLiteral("货号"), QStringLiteral("颜色"), QStringLiteral("数量"),
                               QStringLiteral("金额"), QStringLiteral("GUID")};
    for (const QString &h : headings) s.columns.push_back({h, h, h == QLatin1String("GUID"), 1000, 0});
    s.rows.push_back({{QStringLiteral("总合计"), {}, {}, QStringLiteral("3"), QStringLiteral("1016.5"), {}}, true});
    s.rows.push_back({{{}, QStringLiteral("0012"), QStringLiteral("黑色"), QStringLiteral("2"), QStringLiteral("1,000"),
                       QStringLiteral("{G1}")},
                      false});
    s.rows.push_back({{{}, QStringLiteral("A100"), QStringLiteral("白色"), QStringLiteral("1"), QStringLiteral("16.50"),
                       QStringLiteral("{G2}")},
                      false});
    return s;
}

}  // namespace

class SheetExport : public TempDirTest {};

TEST_F(SheetExport, HoldsColumnZeroAndTheShownColumnsWithHeadingsFirst) {
    const QString file = path(QStringLiteral("QueryData.xlsx"));
    writeXlsx(stockSnapshot(), file);
    const std::vector<QStringList> rows = readXlsxSheet(file);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (QStringList{QString(), QStringLiteral("货号"), QStringLiteral("颜色"), QStringLiteral("数量"),
                                    QStringLiteral("金额")}));
    EXPECT_EQ(rows[1], (QStringList{QStringLiteral("总合计"), {}, {}, QStringLiteral("3"), QStringLiteral("1016.5")}));
    // A leading zero, a thousands separator and a trailing zero stay as the grid shows them.
    EXPECT_EQ(rows[2], (QStringList{{}, QStringLiteral("0012"), QStringLiteral("黑色"), QStringLiteral("2"),
                                    QStringLiteral("1,000")}));
    EXPECT_EQ(rows[3][4], QStringLiteral("16.50"));

    // Plain numbers are numbers the sheet can sum; text is text; blank cells carry
    // their border too.
    const QString sheet = readXlsxPart(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    const auto has = [&](const char *pattern) { return QRegularExpression(QLatin1String(pattern)).match(sheet).hasMatch(); };
    EXPECT_TRUE(has("<c r=\"D3\" s=\"\\d+\"><v>2</v></c>"));
    EXPECT_TRUE(has("<c r=\"B3\" s=\"\\d+\" t=\"s\">"));
    EXPECT_TRUE(has("<c r=\"B2\" s=\"[1-9]\\d*\"/>"));
    EXPECT_TRUE(readXlsxPart(file, QStringLiteral("xl/styles.xml")).contains(QStringLiteral("<left style=\"thin\">")));
}

TEST_F(SheetExport, ReplacesAnOldFileWholeAndRefusesAMissingFolder) {
    const QString file = path(QStringLiteral("QueryData.xlsx"));
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older export");
    }
    writeXlsx(stockSnapshot(), file);
    EXPECT_EQ(readXlsxSheet(file).size(), 4u);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("QueryData.xlsx")});

    const QString nowhere = path(QStringLiteral("无此文件夹/QueryData.xlsx"));
    EXPECT_THROW(writeXlsx(stockSnapshot(), nowhere), ExportError);
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST(GridReportLayout, PrintsColumnZeroOnlyWithRecordNumbersAndSplitsPages) {
    ReportOptions o;
    EXPECT_EQ(buildGridReport(stockSnapshot(), o).columns.front().gridCol, 1);
    o.recordNumbers = true;
    const GridReport r = buildGridReport(stockSnapshot(), o);
    ASSERT_EQ(r.columns.size(), 5u);  // the hidden key is not printed
    EXPECT_EQ(r.lines.size(), 4u);    // headings + three rows
    EXPECT_TRUE(r.lines[1].bold);

    EXPECT_EQ(pageStarts(0, 10), std::vector<int>{0});
    EXPECT_EQ(pageStarts(10, 10), std::vector<int>{0});
    EXPECT_EQ(pageStarts(21, 10), (std::vector<int>{0, 10, 20}));
}
