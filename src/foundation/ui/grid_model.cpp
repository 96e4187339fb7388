#include "foundation/ui/grid_model.h"

#include "foundation/database.h"
#include "foundation/numbers.h"

#include <QColor>
#include <QFont>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <numeric>

namespace kestavion {

namespace {
const QString kEmpty;
constexpr int kRemovedTotal = INT_MIN;

QString variantText(const QVariant &v) {
    if (!v.isValid() || v.isNull()) return {};
    if (v.typeId() == QMetaType::Double) return formatNumber(v.toDouble());
    return v.toString();
}
}  // namespace

QColor colorFromBgr(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// --- Column ------------------------------------------------------------------

quint32 GridModel::Column::intern(const QString &text) {
    if (text.isEmpty()) return 0;
    auto it = lookup.constFind(text);
    if (it != lookup.constEnd()) return it.value();
    const auto id = quint32(values.size());
    values.push_back(text);
    lookup.insert(text, id);
    return id;
}

qint64 GridModel::Column::find(const QString &text) const {
    if (text.isEmpty()) return 0;
    auto it = lookup.constFind(text);
    return it == lookup.constEnd() ? -1 : qint64(it.value());
}

// --- basics ------------------------------------------------------------------

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) { cols_.resize(1); }
GridModel::~GridModel() = default;

int GridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(layout_.size());
}

int GridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(cols_.size());
}

const QString &GridModel::cell(int row, int col) const {
    if (row < 0 || row >= int(layout_.size()) || col < 0 || col >= int(cols_.size())) return kEmpty;
    const qint32 e = entry(row);
    if (e < 0) {
        const QStringList &cells = totals_[size_t(~e)].cells;
        return col < cells.size() ? cells[col] : kEmpty;
    }
    const Column &c = cols_[size_t(col)];
    return c.values[c.ids[size_t(e)]];
}

void GridModel::setCell(int row, int col, const QString &text) {
    if (row < 0 || row >= int(layout_.size()) || col < 0 || col >= int(cols_.size())) return;
    const qint32 e = entry(row);
    if (e < 0) {
        QStringList &cells = totals_[size_t(~e)].cells;
        while (cells.size() <= col) cells.append(QString());
        cells[col] = text;
    } else {
        Column &c = cols_[size_t(col)];
        c.ids[size_t(e)] = c.intern(text);
    }
    if (mergeCols_.contains(col)) invalidateMask();
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i);
}

double GridModel::number(int row, int col) const {
    return parseNumber(cell(row, col)).value_or(0.0);
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid()) return {};
    const int r = index.row(), c = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (cols_[size_t(c)].checkBox && role == Qt::DisplayRole) return {};
        return cell(r, c);
    case Qt::CheckStateRole:
        if (!cols_[size_t(c)].checkBox || isTotal(r)) return {};
        {
            const QString &t = cell(r, c);
            const bool on = !t.isEmpty() && parseNumber(t).value_or(1.0) != 0.0 &&
                            t.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
            return on ? Qt::Checked : Qt::Unchecked;
        }
    case Qt::TextAlignmentRole:
        return c == 0 ? int(Qt::AlignCenter) : int(cols_[size_t(c)].alignment);
    case Qt::BackgroundRole: {
        const int b = backColor(r, c);
        return b < 0 ? QVariant() : QVariant(colorFromBgr(b));
    }
    case Qt::ForegroundRole: {
        const int f = foreColor(r, c);
        return f < 0 ? QVariant() : QVariant(colorFromBgr(f));
    }
    case Qt::FontRole:
        if (rowBold(r)) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    default:
        return {};
    }
}

bool GridModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    setCell(index.row(), index.column(), value.toString());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Column &c = cols_[size_t(index.column())];
    if (index.column() > 0 && c.editable && !c.checkBox && !isTotal(index.row()))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= int(cols_.size())) return {};
        if (role == Qt::DisplayRole) return cols_[size_t(section)].heading;
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
        return {};
    }
    if (role == Qt::DisplayRole) return section + 1;
    return {};
}

// --- content -----------------------------------------------------------------

