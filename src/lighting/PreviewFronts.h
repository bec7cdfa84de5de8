#pragma once

#include "keymodel/KeyTables.h"
#include "lighting/PreviewTables.h"

#include <array>
#include <cstdint>

namespace vantor::preview {

// The four planes of a spreading effect: one byte per grid column each, bit r marking row r
// (bits 6 and 7 are virtual rows below the grid). A cell counts as set when any plane sets it.
class FrontPlanes {
public:
    using Plane = std::array<uint8_t, kGridColumns>;

    void Clear();
    // Sets bit `bit` of `column` in all four planes.
    void SetAll(int column, int bit);
    // The OR of one column over the four planes.
    uint8_t ColumnBits(int column) const;
    bool IsSet(int column, int row) const { return (ColumnBits(column) >> row) & 1; }
    const Plane& operator[](int plane) const { return m_planes[size_t(plane)]; }

    // One step of four diagonal fronts: plane 0 moves down and left, 1 down and right, 2 up
    // and right, 3 up and left, so a single set cell spreads as a diamond.
    void SpreadDiagonally();
    // One step straight down (planes 0 and 1) and straight up (planes 2 and 3).
    void SpreadVertically();

private:
    std::array<Plane, 4> m_planes{};
};

// How fast a level fades; each effect family has its own steps.
enum class Decay { Effect13, Effect14, Common };
// One fading step of a level.
uint8_t Decayed(uint8_t level, Decay decay);

// A hue byte and a level byte per LED position.
struct KeyLevels {
    std::array<uint8_t, kLedPositionCount> hue{};
    std::array<uint8_t, kLedPositionCount> level{};
    void Clear() { *this = {}; }
};

}  // namespace vantor::preview
