#include "foundation/ui/grid.h"
#include "foundation/ui/grid_model.h"
#include "foundation/ui/typed_search.h"

#include <QApplication>
#include <QImage>
#include <functional>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kestavion;

namespace {

// Seller, article, amount: two sellers, three rows.
ResultSet sales() {
    return ResultSet({QStringLiteral("销售员"), QStringLiteral("货号"), QStringLiteral("金额"), QStringLiteral("GUID")},
                     {{QStringLiteral("张三"), QStringLiteral("A100"), 169.0, QStringLiteral("g1")},
                      {QStringLiteral("张三"), QStringLiteral("A200"), 0.1, QStringLiteral("g2")},
                      {QStringLiteral("李四"), QStringLiteral("A100"), 0.2, QStringLiteral("g3")}});
}

QStringList column(const Grid &g, int col) {
    QStringList out;
    for (int r = 1; r < g.rows(); ++r) out.append(g.textMatrix(r, col));
    return out;
}

}  // namespace

TEST(Grid, BindAddressesHeadingsKeysAndCells) {
    Grid g;
    g.bind(sales());
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(g.cols(), 5);
    EXPECT_EQ(g.textMatrix(0, 1), QStringLiteral("销售员"));
    EXPECT_EQ(g.colKey(3), QStringLiteral("金额"));
    EXPECT_EQ(g.colIndex(QStringLiteral("guid")), 4);  // keys found regardless of letter case
    EXPECT_EQ(g.colIndex(QStringLiteral("无此列")), -1);
    EXPECT_EQ(g.textMatrix(1, 3), QStringLiteral("169"));  // whole numbers without ".0"
    EXPECT_EQ(g.text(3, QStringLiteral("货号")), QStringLiteral("A100"));
    EXPECT_EQ(g.row(), 1);

    g.setText(2, QStringLiteral("货号"), QStringLiteral("B300"));
    EXPECT_EQ(g.textMatrix(2, 2), QStringLiteral("B300"));
    g.setTextMatrix(0, 2, QStringLiteral("款号"));
    EXPECT_EQ(g.textMatrix(0, 2), QStringLiteral("款号"));

    // An empty result shows the headings only.
    g.bind(ResultSet({QStringLiteral("货号"), QStringLiteral("尺码")}, {}));
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(g.cols(), 3);
    EXPECT_EQ(g.textMatrix(0, 2), QStringLiteral("尺码"));
    EXPECT_EQ(g.row(), 0);
}

TEST(Grid, AddFindAndRemoveRowsByTabText) {
    Grid g;
    g.setCols(3);
    g.addItem(QStringLiteral("1\tA100\t40"));
    g.addItem(QStringLiteral("2\tA200\t41"));
    g.addItem(QStringLiteral("0\tA050\t39\textra"), 1);  // before row 1; extra fields dropped
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(column(g, 1), (QStringList{"A050", "A100", "A200"}));
    EXPECT_EQ(g.textMatrix(1, 0), QStringLiteral("0"));
    EXPECT_EQ(g.textMatrix(1, 2), QStringLiteral("39"));

    EXPECT_EQ(g.findRow(QStringLiteral("A100"), 1, 1), 2);
    EXPECT_EQ(g.findRow(QStringLiteral("A100"), 3, 1), -1);  // only at or after the start row
    EXPECT_EQ(g.findRow(QStringLiteral("a100"), 1, 1), -1);  // exact comparison
    EXPECT_EQ(g.findRow(QStringLiteral("nowhere"), 1, 1), -1);

    g.removeItem(2);
    EXPECT_EQ(column(g, 1), (QStringList{"A050", "A200"}));
    g.setTextMatrix(2, 1, QStringLiteral("A050"));
    EXPECT_EQ(g.findRow(QStringLiteral("A050"), 2, 1), 2);

    g.setRows(5);
    EXPECT_EQ(g.rows(), 5);
    EXPECT_EQ(g.textMatrix(4, 1), QString());
    g.setRows(1);
    EXPECT_EQ(g.rows(), 1);
    g.addItem(QStringLiteral("\tC1"));
    EXPECT_EQ(g.rows(), 2);
    g.clearRows();
    EXPECT_EQ(g.rows(), 1);
    g.clearRows();  // nothing left to clear
    EXPECT_EQ(g.rows(), 1);
}

