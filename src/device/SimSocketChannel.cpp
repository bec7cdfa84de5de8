#include "device/SimSocketChannel.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include <sys/eventfd.h>
#include <unistd.h>

namespace vantor {

SimSocketChannel::SimSocketChannel(std::unique_ptr<SimSocket> socket, HidAttributes attributes,
                                   QByteArray descriptor)
    : m_socket(std::move(socket)),
      m_attributes(attributes),
      m_descriptor(std::move(descriptor)),
      m_abortFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SimSocketChannel::~SimSocketChannel() {
    if (m_abortFd >= 0) ::close(m_abortFd);
}

void SimSocketChannel::KeepLocked(SimMessage message) {
    switch (message.op) {
    case SimOp::Input:
        m_input.push_back(std::move(message.bytes));
        break;
    case SimOp::WriteReply:
        m_writeReplies[message.id] = std::move(message);
        break;
    case SimOp::ChannelFailed:
        m_failed = true;
        break;
    default:
        break;
    }
}

template <typename Ready>
HidIoResult SimSocketChannel::WaitLocked(std::unique_lock<std::mutex>& lock, int timeoutMs,
                                         Ready ready, bool abortable) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    const auto outcome = [&] {
        if (abortable && m_aborted) return HidIoResult::Aborted;
        if (ready()) return HidIoResult::Done;
        return m_failed ? HidIoResult::Failed : HidIoResult::TimedOut;
    };
    for (;;) {
        const HidIoResult now = outcome();
        if (now != HidIoResult::TimedOut) return now;
        int leftMs = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            leftMs = int(std::max<int64_t>(left.count(), 0));
        }
        if (!m_receiving) {
            // Received with the lock let go, so Abort and the other calls are not held up.
            m_receiving = true;
            lock.unlock();
            SimMessage message;
            const SimSocket::Received got =
                m_socket->Receive(&message, leftMs, abortable ? m_abortFd : -1);
            lock.lock();
            m_receiving = false;
            m_changed.notify_all();  // a waiting call may take over the receiving
            if (got == SimSocket::Received::Message)
                KeepLocked(std::move(message));
            else if (got == SimSocket::Received::Closed)
                m_failed = true;
            else if (got == SimSocket::Received::TimedOut)
                return outcome();
            continue;
        }
        if (leftMs == 0) return outcome();
        if (timeoutMs < 0)
            m_changed.wait(lock);
        else
            m_changed.wait_until(lock, deadline);
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

void SimSocketChannel::Abort() {
    std::lock_guard lock(m_mutex);
    m_aborted = true;
    m_changed.notify_all();
    // Never drained: it wakes the receiving call and every later receive.
    const uint64_t one = 1;
    if (m_abortFd >= 0) {
        [[maybe_unused]] const ssize_t n = ::write(m_abortFd, &one, sizeof one);
    } else {
        m_socket->Shutdown();  // no eventfd: ending the connection wakes the receiver instead
    }
}

}  // namespace vantor
