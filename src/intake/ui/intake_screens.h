#pragma once

namespace kestavion {

class ScreenRegistry;

// Restocking (menu and toolbar "BuyIn"), intake history ("BuyInDetail"), price
// change ("ChangePrice") and the delivery-note import ("putin").
void registerIntakeScreens(ScreenRegistry &registry);

}  // namespace kestavion
