#include "aftersales/ui/aftersales_screens.h"

#include "aftersales/ui/exchange_screen.h"
#include "aftersales/ui/factory_return_screen.h"
#include "aftersales/ui/problem_goods_screen.h"
#include "aftersales/ui/return_screen.h"
#include "aftersales/ui/sales_rules_screen.h"
#include "aftersales/ui/void_screen.h"
#include "foundation/ui/screen_registry.h"

namespace kestavion {

void registerAftersalesScreens(ScreenRegistry &registry) {
    registry.add({QStringLiteral("SellRole"), QString(), true, true, screenMaker<SalesRulesScreen>()});
    registry.add({QStringLiteral("ClientBackChange"), QStringLiteral("ClientBackChange"), true, true,
                  screenMaker<ExchangeScreen>()});
    registry.add({QStringLiteral("ClientBack"), QStringLiteral("ClientBack"), true, true, screenMaker<ReturnScreen>()});
    registry.add({QStringLiteral("Question"), QString(), true, true, screenMaker<ProblemGoodsScreen>()});
    // The menu opens the factory return beside the main window; the toolbar modally.
    registry.add({QStringLiteral("CompanyBack"), QStringLiteral("CompanyBack"), false, true,
                  screenMaker<FactoryReturnScreen>()});
    registry.add({QStringLiteral("BlankOut"), QString(), true, true, screenMaker<VoidScreen>()});
}

}  // namespace kestavion
