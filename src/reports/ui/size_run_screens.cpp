#include "reports/ui/size_run_screens.h"

#include "foundation/ui/screen_registry.h"
#include "reports/ui/size_run_screen.h"

namespace kestavion {

void registerSizeRunScreens(ScreenRegistry &registry) {
    registry.add({QStringLiteral("SizeRun"), QString(), true, true,
                  [](AppContext &ctx, QWidget *parent) -> QDialog * { return new SizeRunScreen(ctx, parent); }});
}

}  // namespace kestavion
