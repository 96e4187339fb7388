#include "reports/ui/reports_screens.h"

#include "foundation/ui/screen_registry.h"
#include "reports/ui/article_profit_screen.h"
#include "reports/ui/day_settlement_screen.h"
#include "reports/ui/other_expense_screen.h"
#include "reports/ui/profit_screen.h"
#include "reports/ui/settlement_summary_screen.h"

namespace kestavion {

namespace {
template <typename Screen>
std::function<QDialog *(AppContext &, QWidget *)> make() {
    return [](AppContext &ctx, QWidget *parent) -> QDialog * { return new Screen(ctx, parent); };
}
}  // namespace

void registerReportsScreens(ScreenRegistry &registry) {
    registry.add({QStringLiteral("DayAmount"), QString(), true, true, make<DaySettlementScreen>()});
    registry.add({QStringLiteral("AmountTotal"), QString(), true, true, make<SettlementSummaryScreen>()});
    registry.add({QStringLiteral("Profit"), QString(), true, true, make<ProfitScreen>()});
    registry.add({QStringLiteral("ProfitByNo"), QString(), true, true, make<ArticleProfitScreen>()});
    registry.add({QStringLiteral("OtherOut"), QString(), true, true, make<OtherExpenseScreen>()});
    registry.add({QStringLiteral("OtherOutQuery"), QString(), true, true, make<OtherExpenseQueryScreen>()});
}

}  // namespace kestavion
