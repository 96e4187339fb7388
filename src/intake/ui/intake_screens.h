#pragma once

namespace kestavion {

class ScreenRegistry;

// Restocking (menu and toolbar "BuyIn"), intake history ("BuyInDetail") and price
// change ("ChangePrice").
void registerIntakeScreens(ScreenRegistry &registry);

}  // namespace kestavion
