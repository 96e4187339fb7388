#include "foundation/file_health.h"

namespace kestavion {

bool reportsDamagedFile(const DbError &error) {
    // The engine's primary result codes for a damaged file: SQLITE_CORRUPT (11) and
    // SQLITE_NOTADB (26), possibly carried as extended codes.
    const int primary = error.code() & 0xff;
    return primary == 11 || primary == 26 || error.message().contains(QLatin1String("malformed"));
}

}  // namespace kestavion
