// What the device threads ask before the window can take it waits at the gate, in order, and
// reaches the window once it opens; after closing nothing does.

#include "mainwindow/DeviceEventsGate.h"

#include "device/RecordingEvents.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

namespace vantor {
namespace {

using namespace std::chrono_literals;
using Calls = std::vector<std::string>;

TEST(DeviceEventsGate, CallsWaitForTheWindowAndReachItInOrder) {
    test::RecordingEvents window;
    DeviceEventsGate gate;
    auto monitor = std::async(std::launch::async, [&] {
        gate.KeyboardConnected();
        gate.SetTrayState(false, kTrayIconConnected);
        gate.OpenMainWindow();
    });
    EXPECT_EQ(monitor.wait_for(100ms), std::future_status::timeout);
    EXPECT_TRUE(window.Calls().empty());
    gate.Open(window);
    monitor.get();
    EXPECT_EQ(window.Calls(), (Calls{"connected", "tray:141", "open"}));

    gate.Close();
    gate.KeyboardGone();
    EXPECT_EQ(window.Calls().size(), 3u) << "nothing passes once closed";
}

TEST(DeviceEventsGate, ClosingReleasesACallThatWaitsAndPassesNothing) {
    test::RecordingEvents window;
    DeviceEventsGate gate;
    auto monitor = std::async(std::launch::async, [&] { gate.ShowMessage("MAIN_DEFAULT_MATRIX_PROMPT"); });
    EXPECT_EQ(monitor.wait_for(50ms), std::future_status::timeout);
    gate.Close();
    EXPECT_EQ(monitor.wait_for(10s), std::future_status::ready);
    gate.Open(window);
    gate.LightingChanged();
    EXPECT_TRUE(window.Calls().empty());
}

}  // namespace
}  // namespace vantor
