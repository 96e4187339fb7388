#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QString>
#include <QStringList>
#include <climits>
#include <functional>
#include <vector>

namespace kestavion {

class ResultSet;
class RowView;

// The cells behind a Grid. Model row r is grid row r + 1 (grid row 0 is the
// horizontal header); model column c is grid column c (column 0 is a real column).
//
// Storage: each column keeps its distinct texts once and one 32-bit index per data
// row, so a year of sales (article numbers, sizes, colours, sellers repeat) stays
// small, and "same text" is "same index" for merging, grouping and searching.
// What is shown is a layout: one entry per shown row, referring to a data row
// (>= 0) or to a total row (~index into totals_). Total rows are thus inserted and
// cleared in one pass without moving any data. Data rows are only ever appended to
// the storage; inserting in the middle of the list only touches the layout.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString heading;
        QString key;
        int widthTwips = -1;  // -1: the view's default width
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        bool hidden = false;
        bool checkBox = false;
        bool editable = false;

        std::vector<quint32> ids;        // one per stored data row
        std::vector<QString> values{QString()};  // values[0] is the empty text
        QHash<QString, quint32> lookup;  // text -> index in values (not for "")

        quint32 intern(const QString &text);
        // Index of `text` in values, or -1 when no cell of the column ever held it.
        qint64 find(const QString &text) const;
    };

    explicit GridModel(QObject *parent = nullptr);
    ~GridModel() override;

    // QAbstractTableModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // --- content (rows are model rows) ---------------------------------------
    void bind(const ResultSet &rs);
    // Binds rows as they are read, keeping no copy of the result: `read` hands each
    // row to the sink it is given; field f goes to column f + 1 under heading
    // columns[f]. When `read` throws, the list stays as it was and the exception
    // goes on; so it does when no row is read and `keepWhenEmpty` is set. Returns
    // the number of rows read.
    using RowSink = std::function<void(const RowView &)>;
    int bindRows(const QStringList &columns, const std::function<void(const RowSink &)> &read,
                 bool keepWhenEmpty = false);
    // A list read in pages (only lists that ask for it): after bindRows has bound the
    // first page, `more` appends the next page through the sink it is given and
    // returns whether more may follow. The view asks for it when the list is scrolled
    // to its end (canFetchMore/fetchMore). Binding or clearing the list drops it; a
    // bindRows that leaves the list as it was keeps it. When `more` throws, the rows
    // of that page are dropped, no further page is asked for, and the exception goes on.
    using MoreRows = std::function<bool(const RowSink &)>;
    void setMoreRows(MoreRows more) { more_ = std::move(more); }
    bool canFetchMore(const QModelIndex &parent) const override { return !parent.isValid() && bool(more_); }
    void fetchMore(const QModelIndex &parent) override;
    const QString &cell(int row, int col) const;  // empty when out of range
    void setCell(int row, int col, const QString &text);
    void setRowCount(int n);
    void setColumnCount(int n);
    // Inserts a row before `row` (at the end when row < 0 or past the end).
    void insertTextRow(int row, const QStringList &fields);
    void removeRowAt(int row);
    void clearRows();
    int findRow(const QString &text, int startRow, int col) const;
    double number(int row, int col) const;  // parsed cell, 0 when not a number

    // --- columns -------------------------------------------------------------
    Column &column(int col) { return cols_[col]; }
    const Column &column(int col) const { return cols_[col]; }
    int colIndex(const QString &key) const;
    void setHeading(int col, const QString &heading);

    // --- look ----------------------------------------------------------------
    int backColor(int row, int col) const;  // BGR, -1 when none
    int foreColor(int row, int col) const;
    bool rowBold(int row) const;
    void setBackColor(int row, int col, int bgr);
    void setForeColor(int row, int col, int bgr);
    void setRowBold(int row, bool bold);

    // --- totals --------------------------------------------------------------
    // See Grid::subtotal. Returns the number of total rows added.
    int subtotal(bool count, int groupOn, int totalCol, const QString &format, int backBgr,
                 int foreBgr, bool bold, const QString &caption, int captionCol);
    void clearSubtotals();
    bool isTotal(int row) const;
    // A row's identity, stable while rows are inserted or totals added and cleared
    // (-1... for total rows, >= 0 for data rows); rowOfKey gives -1 when gone.
    qint32 rowKey(int row) const { return row >= 0 && row < int(layout_.size()) ? entry(row) : INT_MIN; }
    int rowOfKey(qint32 key) const;
    bool hasTotals() const { return liveTotals_ > 0; }
    QStringList totalCaptions() const;  // the distinct column-0 texts of total rows

    // --- merging -------------------------------------------------------------
    void setMergeCols(const QList<int> &cols);
    const QList<int> &mergeCols() const { return mergeCols_; }
    bool mergedWithAbove(int row, int col) const;
    bool mergedWithBelow(int row, int col) const { return mergedWithAbove(row + 1, col); }

    // --- stored rows and a filtered view of them --------------------------------
    // Data rows are numbered in the order they were bound or added ("stored rows");
    // the list shows some of them in some order. A search shows a subset without
    // touching a cell: the test runs once per distinct text of a column, then each
    // row is one index lookup.
    qint32 storedRowCount() const { return storedRows_; }
    // The stored row shown at model row `row`; -1 for a total row or out of range.
    qint32 storedRowAt(int row) const;
    // The stored rows shown, in the order shown (total rows left out).
    std::vector<qint32> shownStoredRows() const;
    const QString &storedCell(qint32 stored, int col) const;
    // Rewrites one stored cell; a shown row is repainted.
    void setStoredCell(qint32 stored, int col, const QString &text);
    // The first stored row whose cell in `col` equals `text`; -1 when none.
    qint32 findStoredRow(int col, const QString &text) const;
    // One condition of storedRowsWhere: the cell in `col` passes `test`.
    struct Condition {
        int col;
        std::function<bool(const QString &)> test;
    };
    // The stored rows whose cells pass every condition: all stored rows in stored
    // order, or those of `within` in its order.
    std::vector<qint32> storedRowsWhere(const std::vector<Condition> &conditions,
                                        const std::vector<qint32> *within = nullptr) const;
    // Shows exactly these stored rows, in this order (total rows go). The rows left
    // out stay stored for the next call.
    void showStoredRows(std::vector<qint32> rows);

    // Approximate heap bytes held by the cells (indexes, distinct texts, lookups).
    size_t memoryBytes() const;

    // Formats a total the way subtotal() writes it ("0", "0.00" or shortest form).
    static QString formatTotal(double value, const QString &format);

