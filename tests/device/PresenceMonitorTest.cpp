#include "RecordingEvents.h"
#include "device/CommandReport.h"
#include "device/DeviceState.h"
#include "device/DeviceThreads.h"
#include "device/PresenceMonitor.h"
#include "emulator/EmulatorBackend.h"
#include "support/QuickMonitor.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

namespace vantor {
namespace {

using test::RecordingEvents;
using test::WaitFor;
using Calls = std::vector<std::string>;

// A monitor on an in-process keyboard, listing every few milliseconds.
class PresenceMonitorTest : public ::testing::TestWithParam<char> {
protected:
    PresenceMonitorTest() { link.SetTimeouts({1000, 30, 1}); }
    ~PresenceMonitorTest() override { monitor.Stop(); }

    const FirmwareVariant& Variant() const { return *FirmwareVariant::FromLetter(GetParam()); }
    EmulatedKeyboard& Keyboard() { return emulator->Keyboard(); }

    // The command codes the keyboard received on its vendor interface, in order.
    std::vector<uint8_t> VendorCommands() {
        std::vector<uint8_t> codes;
        for (const ReportLogEntry& entry : Keyboard().Log()) {
            if (entry.which == EmulatedInterface::Vendor &&
                entry.direction == ReportLogEntry::Direction::Received)
                codes.push_back(entry.bytes[3]);
        }
        return codes;
    }

