#include "emulator/EmulatedKeyboard.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace vantor {

namespace {

// The boot keyboard interface numbers no reports: its one output report (the LED byte)
// arrives behind a 0 report-ID byte.
constexpr size_t kLedReportLength = 2;

}  // namespace

EmulatedKeyboard::EmulatedKeyboard(const FirmwareVariant& variant, size_t macroCapacity, int index)
    : m_variant(variant),
      m_index(index),
      m_versionNumber(variant.versionNumber),
      m_firmware(variant, macroCapacity) {}

HidAttributes EmulatedKeyboard::Attributes() const {
    std::lock_guard lock(m_mutex);
    return {m_variant.vendorId, m_variant.productId, m_versionNumber};
}

void EmulatedKeyboard::SetVersionNumber(uint16_t version) {
    std::lock_guard lock(m_mutex);
    m_versionNumber = version;
}

size_t EmulatedKeyboard::OpenedCount(EmulatedInterface which) const {
    std::lock_guard lock(m_mutex);
    return m_opened[static_cast<int>(which)];
}

size_t EmulatedKeyboard::OpenCount(EmulatedInterface which) const {
    std::lock_guard lock(m_mutex);
    return size_t(std::count_if(m_endpoints.begin(), m_endpoints.end(),
                                [which](const auto& e) { return e.second.which == which; }));
}

// --- Presence ----------------------------------------------------------------------------

QString EmulatedKeyboard::PathOf(EmulatedInterface which) const {
    return QStringLiteral("sim:%1#vid_%2&pid_%3&mi_%4")
        .arg(m_index)
        .arg(m_variant.vendorId, 4, 16, QLatin1Char('0'))
        .arg(m_variant.productId, 4, 16, QLatin1Char('0'))
        .arg(static_cast<int>(which), 2, 10, QLatin1Char('0'));
}

void EmulatedKeyboard::Plug() {
    std::lock_guard lock(m_mutex);
    m_plugged = true;
    m_changed.notify_all();
}

void EmulatedKeyboard::Unplug() {
    std::lock_guard lock(m_mutex);
    UnplugLocked();
}

void EmulatedKeyboard::UnplugLocked() {
    if (!m_plugged) return;
    m_plugged = false;
    ++m_device;
    m_previousReply.reset();
    for (auto& [id, endpoint] : m_endpoints) endpoint.queue.clear();
    // Replies that were not yet due are never sent.
    const auto now = Clock::now();
    std::erase_if(m_log, [now](const TimedEntry& e) { return e.at > now; });
    m_changed.notify_all();
}

bool EmulatedKeyboard::IsPlugged() const {
    std::lock_guard lock(m_mutex);
    return m_plugged;
}

QStringList EmulatedKeyboard::InterfacePaths() const {
    std::lock_guard lock(m_mutex);
    QStringList paths;
    if (!m_plugged) return paths;
    for (int i = 0; i < kEmulatedInterfaceCount; ++i)
        paths << PathOf(static_cast<EmulatedInterface>(i));
    return paths;
}

std::optional<EmulatedInterface> EmulatedKeyboard::InterfaceOfPath(const QString& path) const {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) return std::nullopt;
    for (int i = 0; i < kEmulatedInterfaceCount; ++i) {
        const auto which = static_cast<EmulatedInterface>(i);
        if (path == PathOf(which)) return which;
    }
    return std::nullopt;
}

bool EmulatedKeyboard::WaitForUnplug(const std::atomic<bool>& stop) {
    std::unique_lock lock(m_mutex);
    const uint64_t device = m_device;
    m_changed.wait(lock, [&] { return stop || !m_plugged || m_device != device; });
    return !stop;
}

void EmulatedKeyboard::WakeWaiters() {
    std::lock_guard lock(m_mutex);
    m_changed.notify_all();
}

// --- Endpoints ---------------------------------------------------------------------------

int EmulatedKeyboard::OpenEndpoint(EmulatedInterface which, bool read, bool write) {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) return -1;
    const int id = m_nextEndpoint++;
    ++m_opened[static_cast<int>(which)];
    m_endpoints.emplace(id, Endpoint{which, read, write, m_device, false, {}});
    return id;
}

