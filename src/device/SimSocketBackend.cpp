#include "device/SimSocketBackend.h"

#include "device/SimSocketChannel.h"

namespace vantor {

SimSocketBackend::SimSocketBackend(QString socketPath) : m_socketPath(std::move(socketPath)) {}

bool SimSocketBackend::Ask(SimMessage request, SimOp replyOp, SimMessage* reply) {
    std::lock_guard lock(m_mutex);
    // A connection left from an emulator that has since stopped fails at once; one retry on
    // a fresh connection reaches a restarted one.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!m_questions) {
            auto socket = std::make_unique<SimSocket>();
            if (!socket->Connect(m_socketPath)) return false;
            m_questions = std::move(socket);
        }
        request.id = m_nextId++;
        if (m_questions->Send(request) &&
            m_questions->ReceiveReply(replyOp, request.id, reply, kAnswerTimeoutMs) ==
                SimSocket::Received::Message)
            return true;
        m_questions.reset();
    }
    return false;
}

std::unique_ptr<SimSocket> SimSocketBackend::AskOnNewConnection(const SimMessage& request,
                                                                SimOp replyOp,
                                                                SimMessage* reply) {
    auto socket = std::make_unique<SimSocket>();
    if (!socket->Connect(m_socketPath) || !socket->Send(request) ||
        socket->ReceiveReply(replyOp, request.id, reply, kAnswerTimeoutMs) !=
            SimSocket::Received::Message)
        return nullptr;
    return socket;
}

bool SimSocketBackend::Enumerate(QStringList* paths) {
    paths->clear();
    SimMessage reply;
    if (Ask(SimMessage(SimOp::Enumerate), SimOp::EnumerateReply, &reply)) *paths = reply.strings;
    return true;
}

bool SimSocketBackend::Probe(const QString& path) {
    std::lock_guard lock(m_watchMutex);
    if (m_watch && m_watchPath == path) {
        if (m_watch->IsQuiet()) return true;
        // Closed by the emulator: the interface went, or the emulator stopped.
        m_watch.reset();
        return false;
    }
    m_watch.reset();
    SimMessage request(SimOp::Probe, 1);
    request.strings = {path};
    SimMessage reply;
    auto socket = AskOnNewConnection(request, SimOp::ProbeReply, &reply);
    if (!socket || reply.Number(0) != 1) return false;
    m_watch = std::move(socket);
    m_watchPath = path;
    return true;
}

bool SimSocketBackend::IsServerReachable() {
    SimMessage reply;
    return Ask(SimMessage(SimOp::Enumerate), SimOp::EnumerateReply, &reply);
}

bool SimSocketBackend::Control(const QStringList& action, bool* accepted, QString* text) {
    SimMessage request(SimOp::Control);
    request.strings = action;
    SimMessage reply;
    if (!Ask(request, SimOp::ControlReply, &reply)) return false;
    *accepted = reply.Number(0) == 1;
    *text = reply.String(0);
    return true;
}

std::unique_ptr<HidChannel> SimSocketBackend::Open(const QString& path, bool read, bool write) {
    SimMessage request(SimOp::Open, 1);
    request.strings = {path};
    request.numbers = {read ? 1 : 0, write ? 1 : 0};
    SimMessage reply;
    auto socket = AskOnNewConnection(request, SimOp::OpenReply, &reply);
    if (!socket || reply.Number(0) != 1) return nullptr;
    const HidAttributes attributes{static_cast<uint16_t>(reply.Number(1)),
                                   static_cast<uint16_t>(reply.Number(2)),
                                   static_cast<uint16_t>(reply.Number(3))};
    return std::make_unique<SimSocketChannel>(std::move(socket), attributes, reply.bytes);
}

}  // namespace vantor
