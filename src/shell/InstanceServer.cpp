#include "shell/InstanceServer.h"

#include "shell/InstanceRequest.h"
#include "shell/UnixSocket.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vantor {

namespace {

QString ErrnoText(const char* step) {
    return QStringLiteral("%1: %2").arg(QLatin1String(step),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

// One accepted client until its request is whole. The notifier goes later: the connection may
// end from inside the notifier's own signal.
struct InstanceServer::Connection {
    explicit Connection(int socket)
        : fd(socket), notifier(new QSocketNotifier(fd, QSocketNotifier::Read)) {}
    ~Connection() {
        notifier->setEnabled(false);
        notifier->deleteLater();
        ::close(fd);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int fd;
    QSocketNotifier* notifier;
    char request[kInstanceRequestSize];
    int received = 0;
};

InstanceServer::InstanceServer(Handler handler) : m_handler(std::move(handler)) {}

InstanceServer::~InstanceServer() { Close(); }

bool InstanceServer::Listen(const QString& path, QString* error) {
    Close();
    const auto fail = [&](const char* step) {
        if (error) *error = ErrnoText(step);
        if (m_listenFd >= 0) ::close(m_listenFd);
        m_listenFd = -1;
        return false;
    };
    sockaddr_un address;
    if (!MakeUnixAddress(path, &address)) return fail("socket path");
    if (::unlink(address.sun_path) != 0 && errno != ENOENT) return fail("remove old socket");
    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0) return fail("socket");
    if (::bind(m_listenFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return fail("bind");
    // Made private before it listens, so nobody else ever connects.
    if (::chmod(address.sun_path, S_IRWXU) != 0 || ::listen(m_listenFd, SOMAXCONN) != 0) {
        const int saved = errno;
        ::unlink(address.sun_path);
        errno = saved;
        return fail("listen");
    }
    m_path = path;
    m_listenNotifier = std::make_unique<QSocketNotifier>(m_listenFd, QSocketNotifier::Read);
    QObject::connect(m_listenNotifier.get(), &QSocketNotifier::activated, m_listenNotifier.get(),
                     [this] { Accept(); });
    return true;
}

void InstanceServer::Close() {
    if (m_listenFd < 0) return;
    // The handler that calls this runs from a client's notifier, never from this one.
    m_listenNotifier.reset();
    ::close(m_listenFd);
    m_listenFd = -1;
    QFile::remove(m_path);
}

void InstanceServer::Accept() {
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0 && errno == EINTR) continue;
        if (fd < 0) return;
        auto connection = std::make_unique<Connection>(fd);
        Connection* raw = connection.get();
        // A request that came with the connection is read from the event loop, not here.
        QObject::connect(raw->notifier, &QSocketNotifier::activated, raw->notifier,
                         [this, raw] { Read(raw); });
        // A client that connects and says nothing is dropped. The timer is looked up by its
        // notifier, which outlives the connection and takes the timer with it when it goes.
        QSocketNotifier* notifier = raw->notifier;
        QTimer::singleShot(kRequestTimeoutMs, notifier, [this, notifier] { Take(notifier); });
        m_connections.push_back(std::move(connection));
    }
}

void InstanceServer::Read(Connection* connection) {
    const ssize_t n = ::recv(connection->fd, connection->request + connection->received,
                             static_cast<size_t>(kInstanceRequestSize - connection->received), 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {
        Take(connection->notifier);  // gone before its request was whole
        return;
    }
    connection->received += static_cast<int>(n);
    if (connection->received < kInstanceRequestSize) return;

    // Out of the list before the handler runs: it may close the server or turn the event loop.
    const std::unique_ptr<Connection> answering = Take(connection->notifier);
    const WindowMessage message = DecodeInstanceRequest(answering->request);
    const uint32_t answer = m_handler ? m_handler(message) : 0;

    char bytes[kInstanceAnswerSize];
    qToLittleEndian<uint32_t>(answer, bytes);
    // Four bytes fit in any socket buffer; a client that has gone is simply not answered.
    SendAll(answering->fd, bytes, sizeof bytes, QDeadlineTimer(0));
}

std::unique_ptr<InstanceServer::Connection> InstanceServer::Take(QSocketNotifier* notifier) {
    const auto it = std::find_if(m_connections.begin(), m_connections.end(),
                                 [notifier](const auto& c) { return c->notifier == notifier; });
    if (it == m_connections.end()) return nullptr;
    std::unique_ptr<Connection> taken = std::move(*it);
    m_connections.erase(it);
    taken->notifier->setEnabled(false);  // nothing more is read, even while the handler runs
    return taken;
}

}  // namespace vantor
