#pragma once

#include <QString>

namespace kestavion {

// Staff passwords are stored as salted Argon2id hashes ("$argon2id$...").
enum class PasswordCost { Interactive, Cheap };
// The cost of new hashes; tests switch to Cheap (same code path, fast).
void setPasswordCost(PasswordCost cost);

QString hashPassword(const QString &password);
bool isPasswordHash(const QString &stored);

// True when `typed` matches `stored`. A stored value that is not a hash is compared
// as plain text (exact, case-sensitive); *needsUpgrade is then set so the caller
// replaces it by its hash.
bool verifyPassword(const QString &stored, const QString &typed, bool *needsUpgrade = nullptr);

}  // namespace kestavion
