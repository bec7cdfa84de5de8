#pragma once

#include "device/HidBackend.h"
#include "emulator/EmulatedInterface.h"

#include <memory>

namespace vantor {

class EmulatedKeyboard;

// An open handle on one interface of an emulated keyboard; closing it (destruction) drops
// the reports still queued for it.
class EmulatorChannel : public HidChannel {
public:
    EmulatorChannel(std::shared_ptr<EmulatedKeyboard> keyboard, EmulatedInterface which,
                    int endpoint);
    ~EmulatorChannel() override;

    HidAttributes Attributes() const override;
    QByteArray ReportDescriptor() const override;
    HidIoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs) override;
    HidIoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                      int timeoutMs) override;
    HidIoResult WaitGone(int timeoutMs) override;
    void Abort() override;

private:
    std::shared_ptr<EmulatedKeyboard> m_keyboard;
    EmulatedInterface m_which;
    int m_endpoint;
};

}  // namespace vantor
