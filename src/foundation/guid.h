#pragma once

#include <QString>

namespace kestavion {

// "{8-4-4-4-12}" in upper-case hex, 38 characters: the key of every new row.
// With stripped = true the braces and dashes are removed (32 hex digits).
QString newGuid(bool stripped = false);

}  // namespace kestavion
