// Report descriptors and input reports come from the device. The first two bytes (little-endian)
// split the input: that many bytes of descriptor, the rest is one input report read against it.

#include "device/HidReportDescriptor.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    if (size < 2) return 0;
    size_t descriptorSize = data[0] | static_cast<size_t>(data[1]) << 8;
    if (descriptorSize > size - 2) descriptorSize = size - 2;
    const uint8_t* descriptor = data + 2;
    const uint8_t* report = descriptor + descriptorSize;
    const size_t reportSize = size - 2 - descriptorSize;

    auto parsed = HidReportDescriptor::Parse(descriptor, descriptorSize);
    if (!parsed) return 0;
    for (const HidCollection& collection : parsed->Collections()) {
        for (const HidCapability& cap : collection.ButtonCaps(HidReportType::Input)) {
            size_t capacity = collection.MaxUsageListLength(HidReportType::Input, cap.usagePage);
            if (capacity > 4096) capacity = 4096;
            std::vector<uint16_t> usages(capacity);
            size_t count = capacity;
            collection.GetUsages(HidReportType::Input, cap.usagePage, report, reportSize,
                                 usages.data(), &count);
        }
        for (const HidCapability& cap : collection.ValueCaps(HidReportType::Input)) {
            uint32_t raw = 0;
            int32_t scaled = 0;
            collection.GetUsageValue(HidReportType::Input, cap.usagePage, cap.usageMin, report,
                                     reportSize, &raw);
            collection.GetScaledUsageValue(HidReportType::Input, cap.usagePage, cap.usageMax,
                                           report, reportSize, &scaled);
        }
    }
    return 0;
}
