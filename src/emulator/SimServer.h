#pragma once

#include "emulator/EmulatorBackend.h"

#include <QLocalServer>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

namespace vantor {

class SimServerSession;

// Serves one emulated keyboard on a local socket to any number of clients (SimSocketBackend),
// as several programs may open one device node. Runs on the thread of a Qt event loop.
class SimServer {
public:
    explicit SimServer(std::shared_ptr<EmulatedKeyboard> keyboard);
    ~SimServer();

    // Starts listening at the path. Refused when another emulator answers there; a socket
    // file left behind by one that is gone is replaced.
    bool Listen(const QString& path, QString* error);
    // Stops listening, removes the socket file and drops every client.
    void Close();

    EmulatedKeyboard& Keyboard() { return m_backend.Keyboard(); }

private:
    EmulatorBackend m_backend;
    QLocalServer m_server;
    // Sessions delete themselves when their client goes; QPointer notices.
    std::vector<QPointer<SimServerSession>> m_sessions;
};

}  // namespace vantor
