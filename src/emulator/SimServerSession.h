#pragma once

#include "device/HidBackend.h"
#include "device/SimMessage.h"

#include <QObject>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QLocalSocket;
class QSocketNotifier;

namespace vantor {

class EmulatorBackend;

// One client connection of the emulator process. It answers questions, and after Open it is
// one handle on one interface: writes go to the keyboard, and a pump thread reads the
// handle's input reports into an outbox and wakes this object's thread (an eventfd watched
// by the event loop), which pushes them to the client. After a present Probe it watches the
// interface instead: a thread waits for the unplug, and the connection is then closed.
// Deleted when the client disconnects; the handle closes with it.
class SimServerSession : public QObject {
public:
    SimServerSession(QLocalSocket* socket, EmulatorBackend* backend, QObject* parent);
    ~SimServerSession() override;

private:
    void OnReadyRead();
    void Handle(const SimMessage& message);
    void HandleOpen(const SimMessage& message);
    void HandleProbe(const SimMessage& message);
    // The eventfd that wakes this object's thread from a worker, and what it then runs.
    bool CreateWake(std::function<void()> onWake);
    void Wake();
    void Send(const SimMessage& message);
    void StartPump();
    void SendPumped();

    QLocalSocket* m_socket;
    EmulatorBackend* m_backend;
    SimFrameReader m_reader;
    std::unique_ptr<HidChannel> m_channel;
    bool m_opened = false;
    std::thread m_pump;
    // A present Probe makes the connection a watch: this thread waits for the unplug.
    std::thread m_watch;
    std::atomic<bool> m_stopWatch{false};
    std::mutex m_outboxMutex;
    std::deque<SimMessage> m_outbox;
    int m_wake = -1;
    QSocketNotifier* m_wakeNotifier = nullptr;
};

}  // namespace vantor
