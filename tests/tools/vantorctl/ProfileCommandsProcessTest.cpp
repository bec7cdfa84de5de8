// The built vantorctl's import and export against vantor-sim running as a process of its own.

#include "SampleProfile.h"
#include "SimServer.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantor {
namespace {

// Points the child processes at the test's folders while it lives.
class ChildEnvironment {
public:
    explicit ChildEnvironment(const QProcessEnvironment& environment) {
        for (const QString& name : {QStringLiteral("VANTOR_PROGRAM_DIR"),
                                    QStringLiteral("XDG_CONFIG_HOME"),
                                    QStringLiteral("XDG_DATA_HOME"),
                                    QStringLiteral("XDG_RUNTIME_DIR")}) {
            const QByteArray key = name.toLocal8Bit();
            m_saved.push_back({key, qgetenv(key.constData()), qEnvironmentVariableIsSet(key.constData())});
            qputenv(key.constData(), environment.value(name).toLocal8Bit());
        }
    }
    ~ChildEnvironment() {
        for (const Saved& s : m_saved) {
            if (s.wasSet) qputenv(s.key.constData(), s.value);
            else qunsetenv(s.key.constData());
        }
    }

private:
    struct Saved {
        QByteArray key, value;
        bool wasSet;
    };
    std::vector<Saved> m_saved;
};

TEST(ProfileCommandsProcess, ImportThenExportOverTheSocket) {
    test::TestEnvironment env;
    ChildEnvironment childEnvironment(env.ProcessEnvironment());
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
