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

// Builds the rectangles of a mask row by row, letting a row whose runs match the row above
// grow that row's rectangles instead of adding its own, so a plain area is one rectangle.
class MaskBands {
public:
    // Adds row y, which must follow the previous row.
    void AddRow(std::span<const uint32_t> row, int y);
    std::size_t Size() const { return m_rects.size(); }
    // Hands over the rectangles gathered so far and starts afresh.
    std::vector<QRect> Take();

private:
    std::vector<QRect> m_rects;
    std::size_t m_bandStart = 0;  // first rectangle of the last band
    bool m_haveBand = false;
};

}  // namespace vantor