void GridModel::resetStorage() {
    more_ = nullptr;
    layout_.clear();
    totals_.clear();
    storedRows_ = 0;
    orphans_ = 0;
    filtered_ = false;
    liveTotals_ = 0;
    rowStyles_.clear();
    cellBack_.clear();
    cellFore_.clear();
    for (Column &c : cols_) {
        c.ids.clear();
        c.values.assign(1, QString());
        c.lookup.clear();
    }
    invalidateMask();
}

void GridModel::bind(const ResultSet &rs) {
    beginResetModel();
    resetStorage();
    const int nf = rs.columnCount();
    cols_.clear();
    cols_.resize(size_t(nf) + 1);
    for (int f = 0; f < nf; ++f) {
        cols_[size_t(f) + 1].heading = rs.columns()[f];
        cols_[size_t(f) + 1].key = rs.columns()[f];
    }
    const auto &rows = rs.rows();
    const size_t n = rows.size();
    cols_[0].ids.assign(n, 0);
    for (int f = 0; f < nf; ++f) {
        Column &c = cols_[size_t(f) + 1];
        c.ids.resize(n);
        c.lookup.reserve(int(std::min<size_t>(n, 4096)));
    }
    // Row by row, as the result holds them: each record is read from memory once.
    for (size_t r = 0; r < n; ++r) {
        const QVariantList &rec = rows[r];
        const int fields = std::min(nf, int(rec.size()));
        for (int f = 0; f < fields; ++f) {
            Column &c = cols_[size_t(f) + 1];
            c.ids[r] = c.intern(variantText(rec[f]));
        }
    }
    storedRows_ = qint32(n);
    layout_.resize(n);
    std::iota(layout_.begin(), layout_.end(), 0);
    endResetModel();
}

// The text of the row above in each column: a repeated text (a kind, a brand, a date)
// is recognised from its bytes without making a string of it again.
struct GridModel::ReadCache {
    explicit ReadCache(size_t cols) : above(cols), aboveId(cols, 0) {}
    std::vector<QByteArray> above;
    std::vector<quint32> aboveId;
};

void GridModel::appendReadRow(std::vector<Column> &cols, int fields, const RowView &row, ReadCache &cache) {
    cols[0].ids.push_back(0);
    for (int f = 0; f < fields; ++f) {
        const size_t ci = size_t(f) + 1;
        Column &c = cols[ci];
        const QByteArrayView bytes = row.utf8(f);
        quint32 id = 0;
        if (!bytes.isEmpty()) {
            QByteArray &last = cache.above[ci];
            if (last.size() == bytes.size() && bytes == QByteArrayView(last)) {
                id = cache.aboveId[ci];
            } else {
                id = c.intern(QString::fromUtf8(bytes));
                last.resize(bytes.size());
                std::memcpy(last.data(), bytes.data(), size_t(bytes.size()));
                cache.aboveId[ci] = id;
            }
        }
        c.ids.push_back(id);
    }
    for (size_t ci = size_t(fields) + 1; ci < cols.size(); ++ci) cols[ci].ids.push_back(0);
}

int GridModel::bindRows(const QStringList &columns, const std::function<void(const RowSink &)> &read,
                        bool keepWhenEmpty) {
    // The rows go into new columns first: a read that fails leaves the list as it was.
    const int nf = int(columns.size());
    std::vector<Column> cols(size_t(nf) + 1);
    for (int f = 0; f < nf; ++f) {
        cols[size_t(f) + 1].heading = columns[f];
        cols[size_t(f) + 1].key = columns[f];
    }
    ReadCache cache(cols.size());
    qint32 n = 0;
    read([&](const RowView &row) {
        appendReadRow(cols, nf, row, cache);
        ++n;
    });
    if (n == 0 && keepWhenEmpty) return 0;
    beginResetModel();
    resetStorage();
    cols_ = std::move(cols);
    readFields_ = nf;
    storedRows_ = n;
    layout_.resize(size_t(storedRows_));
    std::iota(layout_.begin(), layout_.end(), 0);
    endResetModel();
    return n;
}

