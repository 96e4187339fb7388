#include "foundation/ui/grid.h"

#include "foundation/ui/grid_model.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

namespace kestavion {

namespace {

constexpr int kTwipsPerPixel = 15;  // 1440 twips = 1 inch = 96 px
constexpr int kRowHeaderTwips = 200;

int twipsToPixels(double twips) { return std::max(0, int(std::lround(twips / kTwipsPerPixel))); }

// Paints every cell with plain drawText (faster than the stock delegate on large
// lists): column 0 like a header section, check boxes, colours, bold total rows,
// and merged cells — a cell that equals the one above shows no text and no line
// between them. The grid lines are drawn here too (the view's own are off), so a
// merged run has no inner line.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(GridModel *model, QTableView *view)
        : QStyledItemDelegate(view), model_(model), view_(view) {}

    void paint(QPainter *p, const QStyleOptionViewItem &opt, const QModelIndex &idx) const override {
        const int r = idx.row(), c = idx.column();
        const QRect rect = opt.rect;
        const QPalette &pal = opt.palette;
        QStyle *style = view_->style();
        const bool selected = opt.state & QStyle::State_Selected;
        const int fore = model_->foreColor(r, c);
        const bool bold = model_->rowBold(r);
        QFont font = opt.font;
        if (bold) font.setBold(true);
        p->save();
        p->setFont(font);

        if (c == 0) {
            QStyleOptionHeader h;
            h.initFrom(view_);
            h.rect = rect;
            h.orientation = Qt::Vertical;
            h.position = QStyleOptionHeader::Middle;
            h.state = QStyle::State_Enabled | QStyle::State_Raised;
            style->drawControl(QStyle::CE_HeaderSection, &h, p, view_);
            const int back = model_->backColor(r, c);
            if (back >= 0) p->fillRect(rect.adjusted(1, 1, -1, -1), colorFromBgr(back));
            p->setPen(fore >= 0 ? colorFromBgr(fore) : pal.color(QPalette::ButtonText));
            p->drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignCenter, model_->cell(r, c));
            p->restore();
            return;
        }

        const int back = model_->backColor(r, c);
        if (selected)
            p->fillRect(rect, pal.brush(opt.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive,
                                        QPalette::Highlight));
        else if (back >= 0)
            p->fillRect(rect, colorFromBgr(back));
        else
            p->fillRect(rect, pal.brush(QPalette::Base));

        const GridModel::Column &col = model_->column(c);
        if (col.checkBox) {
            if (!model_->isTotal(r)) {
                QStyleOptionButton cb;
                const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view_);
                const int hgt = style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, view_);
                cb.rect = QRect(rect.x() + (rect.width() - w) / 2, rect.y() + (rect.height() - hgt) / 2, w, hgt);
                cb.state = QStyle::State_Enabled |
                           (model_->data(idx, Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On
                                                                                           : QStyle::State_Off);
                style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &cb, p, view_);
            }
        } else {
            const bool hideText = model_->mergedWithAbove(r, c) && r != view_->rowAt(0);
            if (!hideText) {
                QColor pen = fore >= 0 ? colorFromBgr(fore)
                                       : pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
                p->setPen(pen);
                // Text wider than its column ends in "…" instead of being cut off (at
                // both ends when centred).
                const QRect textRect = rect.adjusted(3, 0, -3, 0);
                QString text = model_->cell(r, c);
                const QFontMetrics fm = p->fontMetrics();
                if (fm.horizontalAdvance(text) > textRect.width())
                    text = fm.elidedText(text, Qt::ElideRight, textRect.width());
                p->drawText(textRect, int(col.alignment), text);
            }
        }

        p->setPen(pal.color(QPalette::Mid));
        p->drawLine(rect.topRight(), rect.bottomRight());
        if (!model_->mergedWithBelow(r, c)) p->drawLine(rect.bottomLeft(), rect.bottomRight());
        p->restore();
    }

private:
    GridModel *model_;
    QTableView *view_;
};

}  // namespace

