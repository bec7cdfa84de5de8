#include "shell/ClockChangeWatch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

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
        QDeadlineTimer deadline(2000);
        while (changes < expected && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(changes, expected);
    }
}

}  // namespace
}  // namespace vantor
