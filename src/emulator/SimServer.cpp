#include "emulator/SimServer.h"

#include "device/SimSocket.h"
#include "emulator/SimServerSession.h"

#include <QDir>
#include <QLocalSocket>

namespace vantor {

SimServer::SimServer(std::shared_ptr<EmulatedKeyboard> keyboard) : m_backend(std::move(keyboard)) {
    QObject::connect(&m_server, &QLocalServer::newConnection, &m_server, [this] {
        std::erase_if(m_sessions, [](const auto& session) { return session.isNull(); });
        while (QLocalSocket* socket = m_server.nextPendingConnection())
            m_sessions.emplace_back(new SimServerSession(socket, &m_backend, &m_server));
    });
}

SimServer::~SimServer() { Close(); }

bool SimServer::Listen(const QString& name, QString* error) {
    if (name.isEmpty()) {
        *error = QStringLiteral("no socket path");
        return false;
    }
    // QLocalServer would put a bare file name in the temporary folder; clients take it as
    // relative to the current one, and so does the emulator.
    const QString path = QDir::current().absoluteFilePath(name);
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
    // Delete the sessions now, closing their handles while the keyboard is still here.
    for (const auto& session : m_sessions) delete session.data();
    m_sessions.clear();
}

}  // namespace vantor
