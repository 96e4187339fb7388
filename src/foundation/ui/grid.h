#pragma once

#include "foundation/database.h"
#include "foundation/grid_snapshot.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QTableView>

class QKeyEvent;

namespace kestavion {

class GridModel;

// Every list on the screens. Addressing: row 0 is the heading row, column 0 the
// narrow row-header column (captions such as "合计", record numbers, a red mark);
// data start at row 1, column 1. Row and column counts include row 0 and column 0.
// "No current row" is 0. Colours are BGR numbers (255 is red).
class Grid : public QTableView {
    Q_OBJECT
public:
    explicit Grid(QWidget *parent = nullptr);
    ~Grid() override;

    // --- content -------------------------------------------------------------
    // Columns become the result's fields after column 0; headings and keys are the
    // field names (aliases); one row per record from row 1. Subtotals are cleared.
    void bind(const ResultSet &rs);
    // The same from rows read one by one (see GridModel::bindRows); rethrows what
    // `read` throws, leaving the list as it was (so it stays when no row is read and
    // `keepWhenEmpty` is set). Returns the number of rows read.
    int bindRows(const QStringList &columns, const std::function<void(const std::function<void(const RowView &)> &)> &read,
                 bool keepWhenEmpty = false);
    // Opt-in paging after bindRows bound a first page: `more` appends the next page
    // when the list is scrolled (or moved with the keys) to its end, and returns whether
    // more may follow (GridModel::setMoreRows). The reader reports its own failures.
    void setMoreRows(std::function<bool(const std::function<void(const RowView &)> &)> more);
    // The cells and the filtered view of the stored rows (a search that shows a
    // subset without rebinding).
    GridModel &store() const { return *model_; }
    // Shows exactly these stored rows (GridModel::showStoredRows); row 1 becomes
    // current when there is one.
    void showStoredRows(std::vector<qint32> rows);
    int rows() const;             // including the heading row
    void setRows(int n);          // 1 leaves the headings only
    int cols() const;             // including column 0
    void setCols(int n);
    QString textMatrix(int row, int col) const;   // row 0 gives the heading
    void setTextMatrix(int row, int col, const QString &text);
    QString text(int row, const QString &key) const;  // by column key
    void setText(int row, const QString &key, const QString &text);

    // Removes rows 1..n (the heading row stays).
    void clearRows();
    // Adds a row from tab-separated text (field 0 goes to column 0) at the end, or
    // before `row` when row >= 1.
    void addItem(const QString &tabText, int row = -1);
    void removeItem(int row);
    // First row >= startRow whose cell in `col` equals `text` exactly; -1 when none.
    int findRow(const QString &text, int startRow, int col) const;

    // --- current cell --------------------------------------------------------
    int row() const;      // 0 when none
    void setRow(int row); // selects and scrolls to it; 0 clears
    int col() const;
    void setCol(int col);

    // --- columns -------------------------------------------------------------
    int colIndex(const QString &key) const;  // -1 when no column has that key
    QString colKey(int col) const;
    void setColKey(int col, const QString &key);
    bool colHidden(int col) const;
    void setColHidden(int col, bool hidden);
    int colWidth(int col) const;             // twips
    void setColWidth(int col, int twips);    // 1440 twips = 96 px
    void setColAlignment(int col, Qt::Alignment alignment);
    Qt::Alignment colAlignment(int col) const;
    // A Boolean column drawn as a check box; click or Space toggles it. A cell is
    // checked when its text is a non-zero number or other non-empty text except
    // "false" (so "1" and "-1" from the database both read checked);
    // setCellChecked writes "1" or "0".
    void setColCheckBox(int col, bool on);
    bool cellChecked(int row, int col) const;
    void setCellChecked(int row, int col, bool checked);
    // Columns the user may type into (all read-only by default).
    void setColEditable(int col, bool editable);
    bool colEditable(int col) const;
    // True while a cell editor is open.
    bool isEditing() const;
    // Centre every visible column, width 200 twips for column 0 and `widthTwips` for
    // the others (hidden ones too).
    void sizeColumns(double widthTwips);
    // Width to contents for columns c1..c2 (all when -1).
    void autoSize(int c1 = -1, int c2 = -1);
    // Widens the shown columns c1..c2 (all data columns when -1) whose content or
    // heading is wider than their width; never narrows one.
    void widenToContents(int c1 = 1, int c2 = -1);

    // --- look ----------------------------------------------------------------
    void setCellBackColor(int row, int col, int bgr);  // -1 resets
    int cellBackColor(int row, int col) const;          // -1 when none set
    void setCellForeColor(int row, int col, int bgr);
    void setRowBold(int row, bool bold);
    // Merge cells of equal content in adjacent rows of these columns (painted).
    void setMergeCols(const QList<int> &cols);

    // --- totals --------------------------------------------------------------
    enum class Aggregate { Sum, Count };
    // Inserts total rows: one per group of equal values in `groupOn` (or one for
    // the whole list when groupOn is -1) standing above the rows it totals; the
    // whole-list total becomes row 1. `caption` goes into column 0 (or into the
    // group column when captionCol >= 1); `format` like "0" or "0.00" or empty for
    // the shortest form. Total rows are bold and drawn in `foreBgr` when bold.
    // An empty caption gives "合计" (groups) or "总合计" (whole list); "%s" in it
    // stands for the group's value. Count counts the data rows of the group. A
    // second call with the same grouping fills the total rows already there (one
    // call per total column). A group is a run of adjacent rows with equal values.
    void subtotal(Aggregate fn, int groupOn, int totalCol, const QString &format = {},
                  int backBgr = -1, int foreBgr = 255, bool bold = true, const QString &caption = {},
                  int captionCol = 0);
    void clearSubtotals();
    bool isSubtotal(int row) const;
    // Sum of the numeric cells of a rectangle (non-numbers count 0).
    double aggregateSum(int row1, int col1, int row2, int col2) const;
    // The selected range as tab-separated text, rows separated by line breaks.
    QString selectedText() const;

    GridSnapshot snapshot() const;

    // Typing on a read-only list does not jump to a row starting with those letters.
    void keyboardSearch(const QString &) override {}

signals:
    // Before a cell is edited; set *cancel to true to refuse.
    void beforeEdit(int row, int col, bool *cancel);
    void afterEdit(int row, int col);
    // Every key pressed while the grid has the focus; set *handled to consume it.
    void keyPressed(QKeyEvent *event, bool *handled);
    void rowChanged(int row);
    void gotFocus();
    void rightClicked(int row, int col, const QPoint &globalPos);
    // Double click on a data cell.
    void cellDoubleClicked(int row, int col);
    void checkToggled(int row, int col, bool checked);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;

protected slots:
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void applyColumns();           // hidden flags and widths from the model
    void applyColumnWidth(int col);
    void toggleCheck(int row, int col);
    // Runs a change that resets the model, keeping the current data row current.
    template <typename F> void keepingCurrentRow(F change);

    GridModel *model_;
    QPersistentModelIndex editing_;
    bool settingWidth_ = false;
    bool closingEditor_ = false;
};

}  // namespace kestavion
