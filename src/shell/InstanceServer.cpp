#include "shell/InstanceServer.h"

#include "shell/InstanceRequest.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QtEndian>

namespace vantor {

InstanceServer::InstanceServer(Handler handler) : m_handler(std::move(handler)) {}

InstanceServer::~InstanceServer() {
    if (m_server) m_server->close();
}

bool InstanceServer::Listen(const QString& path, QString* error) {
    Close();
    QLocalServer::removeServer(path);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        if (error) *error = m_server->errorString();
        m_server.reset();
        return false;
    }
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(),
                     [this] { Accept(); });
    return true;
}

void InstanceServer::Close() {
    if (!m_server) return;
    // Sockets being answered are not children of the server, so they outlive it. The server
    // goes later: a handler may close it from inside one of its own signals.
    m_server->close();
    m_server.release()->deleteLater();
}

bool InstanceServer::IsListening() const { return m_server && m_server->isListening(); }

void InstanceServer::Accept() {
    while (QLocalSocket* socket = m_server ? m_server->nextPendingConnection() : nullptr) {
        socket->setParent(nullptr);
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Read(socket); });
        // A client that connects and says nothing is dropped.
        QTimer::singleShot(kRequestTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        // A request that came with the connection is read from the event loop, not here.
        if (socket->bytesAvailable() > 0) {
            QMetaObject::invokeMethod(socket, [this, socket] { Read(socket); }, Qt::QueuedConnection);
        }
    }
}

void InstanceServer::Read(QLocalSocket* socket) {
    if (socket->bytesAvailable() < kInstanceRequestSize) return;
    QObject::disconnect(socket, &QLocalSocket::readyRead, nullptr, nullptr);
    const QByteArray request = socket->read(kInstanceRequestSize);
    const uint32_t message = qFromLittleEndian<uint32_t>(request.constData());
    const uint32_t wParam = qFromLittleEndian<uint32_t>(request.constData() + 4);
    const uint32_t lParam = qFromLittleEndian<uint32_t>(request.constData() + 8);
    const uint32_t answer = m_handler ? m_handler(message, wParam, lParam) : 0;

    char bytes[kInstanceAnswerSize];
    qToLittleEndian<uint32_t>(answer, bytes);
    socket->write(bytes, sizeof bytes);
    socket->flush();
    socket->disconnectFromServer();
    if (socket->state() == QLocalSocket::UnconnectedState) socket->deleteLater();
}

}  // namespace vantor
