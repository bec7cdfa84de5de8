#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vantor {

// ---------------------------------------------------------------------------------------
// Macro area: one block from address 0, as long as the keyboard's macro capacity. Its first
// 16 bytes are a header whose first little-endian word is 0x55AA when it holds macros; the
// layout belongs to the key map download. Carried in 56-byte chunks.
// ---------------------------------------------------------------------------------------

inline constexpr uint16_t kMacroAreaSignature = 0x55AA;
// Addresses are 16 bits, so no more than this can be addressed.
inline constexpr size_t kMaxMacroAreaSize = 65536;

// Reads or writes the buffer's length from address 0; longer than kMaxMacroAreaSize gives
// CommandResult::BadArgument and nothing is sent; an empty buffer sends nothing and gives Ok.
CommandResult ReadMacroArea(DeviceLink& link, std::span<uint8_t> buffer);
CommandResult WriteMacroArea(DeviceLink& link, std::span<const uint8_t> area);

}  // namespace vantor
