#include "shell/SessionState.h"
#include "shell/ShutdownSequence.h"
#include "shell/TrayState.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(ShutdownSequenceTest, RunsEveryStepInOrderOnlyOnce) {
    ShutdownSequence sequence;
    QStringList ran;
    sequence.Add("hide", [&] { ran << "hide"; });
    sequence.Add("release lock", [&] {
        ran << "release lock";
        // An exit asked for from inside the shutdown (a "KILL" arriving meanwhile) runs nothing.
        EXPECT_FALSE(sequence.Run());
    });
    sequence.Add("end dialog", [&] { ran << "end dialog"; });

    EXPECT_TRUE(sequence.Run());
    EXPECT_FALSE(sequence.Run());
    EXPECT_EQ(ran, QStringList({"hide", "release lock", "end dialog"}));
    EXPECT_EQ(sequence.Completed(), sequence.StepNames());
}

TEST(SessionStateTest, OnlyTheMatchingEventEndsASuspension) {
    using R = SessionState::Reason;
    struct Case {
        std::vector<int> events;
        R reason;
    };
    const Case cases[] = {
        {{7}, R::Lock},
        {{7, 8}, R::None},
        {{2}, R::ConsoleDisconnect},
        {{2, 1}, R::None},
        {{7, 1}, R::Lock},                // a connect does not end a lock
        {{2, 8}, R::ConsoleDisconnect},   // nor an unlock a disconnect
        {{7, 2}, R::ConsoleDisconnect},
        {{3, 4, 5, 6}, R::None},          // other session events are not kept
    };
    for (const Case& c : cases) {
        SessionState state;
        for (int event : c.events) state.OnSessionEvent(event);
        EXPECT_EQ(state.SuspendReason(), c.reason) << testing::PrintToString(c.events);
        EXPECT_EQ(state.IsSuspended(), c.reason != R::None);
    }
}

TEST(TrayStateTest, EventsShowOverThePresenceAndReturnToIt) {
    TrayState tray;
    EXPECT_EQ(tray.Shown(), 128);
    EXPECT_FALSE(tray.Set(false, 128)) << "the picture already shown is not replaced";
    EXPECT_TRUE(tray.Set(false, 141));  // connected
    EXPECT_TRUE(tray.Set(true, 0));     // 0x1811
    EXPECT_EQ(tray.Shown(), 142);
    EXPECT_FALSE(tray.Set(true, 0));
    EXPECT_TRUE(tray.Set(false, 0));    // 0x1810: back to the base
    EXPECT_EQ(tray.Shown(), 141);

    // Unplugged while the event picture shows: the new base is shown and kept.
    tray.Set(true, 0);
    EXPECT_TRUE(tray.Set(false, 128));
    EXPECT_EQ(tray.Base(), 128);
    tray.Set(true, 0);
    tray.Set(false, 0);
    EXPECT_EQ(tray.Shown(), 128);
}

}  // namespace
}  // namespace vantor