    std::shared_ptr<EmulatorBackend> emulator = std::make_shared<EmulatorBackend>(Variant());
    DeviceLink link{emulator};
    DeviceState state;
    RecordingEvents events;
    PresenceMonitor monitor{link, state, events, test::kQuickMonitor};
};

TEST_P(PresenceMonitorTest, PresentAtStartOpensTheWindowOnceAndFollowsUnplugAndReplug) {
    state.SetActiveProfile(2);
    monitor.Start();
    ASSERT_TRUE(WaitFor([&] { return state.Present() && events.Count("open") == 1; }));
    EXPECT_EQ(events.Calls(), (Calls{"connected", "tray:141", "open"}));
    EXPECT_TRUE(link.IsDeviceOpen());
    EXPECT_EQ(link.Variant().keyMapBlockSize, uint32_t(Variant().keyMapSize));

    // The probe's status read, the default matrix in chunks, then the status block.
    const size_t chunks = (size_t(Variant().keyMapSize) + 55) / 56;
    std::vector<uint8_t> expected{kCmdReadStatus};
    expected.insert(expected.end(), chunks, kCmdReadDefaultKeyMatrix);
    expected.push_back(kCmdReadStatus);
    EXPECT_EQ(VendorCommands(), expected);

    const KeyboardFirmware firmware = Keyboard().Firmware();
    const auto factory = firmware.DefaultKeyMatrix();
    const KeyMatrix matrix = state.DefaultKeyMatrix();
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), matrix.begin()));
    EXPECT_TRUE(std::all_of(matrix.begin() + factory.size(), matrix.end(),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(state.MacroCapacity(), firmware.MacroCapacity());
    EXPECT_EQ(state.BaseTrayIcon(), kTrayIconConnected);

    events.Clear();
    emulator->Unplug();
    ASSERT_TRUE(WaitFor([&] { return !state.Present(); }));
    EXPECT_EQ(events.Calls(), (Calls{"gone", "hide", "tray:128"}));
    EXPECT_EQ(state.ActiveProfile(), -1);
    EXPECT_FALSE(link.IsDeviceOpen());
    EXPECT_EQ(state.BaseTrayIcon(), kTrayIconDisconnected);

    events.Clear();
    emulator->Plug();
    ASSERT_TRUE(WaitFor([&] { return state.Present(); }));
    EXPECT_EQ(events.Calls(), (Calls{"connected", "tray:141"}));  // not opened again
    EXPECT_TRUE(link.IsDeviceOpen());
}

INSTANTIATE_TEST_SUITE_P(Variants, PresenceMonitorTest, ::testing::Values('A', 'B'));

class PresenceMonitorB : public PresenceMonitorTest {};
INSTANTIATE_TEST_SUITE_P(VariantB, PresenceMonitorB, ::testing::Values('B'));

TEST_P(PresenceMonitorB, AStartInTheTrayNeverOpensTheWindow) {
    state.SetFirstReportDone(true);
    monitor.Start();
    ASSERT_TRUE(WaitFor([&] { return state.Present(); }));
    EXPECT_EQ(events.Calls(), (Calls{"connected", "tray:141"}));
}

TEST_P(PresenceMonitorB, AKeyboardPluggedInLaterIsConnectedWithoutOpeningTheWindow) {
    emulator->Unplug();
    monitor.Start();
    ASSERT_TRUE(WaitFor([&] { return state.FirstReportDone(); }));
    EXPECT_TRUE(events.Calls().empty());
    emulator->Plug();
    ASSERT_TRUE(WaitFor([&] { return state.Present(); }));
    EXPECT_EQ(events.Calls(), (Calls{"connected", "tray:141"}));
}

TEST_P(PresenceMonitorB, AnotherProtocolGenerationIsNeverTaken) {
    Keyboard().SetVersionNumber(0x0305);
    monitor.Start();
    // Several listings, each opening the vendor interface, checking it and closing it again.
    ASSERT_TRUE(WaitFor([&] { return Keyboard().OpenedCount(EmulatedInterface::Vendor) >= 4; }));
    EXPECT_FALSE(state.Present());
    EXPECT_FALSE(link.IsDeviceOpen());
    EXPECT_TRUE(events.Calls().empty());
    EXPECT_TRUE(VendorCommands().empty());
    monitor.Stop();
    EXPECT_EQ(Keyboard().OpenCount(EmulatedInterface::Vendor), 0u);
}

TEST_P(PresenceMonitorB, TheKeyboardsOtherInterfacesAreOpenedRejectedAndClosed) {
    monitor.Start();
    ASSERT_TRUE(WaitFor([&] { return state.Present(); }));
    EXPECT_GE(Keyboard().OpenedCount(EmulatedInterface::BootKeyboard), 1u);
    EXPECT_EQ(Keyboard().OpenCount(EmulatedInterface::BootKeyboard), 0u);
    EXPECT_EQ(Keyboard().OpenCount(EmulatedInterface::Consumer), 0u);
    EXPECT_EQ(Keyboard().OpenCount(EmulatedInterface::Vendor), 1u);
}

TEST_P(PresenceMonitorB, AnUnreadableDefaultMatrixKeepsTheOldOneAndSaysSo) {
    KeyMatrix old{};
    old.fill(0x5A);
    state.SetDefaultKeyMatrix(old);
    state.SetMacroCapacity(1280);
    Keyboard().SetFault({EmulatorFault::StatusFF});
    monitor.Start();
    ASSERT_TRUE(WaitFor([&] { return state.Present(); }));
    EXPECT_EQ(events.Calls(),
              (Calls{"message:MAIN_DEFAULT_MATRIX_PROMPT", "connected", "tray:141", "open"}));
    EXPECT_EQ(state.DefaultKeyMatrix(), old);
    EXPECT_EQ(state.MacroCapacity(), 1280u);  // the status block failed as well
}

// The in-process keyboard, counting the presence probes that reach it.
class CountedProbes : public HidBackend {
public:
    explicit CountedProbes(std::shared_ptr<EmulatorBackend> inner) : m_inner(std::move(inner)) {}
    bool Enumerate(QStringList* paths) override { return m_inner->Enumerate(paths); }
    std::unique_ptr<HidChannel> Open(const QString& path, bool read, bool write) override {
        return m_inner->Open(path, read, write);
    }
    bool Probe(const QString& path) override {
        ++probes;
        return m_inner->Probe(path);
    }

    std::atomic<int> probes{0};

private:
    std::shared_ptr<EmulatorBackend> m_inner;
};

// Another thread closing the interface under the monitor leaves it nothing to wait on: it
// probes the path instead, so it neither takes the close for a departure nor misses the real
// one.
TEST(PresenceMonitor, AnInterfaceClosedUnderItIsProbedInstead) {
    auto emulator = std::make_shared<EmulatorBackend>();
    auto backend = std::make_shared<CountedProbes>(emulator);
    DeviceLink link(backend);
    DeviceState state;
    RecordingEvents events;
    PresenceMonitor monitor(link, state, events,
                            {.firstReportPauseMs = 1, .searchPollMs = 5, .connectedProbeMs = 5});
    monitor.Start();
    ASSERT_TRUE(WaitFor([&] { return state.Present(); }));

    events.Clear();
    link.VendorDevice().Close();
    const int before = backend->probes.load();
    ASSERT_TRUE(WaitFor([&] { return backend->probes.load() >= before + 3; }));
    EXPECT_TRUE(state.Present());
    EXPECT_TRUE(events.Calls().empty());

    emulator->Unplug();
    ASSERT_TRUE(WaitFor([&] { return !state.Present(); }));
    EXPECT_EQ(events.Calls(), (Calls{"gone", "hide", "tray:128"}));
}

// A listing that fails ends the monitor: the backend cannot list interfaces any more.
class FailingListing : public HidBackend {
public:
    bool Enumerate(QStringList*) override { return false; }
    std::unique_ptr<HidChannel> Open(const QString&, bool, bool) override { return nullptr; }
    bool Probe(const QString&) override { return false; }
};

TEST(PresenceMonitor, EndsWhenTheInterfacesCannotBeListed) {
    DeviceLink link(std::make_shared<FailingListing>());
    DeviceState state;
    RecordingEvents events;
    PresenceMonitor monitor(link, state, events, test::kQuickMonitor);
    monitor.Start();
    EXPECT_TRUE(WaitFor([&] { return !monitor.IsRunning(); }));
    EXPECT_TRUE(events.Calls().empty());
}

TEST(DeviceThreads, BothThreadsRunTogetherAndStopWithEveryHandleClosed) {
    auto emulator = std::make_shared<EmulatorBackend>();
    DeviceLink link(emulator);
    DeviceState state;
    RecordingEvents events;
    DeviceThreads threads(emulator, link, state, events, {test::kQuickMonitor, 2});
    threads.Start();
    ASSERT_TRUE(WaitFor([&] { return state.Present() && threads.Listener().IsListening(); }));
    ASSERT_TRUE(emulator->Keyboard().SwitchProfileOnKeyboard(1));
    ASSERT_TRUE(WaitFor([&] { return events.Count("profile") == 1; }));

    threads.Stop();
    EXPECT_FALSE(threads.Monitor().IsRunning());
    EXPECT_FALSE(threads.Listener().IsRunning());
    EXPECT_FALSE(link.IsDeviceOpen());
    for (int i = 0; i < kEmulatedInterfaceCount; ++i) {
        EXPECT_EQ(emulator->Keyboard().OpenCount(static_cast<EmulatedInterface>(i)), 0u) << i;
    }
}

}  // namespace
}  // namespace vantor
