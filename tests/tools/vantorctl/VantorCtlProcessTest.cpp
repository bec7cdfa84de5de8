// The built vantorctl against vantor-sim running as a process of its own.

#include "SimServer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::RunCtl;

class VantorCtlProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        socket = dir.filePath("sim.sock");
        ASSERT_TRUE(sim.Start(socket));
    }
    void TearDown() override { EXPECT_TRUE(sim.Stop()); }

    QTemporaryDir dir;
    QString socket;
    test::SimServer sim;
};

TEST_F(VantorCtlProcess, StatusSwitchAndTraceOverTheSocket) {
    test::CtlRun r = RunCtl({"--sim", socket, "status"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("active profile: 0\n")) << r.out.toStdString();

    r = RunCtl({"--sim", socket, "--trace", "switch", "1"});
    EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);  // read status and write status, each answered
    const QString kinds[] = {"> 042f0003", "< ", "> ", "< "};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(lines[i].startsWith(kinds[i])) << lines[i].toStdString();
        EXPECT_EQ(lines[i].size(), 130);
    }
    EXPECT_TRUE(lines[2].mid(2, 8) == "04" + lines[2].mid(4, 4) + "04") << lines[2].toStdString();

    r = RunCtl({"--sim", socket, "status"});
    EXPECT_TRUE(r.out.startsWith("active profile: 1\n")) << r.out.toStdString();
}

TEST_F(VantorCtlProcess, NoKeyboardHasItsOwnExitCode) {
    ASSERT_TRUE(sim.Control({"unplug"}));
    const test::CtlRun r = RunCtl({"--sim", socket, "status"});
    EXPECT_EQ(r.exit, 3);
    EXPECT_TRUE(r.err.startsWith("vantorctl: no keyboard found")) << r.err.toStdString();
}

}  // namespace
}  // namespace vantor
