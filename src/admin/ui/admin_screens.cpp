#include "admin/ui/admin_screens.h"

#include "admin/ui/account_screens.h"
#include "admin/ui/dictionary_screen.h"
#include "admin/ui/user_screen.h"
#include "foundation/ui/screen_registry.h"

#include <utility>

namespace kestavion {

void registerAdminScreens(ScreenRegistry &registry) {
    // Menu name → the dictionary item it maintains.
    static const std::pair<const char *, const char *> kLists[] = {
        {"Colour", "颜色"},        {"Size", "尺码"},           {"Name", "种类"},         {"Brand", "品牌"},
        {"feather", "面料"},       {"Grade", "等级"},          {"Production", "产地"},   {"BackResion", "退货原因"},
        {"ChangeResion", "调换原因"}, {"BlankOutResion", "作废原因"}, {"OtherItem", "其他支出项目"}};
    for (const auto &[menu, item] : kLists) {
        ScreenEntry e;
        e.menuName = QString::fromUtf8(menu);
        const QString list = QString::fromUtf8(item);
        e.create = [list](AppContext &ctx, QWidget *parent) -> QDialog * {
            auto *screen = new DictionaryScreen(ctx, parent);
            screen->LoadIt(list);
            return screen;
        };
        registry.add(std::move(e));
    }

    auto add = [&](const char *menu, const char *toolbarKey, auto create) {
        ScreenEntry e;
        e.menuName = QString::fromLatin1(menu);
        e.toolbarKey = QString::fromLatin1(toolbarKey);
        e.create = create;
        registry.add(std::move(e));
    };
    add("UserManage", "", [](AppContext &ctx, QWidget *parent) -> QDialog * { return new UserScreen(ctx, parent); });
    add("ChagePassWord", "",
        [](AppContext &ctx, QWidget *parent) -> QDialog * { return new ChangePasswordScreen(ctx, parent); });
    add("ChangeShop", "ChangeShop",
        [](AppContext &ctx, QWidget *parent) -> QDialog * { return new ShopListScreen(ctx, parent); });
    add("BackUpDate", "",
        [](AppContext &ctx, QWidget *parent) -> QDialog * { return new BackupSettingsScreen(ctx, parent); });
}

}  // namespace kestavion
