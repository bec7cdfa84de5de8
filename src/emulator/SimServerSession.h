#pragma once

#include "device/HidBackend.h"
#include "device/SimMessage.h"

#include <QObject>

#include <atomic>
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
// handle's input reports and sends each to the client the moment it is due, with no hop
// through the event loop. Everything sent goes out on a duplicate of the connection's
// descriptor under one lock, so answers and reports never interleave and the pump never
// writes to a descriptor that Qt has closed and the system may have reused. After a present
// Probe it watches the interface instead: a thread waits for the unplug, and the connection is
// then closed. Deleted when the client disconnects; the handle closes with it.
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
    // Sends from any thread. A client that takes nothing for a long while loses the connection.
    void Send(const SimMessage& message);
    // Ends the connection for both ends, whatever descriptors are still open on it.
    void Close();
    void StartPump();

    QLocalSocket* m_socket;
    EmulatorBackend* m_backend;
    SimFrameReader m_reader;
    std::unique_ptr<HidChannel> m_channel;
    bool m_opened = false;
    std::thread m_pump;
    // A present Probe makes the connection a watch: this thread waits for the unplug.
    std::thread m_watch;
    std::atomic<bool> m_stopWatch{false};
    std::mutex m_sendMutex;
    int m_sendFd = -1;
    int m_wake = -1;
    QSocketNotifier* m_wakeNotifier = nullptr;
};

}  // namespace vantor
