#pragma once

#include "device/HidBackend.h"
#include "emulator/EmulatedKeyboard.h"

#include <memory>

namespace vantor {

// The in-process keyboard behind the HID backend interface: while plugged, Enumerate lists
// the keyboard's three interfaces and Open gives channels on them; while unplugged there is
// nothing to list, open or probe.
class EmulatorBackend : public HidBackend {
public:
    explicit EmulatorBackend(const FirmwareVariant& variant = FirmwareVariant::B(),
                             size_t macroCapacity = KeyboardFirmware::kDefaultMacroCapacity);
    explicit EmulatorBackend(std::shared_ptr<EmulatedKeyboard> keyboard);

    bool Enumerate(QStringList* paths) override;
    std::unique_ptr<HidChannel> Open(const QString& path, bool read, bool write) override;
    bool Probe(const QString& path) override;

    EmulatedKeyboard& Keyboard() { return *m_keyboard; }
    std::shared_ptr<EmulatedKeyboard> SharedKeyboard() const { return m_keyboard; }
    void Plug() { m_keyboard->Plug(); }
    void Unplug() { m_keyboard->Unplug(); }

private:
    std::shared_ptr<EmulatedKeyboard> m_keyboard;
};

}  // namespace vantor
