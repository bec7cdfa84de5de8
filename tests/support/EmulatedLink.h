#pragma once

#include "device/CommandReport.h"
#include "device/DeviceLink.h"
#include "device/DeviceState.h"
#include "emulator/EmulatorBackend.h"

#include <functional>
#include <memory>
#include <vector>

namespace vantor::test {

// A DeviceLink connected to an in-process emulated keyboard, as the device monitor leaves it:
// the vendor interface open, the variant set, the open flag up. Reads time out after 30 ms,
// so a test of silence does not wait four times 300 ms; the emulator answers at once.
class EmulatedLink {
public:
    // wrap may put a layer between the link and the emulator (for example to alter replies).
    using Wrap = std::function<std::shared_ptr<HidBackend>(std::shared_ptr<HidBackend>)>;

    explicit EmulatedLink(const FirmwareVariant& variant = FirmwareVariant::B(),
                          const Wrap& wrap = nullptr);

    DeviceLink& Link() { return *m_link; }
    EmulatedKeyboard& Keyboard() { return m_emulator->Keyboard(); }
    // The emulator itself, for a second program (vantorctl) to open the same keyboard.
    std::shared_ptr<EmulatorBackend> Emulator() const { return m_emulator; }
    bool Connected() const { return m_connected; }
    // Opens the vendor interface again, as the device monitor does when the keyboard is back
    // after an unplug; false when it is not there.
    bool Reconnect();

    // Puts into the state what the device monitor reads on the keyboard's arrival: its default
    // key matrix (zeros after its key-map block) and its macro capacity.
    void FillDeviceState(DeviceState& state);

    // What crossed the vendor interface, in order: requests the keyboard received, and the
    // replies it sent.
    std::vector<CommandReport> Requests() const;
    std::vector<CommandReport> Replies() const;

private:
    std::shared_ptr<EmulatorBackend> m_emulator;
    std::unique_ptr<DeviceLink> m_link;
    bool m_connected = false;
};

}  // namespace vantor::test
