#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vantor {

// ---------------------------------------------------------------------------------------
// Per-key colour table: 512 bytes per profile; key position k of profile p at address
// p x 512 + 3k, three bytes red, green, blue. Callers send the table in pieces of 54 bytes,
// 18 positions each.
// ---------------------------------------------------------------------------------------

inline constexpr size_t kColourTableStride = 512;
inline constexpr size_t kColourPieceSize = 54;

// Writes 1 to 56 colour bytes from the key position on, into the given profile's table (the
// profile being edited in the main window). A profile outside 0-2, another byte count, or
// bytes that would run past the profile's 512-byte table give CommandResult::BadArgument and nothing
// is sent.
CommandResult WriteKeyColours(DeviceLink& link, int profile, std::span<const uint8_t> colours,
                    int firstKey);

// Asks for count bytes (at most 56) from the key position on; the 56 reply bytes are copied,
// so the buffer must hold 56. Nothing sends it.
CommandResult ReadKeyColours(DeviceLink& link, int profile, uint8_t count, int firstKey,
                   std::span<uint8_t> buffer);

}  // namespace vantor
