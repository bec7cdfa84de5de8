// Wall time at USB speed against vantor-sim --usb-frames, which moves every report in each
// direction at the start of a 1 ms frame, as the keyboard's full-speed interrupt endpoint does:
// import of a three-profile file with macros (the macro area and all three key maps in one
// group), and sending one profile's per-key colour table. Reported beside the wall time: the
// bus limit, 2 ms for each request and its reply plus the 10 ms the host waits before each
// Group end, and the ratio of the wall time to it (1.00 = the bus limit).

#include "support/ChildProcess.h"
#include "keyassign/MacroTables.h"
#include "support/TestEnvironment.h"

#include "device/CommandReport.h"
#include "device/KeyMapCommands.h"
#include "device/SimSocketBackend.h"
#include "device/StatusCommands.h"
#include "device/VendorInterfaceSearch.h"
#include "keymodel/AssignmentRecords.h"
#include "lighting/KeyColours.h"
#include "lighting/UserColourFile.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFlows.h"

#include "support/WaitFor.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

namespace vantor {
namespace {

constexpr double kFrameMs = 1.0;
constexpr double kExchangeMs = 2 * kFrameMs;  // the request's frame, then the reply's
constexpr double kGroupEndWaitMs = 10.0;

// Three profiles with assignments and five macros of 40 actions.
void WriteImportFile(const QString& path) {
    ProfileStore store;
    {
        std::lock_guard guard(store.Lock());
        StoreKeyRecords records = store.Data().Records();
        records[0x1E] = {kAssignMacro, 0, 2, 0, 0};
        records[512 + 0x1F] = {kAssignMedia, 0, 6, 0, 0};
        records[1024 + 0x20] = {kAssignKey, 0, 0x15B, 0, 0};
        const MacroTable table = test::SampleTable(5, 40, 10);
        store.Data().Macros().Replace({table.Records().begin(), table.Records().end()});
    }
    SaveProfileToPath(store, path);
}

class SilentUi : public ProfileUi {
public:
    void ShowMessage(const QString&, const QString&) override {}
};

// The requests ('> ') in the emulator's log so far, and how many of them were Group end.
struct Requests {
    int total = 0;
    int groupEnds = 0;
};

Requests CountRequests(SimSocketBackend& control) {
    bool accepted = false;
    QString text;
    Requests counted;
    if (!control.Control({QStringLiteral("log")}, &accepted, &text) || !accepted) return counted;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith(QLatin1String("> "))) continue;
        ++counted.total;
        const QByteArray report = QByteArray::fromHex(line.mid(2).toLatin1());
        if (report.size() > 3 && uint8_t(report[3]) == kCmdGroupEnd) ++counted.groupEnds;
    }
    return counted;
}

// A paced emulator in a process of its own and the link to its keyboard, with what the
// program knows once the keyboard has arrived; error() says what went wrong, if anything.
class UsbRig {
public:
    UsbRig() {
        m_socket = m_env.Root() + QStringLiteral("/sim.sock");
        if (!m_sim.Start(QStringLiteral(VANTOR_SIM_PROGRAM),
                         {"--socket", m_socket, "--usb-frames"})) {
            m_error = "vantor-sim did not start";
            return;
        }
        m_control = std::make_unique<SimSocketBackend>(m_socket);
        test::WaitFor([this] { return m_control->IsServerReachable(); }, 5000);
        m_link = std::make_unique<DeviceLink>(std::make_shared<SimSocketBackend>(m_socket));
        if (!FindVendorInterface(m_link->VendorDevice(), [](const QString&) { return true; })
                 .found) {
            m_error = "no keyboard on the emulator's socket";
            return;
        }
        m_link->SetVariant(*FindDeviceVariant(m_link->VendorDevice().VendorId(),
                                              m_link->VendorDevice().ProductId()));
        m_link->SetDeviceOpen(true);
        KeyMatrix matrix{};
        StatusBlock status{};
        if (ReadDefaultKeyMatrix(*m_link, matrix) != CommandResult::Ok ||
            ReadStatus(*m_link, &status) != CommandResult::Ok) {
            m_error = "the keyboard did not answer";
            return;
        }
        m_device.SetDefaultKeyMatrix(matrix);
        m_device.SetMacroCapacity(size_t(status[kStatusMacroCapacity]) * kMacroCapacityUnit);
        m_device.SetActiveProfile(status[kStatusActiveProfile]);
    }
    ~UsbRig() {
        m_link.reset();
        m_sim.Terminate();
        m_sim.WaitForExit(5000);
    }