void EmulatedKeyboard::CloseEndpoint(int endpoint) {
    std::lock_guard lock(m_mutex);
    m_endpoints.erase(endpoint);
    m_changed.notify_all();
}

EmulatedKeyboard::Endpoint* EmulatedKeyboard::UsableLocked(int endpoint, HidIoResult* failure) {
    const auto it = m_endpoints.find(endpoint);
    if (it == m_endpoints.end()) {
        *failure = HidIoResult::Failed;
        return nullptr;
    }
    if (it->second.aborted) {
        *failure = HidIoResult::Aborted;
        return nullptr;
    }
    if (!m_plugged || it->second.device != m_device) {
        *failure = HidIoResult::Failed;
        return nullptr;
    }
    return &it->second;
}

HidIoResult EmulatedKeyboard::Read(int endpoint, uint8_t* buffer, size_t length,
                                   size_t* bytesRead, int timeoutMs) {
    *bytesRead = 0;
    std::unique_lock lock(m_mutex);
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        HidIoResult failure{};
        Endpoint* ep = UsableLocked(endpoint, &failure);
        if (!ep) return failure;
        if (!ep->read) return HidIoResult::Failed;

        const auto now = Clock::now();
        if (!ep->queue.empty() && ep->queue.front().due <= now) {
            const std::vector<uint8_t>& report = ep->queue.front().bytes;
            const size_t n = std::min(length, report.size());
            std::memcpy(buffer, report.data(), n);
            *bytesRead = n;
            ep->queue.pop_front();
            return HidIoResult::Done;
        }
        if (timeoutMs >= 0 && now >= deadline) return HidIoResult::TimedOut;

        std::optional<Clock::time_point> wake;
        if (timeoutMs >= 0) wake = deadline;
        if (!ep->queue.empty()) wake = wake ? std::min(*wake, ep->queue.front().due)
                                           : ep->queue.front().due;
        if (wake)
            m_changed.wait_until(lock, *wake);
        else
            m_changed.wait(lock);
    }
}

HidIoResult EmulatedKeyboard::WaitGone(int endpoint, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    HidIoResult failure{};
    const auto gone = [&] { return UsableLocked(endpoint, &failure) == nullptr; };
    if (timeoutMs < 0)
        m_changed.wait(lock, gone);
    else if (!m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), gone))
        return HidIoResult::TimedOut;
    return failure;
}

HidIoResult EmulatedKeyboard::Write(int endpoint, const uint8_t* buffer, size_t length,
                                    size_t* bytesWritten) {
    *bytesWritten = 0;
    // Paced, the request crossed the bus at its frame's start, however late this thread woke
    // after it: the firmware's answer is timed from then.
    const std::optional<Clock::time_point> frame = AwaitOutFrame(endpoint);
    std::lock_guard lock(m_mutex);
    HidIoResult failure{};
    Endpoint* ep = UsableLocked(endpoint, &failure);
    if (!ep) return failure;
    if (!ep->write) return HidIoResult::Failed;

    switch (ep->which) {
    case EmulatedInterface::Consumer:
        return HidIoResult::Failed;  // no output report
    case EmulatedInterface::BootKeyboard:
        if (length != kLedReportLength || buffer[0] != 0) return HidIoResult::Failed;
        LogLocked(ReportLogEntry::Direction::Received, EmulatedInterface::BootKeyboard, buffer,
                  length, Clock::now());
        *bytesWritten = length;
        return HidIoResult::Done;
    case EmulatedInterface::Vendor:
        break;
    }

    // The interface takes exactly its one 64-byte output report, ID 4.
    if (length != kFirmwareReportSize || buffer[0] != kVendorReportId) return HidIoResult::Failed;
    FirmwareReport request;
    std::memcpy(request.data(), buffer, request.size());
    const HidIoResult result = WriteVendorLocked(endpoint, request, frame.value_or(Clock::now()));
    if (result == HidIoResult::Done) *bytesWritten = length;
    return result;
}

