#include "printing/xlsx_export.h"

#include "foundation/numbers.h"
#include "printing/grid_report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>

namespace kestavion {

namespace {

// Text written as a number: a plain decimal in the shortest form ("507", "-16.5"),
// small enough that a spreadsheet shows every digit. "0012", "1,000", "16.50" and
// long code numbers stay text, so nothing the grid shows changes in the sheet.
bool asNumber(const QString &text, double *value) {
    if (text.isEmpty() || text.size() > 12) return false;
    const auto v = parseNumber(text);
    if (!v || !std::isfinite(*v)) return false;
    if (formatNumber(*v) != text) return false;
    *value = *v;
    return true;
}

// Column width in characters of the sheet's default font from a grid width in twips
// (a character is about 7 pixels, a pixel 15 twips).
double sheetWidth(int twips) { return std::clamp(twips / 105.0 + 1, 4.0, 60.0); }

QString lxwText(lxw_error e) { return QString::fromUtf8(lxw_strerror(e)); }

}  // namespace

void replaceFile(const QString &temporary, const QString &target) {
    if (QFile::exists(target) && !QFile::remove(target)) {
        QFile::remove(temporary);
        throw ExportError(QStringLiteral("无法替换文件 %1，它可能正被其他程序打开。").arg(QDir::toNativeSeparators(target)));
    }
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        throw ExportError(QStringLiteral("无法写入文件 %1。").arg(QDir::toNativeSeparators(target)));
    }
}

void writeXlsx(const GridSnapshot &grid, const QString &path) {
    const QFileInfo info(path);
    QString tmpPath;
    {
        // Only the unique name is wanted; the library writes the file itself.
        QTemporaryFile probe(info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX")).arg(info.fileName()));
        if (!probe.open())
            throw ExportError(QStringLiteral("无法在文件夹 %1 中写入文件。").arg(QDir::toNativeSeparators(info.absolutePath())));
        tmpPath = probe.fileName();
    }
    const QByteArray tmpName = QFile::encodeName(tmpPath);

    lxw_workbook *wb = workbook_new(tmpName.constData());
    if (!wb) throw ExportError(QStringLiteral("无法创建文件 %1。").arg(QDir::toNativeSeparators(path)));
    lxw_worksheet *ws = workbook_add_worksheet(wb, nullptr);
    lxw_format *plain = workbook_add_format(wb);
    format_set_border(plain, LXW_BORDER_THIN);
    lxw_format *bold = workbook_add_format(wb);
    format_set_border(bold, LXW_BORDER_THIN);
    format_set_bold(bold);

    lxw_error failed = LXW_NO_ERROR;
    const std::vector<QStringList> rows = sheetRows(grid);
    lxw_col_t n = 0;
    for (size_t c = 0; c < grid.columns.size(); ++c) {
        if (grid.columns[c].hidden) continue;
        worksheet_set_column(ws, n, n, sheetWidth(grid.columns[c].widthTwips), nullptr);
        ++n;
    }
    for (size_t r = 0; r < rows.size() && failed == LXW_NO_ERROR; ++r) {
        lxw_format *fmt = (r == 0 || grid.rows[r - 1].isTotal) ? bold : plain;
        const QStringList &cells = rows[r];
        for (int c = 0; c < cells.size(); ++c) {
            double v = 0;
            lxw_error e;
            if (r > 0 && asNumber(cells[c], &v))
                e = worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), v, fmt);
            else if (cells[c].isEmpty())
                e = worksheet_write_blank(ws, lxw_row_t(r), lxw_col_t(c), fmt);
            else
                e = worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), cells[c].toUtf8().constData(), fmt);
            if (e != LXW_NO_ERROR) {
                failed = e;
                break;
            }
        }
    }
    const lxw_error closed = workbook_close(wb);
    if (failed != LXW_NO_ERROR || closed != LXW_NO_ERROR) {
        QFile::remove(tmpPath);
        throw ExportError(QStringLiteral("无法写入文件 %1：%2")
                              .arg(QDir::toNativeSeparators(path), lxwText(failed != LXW_NO_ERROR ? failed : closed)));
    }
    replaceFile(tmpPath, path);
}

}  // namespace kestavion
