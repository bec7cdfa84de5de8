#pragma once

// The tray icon pictures of the default skin, by tray state code, relative to the program
// folder. The tray code reads these names; "Main.ini" also lists them in section "TRAY" under
// the state code, for skins that bring their own.
//   128  keyboard, grey: not connected (and the application icon)
//   141  keyboard in the accent colour: connected
//   142  keyboard with a lit activity dot: the keyboard reports activity

namespace vantor {

struct TrayIconFile {
    int code;
    const char* name;  // inside the skin folder
    const char* path;  // relative to the program folder
};

inline constexpr TrayIconFile kTrayIconFiles[] = {
    {128, "tray128.png", "Skins/tray128.png"},
    {141, "tray141.png", "Skins/tray141.png"},
    {142, "tray142.png", "Skins/tray142.png"},
};

}  // namespace vantor
