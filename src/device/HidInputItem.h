#pragma once

#include "device/HidCaps.h"

#include <cstdint>
#include <vector>

namespace vantor {

// One entry of an open device's input item list: a button capability (its pressed usages), or
// one usage of a value capability (its value). ParseInput fills the entries whose report ID
// matches the report it is given.
struct HidInputItem {
    bool isButton = false;
    uint16_t usagePage = 0;
    HidStatus status = HidStatus::Success;  // of the last parse that reached this item
    uint8_t reportId = 0;
    bool updated = false;
    // Buttons: the capability's usage range (a single usage gives min == max).
    // Values: usageMinimum is the usage, usageMaximum equals it.
    uint16_t usageMinimum = 0;
    uint16_t usageMaximum = 0;
    // Buttons: the pressed usages of the last parse, in field order, followed by a 0 when
    // fewer than the list's capacity (its size) were pressed.
    std::vector<uint16_t> usages;
    // Values: the raw and the scaled value of the last parse.
    uint32_t value = 0;
    int32_t scaledValue = 0;
};

}  // namespace vantor
