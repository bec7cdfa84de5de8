#include "shell/InstanceGuard.h"
#include "shell/InstanceHandOff.h"
#include "shell/InstanceMessages.h"
#include "shell/InstanceRequest.h"
#include "shell/InstanceServer.h"
#include "shell/UnixSocket.h"
#include "support/WaitUntil.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace vantor {
namespace {

// The instance socket is served from an event loop; the tests run one on this thread.
void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_shell";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* application =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)application;
}

// Runs the event loop until the work on the other thread has finished.
template <typename T>
T PumpUntilDone(std::future<T>& result) {
    EXPECT_TRUE(test::WaitUntil(
        [&] { return result.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; },
        20000))
        << "timed out";
    return result.get();
}

// Connects, sends the bytes and goes away without waiting for an answer.
bool SendAndClose(const QString& path, const char* bytes, size_t size) {
    const int fd = ConnectUnixSocket(path);
    if (fd < 0) return false;
    const bool sent = SendAll(fd, bytes, size);
    ::close(fd);
    return sent;
}

// A running instance: holds the lock, serves the socket, and answers 1 to a tagged request.
// A tagged "KILL" closes the server and lets go of the lock while it is being answered.
class RunningInstance {
public:
    explicit RunningInstance(const QString& runtime)
        : guard(runtime), server([this](const WindowMessage& message) {
              received.push_back(message);
              if (!CarriesTag(message)) return 0u;
              if (message.id == kMessageKill) {  // stands in for the shutdown
                  server.Close();
                  guard.Release();
              }
              return 1u;
          }) {
        EXPECT_TRUE(guard.TryLock());
        EXPECT_TRUE(server.Listen(guard.ServerPath()));
    }
    InstanceGuard guard;
    InstanceServer server;
    std::vector<WindowMessage> received;
};

class InstanceTest : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(m_runtime.isValid());
    }
    QString Runtime() const { return m_runtime.path() + QStringLiteral("/run"); }

    QTemporaryDir m_runtime;
};

TEST_F(InstanceTest, OneHolderOfTheLockAtATime) {
    InstanceGuard first(Runtime());
    InstanceGuard second(Runtime());
    ASSERT_TRUE(first.TryLock());  // makes the missing runtime folder
    EXPECT_FALSE(second.TryLock());
    EXPECT_TRUE(second.Error().isEmpty()) << "a held lock is not an error";
    first.Release();
    EXPECT_TRUE(second.TryLock());

    InstanceGuard elsewhere(m_runtime.path() + QStringLiteral("/other"));
    EXPECT_TRUE(elsewhere.TryLock());
}

TEST_F(InstanceTest, AnUnusableRuntimeFolderIsReportedNotTakenForAnInstance) {
    InstanceGuard guard(QStringLiteral("/proc/no-such-folder"));
    EXPECT_FALSE(guard.TryLock());
    EXPECT_FALSE(guard.Error().isEmpty());

    const HandOffResult start = HandOffAtStart(CommandLine{}, guard, 100);
    EXPECT_TRUE(start.keepStarting);
    EXPECT_FALSE(start.message.isEmpty());
}

TEST_F(InstanceTest, ServerAnswersEachRequestWithItsHandlersResult) {
    RunningInstance instance(Runtime());
    const QString path = instance.guard.ServerPath();
    auto answers = std::async(std::launch::async, [path] {
        return std::vector<std::optional<uint32_t>>{
            SendInstanceRequest(path, kMessageOpen, kTagOpen, 5000),
            SendInstanceRequest(path, kMessageOpen, kTagKill, 5000),
            SendInstanceRequest(path, kMessageKill, 0x4B494C4C, 5000),  // "KILL" byte-swapped
            SendInstanceRequest(path, kMessageCommand, kTagCommand, 5000, 32780),
        };
    });
    const auto results = PumpUntilDone(answers);
    EXPECT_EQ(results, (std::vector<std::optional<uint32_t>>{1u, 0u, 0u, 1u}));
    ASSERT_EQ(instance.received.size(), 4u);
    EXPECT_EQ(instance.received[0].id, kMessageOpen);
    EXPECT_EQ(instance.received[0].tag, 0x4F50454Eu);
    EXPECT_EQ(instance.received[0].argument, 0u);
    // A command request carries its command id beside its tag.
    EXPECT_EQ(instance.received[3].tag, 0x434D4E44u);
    EXPECT_EQ(instance.received[3].argument, 32780u);
    EXPECT_TRUE(instance.guard.IsHeld()) << "an untagged KILL must not shut down";
}

TEST_F(InstanceTest, ATruncatedRequestReachesNoHandler) {
    RunningInstance instance(Runtime());
    const QString path = instance.guard.ServerPath();
    auto sent = std::async(std::launch::async, [path] {
        if (!SendAndClose(path, "OPE", 3)) return false;
        // A whole request afterwards is still served.
        return SendInstanceRequest(path, kMessageOpen, kTagOpen, 5000) == 1u;
    });
    EXPECT_TRUE(PumpUntilDone(sent));
    EXPECT_EQ(instance.received.size(), 1u);
}

