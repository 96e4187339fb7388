#include "intake/sheet_reader.h"
#include "kit/fixtures.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace kestavion;
using namespace kestavion::test;

namespace {

QString fixture(const char *name) { return QStringLiteral(KESTAVION_INTAKE_DATA "/") + QLatin1String(name); }

QByteArray bytesOf(const QString &path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

QString errorOf(const std::function<void()> &open) {
    try {
        open();
    } catch (const SheetError &e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

// Whether this process still holds the file open.
bool heldOpen(const QString &path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files))
        if (fd.symLinkTarget() == target) return true;
    return false;
}

class SheetReaders : public TempDirTest {};

}  // namespace

TEST_F(SheetReaders, XlsAndXlsxOfOneNoteReadAlike) {
    const auto xls = openSheet(fixture("delivery_note.xls"));
    const auto xlsx = openSheet(fixture("delivery_note.xlsx"));
    for (const SheetReader *s : {xls.get(), xlsx.get()}) {
        EXPECT_EQ(s->rowCount(), 15);
        EXPECT_EQ(s->columnCount(), 19);
        EXPECT_EQ(s->cell(3, 6), QStringLiteral("35"));
        EXPECT_EQ(s->cell(3, 15), QStringLiteral("44"));
        EXPECT_EQ(s->cell(4, 2), QStringLiteral("A1008"));
        EXPECT_EQ(s->cell(4, 17), QStringLiteral("88.5"));  // numbers in plain decimal form
        EXPECT_EQ(s->cell(4, 8), QStringLiteral("-1"));
        EXPECT_EQ(s->cell(4, 9), QString());                // an empty cell
        EXPECT_EQ(s->cell(6, 1), QStringLiteral("O'Neil"));
        EXPECT_EQ(s->cell(7, 3), QStringLiteral("Men's"));
        EXPECT_EQ(s->cell(9, 18), QStringLiteral("1299"));
        EXPECT_EQ(s->cell(13, 7), QStringLiteral("1.5"));
        EXPECT_EQ(s->cell(14, 8), QStringLiteral("两双"));
        // A cell styled as a date reads as its serial number.
        EXPECT_EQ(s->cell(4, 19), QString::number(QDate(1899, 12, 30).daysTo(QDate(2026, 12, 1))));
        EXPECT_EQ(s->cell(0, 1), QString());
        EXPECT_EQ(s->cell(99, 99), QString());
    }
    for (int r = 1; r <= 16; ++r)
        for (int c = 1; c <= 20; ++c) EXPECT_EQ(xls->cell(r, c), xlsx->cell(r, c)) << r << "," << c;
    // Both were read completely: neither file is held open (the probe itself works).
    QFile probe(fixture("delivery_note.csv"));
    ASSERT_TRUE(probe.open(QIODevice::ReadOnly));
    EXPECT_TRUE(heldOpen(fixture("delivery_note.csv")));
    EXPECT_FALSE(heldOpen(fixture("delivery_note.xls")));
    EXPECT_FALSE(heldOpen(fixture("delivery_note.xlsx")));
}

TEST_F(SheetReaders, XlsxFromOtherWritersReadsByThePackageRules) {
    // The first sheet in tab order (not the first part), found through relations with an
    // absolute target; rich text without its phonetic hint; inline strings; cells and
    // rows without references; a cached formula text; an exponent; a boolean.
    const auto s = openSheet(fixture("handmade.xlsx"));
    EXPECT_EQ(s->cell(1, 1), QString());
    EXPECT_EQ(s->cell(2, 2), QStringLiteral("O'Neil "));
    EXPECT_EQ(s->cell(2, 3), QStringLiteral("inline"));
    EXPECT_EQ(s->cell(2, 6), QStringLiteral("0.001"));
    EXPECT_EQ(s->cell(2, 7), QStringLiteral("35"));
    EXPECT_EQ(s->cell(3, 1), QStringLiteral("plain"));
    EXPECT_EQ(s->cell(3, 2), QStringLiteral("plainx"));
    EXPECT_EQ(s->cell(3, 3), QStringLiteral("TRUE"));
    EXPECT_EQ(s->rowCount(), 3);
    EXPECT_EQ(s->columnCount(), 7);
}

TEST_F(SheetReaders, BrokenAndHostileFilesGiveAClearMessage) {
    using namespace sheetmessages;
    EXPECT_EQ(errorOf([] { openSheet(fixture("truncated.xlsx")); }), kUnreadable);
    EXPECT_EQ(errorOf([] { openSheet(fixture("renamed_text.xls")); }), kUnreadable);
    EXPECT_TRUE(errorOf([this] { openSheet(path("missing.xlsx")); }).startsWith(QStringLiteral("无法打开文件")));

    // An .xls cut short.
    const QByteArray xls = bytesOf(fixture("delivery_note.xls"));
    QFile cut(path("cut.xls"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(xls.left(xls.size() / 2));
    cut.close();
    EXPECT_EQ(errorOf([this] { openSheet(path("cut.xls")); }), kUnreadable);

    // An .xlsx saved with a password is a compound file with an encrypted package.
    QByteArray locked("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    locked.append(QByteArray(504, '\0'));
    for (char c : QByteArrayLiteral("EncryptedPackage")) locked.append(c).append('\0');
    QFile lockedFile(path("locked.xlsx"));
    ASSERT_TRUE(lockedFile.open(QIODevice::WriteOnly));
    lockedFile.write(locked);
    lockedFile.close();
    EXPECT_EQ(errorOf([this] { openSheet(path("locked.xlsx")); }), kPassword);
    // An .xls with a password: its workbook's BOF record followed by FILEPASS.
    QByteArray lockedXls("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    lockedXls.append(QByteArray(504, '\0'));
    lockedXls.append(QByteArray("\x09\x08\x10\x00", 4)).append(QByteArray(16, '\x01'));
    lockedXls.append(QByteArray("\x2F\x00\x36\x00\x01\x00", 6)).append(QByteArray(54, '\x07'));
    QFile lockedXlsFile(path("locked.xls"));
    ASSERT_TRUE(lockedXlsFile.open(QIODevice::WriteOnly));
    lockedXlsFile.write(lockedXls);
    lockedXlsFile.close();
    EXPECT_EQ(errorOf([this] { openSheet(path("locked.xls")); }), kPassword);

    // Every central directory entry of a good package altered: a CRC that does not
    // match, the flag of an encrypted entry, an unpacked size past the limit.
    const QByteArray good = bytesOf(fixture("delivery_note.xlsx"));
    auto alter = [&](int offset, char mask) {
        QByteArray z = good;
        for (int at = z.indexOf("PK\x01\x02"); at >= 0; at = z.indexOf("PK\x01\x02", at + 4)) z[at + offset] = char(z[at + offset] ^ mask);
        return z;
    };
    EXPECT_EQ(errorOf([&] { readXlsx(alter(16, 0x5A)); }), kUnreadable);
    EXPECT_EQ(errorOf([&] { readXlsx(alter(8, 0x01)); }), kPassword);
    EXPECT_EQ(errorOf([&] { readXlsx(alter(27, 0x40)); }), kTooLarge);  // a part said to unpack to 1 GB

    // A file past the size limit is refused before it is read.
    QFile big(path("big.xlsx"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write("PK\x03\x04");
    big.resize(sheetlimits::kMaxFileBytes + 1);
    big.close();
    EXPECT_EQ(errorOf([this] { openSheet(path("big.xlsx")); }), kTooLarge);
}

TEST_F(SheetReaders, XlsIsReadInAHelperWhoseFailureIsOnlyAnUnreadableFile) {
    using namespace sheetmessages;
    // A file on which freexl faults (found by the fuzz target): this process goes on.
    try {
        const auto s = openSheet(fixture("freexl_fault.xls"));
        EXPECT_GE(s->rowCount(), 0);
    } catch (const SheetError &e) {
        EXPECT_FALSE(e.message().isEmpty());
    }

    // A helper that crashes, one that answers nonsense, and none at all.
    auto helper = [this](const char *name, const QByteArray &script) {
        QFile f(path(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(script);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return f.fileName();
    };
    const QString note = fixture("delivery_note.xls");
    setXlsHelperProgram(helper("crash.sh", "#!/bin/sh\nkill -SEGV $$\n"));
    EXPECT_EQ(errorOf([&] { openSheet(note); }), kUnreadable);
    setXlsHelperProgram(helper("nonsense.sh", "#!/bin/sh\nprintf 'KXLS and more'\n"));
    EXPECT_EQ(errorOf([&] { openSheet(note); }), kUnreadable);
    setXlsHelperProgram(path("missing-helper"));
    EXPECT_EQ(errorOf([&] { openSheet(note); }), kNoHelper);
    setXlsHelperProgram(QString());
    EXPECT_EQ(openSheet(note)->cell(3, 6), QStringLiteral("35"));
}
