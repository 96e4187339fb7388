#include "intake/sheet_reader.h"

#include <QFile>
#include <QFileInfo>

namespace kestavion {

using namespace sheetlimits;

QString SheetCells::cell(int row, int column) const {
    if (row < 1 || column < 1) return {};
    return cells_.value(key(row, column));
}

void SheetCells::put(int row, int column, const QString &text) {
    if (row < 1 || column < 1 || row > kMaxRows || column > kMaxColumns) throw SheetError(sheetmessages::kUnreadable);
    rows_ = std::max(rows_, row);
    columns_ = std::max(columns_, column);
    if (text.isEmpty()) {
        cells_.remove(key(row, column));
        return;
    }
    if (cells_.size() >= kMaxCells && !cells_.contains(key(row, column))) throw SheetError(sheetmessages::kTooLarge);
    cells_.insert(key(row, column), text);
}

void SheetCells::forEachCell(const std::function<void(int, int, const QString &)> &visit) const {
    for (auto it = cells_.constBegin(); it != cells_.constEnd(); ++it)
        visit(int(it.key() >> 32), int(it.key() & 0xFFFFFFFFu), it.value());
}

namespace {

const char kZipMagic[] = "PK\x03\x04";
const char kCompoundMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// An .xlsx saved with a password is a compound file holding the encrypted package.
bool isEncryptedPackage(const QByteArray &bytes) {
    static const QByteArray name = [] {
        QByteArray n;
        for (char c : QByteArrayLiteral("EncryptedPackage")) {
            n.append(c);
            n.append('\0');
        }
        return n;
    }();
    return bytes.contains(name);
}

// An .xls saved with a password has a FILEPASS record right after the workbook's BOF
// (BIFF8: 16 bytes of BOF data; BIFF5: 8). freexl cannot read such a file and only
// says it is broken; this tells the staff why.
bool hasFilePass(const QByteArray &bytes) {
    for (const auto &[bof, length] : {std::pair{QByteArrayLiteral("\x09\x08\x10\x00"), 16},
                                      std::pair{QByteArrayLiteral("\x09\x08\x08\x00"), 8}}) {
        for (qsizetype at = bytes.indexOf(bof); at >= 0; at = bytes.indexOf(bof, at + 1)) {
            const qsizetype next = at + 4 + length;
            if (next + 2 <= bytes.size() && bytes[next] == '\x2F' && bytes[next + 1] == '\0') return true;
        }
    }
    return false;
}

}  // namespace

std::unique_ptr<SheetReader> openSheet(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SheetError(QStringLiteral("无法打开文件：%1").arg(QFileInfo(path).fileName()));
    if (file.size() > kMaxFileBytes) throw SheetError(sheetmessages::kTooLarge);
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    file.close();  // the whole file is in memory now; nothing keeps it open
    if (bytes.size() > kMaxFileBytes) throw SheetError(sheetmessages::kTooLarge);

    if (bytes.startsWith(QByteArray::fromRawData(kZipMagic, 4))) return readXlsx(bytes);
    if (bytes.startsWith(QByteArray::fromRawData(kCompoundMagic, 8))) {
        if (isEncryptedPackage(bytes) || hasFilePass(bytes)) throw SheetError(sheetmessages::kPassword);
        return readXls(path);
    }
    throw SheetError(sheetmessages::kUnreadable);
}

}  // namespace kestavion
