#pragma once

namespace kestavion {

class ScreenRegistry;

// The administration entries: users, password, lookup lists ("4-数据维护"), shop, backup
// settings.
void registerAdminScreens(ScreenRegistry &registry);

}  // namespace kestavion
