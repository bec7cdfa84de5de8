#include "device/HidCollection.h"

#include <algorithm>
#include <limits>

namespace vantor {

namespace {

// Reads one field: bits are packed least significant first, from the low bit of each byte
// up. Fields wider than 32 bits give their low 32 bits. False when the field does not lie
// wholly inside the report.
bool ReadField(const uint8_t* report, size_t length, uint64_t bitPosition, uint32_t bitSize,
               uint32_t* value) {
    if (bitSize == 0 || bitPosition + bitSize > uint64_t(length) * 8) {
        return false;
    }
    const uint32_t bits = std::min<uint32_t>(bitSize, 32);
    uint32_t result = 0;
    for (uint32_t i = 0; i < bits; ++i) {
        const uint64_t bit = bitPosition + i;
        if ((report[bit / 8] >> (bit % 8)) & 1) {
            result |= uint32_t(1) << i;
        }
    }
    *value = result;
    return true;
}

int64_t SignExtend(uint32_t raw, uint32_t bitSize) {
    if (bitSize == 0 || bitSize >= 32) {
        return int32_t(raw);
    }
    const uint32_t sign = uint32_t(1) << (bitSize - 1);
    return int64_t(int32_t((raw ^ sign) - sign));
}

// A field's value as its logical range reads it: signed when the range reaches below zero.
int64_t LogicalValue(const HidCapability& cap, uint32_t raw) {
    return cap.logicalMin < 0 ? SignExtend(raw, cap.bitSize) : int64_t(raw);
}

uint32_t UsageCount(const HidCapability& cap) { return uint32_t(cap.usageMax - cap.usageMin) + 1; }

}  // namespace

const std::vector<HidCapability>& HidCollection::ButtonCaps(HidReportType type) const {
    return m_buttonCaps[Index(type)];
}

const std::vector<HidCapability>& HidCollection::ValueCaps(HidReportType type) const {
    return m_valueCaps[Index(type)];
}

size_t HidCollection::MaxUsageListLength(HidReportType type, uint16_t usagePage) const {
    size_t total = 0;
    const auto& caps = m_buttonCaps[Index(type)];
    for (size_t i = 0; i < caps.size(); ++i) {
        const HidCapability& cap = caps[i];
        if (!cap.isArray) {
            if (usagePage == 0 || cap.usagePage == usagePage) {
                total += cap.reportCount;
            }
            continue;
        }
        // An array's selectors are shared by all its capabilities: count them once.
        size_t end = i;
        bool pageMatches = false;
        while (end < caps.size() && caps[end].isArray && caps[end].mainItem == cap.mainItem) {
            pageMatches = pageMatches || usagePage == 0 || caps[end].usagePage == usagePage;
            ++end;
        }
        if (pageMatches) {
            total += cap.reportCount;
        }
        i = end - 1;
    }
    return total;
}

HidStatus HidCollection::GetUsages(HidReportType type, uint16_t usagePage, const uint8_t* report,
                                   size_t reportLength, uint16_t* usages, size_t* count) const {
    const size_t capacity = *count;
    *count = 0;
    if (reportLength == 0) {
        return HidStatus::InvalidReportLength;
    }
    const uint8_t reportId = report[0];
    bool pageSeen = false;
    bool reportSeen = false;
    bool overflow = false;
    auto add = [&](uint16_t usage) {
        if (*count < capacity) {
            usages[(*count)++] = usage;
        } else {
            overflow = true;
        }
    };

    const auto& caps = m_buttonCaps[Index(type)];
    for (size_t i = 0; i < caps.size(); ++i) {
        const HidCapability& cap = caps[i];
        if (!cap.isArray) {
            if (cap.usagePage != usagePage) {
                continue;
            }
            pageSeen = true;
            if (cap.reportId != reportId) {
                continue;
            }
            reportSeen = true;
            for (uint32_t field = 0; field < cap.reportCount; ++field) {
                uint32_t bit = 0;
                const uint64_t position = cap.bitPosition + uint64_t(field) * cap.bitSize;
                if (ReadField(report, reportLength, position, cap.bitSize, &bit) && bit != 0) {
                    add(uint16_t(std::min<uint32_t>(cap.usageMin + field, cap.usageMax)));
                }
            }
            continue;
        }

        // An array: each selector names one usage of the capabilities of its main item.
        size_t end = i;
        while (end < caps.size() && caps[end].isArray && caps[end].mainItem == cap.mainItem) {
            pageSeen = pageSeen || caps[end].usagePage == usagePage;
            ++end;
        }
        const size_t first = i;
        i = end - 1;
        if (cap.reportId != reportId) {
            continue;
        }
        bool arrayHasPage = false;
        for (size_t k = first; k < end; ++k) {
            arrayHasPage = arrayHasPage || caps[k].usagePage == usagePage;
        }
        if (!arrayHasPage) {
            continue;
        }
        reportSeen = true;
        for (uint32_t field = 0; field < cap.reportCount; ++field) {
            uint32_t raw = 0;
            const uint64_t position = cap.bitPosition + uint64_t(field) * cap.bitSize;
            if (!ReadField(report, reportLength, position, cap.bitSize, &raw)) {
                continue;
            }
            const int64_t selector = LogicalValue(cap, raw);
            if (selector < cap.logicalMin || selector > cap.logicalMax) {
                continue;  // out of range: no control is on in this field
            }
            const uint64_t index = uint64_t(selector - cap.logicalMin);
            for (size_t k = first; k < end; ++k) {
                const HidCapability& entry = caps[k];
                if (index < entry.arrayIndex || index - entry.arrayIndex >= UsageCount(entry)) {
                    continue;
                }
                const uint16_t usage = uint16_t(entry.usageMin + (index - entry.arrayIndex));
                // Usage 0 is "no control": the value an idle selector holds.
                if (entry.usagePage == usagePage && usage != 0) {
                    add(usage);
                }
                break;
            }
        }
    }
    if (!pageSeen) {
        return HidStatus::UsageNotFound;
    }
    if (!reportSeen) {
        return HidStatus::IncompatibleReportId;
    }
    return overflow ? HidStatus::BufferTooSmall : HidStatus::Success;
}

const HidCapability* HidCollection::FindValueCap(HidReportType type, uint16_t usagePage,
                                                 uint16_t usage, uint8_t reportId,
                                                 uint32_t* field) const {
    for (const HidCapability& cap : m_valueCaps[Index(type)]) {
        if (cap.usagePage == usagePage && cap.reportId == reportId && usage >= cap.usageMin &&
            usage <= cap.usageMax) {
            *field = uint32_t(usage - cap.usageMin);
            return &cap;
        }
    }
    return nullptr;
}

HidStatus HidCollection::GetUsageValue(HidReportType type, uint16_t usagePage, uint16_t usage,
                                       const uint8_t* report, size_t reportLength,
                                       uint32_t* value) const {
    if (reportLength == 0) {
        return HidStatus::InvalidReportLength;
    }
    uint32_t field = 0;
    const HidCapability* cap = FindValueCap(type, usagePage, usage, report[0], &field);
    if (cap == nullptr) {
        for (const HidCapability& other : m_valueCaps[Index(type)]) {
            if (other.usagePage == usagePage && usage >= other.usageMin &&
                usage <= other.usageMax) {
                return HidStatus::IncompatibleReportId;
            }
        }
        return HidStatus::UsageNotFound;
    }
    const uint64_t position = cap->bitPosition + uint64_t(field) * cap->bitSize;
    if (!ReadField(report, reportLength, position, cap->bitSize, value)) {
        return HidStatus::InvalidReportLength;
    }
    return HidStatus::Success;
}

HidStatus HidCollection::GetScaledUsageValue(HidReportType type, uint16_t usagePage,
                                             uint16_t usage, const uint8_t* report,
                                             size_t reportLength, int32_t* value) const {
    uint32_t raw = 0;
    const HidStatus status = GetUsageValue(type, usagePage, usage, report, reportLength, &raw);
    if (status != HidStatus::Success) {
        return status;
    }
    uint32_t field = 0;
    const HidCapability& cap = *FindValueCap(type, usagePage, usage, report[0], &field);
    const int64_t logical = LogicalValue(cap, raw);
    int64_t physicalMin = cap.physicalMin;
    int64_t physicalMax = cap.physicalMax;
    if (physicalMin == 0 && physicalMax == 0) {
        physicalMin = cap.logicalMin;
        physicalMax = cap.logicalMax;
    }
    const int64_t logicalSpan = int64_t(cap.logicalMax) - cap.logicalMin;
    __int128 scaled = physicalMin;
    if (logicalSpan != 0) {
        scaled += __int128(logical - cap.logicalMin) * (physicalMax - physicalMin) / logicalSpan;
    }
    scaled = std::clamp<__int128>(scaled, std::numeric_limits<int32_t>::min(),
                                  std::numeric_limits<int32_t>::max());
    *value = int32_t(scaled);
    return HidStatus::Success;
}

}  // namespace vantor
