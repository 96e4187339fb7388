#pragma once

namespace kestavion {

class ScreenRegistry;

// The till: menu "SellOut" and toolbar key "SellOut" (gated by Sell in the main window).
void registerSellingScreens(ScreenRegistry &registry);

}  // namespace kestavion
