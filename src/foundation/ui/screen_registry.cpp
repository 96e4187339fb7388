#include "foundation/ui/screen_registry.h"

namespace kestavion {

void ScreenRegistry::add(ScreenEntry entry) {
    const QString key = entry.menuName;
    entries_[key] = std::move(entry);
}

const ScreenEntry *ScreenRegistry::byMenu(const QString &menuName) const {
    auto it = entries_.find(menuName);
    return it == entries_.end() ? nullptr : &it->second;
}

const ScreenEntry *ScreenRegistry::byToolbarKey(const QString &key) const {
    for (const auto &[name, e] : entries_)
        if (!key.isEmpty() && e.toolbarKey == key) return &e;
    return nullptr;
}

}  // namespace kestavion
