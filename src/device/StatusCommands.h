#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor {

// ---------------------------------------------------------------------------------------
// Status block: 44 bytes, read and written whole.
//   0-9    the keyboard's own, written back unchanged
//   10     active on-board profile, 0 to 2
//   11     macro area capacity in units of 128 bytes
//   12-43  lighting effect codes the keyboard offers, 0 = empty slot
// ---------------------------------------------------------------------------------------

inline constexpr size_t kStatusBlockSize = 44;
inline constexpr size_t kStatusActiveProfile = 10;
inline constexpr size_t kStatusMacroCapacity = 11;
inline constexpr size_t kStatusEffectList = 12;
inline constexpr size_t kStatusEffectListSize = 32;
inline constexpr size_t kMacroCapacityUnit = 128;

using StatusBlock = std::array<uint8_t, kStatusBlockSize>;

// On success the block holds reply bytes 8 to 51; otherwise it is left as it was.
CommandResult ReadStatus(DeviceLink& link, StatusBlock* status);
CommandResult WriteStatus(DeviceLink& link, const StatusBlock& status);

}  // namespace vantor
