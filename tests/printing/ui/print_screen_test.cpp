#include "foundation/ui/grid.h"
#include "kit/fixtures.h"
#include "printing/report_files.h"
#include "printing/ui/print_screen.h"
#include "printing/ui/report_renderer.h"

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestavion;
using namespace kestavion::test;

namespace {

// A stock list as the query screens show it: two articles, a "合计" row above each
// article's run and the grand total "总合计" as row 1; the goods key hidden.
void fillStock(Grid &g, int extraRows = 0) {
    std::vector<QVariantList> rows{
        {QStringLiteral("A100"), QStringLiteral("黑色"), QStringLiteral("40"), 2.0, QStringLiteral("{G1}")},
        {QStringLiteral("A100"), QStringLiteral("白色"), QStringLiteral("41"), 1.0, QStringLiteral("{G2}")},
        {QStringLiteral("B200"), QStringLiteral("棕色"), QStringLiteral("39"), 4.0, QStringLiteral("{G3}")}};
    for (int i = 0; i < extraRows; ++i)
        rows.push_back({QStringLiteral("C%1").arg(300 + i), QStringLiteral("红色"), QStringLiteral("38"), 1.0,
                        QStringLiteral("{X%1}").arg(i)});
    g.bind(ResultSet({QStringLiteral("货号"), QStringLiteral("颜色"), QStringLiteral("尺码"), QStringLiteral("数量"),
                      QStringLiteral("GUID")},
                     std::move(rows)));
    g.setColHidden(5, true);
    g.sizeColumns(1200);
    if (extraRows == 0) g.subtotal(Grid::Aggregate::Sum, 1, 4, {}, -1, 255, true, QStringLiteral("合计"));
    g.subtotal(Grid::Aggregate::Sum, -1, 4, {}, -1, 255, true, QStringLiteral("总合计"));
}

// The lines of a page's text with their runs of spaces folded to one.
QStringList lines(const QString &page) {
    QStringList out;
    for (const QString &l : page.split(QLatin1Char('\n'))) {
        const QString t = l.simplified();
        if (!t.isEmpty()) out << t;
    }
    return out;
}

class PrintScreenTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ctx.prompter = &prompter;
        screen = std::make_unique<PrintScreen>(ctx);
        screen->askSavePath = [this](const QString &suggested, const QString &) {
            suggestions << suggested;
            return nextPath;
        };
        screen->openFile = [this](const QString &p) { opened << p; };
        fillStock(source);
    }
    void load(bool isTotal = true) { screen->LoadIt(source.snapshot(), isTotal); }
    QString exportPdf(const QString &name = QStringLiteral("report.pdf")) {
        nextPath = path(name);
        screen->cmdPdf->click();
        return nextPath;
    }
    std::vector<QStringList> exportXlsx() {
        nextPath = path(QStringLiteral("QueryData.xlsx"));
        QFile::remove(nextPath);
        screen->cmdExcel->click();
        return readXlsxSheet(nextPath);
    }
    void showActive() {
        screen->show();
        QApplication::setActiveWindow(screen.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    void toggleField(int index) {
        screen->listField->setFocus();
        screen->listField->setCurrentRow(index);
        QTest::keyClick(screen->listField, Qt::Key_Space);
    }

    ScriptedPrompter prompter;
    AppContext ctx;
    Grid source;
    std::unique_ptr<PrintScreen> screen;
    QString nextPath;
    QStringList suggestions, opened;
};

}  // namespace