void GridModel::fetchMore(const QModelIndex &parent) {
    if (parent.isValid() || !more_) return;
    // Taken out while it reads: a message the reader shows runs events, and a scroll
    // meanwhile must not read the same page again.
    MoreRows more = std::move(more_);
    more_ = nullptr;
    const qint32 first = storedRows_;
    const int fields = std::min(readFields_, int(cols_.size()) - 1);
    ReadCache cache(cols_.size());
    bool again = false;
    try {
        again = more([&](const RowView &row) {
            appendReadRow(cols_, fields, row, cache);
            ++storedRows_;
        });
    } catch (...) {
        for (Column &c : cols_) c.ids.resize(size_t(first));
        storedRows_ = first;
        throw;
    }
    if (again && !more_) more_ = std::move(more);
    const int added = storedRows_ - first;
    if (added == 0) return;
    const int at = int(layout_.size());
    beginInsertRows({}, at, at + added - 1);
    for (qint32 e = first; e < storedRows_; ++e) layout_.push_back(e);
    invalidateMask();
    endInsertRows();
}

qint32 GridModel::appendDataRow(const QStringList &fields) {
    for (size_t c = 0; c < cols_.size(); ++c) {
        Column &col = cols_[c];
        col.ids.push_back(int(c) < fields.size() ? col.intern(fields[int(c)]) : 0);
    }
    return storedRows_++;
}

void GridModel::setRowCount(int n) {
    n = std::max(n, 0);
    const int have = int(layout_.size());
    if (n == have) return;
    if (n == 0) {
        clearRows();
        return;
    }
    if (n < have) {
        beginRemoveRows({}, n, have - 1);
        for (int r = n; r < have; ++r) {
            const qint32 e = entry(r);
            if (e >= 0) {
                ++orphans_;
            } else {
                totals_[size_t(~e)].groupOn = kRemovedTotal;
                --liveTotals_;
            }
        }
        layout_.resize(size_t(n));
        invalidateMask();
        endRemoveRows();
        compactIfWasteful();
        return;
    }
    beginInsertRows({}, have, n - 1);
    for (int r = have; r < n; ++r) layout_.push_back(appendDataRow({}));
    invalidateMask();
    endInsertRows();
}

void GridModel::setColumnCount(int n) {
    n = std::max(n, 1);
    const int have = int(cols_.size());
    if (n == have) return;
    if (n < have) {
        beginRemoveColumns({}, n, have - 1);
        cols_.resize(size_t(n));
        for (TotalRow &t : totals_)
            while (t.cells.size() > n) t.cells.removeLast();
        mergeCols_.removeIf([n](int c) { return c >= n; });
        invalidateMask();
        endRemoveColumns();
        return;
    }
    beginInsertColumns({}, have, n - 1);
    cols_.resize(size_t(n));
    for (int c = have; c < n; ++c) cols_[size_t(c)].ids.assign(size_t(storedRows_), 0);
    endInsertColumns();
}

void GridModel::insertTextRow(int row, const QStringList &fields) {
    const int n = int(layout_.size());
    if (row < 0 || row > n) row = n;
    beginInsertRows({}, row, row);
    const qint32 e = appendDataRow(fields);
    layout_.insert(layout_.begin() + row, e);
    invalidateMask();
    endInsertRows();
}

void GridModel::removeRowAt(int row) {
    if (row < 0 || row >= int(layout_.size())) return;
    beginRemoveRows({}, row, row);
    const qint32 e = entry(row);
    if (e >= 0) {
        ++orphans_;
    } else {
        totals_[size_t(~e)].groupOn = kRemovedTotal;
        --liveTotals_;
    }
    layout_.erase(layout_.begin() + row);
    invalidateMask();
    endRemoveRows();
    compactIfWasteful();
}

void GridModel::clearRows() {
    if (layout_.empty() && storedRows_ == 0) return;
    beginResetModel();
    resetStorage();
    endResetModel();
}

qint32 GridModel::storedRowAt(int row) const {
    if (row < 0 || row >= int(layout_.size())) return -1;
    return std::max(entry(row), qint32(-1));
}

std::vector<qint32> GridModel::shownStoredRows() const {
    std::vector<qint32> rows;
    rows.reserve(layout_.size());
    for (qint32 e : layout_)
        if (e >= 0) rows.push_back(e);
    return rows;
}

const QString &GridModel::storedCell(qint32 stored, int col) const {
    if (stored < 0 || stored >= storedRows_ || col < 0 || col >= int(cols_.size())) return kEmpty;
    const Column &c = cols_[size_t(col)];
    return c.values[c.ids[size_t(stored)]];
}

