#pragma once

#include <array>
#include <cstdint>

#include "keymodel/KeyCode.h"

namespace vantor {

// A key's position in the macro editors' key pickers: 0-105 keys, 107-111 mouse buttons and
// wheel, 0x8000 + n named keys in no picker.
using KeyOrdinal = uint16_t;
inline constexpr KeyOrdinal kNoOrdinal = 0xFFFF;    // ordinal of an empty key-table row
inline constexpr KeyOrdinal kNotInPicker = 0x8000;

// One row of the key table. Empty rows keep these defaults.
struct KeyRow {
    uint8_t vk = 0xFF;            // virtual-key code; 0xFF where there is none
    uint8_t altVk = 0xFF;         // the code with Num Lock off (numeric pad), else vk
    KeyOrdinal ordinal = kNoOrdinal;
    const char* englishName = "";
    uint8_t deviceCode = 0;       // the firmware's byte for the key; 0 = cannot be sent
    const char* languageKey = ""; // empty for rows without a name
};

// 256 rows indexed by RowOfCode.
extern const std::array<KeyRow, kKeyTableRows> KeyTable;

// Virtual-key code -> key-table row (0 for none).
extern const std::array<uint8_t, 256> VkTable;

// Consumer-page usage of media slot n, the media key whose device code is 0xC0 + n.
inline constexpr int kConsumerSlots = 32;
extern const std::array<uint16_t, kConsumerSlots> ConsumerTable;

// The 106 keys the main window draws as buttons, in their fixed order, with the control id
// of each button and the key's LED position in the keyboard's colour table.
inline constexpr int kKeyListSize = 106;
extern const std::array<KeyCode, kKeyListSize> KeyList;
extern const std::array<uint16_t, kKeyListSize> KeyListButtonIds;
extern const std::array<uint8_t, kKeyListSize> KeyListLedPositions;

// LED position of key-list position p, -1 outside 0-105.
int LedPositionOfKeyListPosition(int p);

// Key-list position drawn by a button control id, -1 when the id is no key button.
int KeyListPositionOfButton(int controlId);

// LED grid: 6 rows of 21 positions.
inline constexpr int kLedPositionCount = 126;
inline constexpr int kExtraKeyLedPosition = 125;  // shared by all nine extra-key buttons
inline constexpr int kFnLedPosition = 110;
inline constexpr uint16_t kFnButtonId = 1174;

// The main window's extra-key buttons; button i shows extra key i + 1 (bank A) or i + 10 (bank B).
inline constexpr int kExtraKeyButtonCount = 9;
extern const std::array<uint16_t, kExtraKeyButtonCount> ExtraKeyButtonIds;

// Index 0-8 of an extra-key button control id, -1 when the id is no extra-key button.
int ExtraKeyButtonIndexOf(int controlId);

// LED position of a key button's control id (a key-list button's key, 110 for Fn); 0 for any
// other id.
int KeyPositionOfControl(int controlId);
// LED position of an extra-key button's control id (125 for each); 0 for any other id.
int KeyPositionOfExtraKey(int controlId);

// Fixed parameter word of extra key r: 0x0301-0x0309 for r = 1..9, 0x1301-0x1309 for 10..18;
// 0 for any other r.
constexpr uint16_t ExtraKeyParameter(int r) {
    if (r >= 1 && r <= 9) return static_cast<uint16_t>(0x0300 + r);
    if (r >= 10 && r <= kExtraKeyCount) return static_cast<uint16_t>(0x1300 + (r - 9));
    return 0;
}

// Media functions in the order the assignment dialog offers them; a media assignment stores
// the position.
struct MediaEntry {
    KeyCode code;       // names the function
    uint16_t usage;     // consumer usage sent to the keyboard
    const char* languageKey;
};
inline constexpr int kMediaCount = 18;
extern const std::array<MediaEntry, kMediaCount> MediaList;

// Language keys of the keyboard's own functions 0-10.
inline constexpr int kFunctionCount = 11;
extern const std::array<const char*, kFunctionCount> FunctionList;

struct MouseEntry {
    KeyCode code;
    const char* languageKey;
};
inline constexpr int kMouseCount = 5;
extern const std::array<MouseEntry, kMouseCount> MouseList;

}  // namespace vantor
