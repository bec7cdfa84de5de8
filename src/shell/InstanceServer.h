#pragma once

#include "shell/InstanceMessages.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace vantor {

// The running instance's end of the instance socket, a Unix stream socket. A request is one
// WindowMessage, three little-endian 32-bit words (id, tag, argument); the answer is one word,
// the handler's result, written only after the handler has returned, so a "KILL" is answered
// once the shutdown has run. Requests are handled on the thread that owns the server, inside
// its event loop; a slow client never blocks it.
class InstanceServer {
public:
    using Handler = std::function<uint32_t(const WindowMessage& message)>;

    explicit InstanceServer(Handler handler);
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    // Listens on the path, replacing a socket file left by an instance that ended without
    // removing it: the caller holds the instance lock, so no live instance owns that file.
    // Only the user may connect. On failure the error says which step failed and why.
    bool Listen(const QString& path, QString* error = nullptr);
    // Stops taking connections and removes the socket file. A request being answered still
    // gets its answer, and the handler may call this while answering.
    void Close();
    bool IsListening() const { return m_listenFd >= 0; }

    // How long a client may take to send its request before it is dropped.
    static constexpr int kRequestTimeoutMs = 5000;

private:
    struct Connection;

    void Accept();
    void Read(Connection* connection);
    // Takes the connection of the notifier out of the list, reading no more from it; it closes
    // when the result goes. Nothing when it has already gone.
    std::unique_ptr<Connection> Take(QSocketNotifier* notifier);

    Handler m_handler;
    QString m_path;
    int m_listenFd = -1;
    std::unique_ptr<QSocketNotifier> m_listenNotifier;
    std::vector<std::unique_ptr<Connection>> m_connections;
};

}  // namespace vantor
