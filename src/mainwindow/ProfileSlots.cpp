#include "mainwindow/ProfileSlots.h"

#include "mainwindow/MainWindow.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/KeyButtonGrid.h"
#include "mainwindow/LightingSlots.h"
#include "mainwindow/OffUiThread.h"
#include "profiles/ProfileManagerDialog.h"
#include "profiles/KeyboardFailure.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFlows.h"
#include "shell/AppLocks.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "ui/ImageButton.h"
#include "ui/UserBoxes.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>

namespace vantor {

namespace {

const QString kProfileFileFilter = QStringLiteral("(*.vpf);;(*.*)");

}  // namespace

ProfileSlots::ProfileSlots(MainWindow& window, DeviceLink& link, DeviceState& device,
                           ProfileStore& store)
    : QObject(nullptr),
      m_window(window),
      m_snapshot(SnapshotLock()),
      m_context{link, device, store, m_snapshot, *this} {}

ProfileSlots::~ProfileSlots() = default;

// Profile buttons ------------------------------------------------------------------------------

void ProfileSlots::SelectProfile(int profile) {
    if (profile < 0 || profile >= kOnBoardProfileCount) return;
    RefreshProfileLighting(profile);
    m_window.Lighting().ColourModeOff();
    if (GetCurrentProfile(m_context) == profile) return;
    SwitchProfile(m_context, profile);
    // Only a switch the keyboard took shows its button selected.
    if (m_context.device.ActiveProfile() == profile) {
        ShowProfileButtonSelected(profile);
        m_window.SetColourView(false);
    }
}

void ProfileSlots::UpdateProfileButtons() {
    const int current = GetCurrentProfile(m_context);
    if (current < 0 || current >= kOnBoardProfileCount) return;
    ShowProfileButtonSelected(current);
    m_selectedProfile = current;
}

void ProfileSlots::ShowProfileButtonSelected(int profile) {
    m_buttonProfile = profile;
    for (int n = 0; n < kOnBoardProfileCount; ++n) {
        if (ImageButton* button = m_window.Button(ControlIds::kProfileButtons[n]))
            button->SetSelected(n == profile);
    }
}

// Apply and Default ----------------------------------------------------------------------------

ProfileResult ProfileSlots::RunWithBusyPicture(const std::function<ProfileResult()>& work) {
    BusyAnimation& busy = m_window.Busy();
    busy.Start();
    m_busy = true;
    const int result = RunOffUiThread([&work] { return static_cast<int>(work()); });
    m_busy = false;
    busy.Finish();
    return static_cast<ProfileResult>(result);
}

void ProfileSlots::AfterStoreFlow(ProfileResult result) {
    if (result == ProfileResult::MacrosDoNotFit) {
        ShowMessage(QStringLiteral("EXTRA_MACRO_TOO_LONG"));
    }
    {
        std::lock_guard lock(m_context.store.Lock());
        m_window.RefreshKeyButtons();
    }
    SetUnappliedChanges(result != ProfileResult::Done);
    // Apply stays on for another try; the person learns why the keyboard did not take it.
    const QString failure = KeyboardFailureText(KeyboardFailureOf(result, m_context.link), true);
    if (!failure.isEmpty()) ShowUserBox(&m_window, failure);
}

int ProfileSlots::Apply() {
    // A second Apply while keyboard work runs (a queued call) would only repeat it.
    if (m_busy) return 0;
    if (!HasUnappliedChanges()) {
        m_window.Busy().Start();
        m_window.Busy().Finish();
        return 1;
    }
    const ProfileResult result = RunWithBusyPicture([this] {
        std::lock_guard lock(m_context.store.Lock());
        const bool saved = SaveWorkingProfile(m_context.store) != 0;
        const ProfileResult downloaded = PrepareDownloadSnapshot(m_context, false);
        return FirstFailure(downloaded, saved ? ProfileResult::Done : ProfileResult::FileError);
    });
    AfterStoreFlow(result);
    return result == ProfileResult::Done ? 1 : 0;
}

void ProfileSlots::RestoreDefaults() {
    if (!AskYesNo(QStringLiteral("MAIN_PROMPT_DEFAULT"))) return;
    const ExtraKeyBank bank = m_window.Keys().Bank();
    const bool switches = m_context.device.ActiveProfile() != 0;
    // The flow ends as profile button 1 does: the panel shows profile 0, and the keyboard is
    // switched to it only when it was on another profile.
    AfterStoreFlow(RunWithBusyPicture([this, bank] { return RestoreDefaultProfiles(m_context, bank); }));
    m_window.Lighting().ColourModeOff();
    if (switches && m_context.device.ActiveProfile() == 0) m_window.SetColourView(false);
    UpdateProfileButtons();
    RebuildProfileMenu(m_context);
}

// Backup menu, import and export ---------------------------------------------------------------

void ProfileSlots::PopUpBackupMenu() {
    QMenu menu(&m_window);
    const std::pair<int, const char*> items[] = {{ControlIds::kRestoreCommand, "MENU_1"},
                                                 {ControlIds::kBackupCommand, "MENU_2"}};
    for (const auto& [command, key] : items) {
        menu.addAction(LanguageText(QString::fromLatin1(key)))->setData(command);
    }
    if (QAction* chosen = menu.exec(QCursor::pos())) m_window.RunCommand(chosen->data().toInt());
}

QString ProfileSlots::ChooseProfileFile(bool save) {
    return ChooseFileBox(&m_window, FileBoxOptions{save, {}, {}, kProfileFileFilter,
                                                   QStringLiteral("vpf")});
}

void ProfileSlots::ExportProfile() {
    const QString path = ChooseProfileFile(true);
    if (path.isEmpty()) return;
    // A backup that silently did not happen would be found out only when it is needed.
    if (vantor::ExportProfile(m_context.store, path) != ProfileResult::Done)
        ShowMessage(QStringLiteral("MAIN_PROMPT_EXPORT"), path);
}

void ProfileSlots::ImportProfile() {
    const QString path = ChooseProfileFile(false);
    if (path.isEmpty()) return;
    ProfileFileRead file = ReadProfileFile(path);
    if (file.check != ProfileCheck::Valid) {
        if (ResultOfCheck(file.check) == ProfileResult::InvalidFile)
            ShowMessage(QStringLiteral("PROFILE_FORMAT_ERROR"), path);
        ShowMessage(QStringLiteral("MAIN_PROMPT_INPORT"));
        return;
    }
    AfterStoreFlow(RunWithBusyPicture(
        [this, &file] { return vantor::ImportProfile(m_context, std::move(*file.data)); }));
}

// Profile pop-up menu --------------------------------------------------------------------------

void ProfileSlots::PopUpProfileMenu() {
    if (!m_profileMenu) {
        m_profileMenu = new QMenu(&m_window);
        connect(m_profileMenu, &QMenu::triggered, this,
                [this](QAction* action) { OnProfileMenuCommand(action->data().toInt()); });
        ShowProfileMenu(BuildProfileMenu(m_context.device.ActiveProfile()));
    }
    m_window.raise();
    m_window.activateWindow();
    m_profileMenu->popup(QCursor::pos());
}

void ProfileSlots::OnProfileMenuCommand(int command) {
    const std::optional<int> profile = ProfileOfMenuCommand(command);
    if (!profile) return;
    SwitchProfile(m_context, *profile);
    UpdateProfileButtons();
    // The lighting panel edits the profile the keyboard now has.
    if (m_selectedProfile == *profile) {
        m_window.RefreshLightingPanel(*profile);
        m_window.Lighting().ColourModeOff();
    }
}

void ProfileSlots::ShowProfileMenu(const ProfileMenu& menu) {
    if (ImageButton* button = m_window.Button(ControlIds::kProfiles)) {
        button->setText(menu.caption);
        button->SetToolTipText(menu.tooltip);
    }
    if (!m_profileMenu) return;
    m_profileMenu->clear();
    for (size_t position = 0; position < menu.items.size(); ++position) {
        const ProfileMenuItem& item = menu.items[position];
        if (item.IsSeparator()) {
            m_profileMenu->addSeparator();
            continue;
        }
        QAction* action = m_profileMenu->addAction(item.text);
        action->setData(item.id);
        action->setCheckable(true);
        action->setChecked(int(position) == menu.checkedPosition);
    }
}

// Profile manager ------------------------------------------------------------------------------

void ProfileSlots::OpenProfileManager() { Manager().exec(); }

ProfileManagerDialog& ProfileSlots::Manager() {
    if (!m_profileManager) {
        const std::shared_ptr<const AppPaths> paths = AppPaths::Current();
        m_profileManager = new ProfileManagerDialog(paths->ProfileSkinFile(), paths->SkinFolder(),
                                                  m_context, &m_window);
    }
    return *m_profileManager;
}

void ProfileSlots::ApplyLanguage(int languageIndex) {
    if (m_profileManager) m_profileManager->ApplyLanguage(languageIndex);
}

bool ProfileSlots::IsProfileManagerOpen() const { return ProfileManager::OpenCount() > 0; }

bool ProfileSlots::IsProfileManagerApplyEnabled() const {
    return m_profileManager && m_profileManager->Manager().CanApply();
}

void ProfileSlots::CheckProfileManagerRow(int profile) {
    if (m_profileManager) m_profileManager->FollowSwitch(profile);
}

void ProfileSlots::DisableProfileManagerApply() {
    if (m_profileManager) m_profileManager->DisableApply();
}

// The keyboard ---------------------------------------------------------------------------------

void ProfileSlots::KeyboardArrived(ProfileResult read) {
    FinishReload(m_context, read, false);
    UpdateProfileButtons();
    RebuildProfileMenu(m_context);
}

void ProfileSlots::KeyboardProfilesReset() {
    // A keyboard that did not say its profile keeps the buttons as they were; the store is
    // reset either way, and the reset stays unapplied as any other change of the store.
    FollowKeyboardReset(m_context, m_window.Keys().Bank());
    SetUnappliedChanges(true);
    m_window.Lighting().ColourModeOff();
    {
        std::lock_guard lock(m_context.store.Lock());
        m_window.RefreshKeyButtons();
    }
    UpdateProfileButtons();
    RebuildProfileMenu(m_context);
}

// ProfileUi ------------------------------------------------------------------------------------

void ProfileSlots::ShowMessage(const QString& languageKey, const QString& argument) {
    // A download off this thread speaks through the window's thread without waiting for it.
    m_fromKeyboardWork.Post([this, languageKey, argument] {
        ShowUserBox(&m_window, FormatLanguageText(languageKey, argument));
    });
}

bool ProfileSlots::AskYesNo(const QString& languageKey) {
    return ShowUserBox(&m_window, LanguageText(languageKey), QMessageBox::Yes | QMessageBox::No,
                       QMessageBox::No) == QMessageBox::Yes;
}

void ProfileSlots::RefreshKeyButtons(int /*block*/) { m_window.RefreshKeyButtons(); }

bool ProfileSlots::HasUnappliedChanges() const { return m_window.HasUnappliedChanges(); }

void ProfileSlots::SetUnappliedChanges(bool on) { m_window.SetUnappliedChanges(on); }

void ProfileSlots::ResetProfileColours(int profile) { m_window.Lighting().ResetProfileColours(profile); }

CommandResult ProfileSlots::RefreshProfileLighting(int profile) {
    // From keyboard work off this thread it waits for the window's thread, whose loop runs
    // what is handed to it while it waits for that work (RunOffUiThread). The panel shows what
    // it could read; a keyboard that left is told by its presence, not by Default's message.
    m_fromKeyboardWork.Send([this, profile] {
        m_selectedProfile = profile;
        m_window.RefreshLightingPanel(profile);
    });
    return CommandResult::Ok;
}

bool ProfileSlots::IsKeyAssignDialogOpen() const { return m_window.KeyAssign().IsOpen(); }

}  // namespace vantor
