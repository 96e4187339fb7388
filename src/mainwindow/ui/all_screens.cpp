#include "foundation/ui/screen_registry.h"

#include "aftersales/ui/aftersales_screens.h"

namespace kestavion {

// Each subsystem adds its registration call here.
void registerAllScreens(ScreenRegistry &registry) {
    (void)registry;
    registerAftersalesScreens(registry);
}

}  // namespace kestavion
