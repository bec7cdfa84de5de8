#include "profiles/ProfileMenu.h"

#include "shell/Paths.h"
#include "shell/lang/Language.h"

#include <QFileInfo>
#include <QStringLiteral>

namespace vantor {

ProfileMenu BuildProfileMenu(int activeProfile) {
    ProfileMenu menu;
    menu.items.push_back(
        {kProfileMenuDefaultItem, LanguageText(QStringLiteral("DEFAULT_PROFILE_NAME"))});
    menu.items.push_back({0, {}});
    const QString name = QFileInfo(AppPaths::Current()->WorkingProfileFile()).completeBaseName();
    for (int profile = 0; profile < 3; ++profile) {
        menu.items.push_back({kProfileMenuFirstProfileItem + profile, name});
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
