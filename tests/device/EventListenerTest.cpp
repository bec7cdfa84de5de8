#include "RecordingEvents.h"
#include "device/DeviceState.h"
#include "device/EventListener.h"
#include "emulator/EmulatorBackend.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantor {
namespace {

using test::RecordingEvents;
using test::WaitFor;
using Calls = std::vector<std::string>;

class EventListenerTest : public ::testing::Test {
protected:
    ~EventListenerTest() override { listener.Stop(); }

    void StartListening() {
        listener.Start();
        ASSERT_TRUE(WaitFor([&] { return listener.IsListening(); }));
    }

    std::shared_ptr<EmulatorBackend> emulator = std::make_shared<EmulatorBackend>();
    DeviceState state;
    RecordingEvents events;
    EventListener listener{emulator, state, events, 2};
};

TEST_F(EventListenerTest, EachEventCodeHasItsAction) {
    state.SetBaseTrayIcon(kTrayIconConnected);
    StartListening();
    const struct {
        uint16_t code;
        Calls expected;
    } cases[] = {
        {0x0401, {"lighting"}},
        {0x0402, {"profile"}},
        {0x1811, {"tray-event:142"}},
        {0x1810, {"tray-event:141"}},  // back to the base icon
        {0x1801, {}},
        {0x1804, {}},
        {0x1805, {}},
        {0x0000, {}},
    };
    for (const auto& c : cases) {
        events.Clear();
        ASSERT_TRUE(emulator->Keyboard().SendEvent(c.code));
        // A lighting event behind it shows when the code has been handled.
        ASSERT_TRUE(emulator->Keyboard().SendEvent(0x0401));
        Calls expected = c.expected;
        expected.push_back("lighting");
        // The icon threads run beside the listener, so their call may come after the marker.
        ASSERT_TRUE(WaitFor([&] { return events.Calls().size() >= expected.size(); }))
            << std::hex << c.code;
        Calls got = events.Calls();
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected) << std::hex << c.code;
    }
}

TEST_F(EventListenerTest, ListensAgainAfterTheKeyboardReturns) {
    StartListening();
    emulator->Unplug();
    ASSERT_TRUE(WaitFor([&] { return !listener.IsListening(); }));
    emulator->Plug();
    ASSERT_TRUE(WaitFor([&] { return listener.IsListening(); }));
    ASSERT_TRUE(emulator->Keyboard().SendEvent(0x0402));
    EXPECT_TRUE(WaitFor([&] { return events.Count("profile") == 1; }));
    // Only the consumer interface is held; the vendor interface is the monitor's.
    EXPECT_EQ(emulator->Keyboard().OpenCount(EmulatedInterface::Consumer), 1u);
    EXPECT_EQ(emulator->Keyboard().OpenCount(EmulatedInterface::Vendor), 0u);
}

TEST_F(EventListenerTest, StopWakesTheWaitingReadAndJoinsTheIconThreads) {
    StartListening();
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(emulator->Keyboard().SendEvent(i % 2 ? 0x1810 : 0x1811));
    }
    ASSERT_TRUE(WaitFor([&] { return events.Calls().size() == 20; }));
    listener.Stop();
    EXPECT_FALSE(listener.IsRunning());
    EXPECT_EQ(emulator->Keyboard().OpenCount(EmulatedInterface::Consumer), 0u);
}

}  // namespace
}  // namespace vantor
