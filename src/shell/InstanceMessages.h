#pragma once

#include <cstdint>

namespace vantor {

// The messages the main window understands from other threads and from a second start, and
// the four-character tags they carry in wParam. A message without its tag is ignored.

// Four characters with the first in the high byte, as the tags "OPEN", "INIT", "PROF", "LANG".
constexpr uint32_t FourCharacterTag(char a, char b, char c, char d) {
    return (uint32_t(uint8_t(a)) << 24) | (uint32_t(uint8_t(b)) << 16) |
           (uint32_t(uint8_t(c)) << 8) | uint32_t(uint8_t(d));
}

inline constexpr uint32_t kTagOpen = FourCharacterTag('O', 'P', 'E', 'N');  // 0x4F50454E
inline constexpr uint32_t kTagInit = FourCharacterTag('I', 'N', 'I', 'T');  // 0x494E4954
inline constexpr uint32_t kTagProf = FourCharacterTag('P', 'R', 'O', 'F');  // 0x50524F46
inline constexpr uint32_t kTagLang = FourCharacterTag('L', 'A', 'N', 'G');  // 0x4C414E47
inline constexpr uint32_t kTagCommand = FourCharacterTag('C', 'M', 'N', 'D');  // 0x434D4E44
// "KILL" in memory order: the first character in the low byte.
inline constexpr uint32_t kTagKill = FourCharacterTag('L', 'L', 'I', 'K');  // 0x4C4C494B
// The main window's tag: M, A, I, N from the high byte down.
inline constexpr uint32_t kMainWindowTag = FourCharacterTag('M', 'A', 'I', 'N');  // 0x4D41494E

inline constexpr uint32_t kMessageOpen = 0x5350;      // show the window, or say there is no keyboard
inline constexpr uint32_t kMessageKill = 0x4D4B;      // exit the running instance
inline constexpr uint32_t kMessageInit = 0x4D4E;      // end of initialisation: hide
inline constexpr uint32_t kMessageConnected = 0x5452; // keyboard arrived, reload
inline constexpr uint32_t kMessageGone = 0x4753;      // keyboard removed (wParam 0)
inline constexpr uint32_t kMessageLanguage = 0x5041;  // set the texts; lParam = language index
// Run a command of the main window, as its buttons and menus do; lParam = the command id. It
// is how commands that no control issues (32780, the update window) reach the program.
inline constexpr uint32_t kMessageCommand = 0x434D;

// Whether a message carries the tag its handler asks for. Messages this table does not know
// are never accepted.
constexpr bool CarriesTag(uint32_t message, uint32_t wParam) {
    switch (message) {
        case kMessageOpen: return wParam == kTagOpen;
        case kMessageKill: return wParam == kTagKill;
        case kMessageInit: return wParam == kTagInit;
        case kMessageConnected: return wParam == kTagProf;
        case kMessageLanguage: return wParam == kTagLang;
        case kMessageCommand: return wParam == kTagCommand;
        case kMessageGone: return wParam == 0;
        default: return false;
    }
}

// The name of the single-instance lock and of the socket a second start talks to.
inline constexpr char16_t kInstanceName[] = u"QX20M44B";

}  // namespace vantor
