#pragma once

#include "device/HidBackend.h"
#include "device/SimSocket.h"

#include <QString>

#include <memory>
#include <mutex>

namespace vantor {

// The keyboard of a running emulator process, reached over its local socket. Every open
// channel has a connection of its own; listing and control share one more, made again when
// the emulator restarts. A probe that finds its interface present keeps its connection as a
// watch, which the emulator closes when the interface goes: while it stays open, the next
// probe of that path is one poll that does not wait, with no message either way. With no emulator listening the keyboard is simply absent: Enumerate
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
    // A connection of its own that has asked one question and got the answer; null when no
    // emulator answered. Kept as an open handle or a watch.
    std::unique_ptr<SimSocket> AskOnNewConnection(const SimMessage& request, SimOp replyOp,
                                                  SimMessage* reply);

    const QString m_socketPath;
    std::mutex m_mutex;
    std::unique_ptr<SimSocket> m_questions;
    uint32_t m_nextId = 1;
    std::mutex m_watchMutex;
    std::unique_ptr<SimSocket> m_watch;
    QString m_watchPath;
};

}  // namespace vantor
