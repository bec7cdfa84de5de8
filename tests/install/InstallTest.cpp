// `cmake --install` into a scratch prefix: the tree it lays out, the desktop entries and the
// metainfo checked by the desktop's own validators, and the installed programs run from there
// (the program finds its skins in ../share/vantor by itself).

#include "install/InstalledTree.h"
#include "support/WaitFor.h"

#include "shell/InstanceGuard.h"
#include "shell/InstanceMessages.h"
#include "shell/InstanceRequest.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vantor {
namespace {

constexpr int kProgramTimeoutMs = 20000;

class InstallTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_root = std::make_unique<QTemporaryDir>();
        s_install = test::InstallBuild(s_root->filePath("prefix"));
    }
    static void TearDownTestSuite() { s_root.reset(); }

    void SetUp() override {
        ASSERT_TRUE(s_root->isValid());
        ASSERT_TRUE(s_install.finished && s_install.exitCode == 0) << s_install.Text().toStdString();
    }

    static QString Prefix() { return s_root->filePath("prefix"); }
    static QString Installed(const QString& relative) { return Prefix() + u'/' + relative; }
    static QString Launcher() { return Installed("share/applications/org.vantor.Vantor.desktop"); }
    static QString Autostart() { return Installed("etc/xdg/autostart/org.vantor.Vantor.desktop"); }

    // The command line of a desktop entry's Exec key, its program taken from the prefix.
    static QStringList ExecOf(const QString& entry) {
        QFile file(entry);
        if (!file.open(QIODevice::ReadOnly)) return {};
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (!line.startsWith("Exec=")) continue;
            QStringList command = QString::fromUtf8(line.mid(5)).split(u' ', Qt::SkipEmptyParts);
            if (!command.isEmpty()) command.first() = Installed("bin/" + command.first());
            return command;
        }
        return {};
    }

    static inline std::unique_ptr<QTemporaryDir> s_root;
    static inline test::RunResult s_install;
};

TEST_F(InstallTest, LaysOutTheStandardTree) {
    for (const QString& file : test::ExpectedFiles("etc/xdg/autostart")) {
        EXPECT_TRUE(QFileInfo::exists(Installed(file))) << file.toStdString();
    }
    EXPECT_TRUE(QDir(Installed("share/vantor/Package")).isEmpty());
    for (const char* program : {"vantor", "vantorctl", "vantor-sim"}) {
        EXPECT_TRUE(QFileInfo(Installed(QStringLiteral("bin/") + program)).isExecutable()) << program;
    }
    // Each icon is drawn at its own size.
    for (const int size : test::kIconSizes) {
        const QImage icon(Installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/vantor.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
    // The autostart entry starts in the tray; the launcher is a plain start.
    EXPECT_EQ(ExecOf(Autostart()), QStringList({Installed("bin/vantor"), "/Start"}));
    EXPECT_EQ(ExecOf(Launcher()), QStringList({Installed("bin/vantor")}));
}

TEST_F(InstallTest, DesktopEntriesAndMetainfoPassTheirValidators) {
    const QString desktopValidate = test::Tool("desktop-file-validate");
    const QString appstream = test::Tool("appstreamcli");
    if (desktopValidate.isEmpty() || appstream.isEmpty()) {
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed";
    }
    for (const QString& entry : {Launcher(), Autostart()}) {
        const test::RunResult result = test::Run(desktopValidate, {entry});
        EXPECT_TRUE(result.finished && result.exitCode == 0 && result.Text().isEmpty())
            << entry.toStdString() << ":\n" << result.Text().toStdString();
    }
    const test::RunResult result = test::Run(
        appstream, {"validate", "--no-net", Installed("share/metainfo/org.vantor.Vantor.metainfo.xml")});
    EXPECT_TRUE(result.finished && result.exitCode == 0) << result.Text().toStdString();
}

// The autostart entry's command starts the instance; the launcher's command, given while it
// runs, hands it the open request and ends; the installed vantorctl reaches the same emulator.
TEST_F(InstallTest, InstalledProgramsRunAgainstTheInstalledEmulator) {
    const QString socket = s_root->filePath("sim.sock");
    const QString runtime = s_root->filePath("runtime");
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const std::pair<const char*, QString> variables[] = {
        {"XDG_RUNTIME_DIR", runtime},
        {"XDG_CONFIG_HOME", s_root->filePath("config")},
        {"XDG_DATA_HOME", s_root->filePath("data")},
        {"VANTOR_SIM", socket},
        {"QT_QPA_PLATFORM", QStringLiteral("offscreen")},
    };
    for (const auto& [name, value] : variables) qputenv(name, value.toLocal8Bit());
    // The installed program must find its program folder by itself.
    qunsetenv("VANTOR_PROGRAM_DIR");

    test::ChildProcess sim;
    ASSERT_TRUE(sim.Start(Installed("bin/vantor-sim"), {"--socket", socket}));
    ASSERT_TRUE(test::WaitFor([&] { return QFileInfo::exists(socket); }, kProgramTimeoutMs))
        << "vantor-sim did not start";

    const QStringList autostart = ExecOf(Autostart());
    test::ChildProcess program;
    ASSERT_TRUE(program.Start(autostart.first(), autostart.mid(1)));
    // Ready: the event loop runs and answers a request without its tag (with 0).
    const QString server = InstanceGuard(runtime).ServerPath();
    ASSERT_EQ(SendInstanceRequest(server, kMessageOpen, 0, kProgramTimeoutMs), 0u)
        << "the installed vantor did not come up";

    // It found the emulated keyboard: the emulator has received its requests.
    EXPECT_TRUE(test::WaitFor(
        [&] {
            return test::Run(Installed("bin/vantor-sim"), {"--socket", socket, "ctl", "log"})
                .out.contains("> ");
        },
        kProgramTimeoutMs))
        << "the program sent the keyboard nothing";

    const QStringList launcher = ExecOf(Launcher());
    const test::RunResult second = test::Run(launcher.first(), launcher.mid(1), kProgramTimeoutMs);
    EXPECT_TRUE(second.finished && second.exitCode == 0) << second.Text().toStdString();
    EXPECT_TRUE(program.IsRunning());

    const test::RunResult status =
        test::Run(Installed("bin/vantorctl"), {"--sim", socket, "status"}, kProgramTimeoutMs);
    EXPECT_TRUE(status.finished && status.exitCode == 0) << status.Text().toStdString();
    EXPECT_TRUE(status.out.contains("active profile: ")) << status.out.toStdString();

    const test::RunResult kill = test::Run(Installed("bin/vantor"), {"/Kill"}, kProgramTimeoutMs);
    EXPECT_TRUE(kill.finished && kill.exitCode == 0) << kill.Text().toStdString();
    ASSERT_TRUE(program.WaitForExit(kProgramTimeoutMs));
    EXPECT_EQ(program.ExitCode(), 0);
    // Offscreen there is no tray: said once, on the terminal.
    EXPECT_EQ(program.Stderr().count("no system tray yet"), 1) << program.Stderr().toStdString();
    sim.Terminate();
    EXPECT_TRUE(sim.WaitForExit(kProgramTimeoutMs));
}

}  // namespace
}  // namespace vantor
