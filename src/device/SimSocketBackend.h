#pragma once

#include "device/HidBackend.h"
#include "device/SimSocket.h"

#include <QString>

#include <memory>
#include <mutex>

namespace vantor {

// The keyboard of a running emulator process, reached over its local socket. Every open
// channel has a connection of its own; listing and probing share one more, made again when
// the emulator restarts. With no emulator listening the keyboard is simply absent: Enumerate
// succeeds with no paths, so a caller keeps looking until one starts.
class SimSocketBackend : public HidBackend {
public:
    explicit SimSocketBackend(QString socketPath);

    bool Enumerate(QStringList* paths) override;
    std::unique_ptr<HidChannel> Open(const QString& path, bool read, bool write) override;
    bool Probe(const QString& path) override;

    const QString& SocketPath() const { return m_socketPath; }
    // Whether an emulator answers at the socket path now.
    bool IsServerReachable();

    // Runs one control action of the emulator ("plug", "switch 1", "log", ...). False when no
    // emulator answered; otherwise *accepted and *text carry its answer.
    bool Control(const QStringList& action, bool* accepted, QString* text);

    // How long a question to the emulator may take before it counts as unanswered.
    static constexpr int kAnswerTimeoutMs = 2000;

private:
    // One question on the shared connection; false when no answer came.
    bool Ask(SimMessage request, SimOp replyOp, SimMessage* reply);

    const QString m_socketPath;
    std::mutex m_mutex;
    std::unique_ptr<SimSocket> m_questions;
    uint32_t m_nextId = 1;
};

}  // namespace vantor
