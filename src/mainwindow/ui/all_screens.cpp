#include "foundation/ui/screen_registry.h"

#include "admin/ui/admin_screens.h"
#include "aftersales/ui/aftersales_screens.h"
#include "intake/ui/intake_screens.h"
#include "reports/ui/reports_query_screens.h"
#include "selling/ui/selling_screens.h"

namespace kestavion {

// Each subsystem adds its registration call here.
void registerAllScreens(ScreenRegistry &registry) {
    registerSellingScreens(registry);
    registerAdminScreens(registry);
    registerIntakeScreens(registry);
    registerAftersalesScreens(registry);
    registerReportQueryScreens(registry);
}

}  // namespace kestavion