void GridModel::setStoredCell(qint32 stored, int col, const QString &text) {
    if (stored < 0 || stored >= storedRows_ || col < 0 || col >= int(cols_.size())) return;
    Column &c = cols_[size_t(col)];
    c.ids[size_t(stored)] = c.intern(text);
    if (mergeCols_.contains(col)) invalidateMask();
    const auto shown = std::find(layout_.cbegin(), layout_.cend(), stored);
    if (shown != layout_.cend()) {
        const QModelIndex i = index(int(shown - layout_.cbegin()), col);
        emit dataChanged(i, i);
    }
}

qint32 GridModel::findStoredRow(int col, const QString &text) const {
    if (col < 0 || col >= int(cols_.size())) return -1;
    const Column &c = cols_[size_t(col)];
    const qint64 id = c.find(text);
    if (id < 0) return -1;
    const auto it = std::find(c.ids.cbegin(), c.ids.cend(), quint32(id));
    return it == c.ids.cend() ? -1 : qint32(it - c.ids.cbegin());
}

std::vector<qint32> GridModel::storedRowsWhere(const std::vector<Condition> &conditions,
                                               const std::vector<qint32> *within) const {
    // Each condition decided once per distinct text of its column.
    struct Decided {
        const std::vector<quint32> *ids;
        std::vector<char> passes;
    };
    std::vector<Decided> decided;
    decided.reserve(conditions.size());
    for (const Condition &cond : conditions) {
        if (cond.col < 0 || cond.col >= int(cols_.size())) return {};
        const Column &c = cols_[size_t(cond.col)];
        Decided d{&c.ids, std::vector<char>(c.values.size())};
        for (size_t v = 0; v < c.values.size(); ++v) d.passes[v] = cond.test(c.values[v]) ? 1 : 0;
        decided.push_back(std::move(d));
    }
    auto keep = [&](qint32 r) {
        for (const Decided &d : decided)
            if (!d.passes[(*d.ids)[size_t(r)]]) return false;
        return true;
    };
    std::vector<qint32> rows;
    if (within) {
        for (qint32 r : *within)
            if (r >= 0 && r < storedRows_ && keep(r)) rows.push_back(r);
    } else {
        for (qint32 r = 0; r < storedRows_; ++r)
            if (keep(r)) rows.push_back(r);
    }
    return rows;
}

void GridModel::showStoredRows(std::vector<qint32> rows) {
    beginResetModel();
    totals_.clear();
    liveTotals_ = 0;
    layout_ = std::move(rows);
    filtered_ = true;
    invalidateMask();
    endResetModel();
}

// Rows removed from the list stay in the storage until they outweigh the rows shown;
// then the storage is rebuilt in the order shown (no signal: the rows shown and their
// order do not change).
void GridModel::compactIfWasteful() {
    if (filtered_ || orphans_ < 1024 || orphans_ < storedRows_ / 2) return;
    std::vector<qint32> newIndex(size_t(storedRows_), -1);
    qint32 next = 0;
    for (qint32 &e : layout_) {
        if (e < 0) continue;
        newIndex[size_t(e)] = next;
        e = next++;
    }
    for (Column &c : cols_) {
        std::vector<quint32> ids(static_cast<size_t>(next));
        for (size_t old = 0; old < newIndex.size(); ++old)
            if (newIndex[old] >= 0) ids[size_t(newIndex[old])] = c.ids[old];
        c.ids.swap(ids);
    }
    auto remapRows = [&](QHash<qint32, RowStyle> &h) {
        QHash<qint32, RowStyle> out;
        for (auto it = h.cbegin(); it != h.cend(); ++it) {
            const qint32 e = it.key();
            if (e < 0) out.insert(e, it.value());
            else if (newIndex[size_t(e)] >= 0) out.insert(newIndex[size_t(e)], it.value());
        }
        h.swap(out);
    };
    auto remapCells = [&](QHash<quint64, int> &h) {
        QHash<quint64, int> out;
        for (auto it = h.cbegin(); it != h.cend(); ++it) {
            const auto e = qint32(quint32(it.key() >> 32));
            const int col = int(quint32(it.key()));
            if (e < 0) out.insert(it.key(), it.value());
            else if (newIndex[size_t(e)] >= 0) out.insert(cellKey(newIndex[size_t(e)], col), it.value());
        }
        h.swap(out);
    };
    remapRows(rowStyles_);
    remapCells(cellBack_);
    remapCells(cellFore_);
    for (TotalRow &t : totals_)
        if (t.firstData >= 0) t.firstData = newIndex[size_t(t.firstData)];
    storedRows_ = next;
    orphans_ = 0;
}

