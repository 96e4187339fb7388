// libFuzzer target: any bytes as an .xlsx package. The reader must give cells or a
// SheetError, never crash, hang or run out of memory.
#include "intake/sheet_reader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const auto sheet = kestavion::readXlsx(bytes);
        for (int r = 1; r <= std::min(sheet->rowCount(), 40); ++r)
            for (int c = 1; c <= std::min(sheet->columnCount(), 40); ++c) (void)sheet->cell(r, c).size();
    } catch (const kestavion::SheetError &) {
    }
    return 0;
}
