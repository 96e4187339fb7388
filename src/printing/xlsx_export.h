#pragma once

#include "foundation/grid_snapshot.h"

#include <QString>
#include <stdexcept>

namespace kestavion {

// A report file could not be written (disk full, folder read-only, file open in
// another program). `message` is for the shop's staff.
class ExportError : public std::runtime_error {
public:
    explicit ExportError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString &message() const { return message_; }

private:
    QString message_;
};

// Writes the grid into a one-sheet .xlsx file: the headings in row 1, then the grid's
// rows; every column not hidden, from left to right, column 0 included; thin
// borders round every cell; total rows bold. A cell whose text is a plain number in
// its shortest form is written as a number (so the sheet can sum it); any other
// text, such as an article number with a leading zero, stays text.
// The file appears complete or not at all: it is written beside the target under
// a temporary name and renamed over it. Throws ExportError.
void writeXlsx(const GridSnapshot &grid, const QString &path);

// Moves a finished temporary file over `target` (replacing it); throws ExportError.
void replaceFile(const QString &temporary, const QString &target);

}  // namespace kestavion
