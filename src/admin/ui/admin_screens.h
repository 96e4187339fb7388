#pragma once

namespace kestavion {

class ScreenRegistry;

// The lookup-list entries of the "4-数据维护" menu.
void registerAdminScreens(ScreenRegistry &registry);

}  // namespace kestavion
