#pragma once

#include <cstdint>

namespace vantor {

// The messages the main window understands from other threads and from a second start, and
// the four-character tags they carry. A message without its tag is ignored.

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
inline constexpr uint32_t kMessageGone = 0x4753;      // keyboard removed (tag 0)
inline constexpr uint32_t kMessageLanguage = 0x5041;  // set the texts; argument = language index
// Run a command of the main window, as its buttons and menus do; argument = the command id. It
// is how commands that no control issues (32780, the update window) reach the program.
inline constexpr uint32_t kMessageCommand = 0x434D;

// One message: what it asks (one of the kMessage values), the tag that vouches for it, and its
// one value (a language index, a command id; 0 where it has none). On the instance socket it
// is three little-endian 32-bit words in this order.
struct WindowMessage {
    uint32_t id = 0;
    uint32_t tag = 0;
    uint32_t argument = 0;
};

// Whether a message carries the tag its handler asks for. Messages this table does not know
// are never accepted.
constexpr bool CarriesTag(const WindowMessage& message) {
    switch (message.id) {
        case kMessageOpen: return message.tag == kTagOpen;
        case kMessageKill: return message.tag == kTagKill;
        case kMessageInit: return message.tag == kTagInit;
        case kMessageConnected: return message.tag == kTagProf;
        case kMessageLanguage: return message.tag == kTagLang;
        case kMessageCommand: return message.tag == kTagCommand;
        case kMessageGone: return message.tag == 0;
        default: return false;
    }
}

// The name of the single-instance lock and of the socket a second start talks to.
inline constexpr char16_t kInstanceName[] = u"QX20M44B";

}  // namespace vantor
