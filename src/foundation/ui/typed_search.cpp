#include "foundation/ui/typed_search.h"

#include "foundation/ui/grid.h"

namespace kestavion {

void TypedSearch::require(const QString &key, std::function<bool(const QString &)> test) {
    required_.emplace_back(key, std::move(test));
    shownFor_.reset();  // the rows shown were not found with it
}

void TypedSearch::apply(const QString &text) {
    GridModel &rows = grid_->store();
    std::vector<GridModel::Condition> conditions;
    if (!text.isEmpty())
        conditions.push_back({rows.colIndex(columnKey_),
                              [&text](const QString &t) { return t.contains(text, Qt::CaseInsensitive); }});
    for (const auto &[key, test] : required_) conditions.push_back({rows.colIndex(key), test});
    const bool narrowing = shownFor_.has_value() && text.contains(*shownFor_, Qt::CaseInsensitive);
    const std::vector<qint32> shown = narrowing ? rows.shownStoredRows() : std::vector<qint32>();
    grid_->showStoredRows(rows.storedRowsWhere(conditions, narrowing ? &shown : nullptr));
    shownFor_ = text;
}

}  // namespace kestavion
