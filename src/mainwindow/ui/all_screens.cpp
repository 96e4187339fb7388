#include "foundation/ui/screen_registry.h"

#include "admin/ui/admin_screens.h"

namespace kestavion {

// Each subsystem adds its registration call here.
void registerAllScreens(ScreenRegistry &registry) {
    registerAdminScreens(registry);
}

}  // namespace kestavion
