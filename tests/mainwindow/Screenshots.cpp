// A person's check of the windows: under an X server (Xvfb), shows the main window with a
// keyboard present, the about box and the tray menu, in both languages, and saves a picture of
// the screen for each into the folder given.
//
//   VANTOR_BINARY_DIR=build xvfb-run -a -s "-screen 0 1600x1000x24"
//       build/tests/mainwindow/vantor-screenshots OUT_FOLDER      (one command line)
//
// With "--grab FILE.png" it only saves what the screen shows now (screenshot-sim.sh uses it to
// picture the real program running against vantor-sim).

#include "device/DeviceState.h"
#include "keymodel/KeyCode.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/CVantorDlg.h"
#include "shell/AppLocks.h"
#include "shell/InstanceMessages.h"
#include "shell/tray/CAboutDlg.h"

#include "mainwindow/ConnectedWindow.h"
#include "mainwindow/ProgramData.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>

#include <cstdio>

using namespace vantor;

namespace {

void Save(const QString& folder, const QString& name) {
    QTest::qWait(300);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = folder + u'/' + name + QStringLiteral(".png");
    std::printf("%s %s\n", screen.save(path) ? "saved" : "FAILED", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--grab")) {
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        return screen.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    test::TestEnvironment env;
    if (!test::CopyProgramData(env.ProgramFolder())) {
        std::fprintf(stderr, "the build's skin is missing: set VANTOR_BINARY_DIR\n");
        return 1;
    }
    for (const int language : {1, 0}) {
        env.SetLanguageIndex(language);
        const QString suffix = language == 1 ? QStringLiteral("en") : QStringLiteral("zh");
        test::ConnectedWindow connected(env, QStringLiteral("VantorScreenshots_"));
        CVantorDlg& window = *connected.window;
        DeviceState& state = connected.state;
        window.OnCommand(ControlIds::kProfileButtons[1]);
        {
            // Two keys assigned, so the picture shows the selected face: A sends B, Caps Lock a
            // media function.
            std::lock_guard lock(StoreLock());
            const auto records = window.Store().Data().Records();
            records[kRecordsPerBlock + RowOfCode(0x1E)] = KeyAssignment{kAssignKey, 0, 0x30, 0, 0};
            records[kRecordsPerBlock + RowOfCode(0x3A)] = KeyAssignment{kAssignMedia, 0, 3, 0, 0};
        }
        window.RefreshKeyButtons();
        window.SetUnappliedChanges(true);
        QTest::qWait(100);
        window.OnCommand(CTrayIcon::kCommandOpen);
        window.move(40, 40);
        Save(folder, "main-" + suffix);

        window.OnCommand(CTrayIcon::kCommandAbout);
        if (CAboutDlg* about = CAboutDlg::Instance()) about->move(500, 300);
        Save(folder, "about-" + suffix);
        CAboutDlg::CloseAboutIfOpen();

        window.hide();
        QMenu* menu = window.Tray().Menu();
        if (menu) {
            menu->popup(QPoint(1400, 880));
            Save(folder, "tray-menu-" + suffix);
            menu->hide();
        }
        window.OnCommand(CTrayIcon::kCommandOpen);
        state.SetPresent(false);
        window.hide();
        window.OnCommand(CTrayIcon::kCommandOpen);  // the "no keyboard" box
        Save(folder, "no-keyboard-" + suffix);
        if (QMessageBox* box = window.NoDevicePrompt()) box->close();
    }
    return 0;
}