std::optional<EmulatedKeyboard::Clock::time_point> EmulatedKeyboard::AwaitOutFrame(int endpoint) {
    Clock::time_point slot;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_endpoints.find(endpoint);
        if (!m_usbFrames || it == m_endpoints.end() ||
            it->second.which != EmulatedInterface::Vendor) {
            return std::nullopt;
        }
        slot = m_outFrames.Take(Clock::now());
    }
    std::this_thread::sleep_until(slot);
    return slot;
}

EmulatedKeyboard::Clock::time_point EmulatedKeyboard::ReplyDueLocked(Clock::time_point ready) {
    if (m_fault.fault == EmulatorFault::LateReply) {
        int delayMs = m_fault.lateReplyMs;
        if (m_fault.lateJitterMs > 0) {
            std::uniform_int_distribution<int> jitter(-m_fault.lateJitterMs, m_fault.lateJitterMs);
            delayMs += jitter(m_jitter);
        }
        ready += std::chrono::milliseconds(std::max(delayMs, 0));
    }
    return m_usbFrames ? m_inFrames.Take(ready) : ready;
}

void EmulatedKeyboard::QueueReplyLocked(int endpoint, const FirmwareReport& reply,
                                        Clock::time_point due) {
    // In the order they fall due: a reply with less delay overtakes one with more.
    auto& queue = m_endpoints.at(endpoint).queue;
    const auto at = std::upper_bound(queue.begin(), queue.end(), due,
                                     [](Clock::time_point t, const Pending& p) { return t < p.due; });
    queue.insert(at, {due, std::vector<uint8_t>(reply.begin(), reply.end())});
    LogLocked(ReportLogEntry::Direction::Sent, EmulatedInterface::Vendor, reply.data(),
              reply.size(), due);
    m_changed.notify_all();
}

HidIoResult EmulatedKeyboard::WriteVendorLocked(int endpoint, const FirmwareReport& request,
                                                Clock::time_point now) {
    switch (m_fault.fault) {
    case EmulatorFault::WriteFailure:
        ++m_failedWrites;
        return HidIoResult::Failed;
    case EmulatorFault::UnplugMidTransfer:
        if (m_fault.reportsBeforeUnplug <= 0) {
            ++m_failedWrites;
            m_fault = {};
            UnplugLocked();
            return HidIoResult::Failed;
        }
        --m_fault.reportsBeforeUnplug;
        break;
    default:
        break;
    }

    LogLocked(ReportLogEntry::Direction::Received, EmulatedInterface::Vendor, request.data(),
              request.size(), now);
    if (m_fault.fault == EmulatorFault::NoReply) return HidIoResult::Done;

    KeyboardFirmware::Outcome outcome;
    const bool refuse = (m_fault.fault == EmulatorFault::StatusFF ||
                         m_fault.fault == EmulatorFault::StatusFE) &&
                        KeyboardFirmware::ExpectsReply(request) &&
                        (m_fault.refusedCommand < 0 || request[3] == m_fault.refusedCommand);
    if (refuse) {
        const uint8_t status = m_fault.fault == EmulatorFault::StatusFF
                                   ? KeyboardFirmware::kStatusRefused
                                   : KeyboardFirmware::kStatusBadChecksum;
        outcome.reply = KeyboardFirmware::ErrorReply(request, status);
    } else {
        outcome = m_firmware.HandleRequest(request);
    }

    if (outcome.reply) {
        if (m_fault.fault == EmulatorFault::StaleReply && m_previousReply) {
            QueueReplyLocked(endpoint, *m_previousReply, ReplyDueLocked(now));
        }
        QueueReplyLocked(endpoint, *outcome.reply, ReplyDueLocked(now));
        m_previousReply = outcome.reply;
    }
    // The boot loader is another device: the keyboard leaves the bus.
    if (outcome.enterBootMode) UnplugLocked();
    return HidIoResult::Done;
}

void EmulatedKeyboard::Abort(int endpoint) {
    std::lock_guard lock(m_mutex);
    if (const auto it = m_endpoints.find(endpoint); it != m_endpoints.end())
        it->second.aborted = true;
    m_changed.notify_all();
}

// --- Acts on the keyboard ----------------------------------------------------------------

