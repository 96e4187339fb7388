#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace kestavion::test {

// The cells of the first sheet of an .xlsx file, row by row (shared strings and
// numbers as their text), read with minizip and an XML reader; empty when the file
// cannot be read. A cell's style index goes to `styles` when given.
std::vector<QStringList> readXlsxSheet(const QString &path);
// One part of the .xlsx package as text (e.g. "xl/styles.xml").
QString readXlsxPart(const QString &path, const QString &part);

// The text of every page of a PDF (pdftotext -layout), one entry per page.
QStringList pdfPages(const QString &path);
// pdfinfo's "Page size" line, e.g. "595.276 x 841.89 pts (A4)".
QString pdfPageSize(const QString &path);

}  // namespace kestavion::test
