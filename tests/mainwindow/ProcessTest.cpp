// The program as a process: single instance, hand-off, "/Kill" and a broken skin.

#include "shell/InstanceGuard.h"
#include "shell/InstanceMessages.h"
#include "shell/InstanceRequest.h"

#include "mainwindow/ProgramData.h"
#include "support/ChildProcess.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <semaphore.h>

namespace vantor {
namespace {

constexpr int kExitTimeoutMs = 20000;

bool SemaphoreExists(const char* name) {
    sem_t* semaphore = ::sem_open(name, 0);
    if (semaphore == SEM_FAILED) return false;
    ::sem_close(semaphore);
    return true;
}

// Every start of the program in these tests sees the same private folders.
class ProcessTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(test::CopyProgramData(ProgramFolder()));
        const std::pair<const char*, QString> variables[] = {
            {"XDG_RUNTIME_DIR", m_root.filePath("runtime")},
            {"XDG_CONFIG_HOME", m_root.filePath("config")},
            {"XDG_DATA_HOME", m_root.filePath("data")},
            {"VANTOR_PROGRAM_DIR", ProgramFolder()},
            // An emulator socket with nothing behind it: no keyboard, and no real one touched.
            {"VANTOR_SIM", m_root.filePath("no-sim.sock")},
            {"QT_QPA_PLATFORM", QStringLiteral("offscreen")},
        };
        for (const auto& [name, value] : variables) {
            m_saved.emplace_back(name, qgetenv(name));
            qputenv(name, value.toLocal8Bit());
        }
    }

    void TearDown() override {
        for (const auto& [name, value] : m_saved) qputenv(name, value);
    }

    QString ProgramFolder() const { return m_root.filePath("program"); }
    QString Program() const { return test::BuildProgramFolder() + QStringLiteral("/vantor"); }
    QString ServerPath() const { return InstanceGuard(m_root.filePath("runtime")).ServerPath(); }

    // Starts the first instance and waits until it answers on its socket; the probe is a
    // request without its tag, which the instance must ignore.
    void StartFirst(test::ChildProcess& first) {
        ASSERT_TRUE(first.Start(Program(), {"/Start"}));
        const std::optional<uint32_t> answer =
            SendInstanceRequest(ServerPath(), kMessageOpen, 0x12345678, kExitTimeoutMs);
        ASSERT_EQ(answer, 0u) << "the instance did not come up, or acted on a tagless request";
        ASSERT_TRUE(first.IsRunning());
    }

    int RunToEnd(const QStringList& arguments, const QString& program = QString()) {
        test::ChildProcess process;
        if (!process.Start(program.isEmpty() ? Program() : program, arguments)) return -1;
        if (!process.WaitForExit(kExitTimeoutMs)) return -2;
        m_lastStderr = process.Stderr();
        return process.ExitedNormally() ? process.ExitCode() : -3;
    }

    QTemporaryDir m_root;
    std::vector<std::pair<const char*, QByteArray>> m_saved;
    QString m_lastStderr;
};

TEST_F(ProcessTest, SecondStartHandsOpenToTheFirstAndEnds) {
    test::ChildProcess first;
    StartFirst(first);
    EXPECT_EQ(RunToEnd({}), 0);
    EXPECT_EQ(RunToEnd({"/START", "whatever"}), 0);
    EXPECT_TRUE(first.IsRunning());
    // The first instance acts on a tagged OPEN (here: the "no keyboard" box) and answers.
    EXPECT_EQ(SendInstanceRequest(ServerPath(), kMessageOpen, kTagOpen, kExitTimeoutMs), 1u);
    EXPECT_TRUE(first.IsRunning());
}

TEST_F(ProcessTest, KillEndsTheRunningInstanceAfterItsShutdown) {
    test::ChildProcess first;
    StartFirst(first);
    EXPECT_TRUE(SemaphoreExists("/Vantor_Event_Main_01"));
    EXPECT_TRUE(SemaphoreExists("/Vantor_Event_Main_212"));

    EXPECT_EQ(RunToEnd({"/kill"}), 0) << m_lastStderr.toStdString();
    // The answer came after the shutdown: events removed and lock released already.
    EXPECT_FALSE(SemaphoreExists("/Vantor_Event_Main_01"));
    EXPECT_FALSE(SemaphoreExists("/Vantor_Event_Main_212"));
    InstanceGuard guard(m_root.filePath("runtime"));
    EXPECT_TRUE(guard.TryLock());
    guard.Release();

    ASSERT_TRUE(first.WaitForExit(kExitTimeoutMs));
    EXPECT_TRUE(first.ExitedNormally());
    EXPECT_EQ(first.ExitCode(), 0);
}

TEST_F(ProcessTest, KillWithNothingRunningEndsWithZero) {
    EXPECT_EQ(RunToEnd({"/KILL"}), 0);
    EXPECT_FALSE(QFile::exists(ServerPath())) << "nothing was started";
}

TEST_F(ProcessTest, GuiCommandReachesTheRunningProgramOrSaysNoneRuns) {
    const QString ctl = test::BuildProgramFolder() + QStringLiteral("/vantorctl");
    EXPECT_EQ(RunToEnd({"gui-command", "32780"}, ctl), 3) << m_lastStderr.toStdString();

    test::ChildProcess first;
    StartFirst(first);
    // The update window opens in the running program; the answer does not wait for it.
    EXPECT_EQ(RunToEnd({"gui-command", "32780"}, ctl), 0) << m_lastStderr.toStdString();
    EXPECT_EQ(RunToEnd({"gui-command", "abc"}, ctl), 2);
    // With the window open, a "/Kill" start still ends the program.
    EXPECT_EQ(RunToEnd({"/kill"}), 0) << m_lastStderr.toStdString();
    ASSERT_TRUE(first.WaitForExit(kExitTimeoutMs));
    EXPECT_EQ(first.ExitCode(), 0);
}

TEST_F(ProcessTest, AMissingSkinPictureEndsTheProcessWithZeroAndNoWindow) {
    ASSERT_TRUE(QFile::remove(ProgramFolder() + "/Skins/main_over.jpg"));
    EXPECT_EQ(RunToEnd({}), 0);
    // It ended before serving anything; the next start is a first start again.
    InstanceGuard guard(m_root.filePath("runtime"));
    EXPECT_TRUE(guard.TryLock());
}

}  // namespace
}  // namespace vantor
