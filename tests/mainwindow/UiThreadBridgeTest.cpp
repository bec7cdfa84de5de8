// How work from a device thread reaches the window's thread: at once when nothing is busy,
// after the keyboard work when something is, never after closing.

#include "mainwindow/UiThreadBridge.h"

#include "mainwindow/MainWindowFixture.h"

#include <QApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vantor {
namespace {

using test::WaitUntil;

class UiThreadBridgeTest : public testing::Test {
protected:
    void SetUp() override { test::EnsureApplication(); }

    // What ran on the context's thread, in order.
    std::function<void()> Note(std::string name) {
        return [this, name] {
            EXPECT_EQ(QThread::currentThread(), QApplication::instance()->thread());
            std::lock_guard lock(m_mutex);
            m_ran.push_back(name);
        };
    }
    std::vector<std::string> Ran() {
        std::lock_guard lock(m_mutex);
        return m_ran;
    }

    QObject m_context;
    bool m_busy = false;
    UiThreadBridge m_bridge{m_context, [this] { return m_busy; }};
    std::mutex m_mutex;
    std::vector<std::string> m_ran;
};

bool Finished(const std::future<void>& future) {
    return future.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
}

TEST_F(UiThreadBridgeTest, SentWorkHasRunOnTheWindowsThreadWhenTheSenderGoesOn) {
    std::future<void> sender = std::async(std::launch::async, [this] {
        m_bridge.Send(Note("sent"));
        EXPECT_EQ(Ran(), std::vector<std::string>{"sent"});
    });
    EXPECT_TRUE(WaitUntil([&] { return Finished(sender); }));
    sender.get();
}

// The window queues its own hide at the end of its setup, while the keyboard's arrival may
// already have been handed over; the open that follows the arrival must come after the hide.
TEST_F(UiThreadBridgeTest, HandedWorkKeepsItsPlaceAmongCallsQueuedOnTheWindowsThread) {
    std::thread([&] { m_bridge.Post(Note("arrival")); }).join();
    QMetaObject::invokeMethod(&m_context, Note("hide"), Qt::QueuedConnection);
    std::thread([&] { m_bridge.Post(Note("open")); }).join();
    EXPECT_TRUE(WaitUntil([&] { return Ran().size() == 3; }));
    EXPECT_EQ(Ran(), (std::vector<std::string>{"arrival", "hide", "open"}));
}

TEST_F(UiThreadBridgeTest, DuringKeyboardWorkEverythingWaitsInOrderAndSendersWithIt) {
    m_busy = true;
    std::atomic<bool> senderReturned = false;
    std::future<void> device = std::async(std::launch::async, [&] {
        m_bridge.Post(Note("posted"));
        m_bridge.Send(Note("sent"));
        senderReturned = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return m_bridge.Waiting() == 2; }));
    // Work of the window's own thread goes behind what already waits.
    m_bridge.Post(Note("own"));
    EXPECT_TRUE(Ran().empty());
    EXPECT_FALSE(senderReturned);

    m_busy = false;
    EXPECT_TRUE(WaitUntil([&] { return Finished(device); }));
    EXPECT_EQ(Ran(), (std::vector<std::string>{"posted", "sent", "own"}));
    // Nothing waits any more: the next piece runs at once.
    m_bridge.Post(Note("after"));
    EXPECT_EQ(Ran().back(), "after");
}

TEST_F(UiThreadBridgeTest, ClosingDropsWaitingWorkReleasesItsSenderAndIgnoresLaterWork) {
    m_busy = true;
    std::future<void> device =
        std::async(std::launch::async, [&] { m_bridge.Send(Note("dropped")); });
    ASSERT_TRUE(WaitUntil([&] { return m_bridge.Waiting() == 1; }));
    m_bridge.Close();
    EXPECT_TRUE(WaitUntil([&] { return Finished(device); }));
    EXPECT_TRUE(m_bridge.IsClosed());

    m_busy = false;
    std::future<void> late = std::async(std::launch::async, [&] {
        m_bridge.Send(Note("late"));
        m_bridge.Post(Note("late"));
    });
    EXPECT_TRUE(WaitUntil([&] { return Finished(late); }));
    QApplication::processEvents();
    EXPECT_TRUE(Ran().empty());
}

}  // namespace
}  // namespace vantor
