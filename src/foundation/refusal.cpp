#include "foundation/refusal.h"

#include "foundation/session.h"

namespace kestavion {

void Refusal::show(Prompter &prompter) const {
    switch (icon_) {
    case Icon::Info: prompter.info(message_, title_); break;
    case Icon::Warning: prompter.warning(message_, title_); break;
    case Icon::Exclamation: prompter.exclamation(message_, title_); break;
    }
}

void requirePermission(const Session &session, const QString &key) {
    if (!session.user.role.allows(key)) throw Refusal(kNoPermission, Refusal::Icon::Warning);
}

}  // namespace kestavion