private:
    struct TotalRow {
        QStringList cells;
        int groupOn = -1;     // INT_MIN once removed from the list
        qint32 firstData = -1; // the data row its group starts with
    };
    struct RowStyle {
        int back = -1;
        int fore = -1;
        bool bold = false;
    };

    static quint64 cellKey(qint32 entry, int col) {
        return (quint64(quint32(entry)) << 32) | quint32(col);
    }
    qint32 entry(int row) const { return layout_[size_t(row)]; }
    qint32 appendDataRow(const QStringList &fields);
    void compactIfWasteful();
    void resetStorage();
    void invalidateMask() { maskDirty_ = true; }
    void ensureMask() const;

    // Appends one read row to `cols` (bindRows, fetchMore): field f to column f + 1,
    // an empty cell to every other column.
    struct ReadCache;
    static void appendReadRow(std::vector<Column> &cols, int fields, const RowView &row, ReadCache &cache);

    MoreRows more_;
    int readFields_ = 0;  // fields per row of the last bindRows
    std::vector<Column> cols_;
    std::vector<qint32> layout_;
    std::vector<TotalRow> totals_;
    qint32 storedRows_ = 0;
    qint32 orphans_ = 0;
    bool filtered_ = false;  // some stored rows are left out on purpose: never compact
    int liveTotals_ = 0;
    QHash<qint32, RowStyle> rowStyles_;   // keyed by layout entry
    QHash<quint64, int> cellBack_;        // keyed by cellKey(entry, col)
    QHash<quint64, int> cellFore_;

    QList<int> mergeCols_;
    mutable std::vector<quint32> sameAbove_;  // per shown row, one bit per merge column
    mutable bool maskDirty_ = true;
};

QColor colorFromBgr(int bgr);

}  // namespace kestavion
