#include "foundation/ui/screen_registry.h"

namespace kestavion {

// Each subsystem adds its registration call here.
void registerAllScreens(ScreenRegistry &registry) {
    (void)registry;
}

}  // namespace kestavion
