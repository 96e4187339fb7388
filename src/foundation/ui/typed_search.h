#pragma once

#include "foundation/ui/grid_model.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace kestavion {

class Grid;

// Search as you type over the rows already in a Grid (the goods of the till and of
// the replacement choice): shows the stored rows whose cell under `columnKey`
// contains the typed text anywhere, letter case ignored as the engine's LIKE does,
// and that pass every further condition. No cell is rebuilt: each distinct text of
// a column is tested once, then each row is one lookup; when the text extends the
// one the rows shown were found for, only those rows are tested again.
class TypedSearch {
public:
    TypedSearch(Grid *grid, QString columnKey) : grid_(grid), columnKey_(std::move(columnKey)) {}

    // A further condition on the cells under `key` (for example "stock above 0").
    void require(const QString &key, std::function<bool(const QString &)> test);
    // After the grid was bound again: every row read is shown, found for "".
    void rebound() { shownFor_ = QString(); }
    // Shows the rows for `text`; row 1 becomes current when there is one.
    void apply(const QString &text);

private:
    Grid *grid_;
    QString columnKey_;
    std::vector<std::pair<QString, std::function<bool(const QString &)>>> required_;
    std::optional<QString> shownFor_;  // none until the first search after a bind
};

}  // namespace kestavion
