#include "device/DeviceLink.h"

#include <algorithm>
#include <cstring>

namespace vantor {

namespace {

// At most this many queued reports are dropped before a request; more means the interface is
// streaming something else, and the exchange goes on regardless.
constexpr int kMaxStaleReplies = 64;

}  // namespace

DeviceLink::DeviceLink(std::shared_ptr<HidBackend> backend) : m_device(std::move(backend)) {}

DeviceVariant DeviceLink::Variant() const {
    std::lock_guard lock(m_stateMutex);
    return m_variant;
}

void DeviceLink::SetVariant(const DeviceVariant& variant) {
    std::lock_guard lock(m_stateMutex);
    m_variant = variant;
}

TransportTimeouts DeviceLink::Timeouts() const {
    std::lock_guard lock(m_stateMutex);
    return m_timeouts;
}

void DeviceLink::SetTimeouts(const TransportTimeouts& timeouts) {
    std::lock_guard lock(m_stateMutex);
    m_timeouts = timeouts;
}

// A reply that came after its exchange gave up would otherwise be taken as the answer to the
// next request, and every later reply would be one behind. Whatever is already queued when a
// request is about to go out answers nothing still asked, so it is dropped.
void DeviceLink::DropStaleReplies() {
    uint8_t scratch[kReportSize];
    size_t got = 0;
    for (int i = 0; i < kMaxStaleReplies && m_device.Read(scratch, sizeof scratch, &got, 0); ++i) {
    }
}

CommandResult DeviceLink::Exchange(const uint8_t* request, size_t requestLength, uint8_t* reply,
                         size_t replyCapacity, size_t* received) {
    *received = 0;
    if (!IsDeviceOpen()) {
        return CommandResult::NoReply;
    }
    uint8_t report[kReportSize] = {};
    std::memcpy(report, request, std::min(requestLength, kReportSize));
    const TransportTimeouts timeouts = Timeouts();

    std::lock_guard lock(m_transportLock);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!IsDeviceOpen()) {
            return CommandResult::NoReply;  // the keyboard left during the retries
        }
        DropStaleReplies();
        size_t written = 0;
        if (!m_device.Write(report, kReportSize, &written, timeouts.writeMs) ||
            written != kReportSize) {
            return CommandResult::WriteFailed;
        }
        size_t got = 0;
        if (m_device.Read(reply, replyCapacity, &got, timeouts.readMs)) {
            *received = got;
            return CommandResult::Ok;
        }
    }
    return CommandResult::NoReply;
}

CommandResult DeviceLink::SendOnly(const uint8_t* request, size_t requestLength) {
    if (!IsDeviceOpen()) {
        return CommandResult::NoReply;
    }
    uint8_t report[kReportSize] = {};
    std::memcpy(report, request, std::min(requestLength, kReportSize));
    const int writeMs = Timeouts().writeMs;

    std::lock_guard lock(m_transportLock);
    size_t written = 0;
    return m_device.Write(report, kReportSize, &written, writeMs) && written == kReportSize
               ? CommandResult::Ok
               : CommandResult::NoReply;
}

}  // namespace vantor
