// The built vantorctl's verify, diagnose and --json against vantor-sim running as a process of
// its own.

#include "SampleProfile.h"
#include "SimServer.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace vantor {
namespace {

// The command byte of each request the emulator's log shows it received ("> " lines).
QStringList ReceivedCommands(const QStringList& log) {
    QStringList commands;
    for (const QString& line : log) {
        if (line.startsWith("> "))
            commands << line.mid(2 + 6, 2);
    }
    return commands;
}

TEST(ReportCommandsProcess, DiagnoseOnlyReadsAndVerifyFollowsTheWorkingFile) {
    test::TestEnvironment env;
    test::ChildEnvironment childEnvironment(env.ProcessEnvironment());
    const QString socket = env.Root() + "/sim.sock";
    test::SimServer sim;
    ASSERT_TRUE(sim.Start(socket));

    const test::CtlRun diagnose = test::RunCtl({"--sim", socket, "diagnose"});
    EXPECT_EQ(diagnose.exit, 0) << diagnose.err.toStdString();
    EXPECT_TRUE(diagnose.out.contains("why: chosen: ")) << diagnose.out.toStdString();
    const QStringList commands = ReceivedCommands(sim.Log());
    EXPECT_EQ(commands, QStringList({"03"})) << "read status only";

    const test::CtlRun status = test::RunCtl({"--sim", socket, "--json", "status"});
    ASSERT_EQ(status.exit, 0) << status.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(status.out.toUtf8()).object()["activeProfile"].toInt(-1), 0);

    const QString imported = env.Root() + "/in.vpf";
    test::WriteSampleProfile(imported);
    ASSERT_EQ(test::RunCtl({"--sim", socket, "import", imported}).exit, 0);
    test::CtlRun verify = test::RunCtl({"--sim", socket, "verify"});
    EXPECT_EQ(verify.exit, 0) << verify.out.toStdString() << verify.err.toStdString();

    // Another valid profile file in place of the working one: profile 1's T differs.
    const QString other = env.Root() + "/other.vpf";
    test::WriteSampleProfile(other, 3, 30, false);
    ASSERT_TRUE(QFile::remove(env.Paths().WorkingProfileFile()));
    ASSERT_TRUE(QFile::copy(other, env.Paths().WorkingProfileFile()));
    verify = test::RunCtl({"--sim", socket, "verify"});
    EXPECT_EQ(verify.exit, 11) << verify.err.toStdString();
    EXPECT_TRUE(
        verify.out.contains("profile 1, key T: keyboard is disabled, file has its "
                            "built-in function"))
        << verify.out.toStdString();

    EXPECT_TRUE(sim.Stop());
}

}  // namespace
}  // namespace vantor
