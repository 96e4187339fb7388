#include "intake/ui/intake_screens.h"

#include "foundation/ui/screen_registry.h"
#include "intake/ui/delivery_import_screen.h"
#include "intake/ui/intake_history_screen.h"
#include "intake/ui/price_change_screen.h"
#include "intake/ui/restock_screen.h"

namespace kestavion {

void registerIntakeScreens(ScreenRegistry &registry) {
    ScreenEntry buyIn;
    buyIn.menuName = QStringLiteral("BuyIn");
    buyIn.toolbarKey = QStringLiteral("BuyIn");
    buyIn.create = [](AppContext &ctx, QWidget *parent) -> QDialog * { return new RestockScreen(ctx, parent); };
    registry.add(std::move(buyIn));

    ScreenEntry detail;
    detail.menuName = QStringLiteral("BuyInDetail");
    detail.create = [](AppContext &ctx, QWidget *parent) -> QDialog * { return new IntakeHistoryScreen(ctx, parent); };
    registry.add(std::move(detail));

    ScreenEntry price;
    price.menuName = QStringLiteral("ChangePrice");
    price.create = [](AppContext &ctx, QWidget *parent) -> QDialog * { return new PriceChangeScreen(ctx, parent); };
    registry.add(std::move(price));

    // The delivery-note import has no permission of its own: its entry is never gated.
    ScreenEntry putIn;
    putIn.menuName = QStringLiteral("putin");
    putIn.create = [](AppContext &ctx, QWidget *parent) -> QDialog * { return new DeliveryImportScreen(ctx, parent); };
    registry.add(std::move(putIn));
}

}  // namespace kestavion