TEST_F(PrintScreenTest, OpensOnACopyWithOneCheckedEntryPerShownColumn) {
    onNextModal([](QWidget *w) {
        auto *s = qobject_cast<PrintScreen *>(w);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->objectName(), QStringLiteral("frmPrint"));
        EXPECT_EQ(s->windowTitle(), QStringLiteral("打印"));
        ASSERT_EQ(s->listField->count(), 4);  // the hidden key is no field
        EXPECT_EQ(s->listField->item(3)->text(), QStringLiteral("数量"));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(s->listField->item(i)->checkState(), Qt::Checked);
        // The grand total in row 1 is the caller's total row.
        EXPECT_TRUE(s->chkisTotal->isEnabled());
        EXPECT_TRUE(s->chkisTotal->isChecked());
        EXPECT_TRUE(s->chkIsTableHead->isChecked());
        EXPECT_EQ(s->txtTable->toPlainText(), QStringLiteral("鞋店数据报表\n"));
        EXPECT_FALSE(s->chkRecordIndex->isChecked());
        EXPECT_TRUE(s->chkIsSwag->isChecked());
        EXPECT_TRUE(s->Opt_1->isChecked());
        EXPECT_EQ(s->VSFlexGrid->rows(), 7);
        EXPECT_GT(s->VSFlexGrid->colWidth(0), 420);  // room for "总合计"
        // Its own copy: unchecking a field leaves the caller's grid alone.
        s->listField->item(1)->setCheckState(Qt::Unchecked);
        EXPECT_TRUE(s->VSFlexGrid->colHidden(2));
        QTest::keyClick(s, Qt::Key_Escape);
    });
    openPrintScreen(ctx, source, nullptr);
    EXPECT_FALSE(source.colHidden(2));

    // A grid without a grand total offers no total row.
    Grid plain;
    plain.bind(ResultSet({QStringLiteral("货号")}, {{QStringLiteral("A100")}}));
    onNextModal([](QWidget *w) {
        EXPECT_FALSE(static_cast<PrintScreen *>(w)->chkisTotal->isEnabled());
        QTest::keyClick(w, Qt::Key_Escape);
    });
    openPrintScreen(ctx, plain, nullptr);
}

TEST_F(PrintScreenTest, NumberedReportHasHeadingsThenTheTotalThenRowsFromOne) {
    load();
    screen->chkRecordIndex->setChecked(true);
    const QString pdf = exportPdf();
    EXPECT_TRUE(suggestions.last().endsWith(QStringLiteral("/QueryData.pdf")));
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    const QStringList l = lines(pages[0]);
    // Title, headings, the grand total captioned "合计", then each article's total
    // above its rows; records numbered from 1, group totals keep their caption.
    const QStringList expected{QStringLiteral("鞋店数据报表"),  QStringLiteral("货号 颜色 尺码 数量"),
                               QStringLiteral("合计 7"),        QStringLiteral("合计 3"),
                               QStringLiteral("1 A100 黑色 40 2"), QStringLiteral("2 A100 白色 41 1"),
                               QStringLiteral("合计 4"),        QStringLiteral("3 B200 棕色 39 4"),
                               QStringLiteral("1 of 1")};
    EXPECT_EQ(l, expected);
    // Written, then offered to open.
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Question);
    EXPECT_EQ(opened, QStringList{pdf});

    // The spreadsheet holds column 0 and the shown columns, headings first.
    const std::vector<QStringList> sheet = exportXlsx();
    ASSERT_EQ(sheet.size(), 7u);
    EXPECT_EQ(sheet[0], (QStringList{{}, QStringLiteral("货号"), QStringLiteral("颜色"), QStringLiteral("尺码"),
                                     QStringLiteral("数量")}));
    EXPECT_EQ(sheet[1], (QStringList{QStringLiteral("合计"), {}, {}, {}, QStringLiteral("7")}));
    EXPECT_EQ(sheet[3], (QStringList{QStringLiteral("1"), QStringLiteral("A100"), QStringLiteral("黑色"),
                                     QStringLiteral("40"), QStringLiteral("2")}));
    EXPECT_TRUE(suggestions.last().endsWith(QStringLiteral("/QueryData.xlsx")));
}

