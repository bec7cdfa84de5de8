#include "shell/UnixSocket.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vantor {

bool MakeUnixAddress(const QString& path, sockaddr_un* address) {
    const QByteArray native = QFile::encodeName(path);
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    if (native.isEmpty() || static_cast<size_t>(native.size()) >= sizeof(address->sun_path)) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(address->sun_path, native.constData(), static_cast<size_t>(native.size()));
    return true;
}

int ConnectUnixSocket(const QString& path, bool nonBlocking) {
    sockaddr_un address;
    if (!MakeUnixAddress(path, &address)) return -1;
    const int fd =
        ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
    if (fd < 0) return -1;
    int result = 0;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

bool SendAll(int fd, const char* data, size_t size, QDeadlineTimer deadline) {
    size_t sent = 0;
    while (sent < size) {
        const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
            WaitForSocket(fd, POLLOUT, deadline))
            continue;
        return false;
    }
    return true;
}

bool WaitForSocket(int fd, short events, QDeadlineTimer deadline) {
    for (;;) {
        const int wait = deadline.isForever()
                             ? -1
                             : static_cast<int>(std::clamp<qint64>(
                                   deadline.remainingTime(), 0, std::numeric_limits<int>::max()));
        pollfd p{fd, events, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        // A hang-up or error wakes the wait too; the next read or write says which.
        return true;
    }
}

}  // namespace vantor
