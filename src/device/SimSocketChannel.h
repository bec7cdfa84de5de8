#pragma once

#include "device/HidBackend.h"
#include "device/SimSocket.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace vantor {

// An open handle on one interface of the keyboard in the emulator process. The thread that
// waits in Read or Write receives from the connection itself, so a report reaches its reader
// with no hand-over between threads; what it receives for another call (an input report while
// it waits for its write's answer) is kept for that call. One thread at a time receives; a
// second caller waits until the first is done and then takes over. Abort wakes the receiving
// thread through an eventfd and the waiting ones through the condition.
class SimSocketChannel : public HidChannel {
public:
    SimSocketChannel(std::unique_ptr<SimSocket> socket, HidAttributes attributes,
                     QByteArray descriptor);
    ~SimSocketChannel() override;

    HidAttributes Attributes() const override { return m_attributes; }
    QByteArray ReportDescriptor() const override { return m_descriptor; }
    HidIoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs) override;
    HidIoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                      int timeoutMs) override;
    void Abort() override;

private:
    // Receives (or waits for the thread that does) until the predicate holds, the time-out
    // (negative: none), Abort or the end of the connection; the result to return, or Done when
    // the predicate holds. A wait that is not abortable ends only with its answer, a lost
    // connection or the time.
    template <typename Ready>
    HidIoResult WaitLocked(std::unique_lock<std::mutex>& lock, int timeoutMs, Ready ready,
                           bool abortable = true);
    void KeepLocked(SimMessage message);

    std::unique_ptr<SimSocket> m_socket;
    const HidAttributes m_attributes;
    const QByteArray m_descriptor;
    int m_abortFd = -1;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_input;
    std::map<uint32_t, SimMessage> m_writeReplies;
    uint32_t m_nextId = 1;
    bool m_receiving = false;  // a thread is receiving from the connection
    bool m_aborted = false;
    bool m_failed = false;
};

}  // namespace vantor
