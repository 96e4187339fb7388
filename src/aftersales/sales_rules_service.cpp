#include "aftersales/sales_rules_service.h"

#include "foundation/refusal.h"

namespace kestavion {

void SalesRulesService::save(Session &session, const SellRules &rules) {
    requirePermission(session, QStringLiteral("SellRole"));
    // The row is the one of the shop the session logged in to; an empty rules key
    // means the login found no row, which the update below then reports.
    const QString shop = session.rules.ShopNo.isEmpty() ? session.shopNo : session.rules.ShopNo;
    auto flag = [](bool b) { return b ? 1 : 0; };
    db_.exec(QStringLiteral("UPDATE SellRole SET SellOrder=?,BackDays=?,AbateCanNotBack=?,SpecialCanNotBack=?,"
                            "ChangeDays=?,AbateCanNotChange=?,SpecialCanNotChange=?,SameTypeChange=?,"
                            "DearGoodsChange=?,ChangeOneTime=?,ChangNotToBack=?,IsPrint=?,PrinterType=? "
                            "WHERE ShopNo=?"),
             {rules.SellOrder != 0 ? 1 : 0, rules.BackDays, flag(rules.AbateCanNotBack), flag(rules.SpecialCanNotBack),
              rules.ChangeDays, flag(rules.AbateCanNotChange), flag(rules.SpecialCanNotChange),
              flag(rules.SameTypeChange), flag(rules.DearGoodsChange), flag(rules.ChangeOneTime),
              flag(rules.ChangNotToBack), flag(rules.IsPrint), rules.PrinterType != 0 ? 1 : 0, shop});
    if (db_.changes() < 1) throw Refusal(kNoRulesRow, Refusal::Icon::Warning, kAppTitle);

    SellRules kept = rules;
    kept.ShopNo = shop;
    kept.SellOrder = rules.SellOrder != 0 ? 1 : 0;
    kept.PrinterType = rules.PrinterType != 0 ? 1 : 0;
    session.rules = kept;
}

}  // namespace kestavion
