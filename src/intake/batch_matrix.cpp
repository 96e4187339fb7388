#include "intake/batch_matrix.h"

#include "foundation/numbers.h"

#include <algorithm>

namespace kestavion {

void BatchMatrix::setColour(const QString &colour, bool ticked) {
    if (ticked) {
        if (!colours_.contains(colour)) colours_ << colour;
        return;
    }
    if (colours_.removeOne(colour))
        std::erase_if(cells_, [&](const Cell &c) { return c.colour == colour; });
}

void BatchMatrix::setSize(const QString &size, bool ticked) {
    if (ticked) {
        if (!sizes_.contains(size)) sizes_ << size;
        return;
    }
    if (sizes_.removeOne(size)) std::erase_if(cells_, [&](const Cell &c) { return c.size == size; });
}

const BatchMatrix::Cell *BatchMatrix::find(const QString &colour, const QString &size) const {
    for (const Cell &c : cells_)
        if (c.colour == colour && c.size == size) return &c;
    return nullptr;
}

double BatchMatrix::quantity(int row, int col) const {
    if (row < 0 || row >= colours_.size() || col < 0 || col >= sizes_.size()) return 0;
    const Cell *c = find(colours_[row], sizes_[col]);
    return c ? c->quantity : 0;
}

QString BatchMatrix::cellText(int row, int col) const {
    const double q = quantity(row, col);
    return q > 0 ? formatNumber(q) : QString();
}

QString BatchMatrix::setCell(int row, int col, const QString &typed) {
    if (row < 0 || row >= colours_.size() || col < 0 || col >= sizes_.size()) return {};
    const QString &colour = colours_[row];
    const QString &size = sizes_[col];
    std::erase_if(cells_, [&](const Cell &c) { return c.colour == colour && c.size == size; });
    const auto value = parseNumber(typed);
    if (value && *value > 0) cells_.push_back({colour, size, *value});
    return cellText(row, col);
}

void BatchMatrix::clearQuantities() { cells_.clear(); }

double BatchMatrix::rowTotal(int row) const {
    double sum = 0;
    for (int c = 0; c < sizes_.size(); ++c) sum += quantity(row, c);
    return sum;
}

double BatchMatrix::colTotal(int col) const {
    double sum = 0;
    for (int r = 0; r < colours_.size(); ++r) sum += quantity(r, col);
    return sum;
}

double BatchMatrix::total() const {
    double sum = 0;
    for (const Cell &c : cells_) sum += c.quantity;
    return sum;
}

QString BatchMatrix::totalText(double sum) { return sum == 0 ? QString() : formatNumber(sum); }

std::vector<GoodsIntake> BatchMatrix::intakes(const GoodsIntake &base) const {
    std::vector<GoodsIntake> out;
    for (int r = 0; r < colours_.size(); ++r)
        for (int c = 0; c < sizes_.size(); ++c) {
            const double q = quantity(r, c);
            if (q <= 0) continue;
            GoodsIntake in = base;
            in.colour = colours_[r];
            in.size = sizes_[c];
            in.quantity = q;
            out.push_back(in);
        }
    return out;
}

}  // namespace kestavion
