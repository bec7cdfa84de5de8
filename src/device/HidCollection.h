#pragma once

#include "device/HidCaps.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor {

// One top-level collection of a report descriptor: its summary, its capabilities, and the
// queries that read pressed usages and values out of one report. Every query bounds-checks
// the report: a field that does not lie wholly inside it reads as absent (buttons) or fails
// with InvalidReportLength (values). The first byte of a report is its report ID.
class HidCollection {
public:
    const HidCaps& Caps() const { return m_caps; }
    const std::vector<HidCapability>& ButtonCaps(HidReportType type) const;
    const std::vector<HidCapability>& ValueCaps(HidReportType type) const;

    // The most usages GetUsages can return for the usage page (0: every page), counted over
    // every report ID of the report type.
    size_t MaxUsageListLength(HidReportType type, uint16_t usagePage) const;

    // The usages of the page that are on (pressed) in the report, in field order. *count is
    // the capacity of usages on entry and the number stored on return; BufferTooSmall when
    // more were on than fit (the list then holds the first ones).
    HidStatus GetUsages(HidReportType type, uint16_t usagePage, const uint8_t* report,
                        size_t reportLength, uint16_t* usages, size_t* count) const;

    // The raw bits of the first field of a value usage, zero-extended.
    HidStatus GetUsageValue(HidReportType type, uint16_t usagePage, uint16_t usage,
                            const uint8_t* report, size_t reportLength, uint32_t* value) const;

    // The same value, sign-extended when the logical range is signed and mapped from the
    // logical onto the physical range (when the physical range is unset, it is the logical one).
    HidStatus GetScaledUsageValue(HidReportType type, uint16_t usagePage, uint16_t usage,
                                  const uint8_t* report, size_t reportLength,
                                  int32_t* value) const;

private:
    friend class HidDescriptorParser;

    static size_t Index(HidReportType type) { return static_cast<size_t>(type); }
    const HidCapability* FindValueCap(HidReportType type, uint16_t usagePage, uint16_t usage,
                                      uint8_t reportId, uint32_t* field) const;

    HidCaps m_caps;
    std::vector<HidCapability> m_buttonCaps[3];
    std::vector<HidCapability> m_valueCaps[3];
};

}  // namespace vantor