int GridModel::findRow(const QString &text, int startRow, int col) const {
    if (col < 0 || col >= int(cols_.size())) return -1;
    const Column &c = cols_[size_t(col)];
    const qint64 id = c.find(text);
    for (int r = std::max(startRow, 0); r < int(layout_.size()); ++r) {
        const qint32 e = entry(r);
        if (e >= 0) {
            if (id >= 0 && c.ids[size_t(e)] == quint32(id)) return r;
        } else if (cell(r, col) == text) {
            return r;
        }
    }
    return -1;
}

// --- columns -----------------------------------------------------------------

int GridModel::colIndex(const QString &key) const {
    for (size_t c = 0; c < cols_.size(); ++c)
        if (cols_[c].key.compare(key, Qt::CaseInsensitive) == 0) return int(c);
    return -1;
}

void GridModel::setHeading(int col, const QString &heading) {
    if (col < 0 || col >= int(cols_.size())) return;
    cols_[size_t(col)].heading = heading;
    emit headerDataChanged(Qt::Horizontal, col, col);
}

// --- look --------------------------------------------------------------------

int GridModel::backColor(int row, int col) const {
    if (row < 0 || row >= int(layout_.size())) return -1;
    const qint32 e = entry(row);
    auto it = cellBack_.constFind(cellKey(e, col));
    if (it != cellBack_.constEnd()) return it.value();
    auto rs = rowStyles_.constFind(e);
    return rs == rowStyles_.constEnd() ? -1 : rs->back;
}

int GridModel::foreColor(int row, int col) const {
    if (row < 0 || row >= int(layout_.size())) return -1;
    const qint32 e = entry(row);
    auto it = cellFore_.constFind(cellKey(e, col));
    if (it != cellFore_.constEnd()) return it.value();
    auto rs = rowStyles_.constFind(e);
    return rs == rowStyles_.constEnd() ? -1 : rs->fore;
}

bool GridModel::rowBold(int row) const {
    if (row < 0 || row >= int(layout_.size())) return false;
    auto rs = rowStyles_.constFind(entry(row));
    return rs != rowStyles_.constEnd() && rs->bold;
}

void GridModel::setBackColor(int row, int col, int bgr) {
    if (row < 0 || row >= int(layout_.size()) || col < 0 || col >= int(cols_.size())) return;
    const quint64 k = cellKey(entry(row), col);
    if (bgr < 0) cellBack_.remove(k);
    else cellBack_.insert(k, bgr & 0xFFFFFF);
    emit dataChanged(index(row, col), index(row, col), {Qt::BackgroundRole});
}

void GridModel::setForeColor(int row, int col, int bgr) {
    if (row < 0 || row >= int(layout_.size()) || col < 0 || col >= int(cols_.size())) return;
    const quint64 k = cellKey(entry(row), col);
    if (bgr < 0) cellFore_.remove(k);
    else cellFore_.insert(k, bgr & 0xFFFFFF);
    emit dataChanged(index(row, col), index(row, col), {Qt::ForegroundRole});
}

void GridModel::setRowBold(int row, bool bold) {
    if (row < 0 || row >= int(layout_.size())) return;
    rowStyles_[entry(row)].bold = bold;
    emit dataChanged(index(row, 0), index(row, int(cols_.size()) - 1), {Qt::FontRole});
}

// --- totals ------------------------------------------------------------------

bool GridModel::isTotal(int row) const {
    return row >= 0 && row < int(layout_.size()) && entry(row) < 0;
}

int GridModel::rowOfKey(qint32 key) const {
    if (key == INT_MIN) return -1;
    const auto it = std::find(layout_.begin(), layout_.end(), key);
    return it == layout_.end() ? -1 : int(it - layout_.begin());
}

