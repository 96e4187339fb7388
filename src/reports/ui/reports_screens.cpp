#include "reports/ui/reports_screens.h"

#include "foundation/ui/screen_registry.h"
#include "reports/ui/article_profit_screen.h"
#include "reports/ui/day_settlement_screen.h"
#include "reports/ui/other_expense_screen.h"
#include "reports/ui/profit_screen.h"
#include "reports/ui/settlement_summary_screen.h"

namespace kestavion {

void registerReportsScreens(ScreenRegistry &registry) {
    registry.add({QStringLiteral("DayAmount"), QString(), true, true, screenMaker<DaySettlementScreen>()});
    registry.add({QStringLiteral("AmountTotal"), QString(), true, true, screenMaker<SettlementSummaryScreen>()});
    registry.add({QStringLiteral("Profit"), QString(), true, true, screenMaker<ProfitScreen>()});
    registry.add({QStringLiteral("ProfitByNo"), QString(), true, true, screenMaker<ArticleProfitScreen>()});
    registry.add({QStringLiteral("OtherOut"), QString(), true, true, screenMaker<OtherExpenseScreen>()});
    registry.add({QStringLiteral("OtherOutQuery"), QString(), true, true, screenMaker<OtherExpenseQueryScreen>()});
}

}  // namespace kestavion