Grid::Grid(QWidget *parent) : QTableView(parent), model_(new GridModel(this)) {
    setModel(model_);
    setItemDelegate(new GridDelegate(model_, this));
    setShowGrid(false);
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(4);  // column 0 is 200 twips (13 px)
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    applyColumns();

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current, const QModelIndex &) {
                emit rowChanged(current.isValid() ? current.row() + 1 : 0);
            });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int newSize) {
        // The user dragged a column border: remember the width.
        if (settingWidth_ || col < 0 || col >= model_->columnCount()) return;
        if (!isColumnHidden(col)) model_->column(col).widthTwips = newSize * kTwipsPerPixel;
    });
    connect(model_, &QAbstractItemModel::modelReset, this, &Grid::applyColumns);
}

Grid::~Grid() = default;

// --- content -------------------------------------------------------------------

void Grid::bind(const ResultSet &rs) {
    model_->bind(rs);
    applyColumns();
    if (model_->rowCount() > 0) setRow(1);
}

int Grid::bindRows(const QStringList &columns,
                   const std::function<void(const std::function<void(const RowView &)> &)> &read, bool keepWhenEmpty) {
    const int n = model_->bindRows(columns, read, keepWhenEmpty);
    if (n == 0 && keepWhenEmpty) return 0;
    applyColumns();
    if (model_->rowCount() > 0) setRow(1);
    return n;
}

void Grid::setMoreRows(std::function<bool(const std::function<void(const RowView &)> &)> more) {
    model_->setMoreRows(std::move(more));
}

void Grid::showStoredRows(std::vector<qint32> rows) {
    model_->showStoredRows(std::move(rows));
    if (model_->rowCount() > 0) setRow(1);
}

int Grid::rows() const { return model_->rowCount() + 1; }

void Grid::setRows(int n) { model_->setRowCount(std::max(n, 1) - 1); }

int Grid::cols() const { return model_->columnCount(); }

void Grid::setCols(int n) {
    const int before = model_->columnCount();
    model_->setColumnCount(n);
    for (int c = before; c < model_->columnCount(); ++c) applyColumnWidth(c);
}

QString Grid::textMatrix(int row, int col) const {
    if (row == 0) return (col >= 0 && col < cols()) ? model_->column(col).heading : QString();
    return model_->cell(row - 1, col);
}

void Grid::setTextMatrix(int row, int col, const QString &text) {
    if (row == 0) model_->setHeading(col, text);
    else model_->setCell(row - 1, col, text);
}

QString Grid::text(int row, const QString &key) const {
    const int c = colIndex(key);
    return c < 0 ? QString() : textMatrix(row, c);
}

void Grid::setText(int row, const QString &key, const QString &text) {
    const int c = colIndex(key);
    if (c >= 0) setTextMatrix(row, c, text);
}

void Grid::clearRows() { model_->clearRows(); }

void Grid::addItem(const QString &tabText, int row) {
    model_->insertTextRow(row >= 1 ? row - 1 : -1, tabText.split(QLatin1Char('\t')));
}

void Grid::removeItem(int row) { model_->removeRowAt(row - 1); }

int Grid::findRow(const QString &text, int startRow, int col) const {
    const int r = model_->findRow(text, std::max(startRow, 1) - 1, col);
    return r < 0 ? -1 : r + 1;
}

// --- current cell ----------------------------------------------------------------

int Grid::row() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

void Grid::setRow(int row) {
    if (row <= 0 || row > model_->rowCount()) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    int c = currentIndex().isValid() ? currentIndex().column() : -1;
    if (c < 1 || isColumnHidden(c)) {
        c = 0;
        for (int k = 1; k < cols(); ++k)
            if (!isColumnHidden(k)) {
                c = k;
                break;
            }
    }
    const QModelIndex i = model_->index(row - 1, c);
    setCurrentIndex(i);
    scrollTo(i);
}

int Grid::col() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : 0;
}