QStringList GridModel::totalCaptions() const {
    QStringList out;
    for (const TotalRow &t : totals_) {
        if (t.groupOn == kRemovedTotal) continue;
        if (!t.cells.isEmpty() && !t.cells[0].isEmpty() && !out.contains(t.cells[0])) out.append(t.cells[0]);
    }
    return out;
}

QString GridModel::formatTotal(double value, const QString &format) {
    if (format.isEmpty()) {
        // Shortest form of the value to a millionth: sums of prices such as 0.1 + 0.2
        // read 0.3, not 0.30000000000000004.
        QString s = QString::number(value, 'f', 6);
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
        if (s == QLatin1String("-0")) s = QStringLiteral("0");
        return s;
    }
    const int dot = format.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : int(format.size()) - dot - 1;
    QString s = QString::number(value, 'f', decimals);
    if (s.startsWith(QLatin1Char('-')) && parseNumber(s).value_or(1.0) == 0.0) s.remove(0, 1);
    return s;
}

int GridModel::subtotal(bool count, int groupOn, int totalCol, const QString &format, int backBgr,
                        int foreBgr, bool bold, const QString &caption, int captionCol) {
    const int ncols = int(cols_.size());
    if (totalCol < 0 || totalCol >= ncols || groupOn >= ncols) return 0;
    if (captionCol < 0 || captionCol >= ncols) captionCol = 0;

    // The numeric value of every distinct text of the total column, parsed once.
    const Column &tc = cols_[size_t(totalCol)];
    std::vector<double> valueOf(tc.values.size(), 0.0);
    if (!count)
        for (size_t i = 0; i < tc.values.size(); ++i)
            valueOf[i] = parseNumber(tc.values[i]).value_or(0.0);

    // Total rows of the same grouping made by an earlier call are filled, not repeated
    // (one call per total column gives one total row with several sums).
    QHash<quint64, int> existing;
    for (size_t i = 0; i < totals_.size(); ++i)
        if (totals_[i].groupOn != kRemovedTotal)
            existing.insert((quint64(quint32(totals_[i].groupOn)) << 32) | quint32(totals_[i].firstData),
                            int(i));

    int added = 0;
    std::vector<qint32> out;
    auto place = [&](qint32 firstData, double sum, int rows, const QString &groupValue,
                     std::vector<qint32> &dest) {
        const QString text = formatTotal(count ? double(rows) : sum, format);
        auto it = existing.constFind((quint64(quint32(groupOn)) << 32) | quint32(firstData));
        if (it != existing.constEnd()) {
            QStringList &cells = totals_[size_t(it.value())].cells;
            cells[totalCol] = text;
            return;
        }
        TotalRow t;
        t.groupOn = groupOn;
        t.firstData = firstData;
        for (int c = 0; c < ncols; ++c) t.cells.append(QString());
        QString cap = caption.isEmpty()
                          ? (groupOn < 0 ? QStringLiteral("总合计") : QStringLiteral("合计"))
                          : caption;
        cap.replace(QLatin1String("%s"), groupValue);
        t.cells[captionCol] = cap;
        t.cells[totalCol] = text;
        const auto e = ~qint32(totals_.size());
        totals_.push_back(std::move(t));
        RowStyle st;
        st.back = backBgr < 0 ? -1 : (backBgr & 0xFFFFFF);
        st.bold = bold;
        st.fore = bold && foreBgr >= 0 ? (foreBgr & 0xFFFFFF) : -1;
        rowStyles_.insert(e, st);
        dest.push_back(e);
        ++liveTotals_;
        ++added;
    };

    beginResetModel();
    if (groupOn < 0) {
        double sum = 0;
        int rows = 0;
        qint32 first = -1;
        for (qint32 e : layout_) {
            if (e < 0) continue;
            if (first < 0) first = e;
            sum += valueOf[tc.ids[size_t(e)]];
            ++rows;
        }
        if (rows > 0) {
            std::vector<qint32> head;
            place(first, sum, rows, QString(), head);
            if (!head.empty()) {
                out.reserve(layout_.size() + 1);
                out.push_back(head.front());
                out.insert(out.end(), layout_.begin(), layout_.end());
                layout_.swap(out);
            }
        }
    } else {
        const Column &gc = cols_[size_t(groupOn)];
        out.reserve(layout_.size() + 64);
        const size_t n = layout_.size();
        size_t i = 0;
        while (i < n) {
            const qint32 e = layout_[i];
            if (e < 0) {
                out.push_back(e);
                ++i;
                continue;
            }
            // A group: the run of data rows with the same value (a total row ends it).
            const quint32 g = gc.ids[size_t(e)];
            double sum = 0;
            int rows = 0;
            size_t j = i;
            while (j < n && layout_[j] >= 0 && gc.ids[size_t(layout_[j])] == g) {
                sum += valueOf[tc.ids[size_t(layout_[j])]];
                ++rows;
                ++j;
            }
            place(e, sum, rows, gc.values[g], out);
            out.insert(out.end(), layout_.begin() + qsizetype(i), layout_.begin() + qsizetype(j));
            i = j;
        }
        layout_.swap(out);
    }
    invalidateMask();
    endResetModel();
    return added;
}

