// Host CPU time of the transport against the in-process emulated keyboard. The emulator
// answers within the write call, so this is the cost of framing, checksums, locking, the
// backend and the firmware model, with no waiting.

#include "device/DeviceLink.h"
#include "device/KeyMapCommands.h"
#include "device/StatusCommands.h"
#include "emulator/EmulatorBackend.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace vantor {
namespace {

class ConnectedLink {
public:
    explicit ConnectedLink(const FirmwareVariant& variant)
        : m_emulator(std::make_shared<EmulatorBackend>(variant)), m_link(m_emulator) {
        HidDevice& device = m_link.VendorDevice();
        device.Enumerate();
        while (const auto path = device.NextPath()) {
            if (device.Open(*path, true, true, true, false) && device.UsagePage() == 0xFF1C) {
                m_link.SetVariant(*FindDeviceVariant(device.VendorId(), device.ProductId()));
                m_link.SetDeviceOpen(true);
                break;
            }
        }
    }
    DeviceLink& Link() { return m_link; }
    // The emulator keeps every report; drop them now and then so memory stays flat.
    void TrimLog(int64_t iteration) {
        if (iteration % 4096 == 0) {
            m_emulator->Keyboard().ClearLog();
        }
    }

private:
    std::shared_ptr<EmulatorBackend> m_emulator;
    DeviceLink m_link;
};

void BM_ExchangeReadStatus(benchmark::State& state) {
    ConnectedLink link(FirmwareVariant::B());
    StatusBlock status{};
    int64_t n = 0;
    for (auto _ : state) {
        if (ReadStatus(link.Link(), &status) != CommandResult::Ok) {
            state.SkipWithError("Read status failed");
            break;
        }
        link.TrimLog(++n);
    }
}
BENCHMARK(BM_ExchangeReadStatus);

void BM_WriteThreeKeyMaps(benchmark::State& state) {
    ConnectedLink link(FirmwareVariant::B());
    std::vector<uint8_t> map(512);
    for (size_t i = 0; i < map.size(); ++i) {
        map[i] = uint8_t(i);
    }
    int64_t n = 0;
    for (auto _ : state) {
        for (int profile = 0; profile < 3; ++profile) {
            if (WriteKeyMap(link.Link(), profile, map) != CommandResult::Ok) {
                state.SkipWithError("Write key map failed");
                return;
            }
        }
        link.TrimLog(++n);
    }
    state.SetBytesProcessed(state.iterations() * 3 * int64_t(map.size()));
}
BENCHMARK(BM_WriteThreeKeyMaps);

}  // namespace
}  // namespace vantor
