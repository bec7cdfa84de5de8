#include "emulator/EmulatorChannel.h"

#include "emulator/EmulatedKeyboard.h"

namespace vantor {

EmulatorChannel::EmulatorChannel(std::shared_ptr<EmulatedKeyboard> keyboard,
                                 EmulatedInterface which, int endpoint)
    : m_keyboard(std::move(keyboard)), m_which(which), m_endpoint(endpoint) {}

EmulatorChannel::~EmulatorChannel() { m_keyboard->CloseEndpoint(m_endpoint); }

HidAttributes EmulatorChannel::Attributes() const { return m_keyboard->Attributes(); }

QByteArray EmulatorChannel::ReportDescriptor() const { return EmulatedReportDescriptor(m_which); }

HidIoResult EmulatorChannel::Read(uint8_t* buffer, size_t length, size_t* bytesRead,
                                  int timeoutMs) {
    return m_keyboard->Read(m_endpoint, buffer, length, bytesRead, timeoutMs);
}

// The keyboard takes a report at once or not at all, so the time-out never comes into play.
HidIoResult EmulatorChannel::Write(const uint8_t* buffer, size_t length, size_t* bytesWritten,
                                   int /*timeoutMs*/) {
    return m_keyboard->Write(m_endpoint, buffer, length, bytesWritten);
}

HidIoResult EmulatorChannel::WaitGone(int timeoutMs) {
    return m_keyboard->WaitGone(m_endpoint, timeoutMs);
}

void EmulatorChannel::Abort() { m_keyboard->Abort(m_endpoint); }

}  // namespace vantor