TEST_F(InstanceTest, AClientGoneBeforeItsAnswerLeavesTheServerServing) {
    InstanceGuard guard(Runtime());
    ASSERT_TRUE(guard.TryLock());
    std::promise<void> clientGone;
    std::shared_future<void> gone = clientGone.get_future().share();
    std::vector<uint32_t> handled;
    InstanceServer server([&handled, gone](const WindowMessage& message) {
        handled.push_back(message.id);
        // The answer to the first request goes to a client that has closed its end.
        if (message.id == 1) gone.wait_for(std::chrono::seconds(10));
        return 1u;
    });
    ASSERT_TRUE(server.Listen(guard.ServerPath()));
    const QString path = guard.ServerPath();
    auto sent = std::async(std::launch::async, [path, &clientGone] {
        const char request[kInstanceRequestSize] = {1};
        const bool closed = SendAndClose(path, request, sizeof request);
        clientGone.set_value();
        return closed && SendInstanceRequest(path, 2, 0, 5000) == 1u;
    });
    EXPECT_TRUE(PumpUntilDone(sent));
    EXPECT_THAT(handled, testing::UnorderedElementsAre(1u, 2u));
}

TEST_F(InstanceTest, SecondStartHandsOpenToTheRunningInstanceAndEnds) {
    RunningInstance instance(Runtime());
    const QString runtime = Runtime();
    auto start = std::async(std::launch::async, [runtime] {
        InstanceGuard guard(runtime);
        return HandOffAtStart(ParseCommandLine({"/start"}), guard, 5000);
    });
    const HandOffResult result = PumpUntilDone(start);
    EXPECT_FALSE(result.keepStarting);
    EXPECT_EQ(result.exitCode, 0);
    ASSERT_EQ(instance.received.size(), 1u);
    EXPECT_EQ(instance.received[0].id, kMessageOpen);
    EXPECT_EQ(instance.received[0].tag, kTagOpen);
}

TEST_F(InstanceTest, KillIsAnsweredAfterTheInstanceShutDown) {
    RunningInstance instance(Runtime());
    const QString runtime = Runtime();
    auto start = std::async(std::launch::async, [runtime] {
        InstanceGuard guard(runtime);
        HandOffResult result = HandOffAtStart(ParseCommandLine({"/KILL"}), guard, 5000);
        // By the time the answer came, the instance had let go of its lock.
        InstanceGuard after(runtime);
        return std::make_pair(result, after.TryLock());
    });
    const auto [result, lockFreeAfterAnswer] = PumpUntilDone(start);
    EXPECT_FALSE(result.keepStarting);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(lockFreeAfterAnswer);
    EXPECT_FALSE(instance.server.IsListening());
    EXPECT_FALSE(QFile::exists(instance.guard.ServerPath()));
    ASSERT_EQ(instance.received.size(), 1u);
    EXPECT_EQ(instance.received[0].tag, kTagKill);
}

TEST_F(InstanceTest, KillWithNoInstanceEndsAtOnceAndLeavesTheLockFree) {
    InstanceGuard guard(Runtime());
    const HandOffResult result = HandOffAtStart(ParseCommandLine({"/kill"}), guard, 5000);
    EXPECT_FALSE(result.keepStarting);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(guard.IsHeld());
    InstanceGuard next(Runtime());
    EXPECT_TRUE(next.TryLock());
}

TEST_F(InstanceTest, FirstStartKeepsTheLockAndAHungInstanceIsAFailure) {
    InstanceGuard first(Runtime());
    const HandOffResult started = HandOffAtStart(CommandLine{}, first, 100);
    EXPECT_TRUE(started.keepStarting);
    EXPECT_TRUE(first.IsHeld());

    // The lock is held but nothing serves the socket: the second start gives up and says so.
    InstanceGuard second(Runtime());
    const HandOffResult open = HandOffAtStart(CommandLine{}, second, 100);
    EXPECT_FALSE(open.keepStarting);
    EXPECT_EQ(open.exitCode, 1);
    EXPECT_FALSE(open.message.isEmpty());
}

TEST_F(InstanceTest, ServerReplacesTheSocketFileOfAnInstanceThatDied) {
    InstanceGuard guard(Runtime());
    ASSERT_TRUE(guard.TryLock());
    QFile stale(guard.ServerPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    InstanceServer server([](const WindowMessage&) { return 1u; });
    EXPECT_TRUE(server.Listen(guard.ServerPath()));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(guard.ServerPath()).constData(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "only the user may connect";
    server.Close();
    EXPECT_FALSE(QFile::exists(guard.ServerPath()));
}

TEST_F(InstanceTest, ListenSaysWhyItCannotServe) {
    const struct {
        QString path;
        int reason;
    } cases[] = {
        {m_runtime.path() + QStringLiteral("/missing/socket"), ENOENT},
        {m_runtime.path() + u'/' + QString(200, u'x'), ENAMETOOLONG},
    };
    for (const auto& c : cases) {
        InstanceServer server([](const WindowMessage&) { return 1u; });
        QString error;
        EXPECT_FALSE(server.Listen(c.path, &error));
        EXPECT_FALSE(server.IsListening());
        EXPECT_THAT(error.toStdString(), testing::HasSubstr(std::strerror(c.reason)))
            << c.path.toStdString();
    }
}

}  // namespace
}  // namespace vantor
