#include "device/SimSocketChannel.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vantor {

SimSocketChannel::SimSocketChannel(std::unique_ptr<SimSocket> socket, HidAttributes attributes,
                                   QByteArray descriptor)
    : m_socket(std::move(socket)),
      m_attributes(attributes),
      m_descriptor(std::move(descriptor)),
      m_receiver([this] { ReceiveLoop(); }) {}

SimSocketChannel::~SimSocketChannel() {
    m_socket->Shutdown();
    m_receiver.join();
}

void SimSocketChannel::ReceiveLoop() {
    SimMessage message;
    while (m_socket->Receive(&message, -1) == SimSocket::Received::Message) {
        std::lock_guard lock(m_mutex);
        switch (message.op) {
        case SimOp::Input:
            m_input.push_back(message.bytes);
            break;
        case SimOp::WriteReply:
            m_writeReplies[message.id] = message;
            break;
        case SimOp::ChannelFailed:
            m_failed = true;
            break;
        default:
            break;
        }
        m_changed.notify_all();
    }
    std::lock_guard lock(m_mutex);
    m_failed = true;
    m_changed.notify_all();
}

template <typename Ready>
HidIoResult SimSocketChannel::WaitLocked(std::unique_lock<std::mutex>& lock, int timeoutMs,
                                         Ready ready, bool abortable) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (abortable && m_aborted) return HidIoResult::Aborted;
        if (ready()) return HidIoResult::Done;
        if (m_failed) return HidIoResult::Failed;
        if (timeoutMs < 0)
            m_changed.wait(lock);
        else if (m_changed.wait_until(lock, deadline) == std::cv_status::timeout && !ready())
            return abortable && m_aborted ? HidIoResult::Aborted : HidIoResult::TimedOut;
    }
}

HidIoResult SimSocketChannel::Read(uint8_t* buffer, size_t length, size_t* bytesRead,
                                   int timeoutMs) {
    *bytesRead = 0;
    std::unique_lock lock(m_mutex);
    const HidIoResult result = WaitLocked(lock, timeoutMs, [this] { return !m_input.empty(); });
    if (result != HidIoResult::Done) return result;
    const QByteArray report = m_input.front();
    m_input.pop_front();
    const size_t n = std::min(length, static_cast<size_t>(report.size()));
    std::memcpy(buffer, report.constData(), n);
    *bytesRead = n;
    return HidIoResult::Done;
}

HidIoResult SimSocketChannel::Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                                    int timeoutMs) {
    *bytesWritten = 0;
    SimMessage request;
    request.op = SimOp::Write;
    request.bytes = QByteArray(reinterpret_cast<const char*>(buffer),
                               static_cast<qsizetype>(length));
    {
        std::lock_guard lock(m_mutex);
        if (m_aborted) return HidIoResult::Aborted;
        if (m_failed) return HidIoResult::Failed;
        request.id = m_nextId++;
    }
    if (!m_socket->Send(request)) return HidIoResult::Failed;

    // A write that has gone out is not taken back by closing the handle, as with a device
    // node: it ends with the emulator's answer. Otherwise a presence probe on the backend's own
    // connection, answered first, could cut off the answer to a write the keyboard took (the
    // boot-mode request, after which the keyboard leaves at once).
    std::unique_lock lock(m_mutex);
    const HidIoResult result = WaitLocked(
        lock, timeoutMs, [&] { return m_writeReplies.count(request.id) != 0; }, false);
    if (result != HidIoResult::Done) return result;  // a reply that comes later is dropped
    const SimMessage reply = m_writeReplies[request.id];
    m_writeReplies.erase(request.id);
    std::erase_if(m_writeReplies, [&](const auto& entry) { return entry.first < request.id; });
    const int32_t code = reply.Number(0);
    if (code < static_cast<int32_t>(HidIoResult::Done) ||
        code > static_cast<int32_t>(HidIoResult::Failed))
        return HidIoResult::Failed;
    const auto written = static_cast<HidIoResult>(code);
    if (written == HidIoResult::Done)
        *bytesWritten = std::min(length, static_cast<size_t>(std::max(reply.Number(1), 0)));
    return written;
}

HidIoResult SimSocketChannel::WaitGone(int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return WaitLocked(lock, timeoutMs, [] { return false; });
}

void SimSocketChannel::Abort() {
    std::lock_guard lock(m_mutex);
    m_aborted = true;
    m_changed.notify_all();
}

}  // namespace vantor
