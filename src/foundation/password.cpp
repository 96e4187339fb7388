#include "foundation/password.h"

#include "foundation/database.h"

#include <sodium.h>

namespace kestavion {

namespace {
PasswordCost g_cost = PasswordCost::Interactive;

void ensureSodium() {
    static const bool ok = sodium_init() >= 0;
    if (!ok) throw DbError(QStringLiteral("libsodium 初始化失败"));
}
}  // namespace

void setPasswordCost(PasswordCost cost) { g_cost = cost; }

QString hashPassword(const QString &password) {
    ensureSodium();
    const QByteArray pw = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    unsigned long long ops = g_cost == PasswordCost::Cheap ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    size_t mem = g_cost == PasswordCost::Cheap ? 8192 * 2 : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str_alg(out, pw.constData(), static_cast<unsigned long long>(pw.size()), ops, mem,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw DbError(QStringLiteral("密码加密失败（内存不足）"));
    return QString::fromLatin1(out);
}

bool isPasswordHash(const QString &stored) { return stored.startsWith(QLatin1String("$argon2id$")); }

bool verifyPassword(const QString &stored, const QString &typed, bool *needsUpgrade) {
    if (needsUpgrade) *needsUpgrade = false;
    if (isPasswordHash(stored)) {
        ensureSodium();
        const QByteArray h = stored.toLatin1();
        const QByteArray pw = typed.toUtf8();
        return crypto_pwhash_str_verify(h.constData(), pw.constData(), static_cast<unsigned long long>(pw.size())) == 0;
    }
    const bool match = stored == typed;
    if (match && needsUpgrade) *needsUpgrade = true;
    return match;
}

}  // namespace kestavion
