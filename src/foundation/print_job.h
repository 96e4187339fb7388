#pragma once

#include <QList>
#include <QString>

namespace kestavion {

// One call to the printer: set the font (size 0 keeps the current size), then print
// `text` followed by a line break. Lines inside `text` are separated by "\n".
struct PrintCall {
    int fontSize = 0;
    bool bold = false;
    QString text;
    bool operator==(const PrintCall &o) const = default;
};
// A document: its calls in order; the document ends after the last one.
using PrintJob = QList<PrintCall>;

}  // namespace kestavion
