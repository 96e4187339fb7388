#include "foundation/ui/screen_registry.h"

#include "admin/ui/admin_screens.h"
#include "intake/ui/intake_screens.h"

namespace kestavion {

// Each subsystem adds its registration call here.
void registerAllScreens(ScreenRegistry &registry) {
    registerAdminScreens(registry);
    registerIntakeScreens(registry);
}

}  // namespace kestavion
