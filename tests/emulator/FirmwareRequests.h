#pragma once

#include "emulator/FirmwareReport.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace vantor::test {

// A request as the host builds it: zeroed, header filled, payload at 8, checksum last.
inline FirmwareReport MakeRequest(uint8_t command, uint8_t length = 0, uint16_t address = 0,
                                  const std::vector<uint8_t>& payload = {}) {
    FirmwareReport r{};
    r[0] = kVendorReportId;
    r[kReportCommandOffset] = command;
    r[kReportLengthOffset] = length;
    r[kReportAddressOffset] = static_cast<uint8_t>(address & 0xFF);
    r[kReportAddressOffset + 1] = static_cast<uint8_t>(address >> 8);
    for (size_t i = 0; i < payload.size() && i < kReportPayloadSize; ++i)
        r[kReportPayloadOffset + i] = payload[i];
    const uint16_t sum = FirmwareChecksum(r);
    r[kReportChecksumOffset] = static_cast<uint8_t>(sum & 0xFF);
    r[kReportChecksumOffset + 1] = static_cast<uint8_t>(sum >> 8);
    return r;
}

inline FirmwareReport BootRequest() {
    FirmwareReport r{};
    r[0] = kVendorReportId;
    r[kReportCommandOffset] = 0xEE;
    r[kReportLengthOffset] = 0xEE;
    return r;
}

inline std::vector<uint8_t> Payload(const FirmwareReport& reply, size_t length) {
    return {reply.begin() + kReportPayloadOffset, reply.begin() + kReportPayloadOffset + length};
}

}  // namespace vantor::test
