#include "ui/MaskRegion.h"

#include "ui/MaskRuns.h"

#include <vector>

namespace vantor {

namespace {

constexpr std::size_t kBatch = 2000;

void UniteBatch(QRegion& region, MaskBands& bands) {
    const std::vector<QRect> rects = bands.Take();
    if (rects.empty()) {
        return;
    }
    // Sorted by band, then left to right, never overlapping: the form a region is made of.
    QRegion batch;
    batch.setRects(rects.data(), static_cast<int>(rects.size()));
    region |= batch;
}

}  // namespace

QRegion RegionFromMask(const QImage& mask) {
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    QRegion region;
    MaskBands bands;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(pixels.constScanLine(y));
        bands.AddRow({line, static_cast<std::size_t>(pixels.width())}, y);
        if (bands.Size() >= kBatch) {
            UniteBatch(region, bands);
        }
    }
    UniteBatch(region, bands);
    return region;
}

}  // namespace vantor
