#pragma once

namespace kestavion {
class ScreenRegistry;
// The size-run view of stock, under the query menu.
void registerSizeRunScreens(ScreenRegistry &registry);
}  // namespace kestavion
