// A person's check of the windows: under an X server (Xvfb), shows the main window with a
// keyboard present, the key assignment dialog's pages, the about box, the tray menu, the
// profile manager and the update window (with its file box), in both languages, and saves a
// picture of the screen for each into the folder given.
//
//   VANTOR_BINARY_DIR=build xvfb-run -a -s "-screen 0 1600x1000x24"
//       build/tests/mainwindow/vantor-screenshots OUT_FOLDER      (one command line)
//
// With "--grab FILE.png" it only saves what the screen shows now (screenshot-sim.sh uses it to
// picture the real program running against vantor-sim).

#include "device/DeviceState.h"
#include "keymodel/KeyCode.h"
#include "keymodel/KeyTables.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/LightingSlots.h"
#include "lighting/LightingPanelView.h"
#include "mainwindow/MainWindow.h"
#include "shell/AppLocks.h"
#include "shell/InstanceMessages.h"
#include "shell/tray/AboutDialog.h"
#include "mainwindow/ProfileSlots.h"
#include "profiles/ProfileManagerDialog.h"
#include "shell/Paths.h"
#include "update/UpdateDialog.h"

#include "mainwindow/ConnectedWindow.h"
#include "mainwindow/ProgramData.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace vantor;

namespace {

void Save(const QString& folder, const QString& name) {
    QTest::qWait(300);
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    const QString path = folder + u'/' + name + QStringLiteral(".png");
    std::printf("%s %s\n", screen.save(path) ? "saved" : "FAILED", qPrintable(path));
}

// Pictures the file box the window opens next, then chooses the file in it.
void SaveFileBoxAndChoose(const QString& folder, const QString& name, const QString& path) {
    QTimer::singleShot(300, [folder, name, path] {
        auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        box->move(520, 260);
        Save(folder, name);
        if (auto* edit = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            edit->setText(path);
        QMetaObject::invokeMethod(box, "accept");
    });
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
        MainWindow& window = *connected.window;
        DeviceState& state = connected.state;
        window.RunCommand(ControlIds::kProfileButtons[1]);
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
        window.RunCommand(TrayIcon::kCommandOpen);
        window.move(40, 40);
        Save(folder, "main-" + suffix);

        // The lighting panel for effects of each kind of control, then colour mode with a few
        // keys painted.
        LightingSlots& lighting = window.Lighting();
        for (const uint8_t effect : {1, 12, 17, 18, 20}) {
            const auto& table = lighting.Panel().EffectTable();
            const auto found = std::find(table.begin(), table.end(), effect);
            if (found == table.end()) continue;
            lighting.View().EffectList()->setCurrentRow(int(found - table.begin()));
            Save(folder, QStringLiteral("lighting-%1-").arg(effect) + suffix);
        }
        lighting.ToggleColourMode();
        lighting.Colours().PickKeyColour(Rgb{0x00, 0x8A, 0xFF});
        for (const KeyCode key : {KeyCode(0x11), KeyCode(0x1E), KeyCode(0x1F), KeyCode(0x20)}) {  // W A S D
            const auto position = std::find(KeyList.begin(), KeyList.end(), key) - KeyList.begin();
            window.OnKeyClick(KeyListButtonIds[size_t(position)]);
        }
        lighting.View().ColourValueBox(0)->setText(QStringLiteral("255"));
        Save(folder, "colour-mode-" + suffix);
        lighting.ToggleColourMode();

        // The key assignment dialog for A, on each of its pages.
        KeyAssignDialog& dialog = window.KeyAssign();
        QTimer::singleShot(0, &dialog, [&] {
            Save(folder, "keyassign-single-" + suffix);
            dialog.RunCommand(KeyAssignDialog::kPageMedia);
            Save(folder, "keyassign-media-" + suffix);
            dialog.RunCommand(KeyAssignDialog::kPageFunction);
            Save(folder, "keyassign-function-" + suffix);
            dialog.CloseIfOpen();
        });
        dialog.OpenForButton(KeyListButtonIds[0]);

        window.RunCommand(TrayIcon::kCommandAbout);
        if (AboutDialog* about = AboutDialog::Instance()) about->move(500, 300);
        Save(folder, "about-" + suffix);
        AboutDialog::CloseAboutIfOpen();

        // The profile manager over the main window, a fourth row added and checked.
        ProfileManagerDialog& profiles = window.Profiles().Manager();
        profiles.show();
        profiles.move(560, 200);
        SaveFileBoxAndChoose(folder, "profile-add-box-" + suffix,
                             AppPaths::Current()->UserFolder() + "/Gaming-" + suffix + ".vpf");
        profiles.RunCommand(ProfileManagerDialog::kAdd);
        profiles.List()->item(3, 0)->setCheckState(Qt::Checked);
        profiles.List()->setCurrentCell(1, 1);
        Save(folder, "profile-manager-" + suffix);
        profiles.reject();

        // The update window with an updater chosen from the package folder.
        const QString package = AppPaths::Current()->PackageFolder();
        QDir().mkpath(package);
        QFile updater(package + QStringLiteral("/flash-q780dx"));
        if (updater.open(QIODevice::WriteOnly)) {
            updater.write("#!/bin/sh\n");
            updater.close();
            updater.setPermissions(updater.permissions() | QFile::ExeOwner);
        }
        UpdateDialog& update = window.UpdateWindow();
        update.show();
        update.move(560, 260);
        SaveFileBoxAndChoose(folder, "update-open-box-" + suffix, updater.fileName());
        update.RunCommand(UpdateDialog::kOpenButton);
        Save(folder, "update-" + suffix);
        update.RunCommand(UpdateDialog::kCancelUpdateButton);

        window.hide();
        QMenu* menu = window.Tray().Menu();
        if (menu) {
            menu->popup(QPoint(1400, 880));
            Save(folder, "tray-menu-" + suffix);
            menu->hide();
        }
        window.RunCommand(TrayIcon::kCommandOpen);
        state.SetPresent(false);
        window.hide();
        window.RunCommand(TrayIcon::kCommandOpen);  // the "no keyboard" box
        Save(folder, "no-keyboard-" + suffix);
        if (MessageBox* box = window.NoDevicePrompt()) box->close();
    }
    return 0;
}