bool EmulatedKeyboard::SwitchProfileOnKeyboard(int profile) {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) return false;
    const auto event = m_firmware.SwitchProfileOnKeyboard(profile);
    return event && SendEventLocked(*event);
}

bool EmulatedKeyboard::ChangeLightingOnKeyboard() {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) return false;
    const auto event = m_firmware.ChangeLightingOnKeyboard();
    return event && SendEventLocked(*event);
}

bool EmulatedKeyboard::SendEvent(uint16_t code) {
    std::lock_guard lock(m_mutex);
    return SendEventLocked(code);
}

bool EmulatedKeyboard::SendEventLocked(uint16_t code) {
    if (!m_plugged) return false;
    std::vector<uint8_t> report(EmulatedInputReportLength(EmulatedInterface::Consumer), 0);
    report[0] = kConsumerReportId;
    report[1] = static_cast<uint8_t>(code & 0xFF);
    report[2] = static_cast<uint8_t>(code >> 8);
    const auto now = m_usbFrames ? m_eventFrames.Take(Clock::now()) : Clock::now();
    LogLocked(ReportLogEntry::Direction::Sent, EmulatedInterface::Consumer, report.data(),
              report.size(), now);
    for (auto& [id, endpoint] : m_endpoints) {
        if (endpoint.which == EmulatedInterface::Consumer && endpoint.read &&
            endpoint.device == m_device)
            endpoint.queue.push_back({now, report});
    }
    m_changed.notify_all();
    return true;
}

// --- Faults and log ----------------------------------------------------------------------

void EmulatedKeyboard::SetFault(const FaultSwitch& fault) {
    std::lock_guard lock(m_mutex);
    m_fault = fault;
}

void EmulatedKeyboard::SetUsbFrames(bool on) {
    std::lock_guard lock(m_mutex);
    m_usbFrames = on;
    // One bus, one frame clock: a reply timed from its request's frame start falls in the
    // next frame, never in the same one.
    const Clock::time_point epoch = Clock::now();
    m_outFrames = UsbFramePacer(epoch);
    m_inFrames = UsbFramePacer(epoch);
    m_eventFrames = UsbFramePacer(epoch);
}

FaultSwitch EmulatedKeyboard::Fault() const {
    std::lock_guard lock(m_mutex);
    return m_fault;
}

size_t EmulatedKeyboard::FailedWriteCount() const {
    std::lock_guard lock(m_mutex);
    return m_failedWrites;
}

void EmulatedKeyboard::LogLocked(ReportLogEntry::Direction direction, EmulatedInterface which,
                                 const uint8_t* bytes, size_t length, Clock::time_point at) {
    TimedEntry timed{at, {direction, which, {}, length}};
    std::memcpy(timed.entry.bytes.data(), bytes, std::min(length, timed.entry.bytes.size()));
    m_log.push_back(timed);
}

std::vector<ReportLogEntry> EmulatedKeyboard::Log() const {
    std::vector<TimedEntry> timed;
    {
        std::lock_guard lock(m_mutex);
        timed = m_log;
    }
    const auto now = Clock::now();
    std::erase_if(timed, [now](const TimedEntry& e) { return e.at > now; });
    std::stable_sort(timed.begin(), timed.end(),
                     [](const TimedEntry& a, const TimedEntry& b) { return a.at < b.at; });
    std::vector<ReportLogEntry> entries;
    entries.reserve(timed.size());
    for (const TimedEntry& t : timed) entries.push_back(t.entry);
    return entries;
}

void EmulatedKeyboard::ClearLog() {
    std::lock_guard lock(m_mutex);
    // Replies not yet due have not been sent; they stay to be logged when they are.
    const auto now = Clock::now();
    std::erase_if(m_log, [now](const TimedEntry& e) { return e.at <= now; });
}

// --- Firmware state ----------------------------------------------------------------------

KeyboardFirmware EmulatedKeyboard::Firmware() const {
    std::lock_guard lock(m_mutex);
    return m_firmware;
}

void EmulatedKeyboard::EditFirmware(const std::function<void(KeyboardFirmware&)>& edit) {
    std::lock_guard lock(m_mutex);
    edit(m_firmware);
}

}  // namespace vantor
