#include "selling/ui/selling_screens.h"

#include "foundation/ui/screen_registry.h"
#include "selling/ui/sale_screen.h"

namespace kestavion {

void registerSellingScreens(ScreenRegistry &registry) {
    ScreenEntry till;
    till.menuName = QStringLiteral("SellOut");
    till.toolbarKey = QStringLiteral("SellOut");
    till.create = [](AppContext &ctx, QWidget *parent) -> QDialog * { return new SaleScreen(ctx, parent); };
    registry.add(std::move(till));
}

}  // namespace kestavion
