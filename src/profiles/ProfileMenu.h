#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace vantor {

inline constexpr int kProfileMenuDefaultItem = 9000;
inline constexpr int kProfileMenuFirstProfileItem = 9001;
inline constexpr int kProfileMenuLastCommand = 9200;

struct ProfileMenuItem {
    int id = 0;  // 0 for the separator
    QString text;
    bool IsSeparator() const { return id == 0; }
};

// The profile pop-up menu: the default profile's item, a separator, one item per on-board
// profile; the check mark's position; and what the profile button shows.
struct ProfileMenu {
    std::vector<ProfileMenuItem> items;
    int checkedPosition = 0;
    QString caption;  // the text of the checked item
    QString tooltip;  // "PROFILE_TIP" followed by the caption
};

// An on-board profile (0-2) as the profile buttons name it: "PROFILE_1" to "PROFILE_3" of the
// language. The working profile file's own name is never shown.
QString OnBoardProfileName(int profile);

// The menu for an active profile (-1 when none is known); each profile item is named as its
// profile button.
ProfileMenu BuildProfileMenu(int activeProfile);

// The profile a menu command switches to: command - 9001 for 9000..9200 (so the default item
// gives -1, which switches nothing and refreshes the view); nullopt for other commands.
std::optional<int> ProfileOfMenuCommand(int command);

}  // namespace vantor