TEST(Grid, RemovingManyRowsKeepsTheRestAndTheirColours) {
    // Enough removals to make the model rebuild its storage.
    Grid g;
    g.setCols(2);
    for (int i = 0; i < 3000; ++i) g.addItem(QStringLiteral("\t%1").arg(i));
    g.setCellBackColor(3000, 1, 255);
    for (int i = 0; i < 2500; ++i) g.removeItem(1);
    ASSERT_EQ(g.rows(), 501);
    EXPECT_EQ(g.textMatrix(1, 1), QStringLiteral("2500"));
    EXPECT_EQ(g.textMatrix(500, 1), QStringLiteral("2999"));
    EXPECT_EQ(g.cellBackColor(500, 1), 255);
    EXPECT_EQ(g.cellBackColor(499, 1), -1);
    EXPECT_EQ(g.findRow(QStringLiteral("2999"), 1, 1), 500);
}

TEST(Grid, SubtotalRowsStandAboveTheirGroupsAndGrandTotalIsRowOne) {
    Grid g;
    g.bind(sales());
    g.setRow(2);
    g.subtotal(Grid::Aggregate::Sum, 1, 3, {}, -1, 255, true, QStringLiteral("合计"));
    g.subtotal(Grid::Aggregate::Sum, -1, 3, {}, -1, 255, true, QStringLiteral("总合计"));
    // 总合计, 合计(张三), 张三, 张三, 合计(李四), 李四
    ASSERT_EQ(g.rows(), 7);
    EXPECT_EQ(column(g, 0), (QStringList{"总合计", "合计", "", "", "合计", ""}));
    EXPECT_EQ(column(g, 3), (QStringList{"169.3", "169.1", "169", "0.1", "0.2", "0.2"}));
    EXPECT_EQ(column(g, 1), (QStringList{"", "", "张三", "张三", "", "李四"}));
    EXPECT_TRUE(g.isSubtotal(1));
    EXPECT_TRUE(g.isSubtotal(5));
    EXPECT_FALSE(g.isSubtotal(3));
    EXPECT_EQ(g.row(), 4);  // the same record stays current

    // A second total column fills the same total rows.
    g.subtotal(Grid::Aggregate::Count, -1, 2, QStringLiteral("0.00"));
    g.subtotal(Grid::Aggregate::Count, 1, 2, QStringLiteral("0"));
    EXPECT_EQ(g.rows(), 7);
    EXPECT_EQ(column(g, 2), (QStringList{"3.00", "2", "A100", "A200", "1", "A100"}));

    // Column 0 is widened so the grand-total caption can be read.
    g.sizeColumns(1000);
    EXPECT_EQ(g.colWidth(0), 200);
    EXPECT_GT(g.columnWidth(0), 200 / 15);

    const GridSnapshot snap = g.snapshot();
    ASSERT_EQ(snap.rows.size(), 6u);
    EXPECT_TRUE(snap.rows[0].isTotal);
    EXPECT_FALSE(snap.rows[2].isTotal);
    EXPECT_EQ(snap.columns[1].heading, QStringLiteral("销售员"));

    g.clearSubtotals();
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(column(g, 3), (QStringList{"169", "0.1", "0.2"}));
    EXPECT_FALSE(g.isSubtotal(1));
    EXPECT_EQ(g.row(), 2);
    EXPECT_EQ(g.columnWidth(0), 13);
}

TEST(Grid, SubtotalGroupsAreRunsOfAdjacentRowsAndIgnoreNonNumbers) {
    Grid g;
    g.setCols(3);
    for (const char *line : {"\tA\t1", "\tA\tx", "\tB\t2,000", "\tA\t4"}) g.addItem(QString::fromUtf8(line));
    g.subtotal(Grid::Aggregate::Sum, 1, 2, QStringLiteral("0.0"), 0xFFFF00, 255, true, QStringLiteral("%s小计"),
               1);
    EXPECT_EQ(column(g, 1), (QStringList{"A小计", "A", "A", "B小计", "B", "A小计", "A"}));
    EXPECT_EQ(column(g, 2), (QStringList{"1.0", "1", "x", "2000.0", "2,000", "4.0", "4"}));
    EXPECT_EQ(g.cellBackColor(1, 2), 0xFFFF00);
    EXPECT_EQ(g.cellBackColor(2, 2), -1);
    // "x" counts 0, "2,000" is 2000; total rows in the range count too.
    EXPECT_DOUBLE_EQ(g.aggregateSum(2, 2, 3, 2), 1);
    EXPECT_DOUBLE_EQ(g.aggregateSum(7, 2, 1, 2), 1 + 1 + 2000 + 2000 + 4 + 4);  // corners in any order
}