TEST_F(PrintScreenTest, UncheckedFieldsVanishFromPreviewAndExportUntilCheckedAgain) {
    load();
    toggleField(1);  // 颜色, from the keyboard
    EXPECT_EQ(screen->listField->item(1)->checkState(), Qt::Unchecked);
    QString text = pdfPages(exportPdf()).join(QString());
    EXPECT_FALSE(text.contains(QStringLiteral("颜色")));
    EXPECT_FALSE(text.contains(QStringLiteral("黑色")));
    EXPECT_TRUE(text.contains(QStringLiteral("尺码")));
    std::vector<QStringList> sheet = exportXlsx();
    EXPECT_EQ(sheet[0], (QStringList{{}, QStringLiteral("货号"), QStringLiteral("尺码"), QStringLiteral("数量")}));
    EXPECT_EQ(sheet[3], (QStringList{{}, QStringLiteral("A100"), QStringLiteral("40"), QStringLiteral("2")}));

    toggleField(1);
    text = pdfPages(exportPdf()).join(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("颜色")));
    EXPECT_TRUE(text.contains(QStringLiteral("黑色")));
    EXPECT_EQ(exportXlsx()[0].size(), 5);
}

TEST_F(PrintScreenTest, TotalRowRemovedThenRestoredAsRowOne) {
    load();
    screen->chkRecordIndex->setChecked(true);
    screen->chkisTotal->setChecked(false);
    EXPECT_EQ(screen->VSFlexGrid->rows(), 6);
    std::vector<QStringList> sheet = exportXlsx();
    ASSERT_EQ(sheet.size(), 6u);
    for (const QStringList &row : sheet) EXPECT_NE(row.value(4), QStringLiteral("7"));
    EXPECT_EQ(sheet[1].first(), QStringLiteral("合计"));  // the first article's total
    EXPECT_EQ(sheet[2].first(), QStringLiteral("1"));
    EXPECT_EQ(sheet[5].first(), QStringLiteral("3"));
    QStringList l = lines(pdfPages(exportPdf()).value(0));
    EXPECT_EQ(l.value(2), QStringLiteral("合计 3"));
    EXPECT_EQ(l.value(3), QStringLiteral("1 A100 黑色 40 2"));

    screen->chkisTotal->setChecked(true);
    EXPECT_EQ(screen->VSFlexGrid->rows(), 7);
    EXPECT_EQ(screen->VSFlexGrid->textMatrix(1, 4), QStringLiteral("7"));
    sheet = exportXlsx();
    EXPECT_EQ(sheet[1], (QStringList{QStringLiteral("合计"), {}, {}, {}, QStringLiteral("7")}));
    EXPECT_EQ(sheet[3].first(), QStringLiteral("1"));

    // Without record numbers column 0 is neither printed nor numbered.
    screen->chkRecordIndex->setChecked(false);
    l = lines(pdfPages(exportPdf()).value(0));
    EXPECT_EQ(l.value(2), QStringLiteral("7"));
    EXPECT_EQ(l.value(4), QStringLiteral("A100 黑色 40 2"));
}

TEST_F(PrintScreenTest, AnEmptyTitleIsRefusedAndNoTitleIsAChoice) {
    load();
    showActive();
    screen->txtTable->clear();
    QTest::mouseClick(screen->cmdPreview, Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.last()->text, QStringLiteral("请输入表头！"));
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Warning);
    EXPECT_EQ(prompter.last()->title, kAppTitle);
    EXPECT_EQ(screen->report(), nullptr);
    EXPECT_FALSE(screen->cmdPrint->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), screen->txtTable);
    exportPdf();
    EXPECT_FALSE(QFile::exists(nextPath));

    // Unchecked, the box is emptied and locked; checked again it stays empty.
    screen->txtTable->setPlainText(QStringLiteral("库存"));
    screen->chkIsTableHead->setChecked(false);
    EXPECT_FALSE(screen->txtTable->isEnabled());
    EXPECT_TRUE(screen->txtTable->toPlainText().isEmpty());
    screen->chkIsTableHead->setChecked(true);
    EXPECT_TRUE(screen->txtTable->isEnabled());
    EXPECT_TRUE(screen->txtTable->toPlainText().isEmpty());

    screen->chkIsTableHead->setChecked(false);
    prompter.clear();
    screen->cmdPreview->setFocus();
    QTest::keyClick(screen->cmdPreview, Qt::Key_Return);  // Enter on the button previews
    EXPECT_TRUE(prompter.messages.empty());
    ASSERT_NE(screen->report(), nullptr);
    EXPECT_TRUE(screen->report()->report().title.isEmpty());
    EXPECT_EQ(screen->arv->pageCount(), 1);
    EXPECT_TRUE(screen->cmdPrint->isEnabled());
    EXPECT_EQ(lines(pdfPages(exportPdf()).value(0)).value(0), QStringLiteral("货号 颜色 尺码 数量"));
}

