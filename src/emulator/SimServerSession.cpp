#include "emulator/SimServerSession.h"

#include "emulator/EmulatorBackend.h"
#include "emulator/SimControl.h"

#include <QLocalSocket>
#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

namespace vantor {

SimServerSession::SimServerSession(QLocalSocket* socket, EmulatorBackend* backend,
                                   QObject* parent)
    : QObject(parent), m_socket(socket), m_backend(backend) {
    m_socket->setParent(this);
    QObject::connect(m_socket, &QLocalSocket::readyRead, this, [this] { OnReadyRead(); });
    QObject::connect(m_socket, &QLocalSocket::disconnected, this, [this] { deleteLater(); });
    OnReadyRead();
}

SimServerSession::~SimServerSession() {
    if (m_channel) {
        m_channel->Abort();
        if (m_pump.joinable()) m_pump.join();
    }
    if (m_watch.joinable()) {
        m_stopWatch = true;
        m_backend->Keyboard().WakeWaiters();
        m_watch.join();
    }
    delete m_wakeNotifier;
    if (m_wake >= 0) ::close(m_wake);
}

void SimServerSession::OnReadyRead() {
    m_reader.Append(m_socket->readAll());
    while (auto message = m_reader.Next()) Handle(*message);
    // A client that speaks something else is not worth answering.
    if (m_reader.Broken()) m_socket->abort();
}

void SimServerSession::Send(const SimMessage& message) {
    if (m_socket->state() == QLocalSocket::ConnectedState) m_socket->write(EncodeSimFrame(message));
}

void SimServerSession::Handle(const SimMessage& message) {
    SimMessage reply;
    reply.id = message.id;
    switch (message.op) {
    case SimOp::Enumerate:
        reply.op = SimOp::EnumerateReply;
        m_backend->Enumerate(&reply.strings);
        break;
    case SimOp::Probe:
        HandleProbe(message);
        return;
    case SimOp::Open:
        HandleOpen(message);
        return;
    case SimOp::Write: {
        reply.op = SimOp::WriteReply;
        size_t written = 0;
        const HidIoResult result =
            m_channel ? m_channel->Write(reinterpret_cast<const uint8_t*>(message.bytes.constData()),
                                         static_cast<size_t>(message.bytes.size()), &written, 0)
                      : HidIoResult::Failed;
        reply.numbers = {static_cast<int32_t>(result), static_cast<int32_t>(written)};
        break;
    }
    case SimOp::Control: {
        reply.op = SimOp::ControlReply;
        const SimControlResult result = RunSimControl(m_backend->Keyboard(), message.strings);
        reply.numbers = {result.accepted ? 1 : 0};
        reply.strings = {result.text};
        break;
    }
    default:
        return;  // not a question; ignored
    }
    Send(reply);
}

void SimServerSession::HandleOpen(const SimMessage& message) {
    SimMessage reply(SimOp::OpenReply, message.id);
    const bool read = message.Number(0) != 0;
    // One handle per connection: a second Open, or one on a watch, is refused.
    if (!m_channel && !m_watch.joinable()) m_channel = m_backend->Open(message.String(0), read, message.Number(1) != 0);
    if (!m_channel || m_opened) {
        reply.numbers = {0};
        Send(reply);
        return;
    }
    m_opened = true;
    const HidAttributes attributes = m_channel->Attributes();
    reply.numbers = {1, attributes.vendorId, attributes.productId, attributes.versionNumber};
    reply.bytes = m_channel->ReportDescriptor();
    Send(reply);
    // A handle opened without read access gets nothing to pump.
    if (read) StartPump();
}

void SimServerSession::HandleProbe(const SimMessage& message) {
    SimMessage reply(SimOp::ProbeReply, message.id);
    const bool present = m_backend->Probe(message.String(0));
    reply.numbers = {present ? 1 : 0};
    Send(reply);
    // One watch per connection, and none on a connection that is a handle.
    if (!present || m_channel || m_watch.joinable()) return;
    if (!CreateWake([this] { m_socket->abort(); })) return;
    m_watch = std::thread([this] {
        if (m_backend->Keyboard().WaitForUnplug(m_stopWatch)) Wake();
    });
}

bool SimServerSession::CreateWake(std::function<void()> onWake) {
    if (m_wake >= 0) return false;
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wake < 0) return false;
    m_wakeNotifier = new QSocketNotifier(m_wake, QSocketNotifier::Read, this);
    QObject::connect(m_wakeNotifier, &QSocketNotifier::activated, this,
                     [this, onWake = std::move(onWake)] {
                         uint64_t count = 0;
                         [[maybe_unused]] const ssize_t n = ::read(m_wake, &count, sizeof(count));
                         onWake();
                     });
    return true;
}

void SimServerSession::Wake() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wake, &one, sizeof(one));
}

void SimServerSession::StartPump() {
    if (!CreateWake([this] { SendPumped(); })) return;
    m_pump = std::thread([this, channel = m_channel.get()] {
        for (;;) {
            uint8_t buffer[64];
            size_t length = 0;
            const HidIoResult result = channel->Read(buffer, sizeof(buffer), &length, -1);
            if (result == HidIoResult::Aborted) return;  // the session is closing
            SimMessage message(result == HidIoResult::Done ? SimOp::Input : SimOp::ChannelFailed);
            if (result == HidIoResult::Done)
                message.bytes = QByteArray(reinterpret_cast<const char*>(buffer),
                                           static_cast<qsizetype>(length));
            {
                std::lock_guard lock(m_outboxMutex);
                m_outbox.push_back(message);
            }
            Wake();
            if (result != HidIoResult::Done) return;
        }
    });
}

void SimServerSession::SendPumped() {
    std::deque<SimMessage> messages;
    {
        std::lock_guard lock(m_outboxMutex);
        messages.swap(m_outbox);
    }
    for (const SimMessage& message : messages) Send(message);
}

}  // namespace vantor
