#pragma once

#include <QDeadlineTimer>
#include <QString>

#include <cstddef>

struct sockaddr_un;

namespace vantor {

// Small helpers over POSIX Unix stream sockets, shared by the instance socket and the
// emulator's socket client. They report failure through errno, as the calls beneath do.

// Fills the address with the path; false (errno ENAMETOOLONG) when the path is empty or too
// long for a socket address.
bool MakeUnixAddress(const QString& path, sockaddr_un* address);

// A stream socket connected to the path, or -1 with errno set. A non-blocking socket fails at
// once (EAGAIN) where a blocking one would wait for room in the listener's queue.
int ConnectUnixSocket(const QString& path, bool nonBlocking = false);

// Sends every byte before the deadline. A peer that has gone is a failure (EPIPE), never a
// SIGPIPE. On a non-blocking socket a full buffer is waited on until the deadline.
bool SendAll(int fd, const char* data, size_t size,
             QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

// Waits until the socket has the events (POLLIN, POLLOUT) or the deadline passes; false on
// time-out or error. Interrupted waits go on waiting.
bool WaitForSocket(int fd, short events, QDeadlineTimer deadline);

}  // namespace vantor
