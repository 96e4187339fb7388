// The .xls reader: freexl parses the compound file and its BIFF records, in a helper
// process (see sheet_reader.h), whose answer this process reads back.
#include "foundation/numbers.h"
#include "intake/sheet_reader.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

std::unique_ptr<SheetCells> readXlsInProcess(const QString &path) {
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
    // An .xls sheet has at most 65536 rows and 256 columns.
    if (rows > 65536u || columns > 256u) throw SheetError(sheetmessages::kTooLarge);

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

// --- the helper's answer -------------------------------------------------------------

namespace {

constexpr quint32 kAnswerMagic = 0x4B584C53;  // "KXLS"
constexpr int kHelperSeconds = 30;

QString &helperProgram() {
    static QString path;
    return path;
}

QString defaultHelper() {
    QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
#ifdef Q_OS_WIN
    return QDir(dir).filePath(QStringLiteral("kestavion-xlsdump.exe"));
#else
    return QDir(dir).filePath(QStringLiteral("kestavion-xlsdump"));
#endif
}

}  // namespace

void setXlsHelperProgram(const QString &path) { helperProgram() = path; }

QByteArray encodeSheetAnswer(const SheetCells *sheet, const QString &error) {
    QByteArray out;
    QDataStream ds(&out, QIODevice::WriteOnly);
    ds.setVersion(QDataStream::Qt_6_0);
    ds << kAnswerMagic;
    if (!sheet) {
        ds << qint32(1) << error;
        return out;
    }
    qint32 count = 0;
    sheet->forEachCell([&](int, int, const QString &) { ++count; });
    ds << qint32(0) << qint32(sheet->rowCount()) << qint32(sheet->columnCount()) << count;
    sheet->forEachCell([&](int r, int c, const QString &text) { ds << qint32(r) << qint32(c) << text; });
    return out;
}

std::unique_ptr<SheetReader> decodeSheetAnswer(const QByteArray &answer) {
    QDataStream ds(answer);
    ds.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    qint32 status = -1;
    ds >> magic >> status;
    if (ds.status() != QDataStream::Ok || magic != kAnswerMagic) throw SheetError(sheetmessages::kUnreadable);
    if (status == 1) {
        QString message;
        ds >> message;
        // Only the readers' own messages pass; anything else is a broken answer.
        using namespace sheetmessages;
        for (const QString &known : {kUnreadable, kPassword, kTooLarge, kNoSheet})
            if (message == known) throw SheetError(known);
        throw SheetError(kUnreadable);
    }
    qint32 rows = 0, columns = 0, count = 0;
    ds >> rows >> columns >> count;
    if (status != 0 || ds.status() != QDataStream::Ok || count < 0 || count > kMaxCells)
        throw SheetError(sheetmessages::kUnreadable);
    auto sheet = std::make_unique<SheetCells>();
    if (rows > 0 && columns > 0) sheet->put(rows, columns, QString());
    for (qint32 i = 0; i < count; ++i) {
        qint32 r = 0, c = 0;
        QString text;
        ds >> r >> c >> text;
        if (ds.status() != QDataStream::Ok || r > rows || c > columns) throw SheetError(sheetmessages::kUnreadable);
        sheet->put(r, c, text);
    }
    return sheet;
}

std::unique_ptr<SheetReader> readXls(const QString &path) {
    if (QFileInfo(path).size() > kMaxFileBytes) throw SheetError(sheetmessages::kTooLarge);
    const QString helper = helperProgram().isEmpty() ? defaultHelper() : helperProgram();
    if (!QFileInfo(helper).isExecutable()) throw SheetError(sheetmessages::kNoHelper);
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(helper, {path}, QIODevice::ReadOnly);
    if (!p.waitForStarted(10000)) throw SheetError(sheetmessages::kNoHelper);
    // The answer is bounded by the helper's own limits; a helper that does not finish
    // in time is stopped.
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (p.state() != QProcess::NotRunning) {
        if (clock.elapsed() > kHelperSeconds * 1000) {
            p.kill();
            p.waitForFinished(5000);
            throw SheetError(sheetmessages::kUnreadable);
        }
        p.waitForReadyRead(200);
        answer += p.readAllStandardOutput();
        if (answer.size() > 4 * kMaxFileBytes) {
            p.kill();
            p.waitForFinished(5000);
            throw SheetError(sheetmessages::kTooLarge);
        }
    }
    answer += p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) throw SheetError(sheetmessages::kUnreadable);
    return decodeSheetAnswer(answer);
}

}  // namespace kestavion
