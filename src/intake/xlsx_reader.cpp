// The .xlsx reader: minizip unpacks the parts from memory, QXmlStreamReader reads
// the package relations, the workbook, the shared strings and the first worksheet.
#include "foundation/numbers.h"
#include "intake/sheet_reader.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QXmlStreamReader>
#include <cmath>
#include <unzip.h>

namespace kestavion {

using namespace sheetlimits;

namespace {

[[noreturn]] void broken() { throw SheetError(sheetmessages::kUnreadable); }

// --- the zip file, read from memory ------------------------------------------------

struct MemoryFile {
    const QByteArray *bytes;
    qint64 pos = 0;
};

voidpf ZCALLBACK memOpen(voidpf opaque, const void *, int mode) {
    if (mode & ZLIB_FILEFUNC_MODE_WRITE) return nullptr;
    return new MemoryFile{static_cast<const QByteArray *>(opaque)};
}
uLong ZCALLBACK memRead(voidpf, voidpf stream, void *buf, uLong size) {
    auto *f = static_cast<MemoryFile *>(stream);
    const qint64 left = f->bytes->size() - f->pos;
    const qint64 n = std::max<qint64>(0, std::min<qint64>(left, qint64(size)));
    if (n > 0) memcpy(buf, f->bytes->constData() + f->pos, size_t(n));
    f->pos += n;
    return uLong(n);
}
uLong ZCALLBACK memWrite(voidpf, voidpf, const void *, uLong) { return 0; }
ZPOS64_T ZCALLBACK memTell(voidpf, voidpf stream) { return ZPOS64_T(static_cast<MemoryFile *>(stream)->pos); }
long ZCALLBACK memSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto *f = static_cast<MemoryFile *>(stream);
    qint64 base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = f->pos; break;
    case ZLIB_FILEFUNC_SEEK_END: base = f->bytes->size(); break;
    default: return -1;
    }
    if (offset > ZPOS64_T(f->bytes->size())) return -1;
    const qint64 to = base + qint64(offset);
    if (to < 0 || to > f->bytes->size()) return -1;
    f->pos = to;
    return 0;
}
int ZCALLBACK memClose(voidpf, voidpf stream) {
    delete static_cast<MemoryFile *>(stream);
    return 0;
}
int ZCALLBACK memError(voidpf, voidpf) { return 0; }

class Package {
public:
    explicit Package(const QByteArray &bytes) : bytes_(bytes) {
        zlib_filefunc64_def io{memOpen, memRead, memWrite, memTell, memSeek, memClose, memError,
                               const_cast<QByteArray *>(&bytes_)};
        zipHandle_.reset(unzOpen2_64("package", &io));
        zip_ = zipHandle_.get();
        if (!zip_) broken();
        unz_global_info64 global;
        if (unzGetGlobalInfo64(zip_, &global) != UNZ_OK) broken();
        if (global.number_entry > ZPOS64_T(kMaxZipEntries)) throw SheetError(sheetmessages::kTooLarge);
        // Part names are compared without regard to case, as the package rules say.
        int seen = 0;
        for (int rc = unzGoToFirstFile(zip_); rc == UNZ_OK; rc = unzGoToNextFile(zip_)) {
            if (++seen > kMaxZipEntries) throw SheetError(sheetmessages::kTooLarge);
            char name[1024];
            unz_file_info64 info;
            if (unzGetCurrentFileInfo64(zip_, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) broken();
            unz64_file_pos pos;
            if (unzGetFilePos64(zip_, &pos) != UNZ_OK) broken();
            entries_.insert(QString::fromUtf8(name).toLower(), pos);
        }
    }
    Package(const Package &) = delete;
    Package &operator=(const Package &) = delete;

    // The unpacked part; a missing part is an empty array when `optional`.
    QByteArray read(const QString &part, bool optional = false) {
        const auto it = entries_.constFind(part.toLower());
        if (it == entries_.constEnd()) {
            if (optional) return {};
            broken();
        }
        unz64_file_pos pos = it.value();
        if (unzGoToFilePos64(zip_, &pos) != UNZ_OK) broken();
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) broken();
        if (info.flag & 1) throw SheetError(sheetmessages::kPassword);
        if (info.uncompressed_size > ZPOS64_T(kMaxPartBytes)) throw SheetError(sheetmessages::kTooLarge);
        if (unzOpenCurrentFile(zip_) != UNZ_OK) broken();
        QByteArray out;
        char buf[65536];
        int n = 0;
        // The stored size may lie: count what really comes out.
        while ((n = unzReadCurrentFile(zip_, buf, sizeof buf)) > 0) {
            if (out.size() + n > kMaxPartBytes || unpacked_ + n > kMaxUnpackedBytes) {
                unzCloseCurrentFile(zip_);
                throw SheetError(sheetmessages::kTooLarge);
            }
            out.append(buf, n);
            unpacked_ += n;
        }
        const int closed = unzCloseCurrentFile(zip_);  // reports a CRC mismatch
        if (n < 0 || closed != UNZ_OK) broken();
        return out;
    }

private:
    struct Closer {
        void operator()(unzFile zip) const { unzClose(zip); }
    };
    QByteArray bytes_;
    std::unique_ptr<std::remove_pointer_t<unzFile>, Closer> zipHandle_;  // closed even when reading the directory fails
    unzFile zip_ = nullptr;
    QHash<QString, unz64_file_pos> entries_;
    qint64 unpacked_ = 0;
};

