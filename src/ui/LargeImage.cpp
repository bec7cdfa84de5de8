#include "ui/LargeImage.h"

#include <sys/mman.h>

#include <cstdint>

namespace vantor {

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;

struct Mapping {
    void* start;
    std::size_t length;
};

void Unmap(void* info) {
    const auto* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->start, mapping->length);
    delete mapping;
}

// Memory of `bytes` (rounded up to whole large pages) starting on a large-page boundary, with
// the kernel asked to back it with large pages; nothing when it cannot be mapped.
Mapping* MapLargePages(std::size_t bytes) {
    const std::size_t length = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    // One page more than needed, so that an aligned start can be cut out of it.
    const std::size_t mapped = length + kLargePage;
    void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (address + kLargePage - 1) / kLargePage * kLargePage;
    if (aligned > address) ::munmap(raw, aligned - address);
    const std::uintptr_t end = aligned + length;
    if (address + mapped > end) ::munmap(reinterpret_cast<void*>(end), address + mapped - end);
    void* start = reinterpret_cast<void*>(aligned);
    // Only advice: where large pages are off or used up, the memory takes small ones.
    ::madvise(start, length, MADV_HUGEPAGE);
    return new Mapping{start, length};
}

}  // namespace

QImage NewLargeImage(const QSize& size, QImage::Format format) {
    if (size.isEmpty()) return {};
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    // Lines of whole 32-bit words, as QImage lays out its own.
    const qsizetype bytesPerLine = ((qsizetype(size.width()) * depth + 31) / 32) * 4;
    const auto bytes = std::size_t(bytesPerLine) * std::size_t(size.height());
    if (bytes < kLargePage) return QImage(size, format);
    Mapping* mapping = MapLargePages(bytes);
    if (!mapping) return QImage(size, format);
    QImage image(static_cast<uchar*>(mapping->start), size.width(), size.height(), bytesPerLine,
                 format, Unmap, mapping);
    if (image.isNull()) {
        Unmap(mapping);
        return QImage(size, format);
    }
    return image;
}

}  // namespace vantor
