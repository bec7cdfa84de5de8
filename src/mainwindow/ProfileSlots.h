#pragma once

#include "mainwindow/UiThreadBridge.h"
#include "profiles/ProfileContext.h"
#include "profiles/ProfileMenu.h"
#include "profiles/ProfileResult.h"
#include "profiles/ProfileUi.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

#include <QMenu>

namespace vantor {

class MainWindow;
class ProfileManagerDialog;

// The main window's side of the three on-board profiles: the profile buttons, Apply with its
// busy picture, Default, the backup menu with import and export, the profile pop-up menu, and
// what the keyboard's arrival and its reset event do to the working store. It is also how the
// profile operations reach the windows (ProfileUi).
//
// Whatever talks to the keyboard at length (Apply's save and download, an import's download,
// Default's writes) runs off the user-interface thread with the store lock held there, while
// the window keeps painting and the busy picture keeps moving; the user's input waits.
class ProfileSlots : public QObject, public ProfileUi {
    Q_OBJECT

public:
    ProfileSlots(MainWindow& window, DeviceLink& link, DeviceState& device, ProfileStore& store);
    ~ProfileSlots() override;

    ProfileContext& Context() { return m_context; }
    ProfileStore& Snapshot() { return m_snapshot; }

    // Profile button n + 1: shows profile n's lighting and makes n the keyboard's active
    // profile unless it already is.
    void SelectProfile(int profile);
    // Shows the keyboard's active profile's button selected (nothing while it is unknown).
    void UpdateProfileButtons();
    // The profile buttons as last shown, for buttons made since.
    void ShowProfileButtons() { ShowProfileButtonSelected(m_buttonProfile); }
    int SelectedProfile() const { return m_selectedProfile; }

    // Saves the working profile file and downloads the store when there are unapplied
    // changes; the mark is cleared when both succeeded. 1 when nothing is left unapplied.
    // A keyboard that did not take the download is said, with its cause, in a message box.
    int Apply();
    // Keyboard work is running off this thread (the store is locked there).
    bool IsBusy() const { return m_busy; }
    // Default: asks, then returns all three profiles to factory state on the keyboard and in
    // the store, applies and selects profile 0.
    void RestoreDefaults();
    // The backup menu at the cursor, its items titled from the language file.
    void PopUpBackupMenu();
    // Backup: the whole store to a profile file the user names.
    void ExportProfile();
    // Restore: a profile file the user names becomes the store and goes to the keyboard at
    // once; a file that cannot be taken in changes nothing and says so.
    void ImportProfile();
    // The profile pop-up menu at the cursor, created the first time it is asked for.
    void PopUpProfileMenu();
    void OnProfileMenuCommand(int command);
    QMenu* ProfileMenuWidget() const { return m_profileMenu; }

    // The profile manager (the profile button, command 1005), run modally.
    void OpenProfileManager();
    // The profile manager's window, created on first use.
    ProfileManagerDialog& Manager();
    // The profile manager's texts, when it exists (it takes the language as it opens).
    void ApplyLanguage(int languageIndex);

    // The keyboard arrived: the store follows the keyboard, the buttons follow its profile.
    void KeyboardArrived(ProfileResult read);
    // The keyboard reset its profiles (event 0x0402): the store's assignments go back to the
    // defaults and the buttons follow the keyboard's active profile.
    void KeyboardProfilesReset();

    // ProfileUi.
    void ShowMessage(const QString& languageKey, const QString& argument = {}) override;
    bool AskYesNo(const QString& languageKey) override;
    void RefreshKeyButtons(int block) override;
    bool HasUnappliedChanges() const override;
    void SetUnappliedChanges(bool on) override;
    bool IsKeyAssignDialogOpen() const override;
    void RunApply() override { Apply(); }
    void ShowProfileMenu(const ProfileMenu& menu) override;
    bool IsProfileManagerOpen() const override;
    bool IsProfileManagerApplyEnabled() const override;
    void CheckProfileManagerRow(int profile) override;
    void DisableProfileManagerApply() override;
    void ResetProfileColours(int profile) override;
    CommandResult RefreshProfileLighting(int profile) override;

private:
    // Runs keyboard work off this thread with the busy picture moving; its result.
    ProfileResult RunWithBusyPicture(const std::function<ProfileResult()>& work);
    // After the store went to the keyboard (Apply, import, Default): the key buttons show the
    // store, and what the keyboard did not take stays unapplied, so Apply sends it again.
    // Macros that do not fit are said here, and so is a keyboard that did not take it.
    void AfterStoreFlow(ProfileResult result);
    void ShowProfileButtonSelected(int profile);
    QString ChooseProfileFile(bool save);

    MainWindow& m_window;
    ProfileStore m_snapshot;
    ProfileContext m_context;
    int m_selectedProfile = 0;
    // The profile whose button shows selected, -1 for none.
    int m_buttonProfile = -1;
    bool m_busy = false;
    // How keyboard work off this thread reaches the windows: this thread runs what it hands
    // over in the loop it turns while it waits for that work.
    UiThreadBridge m_fromKeyboardWork{*this, [] { return false; }};
    QPointer<QMenu> m_profileMenu;
    QPointer<ProfileManagerDialog> m_profileManager;
};

}  // namespace vantor