void Grid::setCol(int col) {
    if (col < 0 || col >= cols()) return;
    const int r = currentIndex().isValid() ? currentIndex().row() : (model_->rowCount() > 0 ? 0 : -1);
    if (r < 0) return;
    const QModelIndex i = model_->index(r, col);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::NoUpdate);
    scrollTo(i);
}

// --- columns -------------------------------------------------------------------

int Grid::colIndex(const QString &key) const { return model_->colIndex(key); }

QString Grid::colKey(int col) const {
    return (col >= 0 && col < cols()) ? model_->column(col).key : QString();
}

void Grid::setColKey(int col, const QString &key) {
    if (col >= 0 && col < cols()) model_->column(col).key = key;
}

bool Grid::colHidden(int col) const {
    return (col >= 0 && col < cols()) ? model_->column(col).hidden : false;
}

void Grid::setColHidden(int col, bool hidden) {
    if (col < 0 || col >= cols()) return;
    model_->column(col).hidden = hidden;
    const QModelIndex cur = currentIndex();
    setColumnHidden(col, hidden);
    if (!hidden) applyColumnWidth(col);
    // A current cell in a column just hidden would leave the arrow keys with nothing
    // to move from: the current row stays, in its first shown data column.
    if (hidden && cur.isValid() && cur.column() == col) setRow(cur.row() + 1);
}

int Grid::colWidth(int col) const {
    if (col < 0 || col >= cols()) return 0;
    const int w = model_->column(col).widthTwips;
    if (w >= 0) return w;
    return (col == 0 ? kRowHeaderTwips : horizontalHeader()->defaultSectionSize() * kTwipsPerPixel);
}

void Grid::setColWidth(int col, int twips) {
    if (col < 0 || col >= cols()) return;
    model_->column(col).widthTwips = std::max(twips, 0);
    applyColumnWidth(col);
}

void Grid::setColAlignment(int col, Qt::Alignment alignment) {
    if (col < 0 || col >= cols()) return;
    model_->column(col).alignment = alignment;
    viewport()->update();
}

Qt::Alignment Grid::colAlignment(int col) const {
    return (col >= 0 && col < cols()) ? model_->column(col).alignment : Qt::Alignment();
}

void Grid::setColCheckBox(int col, bool on) {
    if (col < 1 || col >= cols()) return;
    model_->column(col).checkBox = on;
    viewport()->update();
}

bool Grid::cellChecked(int row, int col) const {
    if (row < 1 || col < 1 || col >= cols()) return false;
    return model_->data(model_->index(row - 1, col), Qt::CheckStateRole).toInt() == Qt::Checked;
}