    const char* error() const { return m_error; }
    DeviceLink& Link() { return *m_link; }
    DeviceState& Device() { return m_device; }
    QString Root() const { return m_env.Root(); }
    test::TestEnvironment& Environment() { return m_env; }

    // Runs the operation once per iteration, after prepare (not timed), and reports its wall
    // time against the bus limit of the requests it sent. Each returns false when it failed.
    void Measure(benchmark::State& state, const std::function<bool()>& operation,
                 const std::function<bool()>& prepare = [] { return true; }) {
        double wallMs = 0, limitMs = 0;
        Requests per{};
        for (auto _ : state) {
            if (!prepare()) {
                state.SkipWithError("could not prepare the operation");
                return;
            }
            const Requests before = CountRequests(*m_control);
            const auto start = std::chrono::steady_clock::now();
            const bool done = operation();
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            if (!done) {
                state.SkipWithError("the operation failed");
                return;
            }
            state.SetIterationTime(took.count() / 1000.0);
            const Requests after = CountRequests(*m_control);
            per = {after.total - before.total, after.groupEnds - before.groupEnds};
            wallMs += took.count();
            limitMs += per.total * kExchangeMs + per.groupEnds * kGroupEndWaitMs;
        }
        state.counters["reports"] = per.total;
        state.counters["limit_ms"] = per.total * kExchangeMs + per.groupEnds * kGroupEndWaitMs;
        state.counters["ratio_to_limit"] = limitMs > 0 ? wallMs / limitMs : 0;
    }

private:
    test::TestEnvironment m_env;
    QString m_socket;
    test::ChildProcess m_sim;
    std::unique_ptr<SimSocketBackend> m_control;
    std::unique_ptr<DeviceLink> m_link;
    DeviceState m_device;
    const char* m_error = nullptr;
};

void BM_ImportAtUsbSpeed(benchmark::State& state) {
    UsbRig rig;
    if (rig.error()) {
        state.SkipWithError(rig.error());
        return;
    }
    ProfileStore store, snapshot;
    SilentUi ui;
    ProfileContext context{rig.Link(), rig.Device(), store, snapshot, ui};
    EnsureProfileFolder();
    const QString path = rig.Root() + QStringLiteral("/three-profiles.vpf");
    WriteImportFile(path);
    std::optional<ProfileData> data;
    rig.Measure(
        state, [&] { return ImportProfile(context, std::move(*data)) == ProfileResult::Done; },
        [&] { return (data = ReadProfileFile(path).data).has_value(); });
}
BENCHMARK(BM_ImportAtUsbSpeed)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Send colour table: Group start, one write for every 18 LED slots, Group end.
void BM_ColourTableAtUsbSpeed(benchmark::State& state) {
    UsbRig rig;
    if (rig.error()) {
        state.SkipWithError(rig.error());
        return;
    }
    // A skin's colour template with a few keys set; every slot goes out whatever its colour.
    rig.Environment().WriteProgramFile(
        QStringLiteral("Skins/UserDengColor_3.userd"),
        "[PRESENTMODE]\r\nmode=0\r\n[Mode0]\r\n64=0,255,0,1\r\n0=0,0,255,0\r\n");
    if (!CreateUserColourFiles()) {
        state.SkipWithError("cannot create the user colour files");
        return;
    }
    KeyColours colours(rig.Link());
    colours.LoadMode(0, std::nullopt, false);
    rig.Measure(state, [&] {
        return colours.SendColourTable(0).command == CommandResult::Ok;
    });
}
BENCHMARK(BM_ColourTableAtUsbSpeed)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace vantor

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
