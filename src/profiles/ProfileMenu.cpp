#include "profiles/ProfileMenu.h"

#include "shell/lang/Language.h"

#include <QStringLiteral>

namespace vantor {

QString OnBoardProfileName(int profile) {
    static constexpr const char* kNames[] = {"PROFILE_1", "PROFILE_2", "PROFILE_3"};
    return profile >= 0 && profile < 3 ? LanguageText(QLatin1String(kNames[profile])) : QString();
}

ProfileMenu BuildProfileMenu(int activeProfile) {
    ProfileMenu menu;
    menu.items.push_back(
        {kProfileMenuDefaultItem, LanguageText(QStringLiteral("DEFAULT_PROFILE_NAME"))});
    menu.items.push_back({0, {}});
    for (int profile = 0; profile < 3; ++profile) {
        menu.items.push_back({kProfileMenuFirstProfileItem + profile, OnBoardProfileName(profile)});
    }
    menu.checkedPosition = activeProfile >= 0 && activeProfile < 3 ? activeProfile + 2 : 0;
    menu.caption = menu.items[static_cast<size_t>(menu.checkedPosition)].text;
    menu.tooltip = LanguageText(QStringLiteral("PROFILE_TIP")) + menu.caption;
    return menu;
}

std::optional<int> ProfileOfMenuCommand(int command) {
    if (command < kProfileMenuDefaultItem || command > kProfileMenuLastCommand) {
        return std::nullopt;
    }
    return command - kProfileMenuFirstProfileItem;
}

}  // namespace vantor