void GridModel::clearSubtotals() {
    if (totals_.empty()) return;
    beginResetModel();
    layout_.erase(std::remove_if(layout_.begin(), layout_.end(), [](qint32 e) { return e < 0; }),
                  layout_.end());
    totals_.clear();
    liveTotals_ = 0;
    rowStyles_.removeIf([](const QHash<qint32, RowStyle>::iterator &it) { return it.key() < 0; });
    auto dropTotals = [](QHash<quint64, int> &h) {
        h.removeIf([](const QHash<quint64, int>::iterator &it) { return qint32(quint32(it.key() >> 32)) < 0; });
    };
    dropTotals(cellBack_);
    dropTotals(cellFore_);
    invalidateMask();
    endResetModel();
}

size_t GridModel::memoryBytes() const {
    size_t bytes = layout_.capacity() * sizeof(qint32) + sameAbove_.capacity() * sizeof(quint32);
    for (const Column &c : cols_) {
        bytes += c.ids.capacity() * sizeof(quint32) + c.values.capacity() * sizeof(QString);
        for (const QString &v : c.values)
            if (!v.isEmpty()) bytes += 16 + size_t(v.capacity() + 1) * sizeof(QChar);  // shared with the lookup
        bytes += size_t(c.lookup.capacity()) * (sizeof(QString) + sizeof(quint32) + 8);
    }
    for (const TotalRow &t : totals_) bytes += size_t(t.cells.size()) * (sizeof(QString) + 16);
    return bytes;
}

// --- merging -----------------------------------------------------------------

void GridModel::setMergeCols(const QList<int> &cols) {
    mergeCols_.clear();
    for (int c : cols)
        if (c >= 0 && c < int(cols_.size()) && !mergeCols_.contains(c) && mergeCols_.size() < 32)
            mergeCols_.append(c);
    invalidateMask();
    if (!layout_.empty())
        emit dataChanged(index(0, 0), index(int(layout_.size()) - 1, int(cols_.size()) - 1));
}

// One pass over the rows shown: bit k of sameAbove_[r] says that merge column k of row
// r holds the same text as the row above (both data rows; total rows never merge).
void GridModel::ensureMask() const {
    if (!maskDirty_) return;
    maskDirty_ = false;
    const size_t n = layout_.size();
    if (mergeCols_.isEmpty()) {
        sameAbove_.clear();
        return;
    }
    sameAbove_.assign(n, 0);
    std::vector<const std::vector<quint32> *> ids;
    for (int c : mergeCols_) ids.push_back(&cols_[size_t(c)].ids);
    for (size_t r = 1; r < n; ++r) {
        const qint32 a = layout_[r - 1], b = layout_[r];
        if (a < 0 || b < 0) continue;
        quint32 bits = 0;
        for (size_t k = 0; k < ids.size(); ++k)
            if ((*ids[k])[size_t(a)] == (*ids[k])[size_t(b)]) bits |= 1u << k;
        sameAbove_[r] = bits;
    }
}

bool GridModel::mergedWithAbove(int row, int col) const {
    if (mergeCols_.isEmpty() || row <= 0 || row >= int(layout_.size())) return false;
    const int k = int(mergeCols_.indexOf(col));
    if (k < 0) return false;
    ensureMask();
    return (sameAbove_[size_t(row)] >> k) & 1u;
}

}  // namespace kestavion
