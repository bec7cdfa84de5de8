#pragma once

#include <cstdint>

namespace vantor {

// One number for every key, mouse button, wheel step, media key and extra key:
//   0x000            no key
//   0x001-0x07F      a key by its PC set 1 make code
//   0x100-0x17F      0x100 + the make code that follows an E0 prefix (also media and pseudo keys)
//   0x200-0x211      extra key r (1-18) as 0x1FF + r
using KeyCode = uint16_t;

inline constexpr KeyCode kNoKey = 0x000;
inline constexpr int kKeyTableRows = 256;
inline constexpr int kExtraKeyCount = 18;
inline constexpr KeyCode kFirstExtraKeyCode = 0x200;

// The key-table row of a code: codes below 0x100 are their own row, extended codes
// 0x100-0x17F use rows 0x80-0xFF, extra-key codes (0x200 and up) give code - 0x100, which
// indexes the extra-key records of an assignment block (256 and up) and no table row.
// Codes 0x180-0x1FF are never produced; they give -1 so that no caller mistakes them for
// the extra-key records that code - 0x80 would land on.
constexpr int RowOfCode(KeyCode code) {
    if (code < 0x100) return code;
    if (code < 0x180) return code - 0x80;
    if (code < 0x200) return -1;
    return code - 0x100;
}

// Inverse of RowOfCode over the key table's rows; 0 for anything outside 0-255.
constexpr KeyCode CodeOfRow(int row) {
    if (row < 0 || row >= kKeyTableRows) return kNoKey;
    return static_cast<KeyCode>(row < 0x80 ? row : row + 0x80);
}

constexpr bool IsKeyTableRow(int row) { return row >= 0 && row < kKeyTableRows; }

constexpr KeyCode ExtraKeyCode(int r) { return static_cast<KeyCode>(0x1FF + r); }

// The extra key number (1-18) of a code, 0 when the code is not an extra key.
constexpr int ExtraKeyOfCode(KeyCode code) {
    const int r = code - 0x1FF;
    return (r >= 1 && r <= kExtraKeyCount) ? r : 0;
}

}  // namespace vantor
