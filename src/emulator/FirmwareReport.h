#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor {

// One 64-byte report of the vendor interface, as the keyboard sees it. Requests and replies
// share the layout:
//   0     report ID, 0x04
//   1-2   checksum, little-endian: sum of bytes 3-63 modulo 65536
//   3     command code
//   4     length (payload bytes carried or asked for)
//   5-6   address inside the command's data area, little-endian
//   7     status: 0 in a request; in a reply 0xFF or 0xFE is an error, anything else success
//   8-63  payload
using FirmwareReport = std::array<uint8_t, 64>;

inline constexpr size_t kFirmwareReportSize = 64;
inline constexpr uint8_t kVendorReportId = 0x04;
inline constexpr size_t kReportChecksumOffset = 1;
inline constexpr size_t kReportCommandOffset = 3;
inline constexpr size_t kReportLengthOffset = 4;
inline constexpr size_t kReportAddressOffset = 5;
inline constexpr size_t kReportStatusOffset = 7;
inline constexpr size_t kReportPayloadOffset = 8;
inline constexpr size_t kReportPayloadSize = 56;

inline uint16_t FirmwareChecksum(const FirmwareReport& report) {
    unsigned sum = 0;
    for (size_t i = kReportCommandOffset; i < report.size(); ++i) sum += report[i];
    return static_cast<uint16_t>(sum);
}

inline uint16_t ReportAddress(const FirmwareReport& report) {
    return static_cast<uint16_t>(report[kReportAddressOffset] |
                                 (report[kReportAddressOffset + 1] << 8));
}

}  // namespace vantor
