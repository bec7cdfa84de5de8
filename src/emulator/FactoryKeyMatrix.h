#pragma once

#include "emulator/FirmwareVariant.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor {

// The keyboard's factory key map (its default key matrix), key-map block size bytes: position
// k holds the 3-byte action of the key whose LED is k, [2,2,device code] for an ordinary key
// and [2,1,mask] for the eight modifiers. Positions without a key (the Fn key, the extra
// keys, empty grid cells) and the bytes past the last position are 0.
std::vector<uint8_t> FactoryKeyMatrix(const FirmwareVariant& variant);

}  // namespace vantor
