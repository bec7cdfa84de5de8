#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"

#include <cstdint>
#include <span>

namespace vantor {

// Moves a block larger than one report in 56-byte chunks, one exchange each, at addresses
// base, base + 56, ...; the last chunk carries what is left. Stops at the first chunk that
// fails and returns its result (chunks already written stay written); Ok when all went
// through, and at once for an empty block.
CommandResult ReadInChunks(DeviceLink& link, uint8_t command, uint16_t base, std::span<uint8_t> block);

// One request is reused from chunk to chunk, so when the last chunk is short, the payload
// bytes past it still hold the previous chunk's bytes. That is how the keyboard has always
// been sent these blocks; the length byte tells it which bytes count.
CommandResult WriteInChunks(DeviceLink& link, uint8_t command, uint16_t base,
                  std::span<const uint8_t> block);

}  // namespace vantor
