#pragma once

#include <QImage>
#include <QRegion>

namespace vantor {

// The window shape a mask picture gives: exactly the pixels that are not pure white
// (0xFFFFFF). Built row by row and united in batches of 2000 rectangles, so no single
// rectangle list grows without bound.
QRegion RegionFromMask(const QImage& mask);

}  // namespace vantor
