#include "device/DeviceLink.h"

#include <algorithm>
#include <chrono>
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

// A reply that came after its exchange gave up answers nothing still asked. Whatever is
// already queued when a new request is about to go out is dropped; one still on its way is
// recognised by BelongsTo when it arrives.
void DeviceLink::DropQueuedReplies() {
    uint8_t scratch[kReportSize];
    size_t got = 0;
    for (int i = 0; i < kMaxStaleReplies && m_device.Read(scratch, sizeof scratch, &got, 0); ++i) {
    }
}

// The keyboard echoes the request's header (command code, length and address) in its reply,
// so a reply whose header differs answers an earlier request (one whose own wait gave up) and
// is stale. The length counts as well as the address: the macro area's header and its first
// chunk are both read at address 0, and one must not pass for the other. A reply with command
// code 0 is accepted without looking further: the protocol never promised the echo, and a
// keyboard that leaves the header zero would otherwise never be heard at all. Replies to
// earlier attempts of the same request match, which is harmless: the keyboard answered that
// very request.
bool DeviceLink::BelongsTo(const uint8_t* reply, size_t length, const uint8_t* request) {
    if (length <= kAddressOffset + 1) {
        return true;  // too short to carry a header; judged like a zero command code
    }
    if (reply[kCommandOffset] == 0) {
        return true;
    }
    return std::equal(reply + kCommandOffset, reply + kAddressOffset + 2,
                      request + kCommandOffset);
}

// Reads until a reply that belongs to the request arrives or the read time-out, counted from
// the write, has passed; stale replies are dropped on the way.
bool DeviceLink::AwaitReply(const uint8_t* request, uint8_t* reply, size_t replyCapacity,
                            size_t* received, int readMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(readMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        size_t got = 0;
        if (!m_device.Read(reply, replyCapacity, &got, std::max<int>(0, int(left.count())))) {
            return false;
        }
        if (BelongsTo(reply, got, request)) {
            *received = got;
            return true;
        }
        ++m_staleReplies;
        std::memset(reply, 0, replyCapacity);
        if (Clock::now() >= deadline) {
            return false;
        }
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
    DropQueuedReplies();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (!IsDeviceOpen()) {
            return CommandResult::NoReply;  // the keyboard left during the retries
        }
        size_t written = 0;
        if (!m_device.Write(report, kReportSize, &written, timeouts.writeMs) ||
            written != kReportSize) {
            return CommandResult::WriteFailed;
        }
        if (AwaitReply(report, reply, replyCapacity, received, timeouts.readMs)) {
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
