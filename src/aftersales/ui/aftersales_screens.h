#pragma once

namespace kestavion {

class ScreenRegistry;

// Sales rules, return, exchange, problem goods, factory return and void.
void registerAftersalesScreens(ScreenRegistry &registry);

}  // namespace kestavion
