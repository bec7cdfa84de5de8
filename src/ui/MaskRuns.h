#pragma once

#include <QRect>

#include <cstdint>
#include <span>
#include <vector>

namespace vantor {

// A mask pixel of exactly this colour (0xRRGGBB, alpha ignored) is cut out of the window; any
// other colour, even one channel off, stays.
inline constexpr uint32_t kMaskTransparentColour = 0xFFFFFF;

// Appends, for one row y of 32-bit pixels (0xAARRGGBB), every maximal run of pixels that are not
// the transparent colour as a one-pixel-high rectangle, left to right. Rows appended top to
// bottom give rectangles sorted the way a region is built from.
void AppendMaskRowRuns(std::span<const uint32_t> row, int y, std::vector<QRect>& runs);

}  // namespace vantor
