#include "shell/ClockChangeWatch.h"

#include "support/WaitUntil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace vantor {
namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_shell";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

// A clock the test sets: each byte written to a pipe is one wake of the watcher, 'S' a setting
// of the clock, anything else a wake that is not one.
class PipeClock : public ClockChangeSource {
public:
    PipeClock() { EXPECT_EQ(::pipe2(m_pipe, O_NONBLOCK | O_CLOEXEC), 0); }
    ~PipeClock() override {
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }
    int Descriptor() const override { return m_pipe[0]; }
    bool TakeChange() override {
        char wake = 0;
        return ::read(m_pipe[0], &wake, 1) == 1 && wake == 'S';
    }
    void Wake(char what) { ASSERT_EQ(::write(m_pipe[1], &what, 1), 1); }

private:
    int m_pipe[2] = {-1, -1};
};

TEST(ClockChangeWatch, TellsEachSettingOfTheClockAndNothingElse) {
    EnsureApplication();
    auto source = std::make_unique<PipeClock>();
    PipeClock& clock = *source;
    int changes = 0;
    ClockChangeWatch watch([&changes] { ++changes; }, std::move(source));
    ASSERT_TRUE(watch.IsWatching());

    // Each wake is taken before the next: the watcher keeps watching after a change.
    const struct {
        char wake;
        int changesAfter;
    } wakes[] = {{'S', 1}, {'x', 1}, {'S', 2}, {'S', 3}};
    for (const auto& step : wakes) {
        clock.Wake(step.wake);
        // The wake is taken once the pipe is empty again.
        EXPECT_TRUE(test::WaitUntil([&clock] {
            pollfd pending{clock.Descriptor(), POLLIN, 0};
            return ::poll(&pending, 1, 0) == 0;
        }));
        EXPECT_EQ(changes, step.changesAfter) << "after wake " << step.wake;
    }
}

TEST(ClockChangeWatch, SystemClockIsWatchedAndQuietWhileNobodySetsIt) {
    EnsureApplication();
    SystemClockChanges system;
    ASSERT_GE(system.Descriptor(), 0);
    pollfd pending{system.Descriptor(), POLLIN, 0};
    EXPECT_EQ(::poll(&pending, 1, 0), 0);
    EXPECT_FALSE(system.TakeChange());

    ClockChangeWatch watch([] {});
    EXPECT_TRUE(watch.IsWatching());
}

TEST(ClockChangeWatch, SourceThatCanTellNothingIsNotWatched) {
    EnsureApplication();
    class Silent : public ClockChangeSource {
        int Descriptor() const override { return -1; }
        bool TakeChange() override { return false; }
    };
    ClockChangeWatch watch([] {}, std::make_unique<Silent>());
    EXPECT_FALSE(watch.IsWatching());
}

}  // namespace
}  // namespace vantor
