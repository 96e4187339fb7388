// kestavion-xlsdump FILE
// Reads the first worksheet of an .xls file with freexl and writes its cells to the
// standard output for the program that started it (the import screen). It runs apart
// from the program because freexl is not safe with hostile files: whatever such a
// file does to this process, the program only learns that the file cannot be read.
#include "intake/sheet_reader.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#if defined(Q_OS_UNIX) && !defined(__SANITIZE_ADDRESS__)
#include <sys/resource.h>
#endif

int main(int argc, char **argv) {
#if defined(Q_OS_UNIX) && !defined(__SANITIZE_ADDRESS__)
    // A file that asks freexl for gigabytes ends this process, not the machine.
    const rlimit memory{1536UL << 20, 1536UL << 20};
    setrlimit(RLIMIT_AS, &memory);
    const rlimit cpu{20, 20};
    setrlimit(RLIMIT_CPU, &cpu);
#endif
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestavion-xlsdump FILE\n");
        return 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    QByteArray answer;
    try {
        const auto sheet = kestavion::readXlsInProcess(path);
        answer = kestavion::encodeSheetAnswer(sheet.get(), QString());
    } catch (const kestavion::SheetError &e) {
        answer = kestavion::encodeSheetAnswer(nullptr, e.message());
    } catch (const std::bad_alloc &) {
        answer = kestavion::encodeSheetAnswer(nullptr, kestavion::sheetmessages::kTooLarge);
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return 3;
    if (out.write(answer) != answer.size() || !out.flush()) return 3;
    return 0;
}