// --- XML -----------------------------------------------------------------------------

// A reader that refuses document type declarations (no entity tricks in a package).
class Xml : public QXmlStreamReader {
public:
    explicit Xml(const QByteArray &data) : QXmlStreamReader(data) {}
    // Next start element anywhere below; false at the end of the document.
    bool nextStart() {
        while (!atEnd()) {
            const TokenType t = readNext();
            if (t == DTD) broken();
            if (t == StartElement) return true;
        }
        if (hasError()) broken();
        return false;
    }
    // Reads on until the end of the current element, calling `onStart` for each
    // element below it (which may consume that element itself).
    template <typename F>
    void within(F onStart) {
        int depth = 1;
        while (depth > 0) {
            const TokenType t = readNext();
            if (t == DTD || t == Invalid) broken();
            if (t == EndDocument) broken();
            if (t == StartElement) {
                if (!onStart()) ++depth;
            } else if (t == EndElement) {
                --depth;
            }
        }
    }
    QString attr(QLatin1StringView name) const { return attributes().value(name).toString(); }
    // An attribute in the relationships namespace (r:id), whatever its prefix.
    QString relId() const {
        for (const QXmlStreamAttribute &a : attributes())
            if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty()) return a.value().toString();
        return {};
    }
};

// Text of a string item (<si> or <is>): its <t> runs, phonetic hints left out.
QString stringItem(Xml &x) {
    QString text;
    x.within([&]() -> bool {
        if (x.name() == QLatin1String("t")) {
            text += x.readElementText();
            if (x.hasError()) broken();
            return true;
        }
        if (x.name() == QLatin1String("rPh")) {
            x.skipCurrentElement();
            if (x.hasError()) broken();
            return true;
        }
        return false;
    });
    return text;
}

struct Relation {
    QString type, target;
};

// Relations of a part: id → (type, absolute part name).
QHash<QString, Relation> relations(Package &pkg, const QString &part) {
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    const QString dir = slash < 0 ? QString() : part.left(slash);
    const QString relsPart = (dir.isEmpty() ? QString() : dir + QLatin1Char('/')) + QStringLiteral("_rels/") +
                             part.mid(slash + 1) + QStringLiteral(".rels");
    QHash<QString, Relation> out;
    const QByteArray data = pkg.read(relsPart, true);
    if (data.isEmpty()) return out;
    Xml x(data);
    while (x.nextStart()) {
        if (x.name() != QLatin1String("Relationship")) continue;
        if (x.attr(QLatin1StringView("TargetMode")) == QLatin1String("External")) continue;
        QString target = x.attr(QLatin1StringView("Target"));
        target = target.startsWith(QLatin1Char('/')) ? target.mid(1)
                                                     : (dir.isEmpty() ? target : dir + QLatin1Char('/') + target);
        target = QDir::cleanPath(target);
        if (target.startsWith(QLatin1String("../")) || target.startsWith(QLatin1Char('/'))) continue;
        out.insert(x.attr(QLatin1StringView("Id")), Relation{x.attr(QLatin1StringView("Type")), target});
    }
    return out;
}

bool isType(const Relation &r, QLatin1StringView kind) { return r.type.endsWith(QLatin1Char('/') + kind); }

// "F3" → (3, 6); "F" alone gives row 0. Anything else is a broken file.
void parseRef(const QString &ref, int &row, int &col) {
    int i = 0;
    qint64 c = 0;
    while (i < ref.size() && ref[i] >= QLatin1Char('A') && ref[i] <= QLatin1Char('Z')) {
        c = c * 26 + (ref[i].unicode() - 'A' + 1);
        if (c > kMaxColumns) broken();
        ++i;
    }
    qint64 r = 0;
    const int digitsFrom = i;
    while (i < ref.size() && ref[i].isDigit()) {
        r = r * 10 + ref[i].digitValue();
        if (r > kMaxRows) broken();
        ++i;
    }
    if (c == 0 || i != ref.size() || (i > digitsFrom && r == 0)) broken();
    row = int(r);
    col = int(c);
}

