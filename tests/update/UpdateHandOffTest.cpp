// The whole hand-off against vantor-sim as a process of its own: the main window finds the
// keyboard through its device monitor, the update window starts a test updater, and the
// updater, a script, asks the emulator what it had received and whether a keyboard is there.

#include "device/BackendSelection.h"
#include "device/DeviceLink.h"
#include "device/DeviceState.h"
#include "device/DeviceThreads.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/ProgramData.h"
#include "shell/TrayState.h"
#include "support/ModalAnswers.h"
#include "support/QuickMonitor.h"
#include "support/TestEnvironment.h"
#include "tools/vantorctl/SimServer.h"
#include "ui/ImageButton.h"
#include "update/UpdateDialog.h"

#include "UpdaterScript.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::ChooseFile;
using test::ModalAnswers;
using test::WaitUntil;

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

TEST(UpdateHandOff, TheKeyboardHasLeftTheBusBeforeTheUpdaterRuns) {
    test::EnsureApplication();
    test::TestEnvironment env;
    ASSERT_TRUE(test::CopyProgramData(env.ProgramFolder()));
    const QString package = AppPaths::Current()->PackageFolder();
    ASSERT_TRUE(QDir().mkpath(package));

    const QString socket = env.Root() + "/sim.sock";
    test::SimServer sim;
    ASSERT_TRUE(sim.Start(socket));

    // The updater: what the keyboard had received when it started, and whether a keyboard
    // was there to be asked for its status (exit 3: none found).
    const QString updater = env.Root() + "/flash.sh";
    const QString out = env.Root() + "/flash";
    ASSERT_TRUE(test::WriteUpdaterScript(
        updater, QStringLiteral("'%1' --socket '%2' ctl log > '%3.log'\n"
                                "'%4' --sim '%2' status > /dev/null 2>&1; echo $? > '%3.tmp'\n"
                                "mv '%3.tmp' '%3.status'\n")
                     .arg(VANTOR_SIM_PROGRAM, socket, out, VANTORCTL_PROGRAM)));

    std::shared_ptr<HidBackend> backend = SelectBackend(socket);
    DeviceLink link(backend);
    DeviceState state;
    std::unique_ptr<DeviceThreads> threads;
    std::unique_ptr<MainWindow> window;
    // Also when an assertion ends the test early: the window takes no more device calls, then
    // the threads stop, before either goes.
    const auto stopBoth = qScopeGuard([&] {
        if (window) window->Exit();
        if (threads) threads->Stop();
    });
    MainWindow::Setup setup;
    setup.link = &link;
    setup.deviceState = &state;
    setup.namedEventPrefix = QStringLiteral("UpdateHandOff%1_").arg(::getpid());
    setup.requireTrayHost = false;
    setup.deviceEventsReady = [&] {
        const MonitorTiming monitor{.firstReportPauseMs = 0,
                                    .searchPollMs = 50,
                                    .connectedProbeMs = test::kNoConnectedProbeMs};
        threads = std::make_unique<DeviceThreads>(backend, link, state, *window,
                                                  DeviceThreads::Timing{monitor, 1000});
        threads->Start();
    };
    window = std::make_unique<MainWindow>(env.Paths().MainSkinFile(), env.Paths().SkinFolder(),
                                          setup);
    window->Initialise();
    ASSERT_TRUE(WaitUntil([&] {
        return state.Present() && window->TrayStateCode().Shown() == TrayState::kConnected;
    }));

    UpdateDialog& dialog = window->UpdateWindow();
    dialog.show();
    {
        ModalAnswers answers({ChooseFile(updater)});
        dialog.Button(UpdateDialog::kOpenButton)->click();
    }
    ASSERT_EQ(dialog.Handoff().Chosen(), updater);
    dialog.Button(UpdateDialog::kUpdateButton)->click();
    EXPECT_FALSE(dialog.isVisible());

    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(out + ".status"); }, 20000))
        << "the updater did not finish; its folder holds: "
        << QDir(env.Root()).entryList(QDir::Files).join(u' ').toStdString();
    EXPECT_EQ(ReadText(out + ".status"), QStringLiteral("3")) << "a keyboard still answered";
    // The last report the keyboard took was the boot-mode request, and it sent nothing back.
    const QStringList log = ReadText(out + ".log").split(u'\n');
    const QString boot = QStringLiteral("> 040000eeee") + QString(118, u'0');
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.last(), boot);
    EXPECT_EQ(ReadText(updater + ".pwd"), package);
    EXPECT_EQ(ReadText(updater + ".args"), QStringLiteral("0"));

    // The program takes the keyboard's leaving as any removal.
    EXPECT_TRUE(WaitUntil([&] {
        return !state.Present() && window->TrayStateCode().Shown() == TrayState::kDisconnected;
    }));

    window->Exit();
    threads->Stop();
    EXPECT_TRUE(sim.Stop());
}

}  // namespace
}  // namespace vantor
