// The built vantorctl's import and export against vantor-sim running as a process of its own.

#include "SampleProfile.h"
#include "device/emulator/ChildProcess.h"
#include "device/emulator/SimSocketBackend.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vantor {
namespace {

constexpr int kWait = 10000;  // ms; a deadline, never reached when things work

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
    test::ChildProcess sim;
    ASSERT_TRUE(sim.Start(VANTOR_SIM_PROGRAM, {"--socket", socket}));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWait);
    while (sim.IsRunning() && !SimSocketBackend(socket).IsServerReachable() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(SimSocketBackend(socket).IsServerReachable());

    const QString imported = env.Root() + "/in.vpf";
    const QString exported = env.Root() + "/out.vpf";
    test::WriteSampleProfile(imported);
    for (const QStringList& args : {QStringList{"--sim", socket, "import", imported},
                                    QStringList{"--sim", socket, "export", exported}}) {
        test::ChildProcess ctl;
        ASSERT_TRUE(ctl.Start(VANTORCTL_PROGRAM, args));
        ASSERT_TRUE(ctl.WaitForExit(kWait));
        EXPECT_EQ(ctl.ExitCode(), 0) << ctl.Stderr().toStdString();
    }
    test::ExpectSameProfiles(imported, exported);
    test::ExpectSameProfiles(imported, env.Paths().WorkingProfileFile());

    sim.Terminate();
    EXPECT_TRUE(sim.WaitForExit(kWait));
}

}  // namespace
}  // namespace vantor
