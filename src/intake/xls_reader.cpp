// The .xls reader: freexl parses the compound file and its BIFF records.
#include "foundation/numbers.h"
#include "intake/sheet_reader.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTime>
#include <freexl.h>

namespace kestavion {

using namespace sheetlimits;

namespace {

struct FreexlHandle {
    const void *handle = nullptr;
    FreexlHandle() = default;
    FreexlHandle(const FreexlHandle &) = delete;
    FreexlHandle &operator=(const FreexlHandle &) = delete;
    ~FreexlHandle() {
        if (handle) freexl_close(handle);
    }
};

// freexl gives a cell styled as a date as text; the sheet holds a serial number of
// days (and a fraction of a day for the time), which is what we read.
QString serialFromDateText(const QString &text, bool mode1904) {
    const QDate base = mode1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    double serial = 0;
    QString rest = text;
    if (text.size() >= 10 && text[4] == QLatin1Char('-')) {
        const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid()) return text;
        serial = double(base.daysTo(d));
        rest = text.mid(10).trimmed();
    }
    if (!rest.isEmpty()) {
        const QTime t = QTime::fromString(rest, QStringLiteral("HH:mm:ss"));
        if (!t.isValid()) return text;
        serial += t.msecsSinceStartOfDay() / 86400000.0;
    }
    return formatNumber(serial);
}

}  // namespace

std::unique_ptr<SheetReader> readXls(const QString &path) {
    if (QFileInfo(path).size() > kMaxFileBytes) throw SheetError(sheetmessages::kTooLarge);
    const QByteArray name = QFile::encodeName(path);
    FreexlHandle xls;
    const int rc = freexl_open(name.constData(), &xls.handle);
    if (rc == FREEXL_INSUFFICIENT_MEMORY) throw SheetError(sheetmessages::kTooLarge);
    if (rc != FREEXL_OK) throw SheetError(sheetmessages::kUnreadable);

    unsigned int info = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
        throw SheetError(sheetmessages::kPassword);
    bool mode1904 = false;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_DATEMODE, &info) == FREEXL_OK) mode1904 = info == FREEXL_BIFF_DATEMODE_1904;
    unsigned int sheets = 0;
    if (freexl_get_info(xls.handle, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0)
        throw SheetError(sheetmessages::kNoSheet);
    if (freexl_select_active_worksheet(xls.handle, 0) != FREEXL_OK) throw SheetError(sheetmessages::kNoSheet);

    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(xls.handle, &rows, &columns) != FREEXL_OK)
        throw SheetError(sheetmessages::kUnreadable);
    if (rows > unsigned(kMaxRows) || columns > unsigned(kMaxColumns)) throw SheetError(sheetmessages::kTooLarge);

    auto sheet = std::make_unique<SheetCells>();
    if (rows > 0 && columns > 0) sheet->put(int(rows), int(columns), QString());  // the declared extent
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(xls.handle, r, c, &v) != FREEXL_OK) throw SheetError(sheetmessages::kUnreadable);
            QString text;
            switch (v.type) {
            case FREEXL_CELL_INT:
                text = QString::number(v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                text = formatNumber(v.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                text = QString::fromUtf8(v.value.text_value);
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                text = serialFromDateText(QString::fromUtf8(v.value.text_value), mode1904);
                break;
            default:
                break;
            }
            if (!text.isEmpty()) sheet->put(int(r) + 1, int(c) + 1, text);
        }
    }
    return sheet;
}

}  // namespace kestavion