QString plainNumber(const QString &v) {
    bool ok = false;
    const double d = v.trimmed().toDouble(&ok);
    return ok && std::isfinite(d) ? formatNumber(d) : v;
}

// A date written as text in the sheet (strict files): its serial number.
QString serialFromIsoDate(const QString &v) {
    const QDateTime dt = QDateTime::fromString(v, Qt::ISODate);
    if (!dt.isValid()) return v;
    const double days = QDate(1899, 12, 30).daysTo(dt.date()) + dt.time().msecsSinceStartOfDay() / 86400000.0;
    return formatNumber(days);
}

void readSheet(const QByteArray &data, const QStringList &shared, SheetCells &sheet) {
    Xml x(data);
    int row = 0;
    while (x.nextStart()) {
        if (x.name() == QLatin1String("row")) {
            const QString r = x.attr(QLatin1StringView("r"));
            if (r.isEmpty()) {
                ++row;
            } else {
                bool ok = false;
                const int n = r.toInt(&ok);
                if (!ok || n < 1 || n > kMaxRows) broken();
                row = n;
            }
            if (row > kMaxRows) broken();
            int col = 0;
            x.within([&]() -> bool {
                if (x.name() != QLatin1String("c")) {
                    x.skipCurrentElement();
                    if (x.hasError()) broken();
                    return true;
                }
                const QString ref = x.attr(QLatin1StringView("r"));
                if (ref.isEmpty()) {
                    ++col;
                } else {
                    int rr = 0;
                    parseRef(ref, rr, col);
                    if (rr != 0 && rr != row) broken();
                }
                const QString type = x.attr(QLatin1StringView("t"));
                QString value;
                bool hasValue = false;
                x.within([&]() -> bool {
                    if (x.name() == QLatin1String("v")) {
                        value = x.readElementText();
                        if (x.hasError()) broken();
                        hasValue = true;
                        return true;
                    }
                    if (x.name() == QLatin1String("is")) {
                        value = stringItem(x);
                        hasValue = true;
                        return true;
                    }
                    x.skipCurrentElement();  // the formula and anything else
                    if (x.hasError()) broken();
                    return true;
                });
                QString text;
                if (hasValue) {
                    if (type == QLatin1String("s")) {
                        bool ok = false;
                        const int i = value.trimmed().toInt(&ok);
                        if (!ok || i < 0 || i >= shared.size()) broken();
                        text = shared.at(i);
                    } else if (type == QLatin1String("b")) {
                        text = value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                    } else if (type == QLatin1String("d")) {
                        text = serialFromIsoDate(value.trimmed());
                    } else if (type == QLatin1String("str") || type == QLatin1String("inlineStr") ||
                               type == QLatin1String("e")) {
                        text = value;
                    } else {
                        text = plainNumber(value);
                    }
                }
                sheet.put(row, col, text);
                return true;
            });
        }
    }
}

QStringList readSharedStrings(const QByteArray &data) {
    QStringList out;
    if (data.isEmpty()) return out;
    Xml x(data);
    while (x.nextStart())
        if (x.name() == QLatin1String("si")) out << stringItem(x);
    return out;
}

}  // namespace

std::unique_ptr<SheetReader> readXlsx(const QByteArray &bytes) {
    if (bytes.size() > kMaxFileBytes) throw SheetError(sheetmessages::kTooLarge);
    Package pkg(bytes);

    // The workbook: named by the package relations, in the usual place otherwise.
    QString workbook = QStringLiteral("xl/workbook.xml");
    for (const Relation &r : relations(pkg, QString()))
        if (isType(r, QLatin1StringView("officeDocument"))) workbook = r.target;
    const QHash<QString, Relation> rels = relations(pkg, workbook);

    // Its first sheet in tab order.
    QString firstId;
    {
        Xml x(pkg.read(workbook));
        while (x.nextStart()) {
            if (x.name() == QLatin1String("sheet")) {
                firstId = x.relId();
                break;
            }
        }
    }
    const auto sheetRel = rels.constFind(firstId);
    if (firstId.isEmpty() || sheetRel == rels.constEnd() || !isType(*sheetRel, QLatin1StringView("worksheet")))
        throw SheetError(sheetmessages::kNoSheet);

    QStringList shared;
    for (const Relation &r : rels)
        if (isType(r, QLatin1StringView("sharedStrings"))) shared = readSharedStrings(pkg.read(r.target, true));

    auto sheet = std::make_unique<SheetCells>();
    readSheet(pkg.read(sheetRel->target), shared, *sheet);
    return sheet;
}

}  // namespace kestavion
