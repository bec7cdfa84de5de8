#pragma once

#include "device/SimMessage.h"

#include <QString>

#include <mutex>

namespace vantor {

// The client end of one connection to the emulator process: a Unix stream socket carrying
// SimMessage frames. Plain POSIX so that any thread may use it: one thread receives, any
// thread sends, and Shutdown() from any thread wakes the receiving one.
class SimSocket {
public:
    enum class Received { Message, TimedOut, Closed };

    SimSocket() = default;
    ~SimSocket();
    SimSocket(const SimSocket&) = delete;
    SimSocket& operator=(const SimSocket&) = delete;

    // False when nothing listens at the path (or the path is too long for a socket).
    bool Connect(const QString& path);
    bool Send(const SimMessage& message);
    // The next message within the time-out (negative: no limit).
    Received Receive(SimMessage* message, int timeoutMs);
    // The next message with the op and id given, skipping others; TimedOut or Closed.
    Received ReceiveReply(SimOp op, uint32_t id, SimMessage* message, int timeoutMs);
    void Shutdown();
    // True while nothing has arrived and the peer has not closed: one poll that does not
    // wait. On a connection the peer sends nothing more on, anything readable means closed.
    bool IsQuiet() const;

private:
    int m_fd = -1;
    std::mutex m_sendMutex;
    SimFrameReader m_reader;
};

}  // namespace vantor
