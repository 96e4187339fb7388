#include "aftersales/ui/aftersales_screens.h"

#include "aftersales/ui/exchange_screen.h"
#include "aftersales/ui/factory_return_screen.h"
#include "aftersales/ui/problem_goods_screen.h"
#include "aftersales/ui/return_screen.h"
#include "aftersales/ui/sales_rules_screen.h"
#include "aftersales/ui/void_screen.h"
#include "foundation/ui/screen_registry.h"

namespace kestavion {

namespace {
template <typename Screen>
std::function<QDialog *(AppContext &, QWidget *)> make() {
    return [](AppContext &ctx, QWidget *parent) -> QDialog * { return new Screen(ctx, parent); };
}
}  // namespace

void registerAftersalesScreens(ScreenRegistry &registry) {
    registry.add({QStringLiteral("SellRole"), QString(), true, true, make<SalesRulesScreen>()});
    registry.add({QStringLiteral("ClientBackChange"), QStringLiteral("ClientBackChange"), true, true,
                  make<ExchangeScreen>()});
    registry.add({QStringLiteral("ClientBack"), QStringLiteral("ClientBack"), true, true, make<ReturnScreen>()});
    registry.add({QStringLiteral("Question"), QString(), true, true, make<ProblemGoodsScreen>()});
    // The menu opens the factory return beside the main window; the toolbar modally.
    registry.add({QStringLiteral("CompanyBack"), QStringLiteral("CompanyBack"), false, true,
                  make<FactoryReturnScreen>()});
    registry.add({QStringLiteral("BlankOut"), QString(), true, true, make<VoidScreen>()});
}

}  // namespace kestavion
