#include "emulator/EmulatorBackend.h"

#include "emulator/EmulatorChannel.h"

namespace vantor {

EmulatorBackend::EmulatorBackend(const FirmwareVariant& variant, size_t macroCapacity)
    : m_keyboard(std::make_shared<EmulatedKeyboard>(variant, macroCapacity)) {}

EmulatorBackend::EmulatorBackend(std::shared_ptr<EmulatedKeyboard> keyboard)
    : m_keyboard(std::move(keyboard)) {}

bool EmulatorBackend::Enumerate(QStringList* paths) {
    *paths = m_keyboard->InterfacePaths();
    return true;
}

std::unique_ptr<HidChannel> EmulatorBackend::Open(const QString& path, bool read, bool write) {
    const auto which = m_keyboard->InterfaceOfPath(path);
    if (!which) return nullptr;
    const int endpoint = m_keyboard->OpenEndpoint(*which, read, write);
    if (endpoint < 0) return nullptr;
    return std::make_unique<EmulatorChannel>(m_keyboard, *which, endpoint);
}

bool EmulatorBackend::Probe(const QString& path) {
    return m_keyboard->InterfaceOfPath(path).has_value();
}

}  // namespace vantor
