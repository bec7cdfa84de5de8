// The built vantorctl's import and export against vantor-sim running as a process of its own.

#include "SampleProfile.h"
#include "SimServer.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(ProfileCommandsProcess, ImportThenExportOverTheSocket) {
    test::TestEnvironment env;
    test::ChildEnvironment childEnvironment(env.ProcessEnvironment());
    const QString socket = env.Root() + "/sim.sock";
    test::SimServer sim;
    ASSERT_TRUE(sim.Start(socket));

    const QString imported = env.Root() + "/in.vpf";
    const QString exported = env.Root() + "/out.vpf";
    test::WriteSampleProfile(imported);
    for (const QStringList& args : {QStringList{"--sim", socket, "import", imported},
                                    QStringList{"--sim", socket, "export", exported}}) {
        const test::CtlRun r = test::RunCtl(args);
        EXPECT_EQ(r.exit, 0) << r.err.toStdString();
    }
    test::ExpectSameProfiles(imported, exported);
    test::ExpectSameProfiles(imported, env.Paths().WorkingProfileFile());

    EXPECT_TRUE(sim.Stop());
}

}  // namespace
}  // namespace vantor
