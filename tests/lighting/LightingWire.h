#pragma once

#include "device/CommandReport.h"
#include "support/EmulatedLink.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor::test {

// One request as it crossed the wire: command, address, and for Write lighting and Write key
// colours the payload its length names.
struct Sent {
    uint8_t command;
    uint16_t address;
    std::vector<uint8_t> payload;
    friend bool operator==(const Sent&, const Sent&) = default;
};

// The requests the keyboard received, from the first-th on.
inline std::vector<Sent> SentRequests(const EmulatedLink& link, size_t first = 0) {
    std::vector<Sent> sent;
    const std::vector<CommandReport> requests = link.Requests();
    for (size_t i = first; i < requests.size(); ++i) {
        const CommandReport& r = requests[i];
        const bool write = r.command == kCmdWriteLighting || r.command == kCmdWriteKeyColours;
        const size_t n = write ? r.length : 0;
        sent.push_back({r.command, r.Address(), std::vector<uint8_t>(r.payload, r.payload + n)});
    }
    return sent;
}

inline std::vector<Sent> Group(std::vector<Sent> writes) {
    writes.insert(writes.begin(), Sent{kCmdGroupStart, 0, {}});
    writes.push_back(Sent{kCmdGroupEnd, 0, {}});
    return writes;
}

inline Sent Write(uint16_t address, std::vector<uint8_t> bytes) {
    return {kCmdWriteLighting, address, std::move(bytes)};
}

}  // namespace vantor::test