TEST(Grid, SizeColumnsCentresVisibleColumnsAndKeepsHiddenOnesHidden) {
    Grid g;
    g.bind(sales());
    g.setColHidden(4, true);
    g.sizeColumns(1140.4);
    EXPECT_TRUE(g.colHidden(4));
    EXPECT_TRUE(g.isColumnHidden(4));
    EXPECT_EQ(g.colWidth(4), 1140);
    EXPECT_EQ(g.colAlignment(4), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(g.colAlignment(1), Qt::AlignCenter);
    EXPECT_EQ(g.colWidth(0), 200);
    EXPECT_EQ(g.columnWidth(1), 76);  // 1140 twips = 76 px
    g.setColHidden(4, false);
    EXPECT_EQ(g.columnWidth(4), 76);
}

TEST(Grid, MergeMaskJoinsEqualAdjacentDataCellsOnly) {
    Grid g;
    g.setCols(3);
    for (const char *line : {"\tA\t1", "\tA\t1", "\tA\t2", "\tB\t2", "\tB\t2"}) g.addItem(QString::fromUtf8(line));
    g.setMergeCols({1});
    auto *m = qobject_cast<GridModel *>(g.model());
    ASSERT_NE(m, nullptr);
    auto above = [&](int col) {
        QList<bool> out;
        for (int r = 0; r < m->rowCount(); ++r) out.append(m->mergedWithAbove(r, col));
        return out;
    };
    EXPECT_EQ(above(1), (QList<bool>{false, true, true, false, true}));
    EXPECT_EQ(above(2), (QList<bool>{false, false, false, false, false}));  // not a merge column
    EXPECT_TRUE(m->mergedWithBelow(0, 1));
    EXPECT_FALSE(m->mergedWithBelow(2, 1));

    g.setTextMatrix(2, 1, QStringLiteral("C"));  // the mask follows edits
    EXPECT_EQ(above(1), (QList<bool>{false, false, false, false, true}));

    g.subtotal(Grid::Aggregate::Sum, -1, 2);  // a total row never merges
    EXPECT_FALSE(m->mergedWithAbove(1, 1));
    EXPECT_EQ(g.textMatrix(1, 2), QStringLiteral("8"));
}

TEST(Grid, BeforeEditCanRefuseAndAfterEditFollowsACommittedEdit) {
    Grid g;
    g.bind(sales());
    g.setColEditable(2, true);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.activateWindow();
    g.setFocus();

    bool refuse = true;
    QList<QPair<int, int>> asked, edited;
    QObject::connect(&g, &Grid::beforeEdit, [&](int r, int c, bool *cancel) {
        asked.append({r, c});
        *cancel = refuse;
    });
    QObject::connect(&g, &Grid::afterEdit, [&](int r, int c) { edited.append({r, c}); });

    g.setRow(2);
    g.setCol(1);  // not editable: nobody is asked
    QTest::keyClick(&g, Qt::Key_F2);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_FALSE(g.isEditing());

    g.setCol(2);
    QTest::keyClick(&g, Qt::Key_F2);
    EXPECT_EQ(asked, (QList<QPair<int, int>>{{2, 2}}));
    EXPECT_FALSE(g.isEditing());
    EXPECT_TRUE(edited.isEmpty());

    refuse = false;
    QSignalSpy focus(&g, &Grid::gotFocus);
    QTest::keyClick(&g, Qt::Key_F2);
    ASSERT_TRUE(g.isEditing());
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("B9"));

    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the editor commits through a queued call
    EXPECT_EQ(g.textMatrix(2, 2), QStringLiteral("B9"));
    EXPECT_EQ(edited, (QList<QPair<int, int>>{{2, 2}}));
    EXPECT_EQ(focus.size(), 0);  // back from its own editor is not a new visit
}

