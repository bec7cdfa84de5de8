#pragma once

#include "macros/MacroAction.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace vantor {

inline constexpr int kMaxMacros = 100;
inline constexpr int kMaxMacroActions = 4000;
inline constexpr int kMacroNameCapacity = 249;  // characters, plus the terminating NUL
inline constexpr uint16_t kFirstMacroId = 1;
inline constexpr uint16_t kLastMacroId = 100;

// One macro: name, cycle count, id and up to 4000 actions. 32,512 bytes, the same in memory
// and in profile files (little-endian), so it is copied whole and never rearranged.
struct MacroRecord {
    char16_t name[kMacroNameCapacity + 1] = {};  // UTF-16, NUL-terminated
    uint8_t cycleCount = 0;                      // copied unchanged to the keyboard
    uint8_t reserved = 0;
    uint16_t pending = 0;      // 1 while created in the editor and not yet applied
    uint16_t mode = 0;         // always 0
    uint16_t id = 0;           // 1..100, how key records refer to the macro
    uint16_t actionCount = 0;  // 0..4000
    uint16_t padding = 0;
    MacroAction actions[kMaxMacroActions] = {};

    // The name up to its terminator, never past the 249-character capacity (a record read
    // from a file may have no terminator at all).
    QString Name() const;
    int NameLength() const;
    // Stores the text up to any NUL in it, at most 249 characters (never half of a surrogate
    // pair), and zeros the rest of the field, so the stored bytes depend on the name alone.
    void SetName(const QString& text);

    // The action count bounded by the 4000 slots that exist: a record loaded from a file
    // may claim more, and no reader may go past the record.
    int UsedActionCount() const;
    std::span<const MacroAction> Actions() const;

    // Appends an action. A full record (4000 actions) takes nothing and gives false. A
    // direction other than press or release is taken as a press; the delay is capped at
    // 40,000 ms.
    bool AddAction(MacroAction action);
};
static_assert(sizeof(MacroRecord) == 32512);
static_assert(offsetof(MacroRecord, name) == 0);
static_assert(offsetof(MacroRecord, cycleCount) == 500);
static_assert(offsetof(MacroRecord, reserved) == 501);
static_assert(offsetof(MacroRecord, pending) == 502);
static_assert(offsetof(MacroRecord, mode) == 504);
static_assert(offsetof(MacroRecord, id) == 506);
static_assert(offsetof(MacroRecord, actionCount) == 508);
static_assert(offsetof(MacroRecord, padding) == 510);
static_assert(offsetof(MacroRecord, actions) == 512);
static_assert(std::is_trivially_copyable_v<MacroRecord>);
static_assert(std::is_standard_layout_v<MacroRecord>);

}  // namespace vantor
