#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor {

// A key map or default key matrix as the program holds it: 512 bytes, of which a variant's
// key-map block size is sent or read (a shorter map is followed by zeros).
inline constexpr size_t kKeyMatrixBufferSize = 512;
using KeyMatrix = std::array<uint8_t, kKeyMatrixBufferSize>;

// The default key matrix the device state holds until a keyboard's own has been read, part
// of variant A's: 64 positions in 8 columns of 8 (position = 8 x column + row) naming the
// keys of the left half of the board, so that assignments to those keys reach a keyboard
// whose own matrix could not be read. Every other position is empty.
KeyMatrix BuiltInKeyMatrix();

}  // namespace vantor
