#pragma once

#include <QImage>
#include <QSize>

namespace vantor {

// A new image whose pixels lie in memory of their own, taken in 2 MiB pages where the system
// offers them. A full-window skin picture is a few megabytes of fresh memory: in 4 KiB pages,
// each of its thousand pages costs a fault when first written, and on some machines (virtual
// ones above all) those faults are most of what decoding the picture costs. An image under one
// large page is a plain QImage. Its pixels are not set. Null when the size is empty or memory
// is short.
QImage NewLargeImage(const QSize& size, QImage::Format format);

}  // namespace vantor