TEST(Grid, SignalsForKeysRowsChecksAndSelection) {
    Grid g;
    g.bind(sales());
    g.setColCheckBox(3, true);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.activateWindow();
    g.setFocus();
    EXPECT_EQ(g.tabKeyNavigation(), false);
    EXPECT_TRUE(g.verticalHeader()->isHidden());

    QSignalSpy rows(&g, &Grid::rowChanged);
    QSignalSpy toggled(&g, &Grid::checkToggled);
    bool consume = true;
    QList<int> keys;
    QObject::connect(&g, &Grid::keyPressed, [&](QKeyEvent *e, bool *handled) {
        keys.append(e->key());
        *handled = consume;
    });
    QTest::keyClick(&g, Qt::Key_Down);  // consumed by the screen: the row stays
    EXPECT_EQ(g.row(), 1);
    consume = false;
    QTest::keyClick(&g, Qt::Key_Down);
    EXPECT_EQ(g.row(), 2);
    EXPECT_EQ(keys, (QList<int>{Qt::Key_Down, Qt::Key_Down}));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.last().at(0).toInt(), 2);

    // Check boxes: "169" and "0.1" read checked; Space toggles the current row's.
    EXPECT_TRUE(g.cellChecked(1, 3));
    g.setCellChecked(1, 3, false);
    EXPECT_FALSE(g.cellChecked(1, 3));
    g.setCol(3);
    QTest::keyClick(&g, Qt::Key_Space);
    EXPECT_FALSE(g.cellChecked(2, 3));
    ASSERT_EQ(toggled.size(), 1);
    EXPECT_EQ(toggled.at(0).at(2).toBool(), false);

    g.setRow(1);
    g.selectionModel()->select(QItemSelection(g.model()->index(0, 0), g.model()->index(1, 4)),
                               QItemSelectionModel::ClearAndSelect);
    g.setColHidden(4, true);
    EXPECT_EQ(g.selectedText(), QStringLiteral("张三\tA100\t0\n张三\tA200\t0"));
    g.setRow(0);
    EXPECT_EQ(g.row(), 0);
}

namespace {
// Pixels of a cell's inner area (borders left out) that match a predicate.
int countPixels(const QImage &img, QRect cell, const std::function<bool(QColor)> &pred) {
    cell = cell.adjusted(2, 2, -2, -2);
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (pred(img.pixelColor(x, y))) ++n;
    return n;
}
}  // namespace

TEST(Grid, PaintsTotalCaptionsRedAndMergedCellsOnce) {
    Grid g;
    g.resize(500, 300);
    g.setCols(3);
    for (const char *line : {"\tAA\t1", "\tAA\t2", "\tBB\t3"}) g.addItem(QString::fromUtf8(line));
    g.subtotal(Grid::Aggregate::Sum, -1, 2, {}, -1, 255, true, QStringLiteral("ZZ"));
    g.setMergeCols({1});
    g.sizeColumns(1500);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.setRow(0);
    const QImage img = g.viewport()->grab().toImage();
    auto cellRect = [&](int row, int col) { return g.visualRect(g.model()->index(row - 1, col)); };
    auto red = [](QColor c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; };
    auto dark = [](QColor c) { return c.lightness() < 128; };

    EXPECT_GT(countPixels(img, cellRect(1, 0), red), 0);  // "ZZ" in red
    EXPECT_GT(countPixels(img, cellRect(1, 2), red), 0);  // the sum "6" in red
    EXPECT_EQ(countPixels(img, cellRect(2, 2), red), 0);
    EXPECT_GT(countPixels(img, cellRect(2, 1), dark), 0);  // first "AA" drawn
    EXPECT_EQ(countPixels(img, cellRect(3, 1), dark), 0);  // the second is part of the merge
    EXPECT_GT(countPixels(img, cellRect(4, 1), dark), 0);  // "BB"
}

TEST(Grid, FocusAndRightClickSignals) {
    QWidget w;
    auto *other = new QLineEdit(&w);
    auto *g = new Grid(&w);
    g->move(0, 40);
    g->resize(400, 200);
    g->bind(sales());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    other->setFocus();

    QSignalSpy focus(g, &Grid::gotFocus);
    QSignalSpy right(g, &Grid::rightClicked);
    const QRect cell = g->visualRect(g->model()->index(2, 2));
    QTest::mouseClick(g->viewport(), Qt::RightButton, {}, cell.center());
    ASSERT_EQ(right.size(), 1);
    EXPECT_EQ(right.at(0).at(0).toInt(), 3);
    EXPECT_EQ(right.at(0).at(1).toInt(), 2);
    EXPECT_EQ(g->row(), 3);  // the clicked row becomes current, for a context menu

    g->setFocus();
    EXPECT_GE(focus.size(), 1);
    // Tab leaves the grid instead of moving between its cells.
    QTest::keyClick(g, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), g);
}

