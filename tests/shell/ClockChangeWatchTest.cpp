#include "shell/ClockChangeWatch.h"

#include "support/WaitUntil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cerrno>
#include <ctime>

namespace vantor {
namespace {

TEST(ClockChangeWatch, TellsWhenTheClockIsSetAndKeepsWatching) {
    static int argc = 1;
    static char name[] = "test_shell";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);

    int changes = 0;
    ClockChangeWatch watch([&changes] { ++changes; });
    ASSERT_TRUE(watch.IsWatching());
    for (int expected = 1; expected <= 2; ++expected) {
        // Setting the clock to the time it already shows is a change all the same.
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        if (::clock_settime(CLOCK_REALTIME, &now) != 0) {
            GTEST_SKIP() << "this process may not set the clock (errno " << errno << ")";
        }
        test::WaitUntil([&] { return changes >= expected; });
        EXPECT_EQ(changes, expected);
    }
}

}  // namespace
}  // namespace vantor
