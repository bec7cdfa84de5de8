#pragma once

#include <QString>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace vantor {

static_assert(std::endian::native == std::endian::little,
              "macro records are stored byte for byte in little-endian files");

inline constexpr uint32_t kMaxMacroDelayMs = 40000;

enum MacroDirection : uint16_t {
    kMacroPress = 0,
    kMacroRelease = 1,
};

// One event of a macro: a key or mouse-button press or release and the pause that follows
// it. 8 bytes, stored byte for byte in profile files.
struct MacroAction {
    uint32_t delay = 0;      // milliseconds until the next event, 0..kMaxMacroDelayMs
    uint16_t keyCode = 0;    // internal key code; mouse buttons are 369, 370, 371
    uint16_t direction = 0;  // MacroDirection

    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};
static_assert(sizeof(MacroAction) == 8);
static_assert(offsetof(MacroAction, delay) == 0);
static_assert(offsetof(MacroAction, keyCode) == 4);
static_assert(offsetof(MacroAction, direction) == 6);
static_assert(std::is_trivially_copyable_v<MacroAction>);
static_assert(std::is_standard_layout_v<MacroAction>);

// How lists show a direction: "↓" for a press, "  ↑" for a release. Fixed, not translated.
// Any direction other than a release reads as a press, as it does when an action is added.
QString DirectionText(uint16_t direction);

}  // namespace vantor
