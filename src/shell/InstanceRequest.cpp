#include "shell/InstanceRequest.h"

#include "shell/UnixSocket.h"

#include <QDeadlineTimer>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantor {

namespace {

constexpr int kConnectRetryMs = 20;

// The socket closes when this goes.
struct SocketCloser {
    int fd;
    ~SocketCloser() { ::close(fd); }
};

}  // namespace

void EncodeInstanceRequest(const WindowMessage& message, char (&request)[kInstanceRequestSize]) {
    qToLittleEndian<uint32_t>(message.id, request);
    qToLittleEndian<uint32_t>(message.tag, request + 4);
    qToLittleEndian<uint32_t>(message.argument, request + 8);
}

WindowMessage DecodeInstanceRequest(const char (&request)[kInstanceRequestSize]) {
    return {qFromLittleEndian<uint32_t>(request), qFromLittleEndian<uint32_t>(request + 4),
            qFromLittleEndian<uint32_t>(request + 8)};
}

std::optional<uint32_t> SendInstanceRequest(const QString& serverPath, uint32_t message,
                                            uint32_t tag, int timeoutMs, uint32_t argument) {
    const QDeadlineTimer deadline(timeoutMs);
    int fd = -1;
    // Non-blocking, so that a listener whose queue is full is retried like one not there yet.
    while ((fd = ConnectUnixSocket(serverPath, true)) < 0) {
        if (deadline.hasExpired()) return std::nullopt;
        const qint64 left = deadline.remainingTime();  // -1: no deadline
        std::this_thread::sleep_for(std::chrono::milliseconds(
            left < 0 ? kConnectRetryMs : std::min<qint64>(kConnectRetryMs, left)));
    }
    const SocketCloser closer{fd};

    char request[kInstanceRequestSize];
    EncodeInstanceRequest({message, tag, argument}, request);
    if (!SendAll(fd, request, sizeof request, deadline)) return std::nullopt;

    // What has arrived is read before the deadline is looked at: the instance may have closed
    // the connection right after answering.
    char answer[kInstanceAnswerSize];
    size_t received = 0;
    while (received < sizeof answer) {
        const ssize_t n = ::recv(fd, answer + received, sizeof answer - received, 0);
        if (n > 0) {
            received += static_cast<size_t>(n);
        } else if (n == 0) {
            return std::nullopt;  // closed without a whole answer
        } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            return std::nullopt;
        } else if (errno != EINTR && !WaitForSocket(fd, POLLIN, deadline)) {
            return std::nullopt;
        }
    }
    return qFromLittleEndian<uint32_t>(answer);
}

}  // namespace vantor
