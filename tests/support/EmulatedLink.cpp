#include "support/EmulatedLink.h"

#include <algorithm>
#include <cstring>

namespace vantor::test {

namespace {

std::vector<CommandReport> VendorReports(const EmulatedKeyboard& keyboard,
                                         ReportLogEntry::Direction direction) {
    std::vector<CommandReport> reports;
    for (const ReportLogEntry& entry : keyboard.Log()) {
        if (entry.which == EmulatedInterface::Vendor && entry.direction == direction) {
            CommandReport report;
            std::memcpy(report.Bytes(), entry.bytes.data(), sizeof report);
            reports.push_back(report);
        }
    }
    return reports;
}

}  // namespace

EmulatedLink::EmulatedLink(const FirmwareVariant& variant, const Wrap& wrap)
    : m_emulator(std::make_shared<EmulatorBackend>(variant)) {
    std::shared_ptr<HidBackend> backend = m_emulator;
    if (wrap) {
        backend = wrap(backend);
    }
    m_link = std::make_unique<DeviceLink>(backend);
    m_link->SetTimeouts({1000, 30, 10});
    Reconnect();
}

bool EmulatedLink::Reconnect() {
    m_connected = false;
    m_link->SetDeviceOpen(false);
    HidDevice& device = m_link->VendorDevice();
    device.Enumerate();
    while (const auto path = device.NextPath()) {
        if (device.Open(*path, true, true, true, false) && device.UsagePage() == 0xFF1C &&
            device.Usage() == 0x92) {
            const DeviceVariant* known = FindDeviceVariant(device.VendorId(), device.ProductId());
            m_link->SetVariant(known != nullptr ? *known : kVariantA);
            m_link->SetDeviceOpen(true);
            m_connected = true;
            break;
        }
    }
    device.FreePaths();
    return m_connected;
}

void EmulatedLink::FillDeviceState(DeviceState& state) {
    const KeyboardFirmware firmware = Keyboard().Firmware();
    const auto factory = firmware.DefaultKeyMatrix();
    KeyMatrix matrix{};
    std::copy(factory.begin(), factory.end(), matrix.begin());
    state.SetDefaultKeyMatrix(matrix);
    state.SetMacroCapacity(firmware.MacroCapacity());
}

std::vector<CommandReport> EmulatedLink::Requests() const {
    return VendorReports(m_emulator->Keyboard(), ReportLogEntry::Direction::Received);
}

std::vector<CommandReport> EmulatedLink::Replies() const {
    return VendorReports(m_emulator->Keyboard(), ReportLogEntry::Direction::Sent);
}

}  // namespace vantor::test
