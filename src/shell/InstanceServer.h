#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace vantor {

// The running instance's end of the instance socket. A request is three little-endian 32-bit
// words, the message, its wParam and its lParam; the answer is one word, the handler's result,
// written only after the handler has returned, so a "KILL" is answered once the shutdown has run.
// Requests are handled on the thread that owns the server, inside its event loop.
class InstanceServer {
public:
    using Handler = std::function<uint32_t(uint32_t message, uint32_t wParam, uint32_t lParam)>;

    explicit InstanceServer(Handler handler);
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    // Listens on the path, replacing a socket file left by an instance that ended without
    // removing it: the caller holds the instance lock, so no live instance owns that file.
    bool Listen(const QString& path, QString* error = nullptr);
    // Stops taking requests and removes the socket file. A request being answered still gets
    // its answer.
    void Close();
    bool IsListening() const;

    // How long a client may take to send its request before it is dropped.
    static constexpr int kRequestTimeoutMs = 5000;

private:
    void Accept();
    void Read(QLocalSocket* socket);

    Handler m_handler;
    std::unique_ptr<QLocalServer> m_server;
};

}  // namespace vantor