TEST_F(PrintScreenTest, LongReportCarriesPageOfPagesOnEveryPageAndTurnsOnlyWhenAsked) {
    fillStock(source, 150);
    load();
    const QStringList pages = pdfPages(exportPdf());
    ASSERT_GE(pages.size(), 3);
    const int m = int(pages.size());
    for (int i = 0; i < m; ++i) {
        EXPECT_EQ(lines(pages[i]).last(), QStringLiteral("%1 of %2").arg(i + 1).arg(m)) << "page " << i + 1;
        EXPECT_EQ(lines(pages[i]).first(), QStringLiteral("鞋店数据报表"));
        EXPECT_EQ(pages[i].contains(QStringLiteral("货号")), i == 0);  // headings on page 1 only
    }
    const auto landscape = [](const QString &size) {
        const auto v = QRegularExpression(QStringLiteral("([\\d.]+) x ([\\d.]+)")).match(size);
        return v.captured(1).toDouble() > v.captured(2).toDouble();
    };
    EXPECT_FALSE(landscape(pdfPageSize(nextPath)));

    // Printed from the preview: the same pages on the printer's paper.
    showActive();
    screen->Opt_1->setFocus();
    QTest::keyClick(screen->Opt_1, Qt::Key_Left);  // arrows move between the two options
    ASSERT_TRUE(screen->Opt_0->isChecked());
    screen->cmdPreview->click();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path(QStringLiteral("printed.pdf")));
    screen->report()->setUpPage(printer);
    ASSERT_TRUE(screen->printTo(printer));
    EXPECT_TRUE(landscape(pdfPageSize(printer.outputFileName())));
    EXPECT_EQ(screen->arv->pageCount(), int(pdfPages(printer.outputFileName()).size()));
    EXPECT_TRUE(landscape(pdfPageSize(exportPdf())));
}

TEST_F(PrintScreenTest, ExportIsCancelledOrRefusedWithoutHalfFiles) {
    load();
    nextPath.clear();  // the user closed the save dialog
    screen->cmdExcel->click();
    EXPECT_TRUE(prompter.messages.empty());

    nextPath = path(QStringLiteral("无此文件夹/QueryData.xlsx"));
    screen->cmdExcel->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Warning);
    EXPECT_TRUE(prompter.last()->text.contains(QStringLiteral("无此文件夹")));
    EXPECT_TRUE(opened.isEmpty());

    // A name typed without its ending gets one; declining leaves the file closed.
    prompter.clear();
    prompter.answer({false});
    nextPath = path(QStringLiteral("库存"));
    screen->cmdExcel->click();
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("库存.xlsx"))));
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Question);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(PrintScreenTest, AVeryLongPreviewIsAskedForFirst) {
    fillStock(source, 20000);
    load();
    prompter.answer({false});
    screen->cmdPreview->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.last()->kind, Prompter::Kind::Question);
    EXPECT_TRUE(prompter.last()->text.startsWith(QStringLiteral("报表共有 ")));
    EXPECT_EQ(screen->report(), nullptr);
    EXPECT_FALSE(screen->cmdPrint->isEnabled());
}
