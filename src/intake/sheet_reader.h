#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

namespace kestavion {

// A spreadsheet file that cannot be read: broken, truncated, protected by a password,
// too large, or no spreadsheet at all. The message is for the shop's staff.
class SheetError : public std::runtime_error {
public:
    explicit SheetError(const QString &message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString &message() const { return message_; }

private:
    QString message_;
};

// The first worksheet of a spreadsheet file, read completely when it is opened (the
// file itself is not kept open). Cells are addressed by 1-based row and column and
// read as text: numbers in their plain decimal form (a cell styled as a date gives
// its serial number), texts as they are, an empty or missing cell as empty text.
class SheetReader {
public:
    virtual ~SheetReader() = default;
    // The last row and column that hold a cell (0 for an empty sheet).
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual QString cell(int row, int column) const = 0;
};

// Limits that keep a hostile file from taking the machine down.
namespace sheetlimits {
inline constexpr qint64 kMaxFileBytes = 32LL * 1024 * 1024;      // the file as stored
inline constexpr qint64 kMaxPartBytes = 64LL * 1024 * 1024;      // one unpacked part of an .xlsx
inline constexpr qint64 kMaxUnpackedBytes = 128LL * 1024 * 1024; // all unpacked parts together
inline constexpr int kMaxRows = 1048576;                         // the largest sheet a spreadsheet has
inline constexpr int kMaxColumns = 16384;
inline constexpr qint64 kMaxCells = 2000000;                    // cells that hold a value
inline constexpr int kMaxZipEntries = 10000;
}  // namespace sheetlimits

// The cells both readers collect: only non-empty cells are kept.
class SheetCells : public SheetReader {
public:
    int rowCount() const override { return rows_; }
    int columnCount() const override { return columns_; }
    QString cell(int row, int column) const override;

    // Records that (row, column) exists; stores its text when not empty. Throws
    // SheetError past the sheet limits.
    void put(int row, int column, const QString &text);
    // Every cell that holds text, in no particular order.
    void forEachCell(const std::function<void(int row, int column, const QString &text)> &visit) const;

private:
    static quint64 key(int row, int column) { return (quint64(quint32(row)) << 32) | quint32(column); }
    QHash<quint64, QString> cells_;
    int rows_ = 0;
    int columns_ = 0;
};

// Opens the first worksheet of an .xls or .xlsx file. The kind is told by the file's
// content, not its name (a renamed file still reads, a text file is refused). Throws
// SheetError with a message for the staff when the file cannot be read.
std::unique_ptr<SheetReader> openSheet(const QString &path);

// The two readers, also reached directly by the fuzz targets.
//
// freexl is not safe with hostile files (a fuzzer finds memory faults in it within
// seconds), so readXls runs it in a helper program, kestavion-xlsdump, beside the
// program, under a memory limit and a time limit: a file that crashes or exhausts
// the helper is only a file that cannot be read.
std::unique_ptr<SheetReader> readXls(const QString &path);
std::unique_ptr<SheetReader> readXlsx(const QByteArray &bytes);
// The helper's side: freexl in this process (only the helper calls this).
std::unique_ptr<SheetCells> readXlsInProcess(const QString &path);
// Where readXls finds the helper: beside the running program unless set here.
void setXlsHelperProgram(const QString &path);
// The helper's answer on its standard output, and reading it back (throws SheetError
// for a broken answer).
QByteArray encodeSheetAnswer(const SheetCells *sheet, const QString &error);
std::unique_ptr<SheetReader> decodeSheetAnswer(const QByteArray &answer);

// Messages shared by the readers.
namespace sheetmessages {
inline const QString kUnreadable = QStringLiteral("文件已损坏或不是Excel文件，无法读取！");
inline const QString kPassword = QStringLiteral("文件设有密码保护，无法读取！请在表格程序中取消密码后再导入。");
inline const QString kTooLarge = QStringLiteral("文件太大，无法导入！");
inline const QString kNoSheet = QStringLiteral("文件中没有工作表！");
inline const QString kNoHelper = QStringLiteral("找不到读取.xls文件的程序kestavion-xlsdump，请重新安装本系统。");
}  // namespace sheetmessages

}  // namespace kestavion
