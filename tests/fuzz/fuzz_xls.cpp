// libFuzzer target: any bytes as an .xls file, read the way the program reads it:
// freexl in the helper kestavion-xlsdump beside this target, the answer decoded here.
// The reader must give cells or a SheetError, never crash, hang or run out of memory.
#include "intake/sheet_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    kestavion::setXlsHelperProgram(QFileInfo(self).dir().filePath(QStringLiteral("kestavion-xlsdump")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // The bytes as an in-memory file the helper opens through this process's fd.
    const int fd = memfd_create("fuzz.xls", MFD_CLOEXEC);
    if (fd < 0) return 0;
    size_t written = 0;
    while (written < size) {
        const ssize_t n = write(fd, data + written, size - written);
        if (n <= 0) break;
        written += size_t(n);
    }
    try {
        const auto sheet = kestavion::readXls(QStringLiteral("/proc/%1/fd/%2").arg(getpid()).arg(fd));
        for (int r = 1; r <= std::min(sheet->rowCount(), 40); ++r)
            for (int c = 1; c <= std::min(sheet->columnCount(), 40); ++c) (void)sheet->cell(r, c).size();
    } catch (const kestavion::SheetError &) {
    }
    close(fd);
    return 0;
}
