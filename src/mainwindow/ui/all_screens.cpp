#include "foundation/ui/screen_registry.h"
#include "selling/ui/selling_screens.h"

namespace kestavion {

// Each subsystem adds its registration call here.
void registerAllScreens(ScreenRegistry &registry) {
    (void)registry;
    registerSellingScreens(registry);
}

}  // namespace kestavion
