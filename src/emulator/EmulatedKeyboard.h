#pragma once

#include "device/HidBackend.h"
#include "emulator/EmulatedInterface.h"
#include "emulator/EmulatorFault.h"
#include "emulator/KeyboardFirmware.h"
#include "emulator/ReportLogEntry.h"
#include "emulator/UsbFrames.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <vector>

namespace vantor {

// One emulated keyboard on the USB bus: the firmware, its three HID interfaces, the reports
// queued for every open handle, the fault switch and the log of every report. All methods are
// thread-safe; a read blocks only the thread that reads.
//
// Each open handle is an endpoint. Replies go to the endpoint that wrote the request; events
// go to every endpoint open for reading on the consumer interface. Unplugging fails every
// endpoint for good, as a removed device node does; plugging in again makes a new device.
//
// Interface paths look like "sim:0#vid_320f&pid_5000&mi_02": the keyboard's index, its IDs
// and the interface number (EmulatedInterface).
class EmulatedKeyboard {
public:
    using Clock = std::chrono::steady_clock;

    explicit EmulatedKeyboard(const FirmwareVariant& variant = FirmwareVariant::B(),
                              size_t macroCapacity = KeyboardFirmware::kDefaultMacroCapacity,
                              int index = 0);
    EmulatedKeyboard(const EmulatedKeyboard&) = delete;
    EmulatedKeyboard& operator=(const EmulatedKeyboard&) = delete;

    const FirmwareVariant& Variant() const { return m_variant; }
    HidAttributes Attributes() const;
    // Another bcdDevice than the variant's, for a keyboard of another protocol generation.
    void SetVersionNumber(uint16_t version);

    // --- Presence --------------------------------------------------------------------------
    void Plug();
    void Unplug();
    bool IsPlugged() const;
    // The paths of the three interfaces; none while unplugged.
    QStringList InterfacePaths() const;
    // Which interface a path names, while plugged.
    std::optional<EmulatedInterface> InterfaceOfPath(const QString& path) const;
    // Blocks until the keyboard is unplugged (at once when it is not plugged now) or stop is
    // set; whoever sets stop calls WakeWaiters. True when it was unplugged.
    bool WaitForUnplug(const std::atomic<bool>& stop);
    void WakeWaiters();

    // --- Endpoints -------------------------------------------------------------------------
    // -1 while unplugged.
    int OpenEndpoint(EmulatedInterface which, bool read, bool write);
    void CloseEndpoint(int endpoint);
    // Read blocks until a report is due, the time-out (negative: none), Abort, or the
    // keyboard leaves (Failed).
    HidIoResult Read(int endpoint, uint8_t* buffer, size_t length, size_t* bytesRead,
                     int timeoutMs);
    // A write completes at once: the firmware handles the request and queues its reply.
    HidIoResult Write(int endpoint, const uint8_t* buffer, size_t length, size_t* bytesWritten);
    // Blocks until the endpoint's keyboard leaves (Failed), Abort (Aborted) or the time-out
    // (TimedOut; negative: none).
    HidIoResult WaitGone(int endpoint, int timeoutMs);
    // Aborts the endpoint for good: a waiting call and every later one return Aborted.
    void Abort(int endpoint);
    // Handles on the interface opened since the keyboard was made, and open now.
    size_t OpenedCount(EmulatedInterface which) const;
    size_t OpenCount(EmulatedInterface which) const;

    // --- Acts on the keyboard itself (false while unplugged or when impossible) -------------
    bool SwitchProfileOnKeyboard(int profile);  // sends 0x0402
    bool ChangeLightingOnKeyboard();            // sends 0x0401
    bool SendEvent(uint16_t code);              // any event code, e.g. 0x1811 and 0x1810

    // --- Faults ----------------------------------------------------------------------------
    void SetFault(const FaultSwitch& fault);
    FaultSwitch Fault() const;
    // Writes on the vendor interface that failed because of a fault.
    size_t FailedWriteCount() const;

    // --- Bus timing ------------------------------------------------------------------------
    // At USB speed every report crosses at the start of a 1 ms frame, at most one per frame in
    // each direction of each endpoint: a vendor write waits for its frame, and a reply or an
    // event is due at the first free frame after it is ready. Off (at once) unless set.
    void SetUsbFrames(bool on);

    // --- Log -------------------------------------------------------------------------------
    // Every report the keyboard has received or sent so far, in the order they crossed the
    // bus (a late reply appears when it is due).
    std::vector<ReportLogEntry> Log() const;
    void ClearLog();

    // --- Firmware state --------------------------------------------------------------------
    KeyboardFirmware Firmware() const;  // a copy, for inspection
    void EditFirmware(const std::function<void(KeyboardFirmware&)>& edit);

private:
    struct Pending {
        Clock::time_point due;
        std::vector<uint8_t> bytes;
    };
    struct Endpoint {
        EmulatedInterface which;
        bool read = false;
        bool write = false;
        uint64_t device = 0;  // the plug-in it belongs to
        bool aborted = false;
        std::deque<Pending> queue;
    };
    struct TimedEntry {
        Clock::time_point at;
        ReportLogEntry entry;
    };

    QString PathOf(EmulatedInterface which) const;
    void UnplugLocked();
    void LogLocked(ReportLogEntry::Direction direction, EmulatedInterface which,
                   const uint8_t* bytes, size_t length, Clock::time_point at);
    HidIoResult WriteVendorLocked(int endpoint, const FirmwareReport& request,
                                  Clock::time_point now);
    // Waits for the frame a write on the endpoint goes out in, when the bus is paced, and
    // returns its start; nothing when the bus is not paced.
    std::optional<Clock::time_point> AwaitOutFrame(int endpoint);
    // When a reply that is ready at the given time reaches the host.
    Clock::time_point ReplyDueLocked(Clock::time_point ready);
    void QueueReplyLocked(int endpoint, const FirmwareReport& reply, Clock::time_point due);
    bool SendEventLocked(uint16_t code);
    // nullptr with the result to give when the endpoint cannot be used.
    Endpoint* UsableLocked(int endpoint, HidIoResult* failure);

    const FirmwareVariant& m_variant;
    const int m_index;
    uint16_t m_versionNumber;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    KeyboardFirmware m_firmware;
    bool m_plugged = true;
    uint64_t m_device = 1;
    int m_nextEndpoint = 1;
    std::map<int, Endpoint> m_endpoints;
    size_t m_opened[kEmulatedInterfaceCount] = {};
    FaultSwitch m_fault;
    size_t m_failedWrites = 0;
    // The reply to the last request the firmware answered, for the stale-reply fault.
    std::optional<FirmwareReport> m_previousReply;
    std::minstd_rand m_jitter{17};
    bool m_usbFrames = false;
    UsbFramePacer m_outFrames;
    UsbFramePacer m_inFrames;
    UsbFramePacer m_eventFrames;
    std::vector<TimedEntry> m_log;
};

}  // namespace vantor