// The typed search shows stored rows without rebinding: narrowing when the text grows
// gives the same rows as a fresh search, a further condition drops rows whose cell
// changed since (a goods sold out), and clearing shows every remaining row again.
TEST(Grid, TypedSearchNarrowsAndWidensOverTheStoredRows) {
    Grid g;
    g.bind(ResultSet({QStringLiteral("GUID"), QStringLiteral("货号"), QStringLiteral("数量")},
                     {{QStringLiteral("g1"), QStringLiteral("A100"), 2.0},
                      {QStringLiteral("g2"), QStringLiteral("a105"), 1.0},
                      {QStringLiteral("g3"), QStringLiteral("B100"), 3.0},
                      {QStringLiteral("g4"), QStringLiteral("A200"), 1.0}}));
    TypedSearch search(&g, QStringLiteral("货号"));
    search.require(QStringLiteral("数量"), [](const QString &t) { return t.toDouble() > 0; });
    search.rebound();
    search.apply(QStringLiteral("a1"));
    EXPECT_EQ(column(g, 1), (QStringList{QStringLiteral("g1"), QStringLiteral("g2")}));
    EXPECT_EQ(g.row(), 1);
    search.apply(QStringLiteral("a10"));  // narrowed from the two rows shown
    EXPECT_EQ(column(g, 1), (QStringList{QStringLiteral("g1"), QStringLiteral("g2")}));
    search.apply(QStringLiteral("0"));  // not an extension: all stored rows are tested
    EXPECT_EQ(column(g, 1).size(), 4);

    // g2 sold out: its stored cell changes in place and the next search leaves it out.
    GridModel &m = g.store();
    m.setStoredCell(m.findStoredRow(1, QStringLiteral("g2")), 3, QStringLiteral("0"));
    EXPECT_EQ(g.text(2, QStringLiteral("数量")), QStringLiteral("0"));
    search.apply(QStringLiteral("05"));
    EXPECT_EQ(g.rows(), 1);  // no row, no current row
    EXPECT_EQ(g.row(), 0);
    search.apply(QString());
    EXPECT_EQ(column(g, 1), (QStringList{QStringLiteral("g1"), QStringLiteral("g3"), QStringLiteral("g4")}));
    EXPECT_EQ(m.storedRowCount(), 4);
}

namespace {
// Rows of text handed out as the engine hands them, one at a time.
class TextRow final : public RowView {
public:
    explicit TextRow(QList<QByteArray> fields) : fields_(std::move(fields)) {}
    QByteArrayView utf8(int column) const override { return fields_.value(column); }
    double number(int column) const override { return fields_.value(column).toDouble(); }

private:
    QList<QByteArray> fields_;
};
}  // namespace

TEST(Grid, BindRowsStreamsTheRowsAndAFailedReadLeavesTheListAsItWas) {
    Grid g;
    const QStringList columns = {QStringLiteral("货号"), QStringLiteral("颜色")};
    // A text repeated from the row above, an empty one, and one coming back.
    const std::vector<QList<QByteArray>> rows = {
        {"A100", "黑色"}, {"A100", "黑色"}, {"A100", ""}, {"B200", "黑色"}, {"A100", "白色"}};
    g.bindRows(columns, [&](const GridModel::RowSink &sink) {
        for (const auto &r : rows) sink(TextRow(r));
    });
    EXPECT_EQ(column(g, 1), (QStringList{QStringLiteral("A100"), QStringLiteral("A100"), QStringLiteral("A100"),
                                         QStringLiteral("B200"), QStringLiteral("A100")}));
    EXPECT_EQ(column(g, 2), (QStringList{QStringLiteral("黑色"), QStringLiteral("黑色"), QString(),
                                         QStringLiteral("黑色"), QStringLiteral("白色")}));
    EXPECT_EQ(g.textMatrix(0, 2), QStringLiteral("颜色"));
    EXPECT_EQ(g.row(), 1);

    // The read fails half way: the rows read so far are dropped, the list stays.
    g.setRow(3);
    EXPECT_THROW(g.bindRows({QStringLiteral("GUID")},
                            [&](const GridModel::RowSink &sink) {
                                sink(TextRow({"g1"}));
                                throw DbError(QStringLiteral("disk I/O error"));
                            }),
                 DbError);
    EXPECT_EQ(g.rows(), 6);
    EXPECT_EQ(g.cols(), 3);
    EXPECT_EQ(g.textMatrix(4, 1), QStringLiteral("B200"));
    EXPECT_EQ(g.row(), 3);
}
