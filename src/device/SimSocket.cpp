#include "device/SimSocket.h"

#include "shell/UnixSocket.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantor {

SimSocket::~SimSocket() {
    if (m_fd >= 0) ::close(m_fd);
}

bool SimSocket::Connect(const QString& path) {
    m_fd = ConnectUnixSocket(path);
    return m_fd >= 0;
}

bool SimSocket::Send(const SimMessage& message) {
    const QByteArray frame = EncodeSimFrame(message);
    std::lock_guard lock(m_sendMutex);
    return m_fd >= 0 && SendAll(m_fd, frame.constData(), static_cast<size_t>(frame.size()));
}

SimSocket::Received SimSocket::Receive(SimMessage* message, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        if (auto next = m_reader.Next()) {
            *message = std::move(*next);
            return Received::Message;
        }
        if (m_reader.Broken() || m_fd < 0) return Received::Closed;

        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - Clock::now());
            if (left.count() <= 0) return Received::TimedOut;
            wait = static_cast<int>(left.count());
        }
        pollfd p{m_fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return Received::Closed;
        if (ready == 0) return Received::TimedOut;

        char buffer[4096];
        const ssize_t n = ::recv(m_fd, buffer, sizeof(buffer), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Received::Closed;
        m_reader.Append(QByteArray(buffer, static_cast<qsizetype>(n)));
    }
}

SimSocket::Received SimSocket::ReceiveReply(SimOp op, uint32_t id, SimMessage* message,
                                            int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int wait = timeoutMs < 0 ? -1 : std::max<int>(0, static_cast<int>(left.count()));
        const Received got = Receive(message, wait);
        if (got != Received::Message) return got;
        if (message->op == op && message->id == id) return got;
    }
}

bool SimSocket::IsQuiet() const {
    if (m_fd < 0) return false;
    pollfd p{m_fd, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&p, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready == 0;
}

void SimSocket::Shutdown() {
    if (m_fd >= 0) ::shutdown(m_fd, SHUT_RDWR);
}

}  // namespace vantor
