// Profile files at their largest (100 macros of 4000 actions) through validation, loading and
// saving; and a full download (three key maps and a macro area filled to the keyboard's
// capacity) against the in-process keyboard, counting the reports it takes; and a read of the
// keyboard's profiles with and without a working profile file to take host-only keys from.

#include "keyassign/MacroArea.h"
#include "keymodel/AssignmentRecords.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "keymodel/KeyTables.h"
#include "support/EmulatedLink.h"
#include "support/TestEnvironment.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace vantor {
namespace {

class SilentUi : public ProfileUi {
public:
    void ShowMessage(const QString& key, const QString& /*argument*/) override {
        shown = key;
    }
    QString shown;
};

MacroRecord Macro(uint16_t id, int actions) {
    MacroRecord macro;
    macro.id = id;
    macro.cycleCount = 1;
    for (int i = 0; i < actions; ++i) {
        macro.AddAction({static_cast<uint16_t>(10 + i % 50), 0x01E, static_cast<uint16_t>(i % 2)});
    }
    macro.SetName(QStringLiteral("Macro %1").arg(id));
    return macro;
}

void FillMacros(ProfileStore& store, int count, int actions) {
    std::vector<MacroRecord> macros;
    for (int i = 0; i < count; ++i) macros.push_back(Macro(static_cast<uint16_t>(i + 1), actions));
    std::lock_guard guard(store.Lock());
    store.Data().Macros().Replace(std::move(macros));
}

// The largest file: 100 macros of 4000 actions each.
struct LargestFile {
    LargestFile() {
        FillMacros(store, 100, 4000);
        path = dir.filePath(QStringLiteral("largest.vpf"));
        SaveProfileToPath(store, path);
    }
    QTemporaryDir dir;
    QString path;
    ProfileStore store;
};

void BM_ValidateLargestFile(benchmark::State& state) {
    LargestFile file;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ValidateProfileFile(file.path));
    }
}
BENCHMARK(BM_ValidateLargestFile)->Unit(benchmark::kMicrosecond);

void BM_LoadLargestFile(benchmark::State& state) {
    LargestFile file;
    ProfileStore target;
    for (auto _ : state) {
        if (LoadProfileFile(target, file.path) != 1) state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(file.path).size());
}
BENCHMARK(BM_LoadLargestFile)->Unit(benchmark::kMillisecond);

void BM_SaveLargestFile(benchmark::State& state) {
    LargestFile file;
    const QString path = file.dir.filePath(QStringLiteral("saved.vpf"));
    for (auto _ : state) {
        if (!SaveProfileToPath(file.store, path)) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(file.path).size());
}
BENCHMARK(BM_SaveLargestFile)->Unit(benchmark::kMillisecond);

size_t Chunks(size_t bytes) { return (bytes + 55) / 56; }

// All three key maps and a macro area as large as the keyboard holds, against variant A (0)
// or B (1). Counters: the reports sent per download and the least the protocol allows
// (Group start, the macro area's chunks, each key map's chunks, Group end).
void BM_FullDownload(benchmark::State& state) {
    const FirmwareVariant& variant = state.range(0) == 0 ? FirmwareVariant::A() : FirmwareVariant::B();
    test::EmulatedLink keyboard(variant);
    keyboard.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        firmware = KeyboardFirmware(firmware.Variant(), KeyboardFirmware::kMaxMacroCapacity);
    });
    const uint32_t capacity = static_cast<uint32_t>(keyboard.Keyboard().Firmware().MacroCapacity());

    DeviceState device;
    keyboard.FillDeviceState(device);
    device.SetActiveProfile(0);

    // Macros of 100 actions (about 420 bytes each with its name) until the area is full.
    ProfileStore store, snapshot;
    int count = 1;
    for (; count <= 100; ++count) {
        FillMacros(store, count, 100);
        std::lock_guard guard(store.Lock());
        if (MacroAreaSizes(store.Data().Macros()).withNames > capacity) break;
    }
    FillMacros(store, count - 1, 100);
    uint32_t area = 0;
    {
        std::lock_guard guard(store.Lock());
        StoreKeyRecords records = store.Data().Records();
        for (size_t block = 0; block < 3; ++block) {
            ClearBlock(records.subspan(block * kRecordsPerBlock).first<kRecordsPerBlock>());
            records[block * kRecordsPerBlock + 0x1E] = {kAssignMacro, 0, 1, 0, 0};
        }
        area = MacroAreaSizes(store.Data().Macros()).withNames;
    }
    SilentUi ui;
    ProfileContext context{keyboard.Link(), device, store, snapshot, ui};

    size_t reports = 0;
    for (auto _ : state) {
        keyboard.Keyboard().ClearLog();
        if (PrepareDownloadSnapshot(context, true) != ProfileResult::Done) state.SkipWithError("download failed");
        reports = keyboard.Requests().size();
    }
    const size_t block = keyboard.Link().Variant().keyMapBlockSize;
    state.counters["reports"] = double(reports);
    state.counters["least"] = double(2 + Chunks(area) + 3 * Chunks(block));
    state.counters["area_bytes"] = area;
    state.counters["block_bytes"] = double(block);
}
BENCHMARK(BM_FullDownload)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A read of the keyboard's profiles (three key maps and an empty macro area, variant B) into
// the store: without a working profile file (0), and with the largest one holding a
// launch-program key with a 259-character path on every key of the three profiles (1), whose
// keys it takes back. The difference is what taking them back costs on each arrival.
void BM_ReadKeyboardIntoStore(benchmark::State& state) {
    test::TestEnvironment env;
    test::EmulatedLink keyboard(FirmwareVariant::B());
    DeviceState device;
    keyboard.FillDeviceState(device);
    device.SetActiveProfile(0);
    if (state.range(0) == 1) {
        LargestFile working;
        {
            std::lock_guard guard(working.store.Lock());
            ProfileData& data = working.store.Data();
            for (int block = 0; block < 3; ++block) {
                for (const KeyCode code : KeyList) {
                    const int record = BlockStart(block) + RowOfCode(code);
                    data.Records()[record] = {kAssignLaunch, 0, 0, 0, 0};
                    data.SetText(record, std::u16string(259, u'x'));
                }
            }
        }
        EnsureProfileFolder();
        SaveProfileToPath(working.store, env.Paths().WorkingProfileFile());
    }
    ProfileStore store, snapshot;
    SilentUi ui;
    ProfileContext context{keyboard.Link(), device, store, snapshot, ui};
    size_t taken = 0;
    for (auto _ : state) {
        if (ReadKeyboardIntoStore(context) != ProfileResult::Done) state.SkipWithError("read failed");
        std::lock_guard guard(store.Lock());
        taken = store.Data().TotalTextBytes();
    }
    state.counters["text_bytes"] = double(taken);
}
BENCHMARK(BM_ReadKeyboardIntoStore)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vantor
