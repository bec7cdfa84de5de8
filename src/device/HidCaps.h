#pragma once

#include <cstdint>

namespace vantor {

// What a parsed report descriptor tells about one top-level collection, and about each of
// its report fields. These are the records a HID stack hands to applications; the field
// names follow the usual HID class driver vocabulary.

enum class HidReportType : uint8_t { Input, Output, Feature };

// Result of a query on a report or a descriptor.
enum class HidStatus : int32_t {
    Success = 0,
    UsageNotFound,         // no field of that usage page and usage in this report ID
    IncompatibleReportId,  // no field at all in the report's report ID
    BufferTooSmall,        // more usages are pressed than the list holds
    InvalidReportLength,   // an empty report (it has no report-ID byte)
};

// Summary of one top-level collection. Report byte lengths count the report-ID byte, also
// when the descriptor declares no report IDs (the byte is then 0), and are the largest report
// of that type in the collection; 0 when the collection has no report of that type.
struct HidCaps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    uint16_t numberLinkCollectionNodes = 0;
    uint16_t numberInputButtonCaps = 0;
    uint16_t numberInputValueCaps = 0;
    uint16_t numberOutputButtonCaps = 0;
    uint16_t numberOutputValueCaps = 0;
    uint16_t numberFeatureButtonCaps = 0;
    uint16_t numberFeatureValueCaps = 0;
};

// One button or value capability: a usage (or a usage range) and the report fields that
// carry it. Buttons are one-bit variable fields and array (selector) fields; everything else
// that is data is a value. Constant fields are padding and have no capability.
struct HidCapability {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isRange = false;
    uint16_t usageMin = 0;  // the usage itself when not a range
    uint16_t usageMax = 0;  // equal to usageMin when not a range
    bool isArray = false;   // buttons only: the fields hold selectors, not one bit per usage
    bool isAbsolute = true;
    bool hasNull = false;
    uint16_t linkCollection = 0;  // index of the innermost collection, 0 = the top-level one
    // Bit of the report where the first field starts; bit 0 is the low bit of the report-ID
    // byte, so data starts at bit 8.
    uint32_t bitPosition = 0;
    uint16_t bitSize = 0;      // bits per field
    uint32_t reportCount = 0;  // fields; for an array, the selectors shared by its capabilities
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    // Arrays: the selector value, less logicalMin, that stands for usageMin.
    uint32_t arrayIndex = 0;
    // Index of the main item these fields come from; the capabilities of one array share it.
    uint32_t mainItem = 0;
};

}  // namespace vantor
