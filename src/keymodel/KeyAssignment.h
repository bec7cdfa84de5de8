#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace vantor {

// What one key does in one on-board profile. 16 bytes, little-endian, carried byte for byte
// in the store and in profile files.
struct KeyAssignment {
    uint16_t type = 0;             // AssignmentType
    uint16_t parameter = 0;        // macro play count, or an extra key's parameter word
    uint32_t value = 0;            // meaning by type
    uint32_t colourSelection = 0;  // 0 or 1, owned by the key at the same key-list position
    uint32_t reserved = 0;         // carried unchanged
};
static_assert(sizeof(KeyAssignment) == 16);
static_assert(offsetof(KeyAssignment, parameter) == 2);
static_assert(offsetof(KeyAssignment, value) == 4);
static_assert(offsetof(KeyAssignment, colourSelection) == 8);
static_assert(offsetof(KeyAssignment, reserved) == 12);
static_assert(std::is_trivially_copyable_v<KeyAssignment>);

enum AssignmentType : uint16_t {
    kAssignDefault = 0,
    kAssignDisabled = 1,
    kAssignKey = 2,
    kAssignLaunch = 3,
    kAssignMacro = 4,
    kAssignStopMacro = 5,
    kAssignText = 6,
    kAssignMedia = 7,
    kAssignFunction = 8,
};

inline constexpr int kRecordsPerBlock = 512;
inline constexpr int kBlockCount = 4;

}  // namespace vantor
