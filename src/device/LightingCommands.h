#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vantor {

// ---------------------------------------------------------------------------------------
// Lighting parameter area: three 42-byte blocks, profile p's at address p x 42. The block
// layout belongs to the lighting panel; here it is only addressed and carried.
// ---------------------------------------------------------------------------------------

inline constexpr size_t kLightingBlockSize = 42;
inline constexpr size_t kLightingReplySize = 56;

// Asks for count bytes (callers ask for 56) at the address. Whatever the count, all 56 reply
// payload bytes are copied, so the buffer must hold 56; a smaller buffer, or a count above
// 56, is refused with CommandResult::BadArgument and nothing is sent.
CommandResult ReadLighting(DeviceLink& link, std::span<uint8_t> buffer, uint8_t count, uint16_t address);

// Writes 1 to 56 bytes at the address (other sizes: CommandResult::BadArgument, nothing sent).
CommandResult WriteLighting(DeviceLink& link, std::span<const uint8_t> bytes, uint16_t address);

// The fixed two-byte forms, at address 0 with two payload bytes. Nothing sends them. The
// read copies the 56 reply bytes as ReadLighting does.
CommandResult ReadLightingTwoByte(DeviceLink& link, uint8_t first, uint8_t second,
                        std::span<uint8_t> buffer);
CommandResult WriteLightingTwoByte(DeviceLink& link, uint8_t first, uint8_t second);

}  // namespace vantor