void Grid::setCellChecked(int row, int col, bool checked) {
    setTextMatrix(row, col, checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void Grid::setColEditable(int col, bool editable) {
    if (col >= 1 && col < cols()) model_->column(col).editable = editable;
}

bool Grid::colEditable(int col) const {
    return col >= 1 && col < cols() && model_->column(col).editable;
}

bool Grid::isEditing() const { return state() == QAbstractItemView::EditingState; }

void Grid::sizeColumns(double widthTwips) {
    const int w = int(std::lround(widthTwips));
    for (int c = 0; c < cols(); ++c) {
        if (!colHidden(c)) setColAlignment(c, Qt::AlignCenter);
        setColWidth(c, c == 0 ? kRowHeaderTwips : w);
    }
}

void Grid::autoSize(int c1, int c2) {
    if (c1 < 0) c1 = 0;
    if (c2 < 0 || c2 >= cols()) c2 = cols() - 1;
    for (int c = c1; c <= c2; ++c) {
        if (colHidden(c)) continue;
        settingWidth_ = true;
        resizeColumnToContents(c);
        settingWidth_ = false;
        model_->column(c).widthTwips = columnWidth(c) * kTwipsPerPixel;
        applyColumnWidth(c);
    }
}

void Grid::widenToContents(int c1, int c2) {
    if (c1 < 1) c1 = 1;
    if (c2 < 0 || c2 >= cols()) c2 = cols() - 1;
    for (int c = c1; c <= c2; ++c) {
        if (colHidden(c)) continue;
        const int given = colWidth(c);
        autoSize(c, c);
        if (colWidth(c) < given) setColWidth(c, given);
    }
}

void Grid::applyColumns() {
    for (int c = 0; c < model_->columnCount(); ++c) {
        setColumnHidden(c, model_->column(c).hidden);
        applyColumnWidth(c);
    }
}

void Grid::applyColumnWidth(int col) {
    if (col < 0 || col >= model_->columnCount()) return;
    int px = twipsToPixels(colWidth(col));
    if (col == 0 && model_->hasTotals()) {
        // Room for "总合计" in bold.
        QFont f = font();
        f.setBold(true);
        const QFontMetrics fm(f);
        int need = fm.horizontalAdvance(QStringLiteral("总合计")) + 10;
        for (const QString &cap : model_->totalCaptions()) need = std::max(need, fm.horizontalAdvance(cap) + 10);
        px = std::max(px, need);
    }
    settingWidth_ = true;
    setColumnWidth(col, px);
    settingWidth_ = false;
}

// --- look ------------------------------------------------------------------------

void Grid::setCellBackColor(int row, int col, int bgr) { model_->setBackColor(row - 1, col, bgr); }

int Grid::cellBackColor(int row, int col) const { return model_->backColor(row - 1, col); }

void Grid::setCellForeColor(int row, int col, int bgr) { model_->setForeColor(row - 1, col, bgr); }

void Grid::setRowBold(int row, bool bold) { model_->setRowBold(row - 1, bold); }

void Grid::setMergeCols(const QList<int> &cols) {
    model_->setMergeCols(cols);
    viewport()->update();
}

// --- totals ----------------------------------------------------------------------

template <typename F>
void Grid::keepingCurrentRow(F change) {
    const QModelIndex cur = currentIndex();
    const qint32 key = cur.isValid() ? model_->rowKey(cur.row()) : INT_MIN;
    const int col = cur.isValid() ? cur.column() : -1;
    change();
    applyColumnWidth(0);
    const int r = model_->rowOfKey(key);
    if (r >= 0) {
        const QModelIndex i = model_->index(r, col);
        setCurrentIndex(i);
        scrollTo(i);
    } else if (cur.isValid()) {
        emit rowChanged(0);
    }
}

void Grid::subtotal(Aggregate fn, int groupOn, int totalCol, const QString &format, int backBgr,
                    int foreBgr, bool bold, const QString &caption, int captionCol) {
    keepingCurrentRow([&] {
        model_->subtotal(fn == Aggregate::Count, groupOn, totalCol, format, backBgr, foreBgr, bold, caption,
                         captionCol);
    });
}

void Grid::clearSubtotals() {
    if (!model_->hasTotals()) return;
    keepingCurrentRow([&] { model_->clearSubtotals(); });
}

bool Grid::isSubtotal(int row) const { return model_->isTotal(row - 1); }

double Grid::aggregateSum(int row1, int col1, int row2, int col2) const {
    if (row1 > row2) std::swap(row1, row2);
    if (col1 > col2) std::swap(col1, col2);
    row1 = std::max(row1, 1);
    row2 = std::min(row2, model_->rowCount());
    col1 = std::max(col1, 0);
    col2 = std::min(col2, cols() - 1);
    double sum = 0;
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c) sum += model_->number(r - 1, c);
    return sum;
}

QString Grid::selectedText() const {
    const QItemSelection sel = selectionModel()->selection();
    if (sel.isEmpty()) return {};
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const QItemSelectionRange &range : sel) {
        top = std::min(top, range.top());
        bottom = std::max(bottom, range.bottom());
        left = std::min(left, range.left());
        right = std::max(right, range.right());
    }
    // Whole rows selected: the row-header column is not part of the data.
    if (left == 0 && right > 0) left = 1;
    QStringList lines;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c)
            if (!colHidden(c)) cells.append(model_->cell(r, c));
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

