#pragma once

#include "device/CommandResult.h"
#include "macros/KeyboardMacro.h"
#include "macros/MacroTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vantor {

class DeviceLink;

// The keyboard's macro area, little-endian:
//   header (16 bytes): magic 0x55AA, total length, macro count n, names flag, 8 reserved (0)
//   n 16-bit offsets of the entries from the start of the area, in table order
//   n entries: action count a (16 bits), play count, name length in characters (0 without
//   names), a actions of 4 bytes, then the name in UTF-16LE without terminator
// An action is a word (bits 0-11 delay in 10 ms, 12-14 kind, 15 set for a press) and two
// data bytes.
inline constexpr size_t kMacroAreaHeaderSize = 16;
inline constexpr uint16_t kMacroAreaMagic = 0x55AA;

struct MacroAreaSize {
    uint32_t withNames = 0;
    uint32_t withoutNames = 0;
};

MacroAreaSize MacroAreaSizes(const MacroTable& table);

// Fills the buffer with the area of the table; false, and nothing written, when the buffer is
// shorter than the area.
bool BuildMacroArea(const MacroTable& table, std::span<uint8_t> buffer, bool withNames);

// The 4-byte form of one macro action.
void EncodeMacroAction(const MacroAction& action, uint8_t out[4]);

// The macros of an area read back from the keyboard, in its order; an empty list when the area
// does not start with the magic. Reads nothing outside the bytes given: an entry or offset
// that lies outside them gives a macro with what could be read (so the slots of the others
// keep their positions), and at most 100 macros, 4000 actions and 249 name characters are
// taken. nullopt when memory runs out.
std::optional<std::vector<KeyboardMacro>> ParseKeyboardMacroArea(std::span<const uint8_t> area);

// Reads the keyboard's macro area: its header, and the whole area when the header says there
// is a table (the header alone otherwise).
CommandResult ReadKeyboardMacroArea(DeviceLink& link, std::vector<uint8_t>* area);

}  // namespace vantor
