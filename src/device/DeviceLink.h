#pragma once

#include "device/CommandResult.h"
#include "device/DeviceVariant.h"
#include "device/HidBackend.h"
#include "device/HidDevice.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace vantor {

// How long the transport waits. The defaults are the keyboard's; tests shorten them.
struct TransportTimeouts {
    int writeMs = 1000;
    int readMs = 300;
    int settleMs = 10;  // the pause before Group end and command 0x0C
};

// The state every command shares: the keyboard's vendor interface, whether it is open, which
// model it is, and the transport that moves one 64-byte report out and one back.
//
// The device monitor opens the interface, sets the variant and then the open flag; any thread
// may send commands. The transport lock is held for a whole exchange, the request and its
// reply, so that exchanges started on two threads never interleave and one cannot take the
// other's reply. A read that times out leaves nothing behind: the interface's reads are
// poll()-based and never outlive their call, so no late reply can land in a buffer that is
// gone.
class DeviceLink {
public:
    static constexpr size_t kReportSize = 64;
    static constexpr int kAttempts = 4;

    explicit DeviceLink(std::shared_ptr<HidBackend> backend);
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // The vendor-interface device, opened and closed by the device monitor.
    HidDevice& VendorDevice() { return m_device; }

    bool IsDeviceOpen() const { return m_deviceOpen.load(); }
    void SetDeviceOpen(bool open) { m_deviceOpen.store(open); }

    // Variant A until a keyboard has been found.
    DeviceVariant Variant() const;
    void SetVariant(const DeviceVariant& variant);

    TransportTimeouts Timeouts() const;
    void SetTimeouts(const TransportTimeouts& timeouts);

    // Sends one request (zero-padded or cut to 64 bytes) and waits for its reply: Ok when a
    // reply that belongs to the request was read (see BelongsTo; stale ones are dropped and the
    // wait goes on within the same time-out), NoReply when no keyboard is open (nothing sent) or no reply came in four
    // attempts (the same request written each time), WriteFailed when a write failed (no retry).
    CommandResult Exchange(const uint8_t* request, size_t requestLength, uint8_t* reply,
                 size_t replyCapacity, size_t* received);
    // Writes one request and reads nothing: Ok when written, else NoReply.
    CommandResult SendOnly(const uint8_t* request, size_t requestLength);

    // Replies dropped so far because they answered another request.
    size_t StaleReplyCount() const { return m_staleReplies.load(); }

    // Whether a reply answers the request: its command code, length and address are the
    // request's, or its command code is 0.
    static bool BelongsTo(const uint8_t* reply, size_t length, const uint8_t* request);

private:
    static constexpr size_t kCommandOffset = 3;  // then the length, then the address (2 bytes)
    static constexpr size_t kAddressOffset = 5;

    void DropQueuedReplies();
    bool AwaitReply(const uint8_t* request, uint8_t* reply, size_t replyCapacity,
                    size_t* received, int readMs);

    HidDevice m_device;
    std::atomic<bool> m_deviceOpen{false};
    mutable std::mutex m_stateMutex;  // guards the variant and the time-outs
    DeviceVariant m_variant = kVariantA;
    TransportTimeouts m_timeouts;
    std::mutex m_transportLock;
    std::atomic<size_t> m_staleReplies{0};
};

}  // namespace vantor
