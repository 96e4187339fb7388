#pragma once

namespace kestavion {

class ScreenRegistry;

// Daily settlement, settlement summary, profit, single-article profit and the other
// expenses' entry and list.
void registerReportsScreens(ScreenRegistry &registry);

}  // namespace kestavion
