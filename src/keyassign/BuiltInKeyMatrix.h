#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor {

inline constexpr size_t kKeyMatrixBufferSize = 512;
using KeyMatrix = std::array<uint8_t, kKeyMatrixBufferSize>;

// The default key matrix the program assumes for variant A before a keyboard has been read:
// 64 positions in 8 columns of 8 (position = 8 x column + row) naming the keys of the left
// half of the board, so that assignments to those keys reach a keyboard whose own matrix
// could not be read. Every other position is empty.
KeyMatrix BuiltInKeyMatrix();

}  // namespace vantor