GridSnapshot Grid::snapshot() const {
    GridSnapshot s;
    for (int c = 0; c < cols(); ++c) {
        GridSnapshot::Column col;
        col.heading = model_->column(c).heading;
        col.key = model_->column(c).key;
        col.hidden = colHidden(c);
        col.widthTwips = colWidth(c);
        col.alignment = int(colAlignment(c));
        s.columns.push_back(std::move(col));
    }
    s.rows.reserve(size_t(model_->rowCount()));
    for (int r = 0; r < model_->rowCount(); ++r) {
        GridSnapshot::Row row;
        row.cells.reserve(cols());
        for (int c = 0; c < cols(); ++c) row.cells.append(model_->cell(r, c));
        row.isTotal = model_->isTotal(r);
        s.rows.push_back(std::move(row));
    }
    return s;
}

// --- events ------------------------------------------------------------------------

void Grid::toggleCheck(int row, int col) {
    const bool now = !cellChecked(row, col);
    setCellChecked(row, col, now);
    emit checkToggled(row, col, now);
}

void Grid::keyPressEvent(QKeyEvent *event) {
    bool handled = false;
    emit keyPressed(event, &handled);
    if (handled) {
        event->accept();
        return;
    }
    const QModelIndex cur = currentIndex();
    if (event->key() == Qt::Key_Space && cur.isValid() && cur.column() >= 1 &&
        model_->column(cur.column()).checkBox && !model_->isTotal(cur.row()) &&
        state() != QAbstractItemView::EditingState) {
        toggleCheck(cur.row() + 1, cur.column());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void Grid::focusInEvent(QFocusEvent *event) {
    QTableView::focusInEvent(event);
    // The focus coming back from the grid's own cell editor is not a new visit.
    if (!closingEditor_) emit gotFocus();
}

void Grid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    closingEditor_ = true;
    QTableView::closeEditor(editor, hint);
    closingEditor_ = false;
}

void Grid::mousePressEvent(QMouseEvent *event) {
    QTableView::mousePressEvent(event);
    const QModelIndex i = indexAt(event->position().toPoint());
    if (!i.isValid()) return;
    if (event->button() == Qt::RightButton) {
        emit rightClicked(i.row() + 1, i.column(), event->globalPosition().toPoint());
    } else if (event->button() == Qt::LeftButton && i.column() >= 1 && model_->column(i.column()).checkBox &&
               !model_->isTotal(i.row())) {
        toggleCheck(i.row() + 1, i.column());
    }
}

void Grid::mouseDoubleClickEvent(QMouseEvent *event) {
    const QModelIndex i = indexAt(event->position().toPoint());
    if (i.isValid() && event->button() == Qt::LeftButton && i.column() >= 1 &&
        model_->column(i.column()).checkBox) {
        // A second click on a check box toggles it again, like any click.
        if (!model_->isTotal(i.row())) toggleCheck(i.row() + 1, i.column());
        emit cellDoubleClicked(i.row() + 1, i.column());
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
    if (i.isValid() && event->button() == Qt::LeftButton) emit cellDoubleClicked(i.row() + 1, i.column());
}

bool Grid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) {
    // Only the triggers that open an editor are asked about; the rest go to the view.
    const bool opens = index.isValid() && (trigger == AllEditTriggers || (editTriggers() & trigger)) &&
                       state() != QAbstractItemView::EditingState;
    if (!opens) return QTableView::edit(index, trigger, event);
    if (!(model_->flags(index) & Qt::ItemIsEditable)) return false;
    bool cancel = false;
    emit beforeEdit(index.row() + 1, index.column(), &cancel);
    if (cancel) return false;
    const bool started = QTableView::edit(index, trigger, event);
    if (started) editing_ = index;
    return started;
}

void Grid::commitData(QWidget *editor) {
    QTableView::commitData(editor);
    if (editing_.isValid()) emit afterEdit(editing_.row() + 1, editing_.column());
}

}  // namespace kestavion
