// Import of a three-profile file with macros (the macro area and all three key maps in one
// group) against vantor-sim --usb-frames, which moves every report in each direction at the
// start of a 1 ms frame, as the keyboard's full-speed interrupt endpoint does. Reported beside
// the wall time: the bus limit, 2 ms for each request and its reply plus the 10 ms the host
// waits before each Group end, and the ratio of the wall time to it (1.00 = the bus limit).

#include "support/ChildProcess.h"
#include "keyassign/MacroTables.h"
#include "support/TestEnvironment.h"

#include "device/CommandReport.h"
#include "device/KeyMapCommands.h"
#include "device/SimSocketBackend.h"
#include "device/StatusCommands.h"
#include "device/VendorInterfaceSearch.h"
#include "keymodel/AssignmentRecords.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFlows.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <chrono>
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

void BM_ImportAtUsbSpeed(benchmark::State& state) {
    test::TestEnvironment env;
    const QString socket = env.Root() + QStringLiteral("/sim.sock");
    test::ChildProcess sim;
    if (!sim.Start(QStringLiteral(VANTOR_SIM_PROGRAM), {"--socket", socket, "--usb-frames"})) {
        state.SkipWithError("vantor-sim did not start");
        return;
    }
    SimSocketBackend control(socket);
    for (int i = 0; i < 1000 && !control.IsServerReachable(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    auto backend = std::make_shared<SimSocketBackend>(socket);
    DeviceLink link(backend);
    if (!FindVendorInterface(link.VendorDevice(), [](const QString&) { return true; }).found) {
        state.SkipWithError("no keyboard on the emulator's socket");
        return;
    }
    link.SetVariant(*FindDeviceVariant(link.VendorDevice().VendorId(),
                                       link.VendorDevice().ProductId()));
    link.SetDeviceOpen(true);

    // What the program knows once the keyboard has arrived.
    DeviceState device;
    KeyMatrix matrix{};
    StatusBlock status{};
    if (ReadDefaultKeyMatrix(link, matrix) != CommandResult::Ok ||
        ReadStatus(link, &status) != CommandResult::Ok) {
        state.SkipWithError("the keyboard did not answer");
        return;
    }
    device.SetDefaultKeyMatrix(matrix);
    device.SetMacroCapacity(size_t(status[kStatusMacroCapacity]) * kMacroCapacityUnit);
    device.SetActiveProfile(status[kStatusActiveProfile]);
    ProfileStore store, snapshot;
    SilentUi ui;
    ProfileContext context{link, device, store, snapshot, ui};
    EnsureProfileFolder();
    const QString path = env.Root() + QStringLiteral("/three-profiles.vpf");
    WriteImportFile(path);

    double wallMs = 0, limitMs = 0;
    Requests per{};
    for (auto _ : state) {
        std::optional<ProfileData> data = ReadProfileFile(path).data;
        const Requests before = CountRequests(control);
        const auto start = std::chrono::steady_clock::now();
        const ProfileResult result = ImportProfile(context, std::move(*data));
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        if (result != ProfileResult::Done) {
            state.SkipWithError("import failed");
            break;
        }
        state.SetIterationTime(took.count() / 1000.0);
        const Requests after = CountRequests(control);
        per = {after.total - before.total, after.groupEnds - before.groupEnds};
        wallMs += took.count();
        limitMs += per.total * kExchangeMs + per.groupEnds * kGroupEndWaitMs;
    }
    state.counters["reports"] = per.total;
    state.counters["limit_ms"] = per.total * kExchangeMs + per.groupEnds * kGroupEndWaitMs;
    state.counters["ratio_to_limit"] = limitMs > 0 ? wallMs / limitMs : 0;
    sim.Terminate();
    sim.WaitForExit(5000);
}
BENCHMARK(BM_ImportAtUsbSpeed)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vantor

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
