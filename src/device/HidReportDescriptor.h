#pragma once

#include "device/HidCollection.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vantor {

// A HID report descriptor, parsed into its top-level collections (HID 1.11, section 6.2.2).
//
// Parse accepts any bytes: every read is bounds-checked, nesting and the global stack are
// limited, and so are the report sizes and the number of capabilities, so a hostile or broken
// descriptor gives a clear error and never an unbounded allocation. Collections at the outer
// level are the top-level collections; main items outside any collection belong to an extra
// top-level collection with usage 0.
class HidReportDescriptor {
public:
    // The kernel hands out at most this much descriptor per interface.
    static constexpr size_t kMaxDescriptorSize = 4096;
    // The largest report a hidraw node moves, and so the largest report accepted here.
    static constexpr size_t kMaxReportBytes = 16384;
    static constexpr size_t kMaxCollectionDepth = 32;
    static constexpr size_t kMaxCollections = 256;
    static constexpr size_t kMaxGlobalStackDepth = 16;
    static constexpr size_t kMaxCapabilities = 1024;

    static std::optional<HidReportDescriptor> Parse(const uint8_t* data, size_t size,
                                                    QString* error = nullptr);
    static std::optional<HidReportDescriptor> Parse(const QByteArray& bytes,
                                                    QString* error = nullptr);

    // True when the descriptor declares report IDs: reports then carry them in their first
    // byte on the wire.
    bool UsesReportIds() const { return m_usesReportIds; }
    const std::vector<HidCollection>& Collections() const { return m_collections; }

private:
    friend class HidDescriptorParser;

    bool m_usesReportIds = false;
    std::vector<HidCollection> m_collections;
};

}  // namespace vantor
