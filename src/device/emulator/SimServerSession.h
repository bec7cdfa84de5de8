#pragma once

#include "device/HidBackend.h"
#include "device/emulator/SimMessage.h"

#include <QObject>

#include <memory>
#include <thread>

class QLocalSocket;

namespace vantor {

class EmulatorBackend;

// One client connection of the emulator process. It answers questions, and after Open it is
// one handle on one interface: writes go to the keyboard, and a pump thread reads the
// handle's input reports and hands them to this object's thread to be pushed to the client.
// Deleted when the client disconnects; the handle closes with it.
class SimServerSession : public QObject {
public:
    SimServerSession(QLocalSocket* socket, EmulatorBackend* backend, QObject* parent);
    ~SimServerSession() override;

private:
    void OnReadyRead();
    void Handle(const SimMessage& message);
    void HandleOpen(const SimMessage& message);
    void Send(const SimMessage& message);
    void StartPump();

    QLocalSocket* m_socket;
    EmulatorBackend* m_backend;
    SimFrameReader m_reader;
    std::unique_ptr<HidChannel> m_channel;
    bool m_opened = false;
    std::thread m_pump;
};

}  // namespace vantor
