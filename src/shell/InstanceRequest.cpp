#include "shell/InstanceRequest.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <QtEndian>

namespace vantor {

namespace {

constexpr int kConnectRetryMs = 20;

int Remaining(const QDeadlineTimer& deadline) {
    return int(std::max<qint64>(1, deadline.remainingTime()));
}

}  // namespace

std::optional<uint32_t> SendInstanceRequest(const QString& serverPath, uint32_t message,
                                            uint32_t wParam, int timeoutMs,
                                            uint32_t lParam) {
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(serverPath);
        if (socket.waitForConnected(Remaining(deadline))) break;
        socket.abort();
        if (deadline.hasExpired()) return std::nullopt;
        QThread::msleep(kConnectRetryMs);
    }

    char request[kInstanceRequestSize];
    qToLittleEndian<uint32_t>(message, request);
    qToLittleEndian<uint32_t>(wParam, request + 4);
    qToLittleEndian<uint32_t>(lParam, request + 8);
    socket.write(request, sizeof request);
    if (!socket.waitForBytesWritten(Remaining(deadline))) return std::nullopt;

    while (socket.bytesAvailable() < kInstanceAnswerSize) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(Remaining(deadline))) {
            // The instance may have closed the connection right after answering.
            if (socket.bytesAvailable() >= kInstanceAnswerSize) break;
            return std::nullopt;
        }
    }
    const QByteArray answer = socket.read(kInstanceAnswerSize);
    return qFromLittleEndian<uint32_t>(answer.constData());
}

}  // namespace vantor
