// The built vantorctl against vantor-sim running as a process of its own.

#include "device/emulator/ChildProcess.h"
#include "device/emulator/SimSocketBackend.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vantor {
namespace {

constexpr int kWait = 10000;  // ms; a deadline, never reached when things work

struct Result {
    int exit = -1;
    QString out, err;
};

class VantorCtlProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        socket = dir.filePath("sim.sock");
        ASSERT_TRUE(sim.Start(VANTOR_SIM_PROGRAM, {"--socket", socket}));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWait);
        while (sim.IsRunning() && !SimSocketBackend(socket).IsServerReachable() &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(SimSocketBackend(socket).IsServerReachable());
    }
    void TearDown() override {
        sim.Terminate();
        EXPECT_TRUE(sim.WaitForExit(kWait));
    }

    Result Ctl(const QStringList& args) {
        test::ChildProcess ctl;
        Result r;
        if (!ctl.Start(VANTORCTL_PROGRAM, args) || !ctl.WaitForExit(kWait)) return r;
        return {ctl.ExitCode(), ctl.Stdout(), ctl.Stderr()};
    }

    QTemporaryDir dir;
    QString socket;
    test::ChildProcess sim;
};

TEST_F(VantorCtlProcess, StatusSwitchAndTraceOverTheSocket) {
    Result r = Ctl({"--sim", socket, "status"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("active profile: 0\n")) << r.out.toStdString();

    r = Ctl({"--sim", socket, "--trace", "switch", "1"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);  // read status and write status, each answered
    const QString kinds[] = {"> 042f0003", "< ", "> ", "< "};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(lines[i].startsWith(kinds[i])) << lines[i].toStdString();
        EXPECT_EQ(lines[i].size(), 130);
    }
    EXPECT_TRUE(lines[2].mid(2, 8) == "04" + lines[2].mid(4, 4) + "04") << lines[2].toStdString();

    r = Ctl({"--sim", socket, "status"});
    EXPECT_TRUE(r.out.startsWith("active profile: 1\n")) << r.out.toStdString();
}

TEST_F(VantorCtlProcess, NoKeyboardHasItsOwnExitCode) {
    test::ChildProcess ctl;
    ASSERT_TRUE(ctl.Start(VANTOR_SIM_PROGRAM, {"--socket", socket, "ctl", "unplug"}));
    ASSERT_TRUE(ctl.WaitForExit(kWait));
    const Result r = Ctl({"--sim", socket, "status"});
    EXPECT_EQ(r.exit, 3);
    EXPECT_TRUE(r.err.startsWith("vantorctl: no keyboard found")) << r.err.toStdString();
}

}  // namespace
}  // namespace vantor
