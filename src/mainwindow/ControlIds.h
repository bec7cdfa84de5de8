#pragma once

#include "lighting/PanelControlIds.h"

#include <array>

// The control ids of the main window's buttons and the commands of its menus: the names every
// part of the program and its tests use for them. The key buttons' ids come with the key table
// (keymodel/KeyTables.h); those named here are the ones the window treats on their own.
namespace vantor::ControlIds {

// Dialog buttons.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kHelp = 1122;
inline constexpr int kMinimize = 1123;
inline constexpr int kClose = 1124;

// Function buttons.
inline constexpr int kProfiles = 1005;  // the profile manager, named after the active profile
inline constexpr int kApply = 1006;
inline constexpr int kMacro = 1007;
inline constexpr int kLink = 1121;
inline constexpr int kSwitch = 1144;  // colour / function view; nothing shows it
inline constexpr std::array<int, 3> kProfileButtons = {1135, 1136, 1137};
inline constexpr int kDefault = 1138;
inline constexpr int kBackupMenu = 1139;
inline constexpr std::array<int, 4> kReports = {1147, 1168, 1169, 1170};

// Indicators: lock lights, the Fn-layer switch and its arrows, the version text.
inline constexpr int kLockCaps = 1125;
inline constexpr int kLockNum = 1126;
inline constexpr int kLockScroll = 1127;
inline constexpr int kLockAb = 1128;
inline constexpr int kFlip0 = 1129;
inline constexpr int kFlip1 = 1130;
inline constexpr int kFlip2 = 1131;
inline constexpr int kLeftArrow = 1132;
inline constexpr int kRightArrow = 1133;
inline constexpr int kVersion = 1134;

// The busy picture; the lighting panel's controls are named in lighting/PanelControlIds.h.
inline constexpr int kBusyPicture = 1177;

// Key buttons: F1-F4 and F5 of the key list, D1-D6, which stand in for F1-F4 while Flip is
// on, and "]", whose button overlaps the Enter picture.
inline constexpr std::array<int, 4> kF1ToF4 = {1010, 1011, 1012, 1013};
inline constexpr int kF5 = 1014;
inline constexpr std::array<int, 6> kD1ToD6 = {1016, 1017, 1018, 1019, 1020, 1021};
inline constexpr int kRightBracketKey = 1055;
// The extra key whose pages hold the macro editor.
inline constexpr int kMacroExtraKey = 1143;

// Commands of no button: the hidden "Test" button, the profile pop-up menu (also the tray's
// single click), the backup menu's Restore and Backup, Exit from a command no menu issues
// (kept for senders of the old command), and the firmware update window, which only a command
// request opens.
inline constexpr int kTestCommand = 1008;
inline constexpr int kProfileMenuCommand = 1009;
inline constexpr int kRestoreCommand = 32776;
inline constexpr int kBackupCommand = 32777;
inline constexpr int kExitCommand = 32779;
inline constexpr int kUpdateCommand = 32780;

}  // namespace vantor::ControlIds
