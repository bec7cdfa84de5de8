#pragma once

#include "device/HidBackend.h"
#include "device/SimSocket.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace vantor {

// An open handle on one interface of the keyboard in the emulator process. A thread of its
// own receives what the server pushes (input reports, write results, the interface's end),
// so Read and Write wait on local state and Abort needs no round trip.
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
    // Ends when the server tells that the interface went, or the connection ends.
    HidIoResult WaitGone(int timeoutMs) override;
    void Abort() override;

private:
    void ReceiveLoop();
    // Waits for the predicate, the time-out (negative: none), Abort or the end of the
    // connection; the result to return, or Done when the predicate holds.
    template <typename Ready>
    // A wait that is not abortable ends only with its answer, a lost connection or the time.
    HidIoResult WaitLocked(std::unique_lock<std::mutex>& lock, int timeoutMs, Ready ready,
                           bool abortable = true);

    std::unique_ptr<SimSocket> m_socket;
    const HidAttributes m_attributes;
    const QByteArray m_descriptor;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QByteArray> m_input;
    std::map<uint32_t, SimMessage> m_writeReplies;
    uint32_t m_nextId = 1;
    bool m_aborted = false;
    bool m_failed = false;
    std::thread m_receiver;
};

}  // namespace vantor
