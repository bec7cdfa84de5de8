#include "device/emulator/SimServer.h"

#include "device/emulator/SimServerSession.h"
#include "device/emulator/SimSocket.h"

#include <QLocalSocket>

namespace vantor {

SimServer::SimServer(std::shared_ptr<EmulatedKeyboard> keyboard) : m_backend(std::move(keyboard)) {
    QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection())
            new SimServerSession(socket, &m_backend, &m_server);
    });
}

SimServer::~SimServer() { Close(); }

bool SimServer::Listen(const QString& path, QString* error) {
    if (path.isEmpty()) {
        *error = QStringLiteral("no socket path");
        return false;
    }
    if (SimSocket probe; probe.Connect(path)) {
        *error = QStringLiteral("an emulator is already running on %1").arg(path);
        return false;
    }
    QLocalServer::removeServer(path);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(path)) {
        *error = QStringLiteral("cannot listen on %1: %2").arg(path, m_server.errorString());
        return false;
    }
    return true;
}

void SimServer::Close() {
    m_server.close();
    // Sessions are children of the server object; delete them now, closing their handles.
    const auto sessions = m_server.findChildren<SimServerSession*>(Qt::FindDirectChildrenOnly);
    for (SimServerSession* session : sessions) delete session;
}

}  // namespace vantor
