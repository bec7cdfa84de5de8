#pragma once

#include <array>
#include <cstdint>

namespace vantor {

// The per-model facts of the two keyboards this program drives. The one table of them.
struct DeviceVariant {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint32_t keyMapBlockSize = 0;  // bytes in one profile's key map and in the default matrix
    uint32_t keyMapStride = 0;     // distance between the key maps of consecutive profiles
    uint32_t ledSlotCount = 0;     // key (LED) positions; per-key colours are 3 bytes each

    friend bool operator==(const DeviceVariant&, const DeviceVariant&) = default;
};

inline constexpr DeviceVariant kVariantA{0x0C45, 0x5004, 378, 378, 126};
inline constexpr DeviceVariant kVariantB{0x320F, 0x5000, 512, 512, 128};
inline constexpr std::array<DeviceVariant, 2> kDeviceVariants{kVariantA, kVariantB};

// The variant of a vendor and product ID pair; nullptr for any other device.
constexpr const DeviceVariant* FindDeviceVariant(uint16_t vendorId, uint16_t productId) {
    for (const DeviceVariant& variant : kDeviceVariants) {
        if (variant.vendorId == vendorId && variant.productId == productId) {
            return &variant;
        }
    }
    return nullptr;
}

}  // namespace vantor
