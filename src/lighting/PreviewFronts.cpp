#include "lighting/PreviewFronts.h"

namespace vantor::preview {

namespace {

uint8_t Down(uint8_t bits) { return uint8_t(bits << 1); }
uint8_t Up(uint8_t bits) { return uint8_t(bits >> 1); }

// new[c] = shift(old[c]) | old[c + from], the neighbour read from the old plane; the column
// without a neighbour only shifts.
void Spread(FrontPlanes::Plane& plane, uint8_t (*shift)(uint8_t), int from) {
    const FrontPlanes::Plane old = plane;
    for (int c = 0; c < kGridColumns; ++c) {
        const int n = c + from;
        plane[size_t(c)] = shift(old[size_t(c)]);
        if (from != 0 && n >= 0 && n < kGridColumns) plane[size_t(c)] |= old[size_t(n)];
    }
}

}  // namespace

void FrontPlanes::Clear() { m_planes = {}; }

void FrontPlanes::SetAll(int column, int bit) {
    for (Plane& plane : m_planes) plane[size_t(column)] |= uint8_t(1u << bit);
}

uint8_t FrontPlanes::ColumnBits(int column) const {
    const size_t c = size_t(column);
    return m_planes[0][c] | m_planes[1][c] | m_planes[2][c] | m_planes[3][c];
}

void FrontPlanes::SpreadDiagonally() {
    Spread(m_planes[0], Down, +1);
    Spread(m_planes[1], Down, -1);
    Spread(m_planes[2], Up, -1);
    Spread(m_planes[3], Up, +1);
}

void FrontPlanes::SpreadVertically() {
    Spread(m_planes[0], Down, 0);
    Spread(m_planes[1], Down, 0);
    Spread(m_planes[2], Up, 0);
    Spread(m_planes[3], Up, 0);
}

uint8_t Decayed(uint8_t v, Decay decay) {
    // Steps for v >= 128, bit 64 set, bit 32 set, v > 16, v > 0.
    static constexpr uint8_t kSteps[3][5] = {
        {80, 50, 20, 5, 1},  // effect 13
        {30, 20, 10, 5, 1},  // effect 14
        {20, 16, 10, 5, 1},  // effects 10, 15, 16
    };
    const uint8_t* steps = kSteps[int(decay)];
    if (v >= 128) return uint8_t(v - steps[0]);
    if (v & 64) return uint8_t(v - steps[1]);
    if (v & 32) return uint8_t(v - steps[2]);
    if (v > 16) return uint8_t(v - steps[3]);
    return v > 0 ? uint8_t(v - steps[4]) : 0;
}

}  // namespace vantor::preview
