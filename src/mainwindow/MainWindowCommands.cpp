#include "mainwindow/MainWindow.h"

#include "device/ControlCommands.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/LightingSlots.h"
#include "mainwindow/ProfileSlots.h"
#include "profiles/ProfileMenu.h"
#include "shell/InstanceMessages.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "shell/tray/AboutDialog.h"
#include "shell/tray/OpenHelp.h"
#include "shell/tray/TrayPictures.h"
#include "update/UpdateDialog.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QMetaObject>
#include <QUrl>

#include <cstdio>

namespace vantor {

void MainWindow::OpenLink() {
    if (!m_link.isEmpty()) QDesktopServices::openUrl(QUrl(m_link));
}

void MainWindow::OpenUpdateDialog() { UpdateWindow().exec(); }

UpdateDialog& MainWindow::UpdateWindow() {
    if (!m_updateDialog) {
        const std::shared_ptr<const AppPaths> paths = AppPaths::Current();
        m_updateDialog = new UpdateDialog(paths->UpdateSkinFile(), paths->SkinFolder(),
                                               *m_setup.link, m_store,
                                               FirmwareUpdate(paths->PackageFolder()), this);
    }
    return *m_updateDialog;
}

void MainWindow::CreateTray() {
    m_tray.SetIconSource(&TrayPicture);
    if (!m_tray.Create(LanguageText(QStringLiteral("KEYBOARD_TRAY_DESC")),
                       TrayPicture(TrayState::kDisconnected), 140, m_setup.requireTrayHost)) {
        // No box: the icon waits for a tray to start, and a line tells how to reach the
        // program meanwhile.
        std::fputs("vantor: no system tray yet; the tray icon appears when one starts. Until then "
                   "start vantor again (or from the application menu) to open its window.\n",
                   stderr);
    }
    m_tray.SetSingleClickCommand(ControlIds::kProfileMenuCommand);
    m_tray.SetMenuCallback([](QMenu* menu) {
        const std::map<int, QString> keys = {{TrayIcon::kCommandOpen, QStringLiteral("MENU_11")},
                                             {TrayIcon::kCommandAbout, QStringLiteral("MENU_22")},
                                             {TrayIcon::kCommandExit, QStringLiteral("MENU_33")}};
        for (QAction* action : menu->actions()) {
            const auto key = keys.find(action->data().toInt());
            if (key != keys.end()) action->setText(LanguageText(key->second));
        }
    });
    m_trayState = TrayState();
}

uint32_t MainWindow::AnswerOtherProgram(const WindowMessage& message) {
    m_events.WaitUntilCreated();
    return HandleMessage(message);
}

uint32_t MainWindow::HandleMessage(const WindowMessage& message) {
    if (!CarriesTag(message)) return 0;
    switch (message.id) {
        case kMessageOpen: OpenRequest(); return 1;
        case kMessageKill: Exit(); return 1;
        case kMessageInit:
            m_initialisedFlag = true;
            hide();
            return 1;
        case kMessageLanguage: ApplyLanguage(int(message.argument)); return 1;
        case kMessageConnected: ShowKeyboardArrival(ExchangeOnArrival()); return 1;
        case kMessageGone: CloseChildDialogs(); return 0;
        case kMessageCommand:
            if (IsClosing()) return 0;
            // Answered at once: the command may open a modal window that runs until closed.
            QMetaObject::invokeMethod(
                this, [this, command = int(message.argument)] { RunCommand(command); },
                Qt::QueuedConnection);
            return 1;
        default: return 0;
    }
}

bool MainWindow::NeedsControls(int command) {
    if (ProfileOfMenuCommand(command)) return false;
    switch (command) {
        case TrayIcon::kCommandOpen:
        case TrayIcon::kCommandAbout:
        case TrayIcon::kCommandExit:
        case ControlIds::kProfileMenuCommand:
        case ControlIds::kClose:
        case ControlIds::kExitCommand:
        case ControlIds::kHelp:
        case ControlIds::kLink:
        case ControlIds::kTestCommand: return false;
        default: return true;
    }
}

void MainWindow::RunCommand(int command) {
    if (IsClosing()) return;
    // A command for the controls of a window never shown (a second start's or vantorctl's):
    // the window is built to run it and lets go of its pictures again while it stays hidden.
    const bool building = !m_built && NeedsControls(command);
    if (building) Initialise();
    RunCommandOnWindow(command);
    if (building && !isVisible() && !IsClosing()) ReleasePictures();
}

void MainWindow::RunCommandOnWindow(int command) {
    if (ProfileOfMenuCommand(command)) {
        m_profiles->OnProfileMenuCommand(command);
        return;
    }
    switch (command) {
        case ControlIds::kOk: accept(); break;
        case ControlIds::kCancel: reject(); break;
        case ControlIds::kApply: m_profiles->Apply(); break;
        case ControlIds::kProfileButtons[0]: m_profiles->SelectProfile(0); break;
        case ControlIds::kProfileButtons[1]: m_profiles->SelectProfile(1); break;
        case ControlIds::kProfileButtons[2]: m_profiles->SelectProfile(2); break;
        case ControlIds::kReports[0]: m_lighting->ChooseReportRate(0); break;
        case ControlIds::kReports[1]: m_lighting->ChooseReportRate(1); break;
        case ControlIds::kReports[2]: m_lighting->ChooseReportRate(2); break;
        case ControlIds::kReports[3]: m_lighting->ChooseReportRate(3); break;
        case ControlIds::kDefault: m_profiles->RestoreDefaults(); break;
        case ControlIds::kBackupMenu: m_profiles->PopUpBackupMenu(); break;
        case ControlIds::kRestoreCommand: m_profiles->ImportProfile(); break;
        case ControlIds::kBackupCommand: m_profiles->ExportProfile(); break;
        case ControlIds::kProfileMenuCommand: m_profiles->PopUpProfileMenu(); break;
        // The hidden "Test" button: nothing shows it, its command still reaches the keyboard.
        case ControlIds::kTestCommand: Command0D(*m_setup.link); break;
        case ControlIds::kProfiles: m_profiles->OpenProfileManager(); break;
        case ControlIds::kUpdateCommand: OpenUpdateDialog(); break;
        case ControlIds::kMacro:
            m_keyAssign->OpenForButton(ControlIds::kMacroExtraKey);
            break;
        case ControlIds::kLink: OpenLink(); break;
        case ControlIds::kFlip1:
        case ControlIds::kFlip2: ToggleFlip(); break;
        case ControlIds::kSwitch: SetColourView(!m_colourView); break;
        case ControlIds::kHelp: OpenHelp(); break;
        case ControlIds::kMinimize: showMinimized(); break;
        case ControlIds::kClose:
        case TrayIcon::kCommandExit:
        case ControlIds::kExitCommand: Exit(); break;
        case TrayIcon::kCommandOpen: OpenRequest(); break;
        case TrayIcon::kCommandAbout: AboutDialog::ShowAbout(m_link); break;
        default: break;
    }
}

void MainWindow::OpenRequest() {
    if (IsClosing()) return;
    if (!IsKeyboardConnected()) {
        ShowPrompt(QStringLiteral("MAIN_NO_DEVICE_PROMPT"));
        return;
    }
    ShowWindow();
}

void MainWindow::ShowWindow() {
    if (IsClosing()) return;
    // Shown, it gets a taskbar button like any application window. Once: new flags on a window
    // on the screen hide it, and it would be hidden and shown again.
    if (windowType() == Qt::Tool) setWindowFlag(Qt::Tool, false);
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::ShowPrompt(const QString& languageKey) {
    // Not modal: the request that asked for it (a second start waiting for its answer, the
    // monitor thread) does not wait for the user. One box at a time.
    if (m_noDevicePrompt) {
        m_noDevicePrompt->SetText(LanguageText(languageKey));
        m_noDevicePrompt->raise();
        return;
    }
    auto* box = new MessageBox(LanguageText(languageKey), QMessageBox::Ok, QMessageBox::Ok, this);
    box->setWindowTitle(QString());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowIcon(windowIcon());
    m_noDevicePrompt = box;
    box->show();
    box->raise();
}

}  // namespace vantor
