#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <cstdint>
#include <span>

namespace vantor {

// ---------------------------------------------------------------------------------------
// Key map area and default key matrix. Each profile's key map is one block of the variant's
// key-map block size (3-byte key actions), profile p's at p x key-map stride; the default key
// matrix is one such block at address 0 in its own area. Carried in 56-byte chunks.
// ---------------------------------------------------------------------------------------

inline constexpr int kProfileCount = 3;

// The buffer must hold at least one key-map block (the variant's); a profile outside 0-2 or a
// smaller buffer gives CommandResult::BadArgument and nothing is sent.
CommandResult ReadKeyMap(DeviceLink& link, int profile, std::span<uint8_t> buffer);
CommandResult WriteKeyMap(DeviceLink& link, int profile, std::span<const uint8_t> keyMap);

// The keyboard's factory key map: one key-map block into the buffer.
CommandResult ReadDefaultKeyMatrix(DeviceLink& link, std::span<uint8_t> buffer);

}  // namespace vantor
