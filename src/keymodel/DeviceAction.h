#pragma once

#include <cstdint>

namespace vantor {

// The keyboard's own 3-byte description of what a key does: [kind, a, b]. The unit of its
// key maps and of its default key matrix.
struct DeviceAction {
    uint8_t kind = 0;
    uint8_t a = 0;
    uint8_t b = 0;

    friend bool operator==(const DeviceAction&, const DeviceAction&) = default;
};
static_assert(sizeof(DeviceAction) == 3);

}  // namespace vantor
