#include "ui/MaskRuns.h"

#include <utility>

namespace vantor {

void AppendMaskRowRuns(std::span<const uint32_t> row, int y, std::vector<QRect>& runs) {
    const int width = static_cast<int>(row.size());
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] & 0xFFFFFF) == kMaskTransparentColour) {
            ++x;
        }
        const int start = x;
        while (x < width && (row[x] & 0xFFFFFF) != kMaskTransparentColour) {
            ++x;
        }
        if (x > start) {
            runs.emplace_back(start, y, x - start, 1);
        }
    }
}

void MaskBands::AddRow(std::span<const uint32_t> row, int y) {
    const std::size_t start = m_rects.size();
    AppendMaskRowRuns(row, y, m_rects);
    const std::size_t count = m_rects.size() - start;
    if (m_haveBand && count == start - m_bandStart && m_rects[m_bandStart].bottom() == y - 1) {
        bool same = true;
        for (std::size_t i = 0; i < count && same; ++i) {
            const QRect& above = m_rects[m_bandStart + i];
            const QRect& here = m_rects[start + i];
            same = above.left() == here.left() && above.width() == here.width();
        }
        if (same) {
            for (std::size_t i = m_bandStart; i < start; ++i) {
                m_rects[i].setBottom(y);
            }
            m_rects.resize(start);
            return;
        }
    }
    if (count > 0) {
        m_bandStart = start;
        m_haveBand = true;
    }
}

std::vector<QRect> MaskBands::Take() {
    m_haveBand = false;
    m_bandStart = 0;
    return std::exchange(m_rects, {});
}

}  // namespace vantor
