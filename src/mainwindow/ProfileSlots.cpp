#include "mainwindow/ProfileSlots.h"

#include "device/CommandResult.h"
#include "device/StatusCommands.h"
#include "mainwindow/CVantorDlg.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/OffUiThread.h"
#include "macros/RewriteAllMark.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "shell/AppLocks.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "ui/CPngButton.h"

#include <QAction>
#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMetaObject>

namespace vantor {

namespace {

const QString kProfileFileFilter = QStringLiteral("(*.vpf);;(*.*)");

QMessageBox::StandardButton Ask(QWidget* owner, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(kApplicationName), text, buttons,
                    owner);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

ProfileSlots::ProfileSlots(CVantorDlg& window, DeviceLink& link, DeviceState& device,
                           ProfileStore& store)
    : QObject(nullptr),
      m_window(window),
      m_snapshot(SnapshotLock()),
      m_context{link, device, store, m_snapshot, *this} {}

ProfileSlots::~ProfileSlots() = default;

// Profile buttons ------------------------------------------------------------------------------

void ProfileSlots::SelectProfile(int profile) {
    if (profile < 0 || profile >= kOnBoardProfileCount) return;
    m_selectedProfile = profile;
    m_window.RefreshLightingPanel(profile);
    m_window.SetColourMode(false);
    if (GetCurrentProfile(m_context) == profile) return;
    SwitchProfile(m_context, profile);
    // Only a switch the keyboard took shows its button selected.
    if (CachedActiveProfile().load() == profile) {
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
    for (int n = 0; n < kOnBoardProfileCount; ++n) {
        if (CPngButton* button = m_window.Button(ControlIds::kProfileButtons[n]))
            button->SetSelected(n == profile);
    }
}

// Apply and Default ----------------------------------------------------------------------------

int ProfileSlots::RunWithBusyPicture(const std::function<int()>& work) {
    BusyAnimation& busy = m_window.Busy();
    busy.Start();
    m_busy = true;
    const int result = RunOffUiThread(work);
    m_busy = false;
    busy.Finish();
    return result;
}

int ProfileSlots::Apply() {
    // A second Apply while keyboard work runs (a queued call) would only repeat it.
    if (m_busy) return 0;
    int applied = 1;
    if (HasUnappliedChanges()) {
        applied = RunWithBusyPicture([this] {
            std::lock_guard lock(m_context.store.Lock());
            const int saved = SaveWorkingProfile(m_context.store);
            const int downloaded = PrepareDownloadSnapshot(m_context, false);
            return saved != 0 && downloaded != 0 ? 1 : 0;
        });
        if (applied) SetUnappliedChanges(false);
    } else {
        m_window.Busy().Start();
        m_window.Busy().Finish();
    }
    return applied;
}

void ProfileSlots::RestoreDefaults() {
    if (!AskYesNo(QStringLiteral("MAIN_PROMPT_DEFAULT"))) return;
    for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
        m_window.ResetProfileAssignments(profile);
    }
    // Lighting and key map of profile 0, then of 1 and 2: each profile's writes go together.
    const int reset = RunWithBusyPicture([this] {
        int result = 1;
        for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
            if (ResetKeyboardProfile(m_context, profile) != kCommandOk) result = 0;
        }
        return result;
    });
    // A keyboard that missed a key map gets all three with the next download.
    if (!reset) SetRewriteAllMark();
    Apply();
    SelectProfile(0);
}

// Backup menu, import and export ---------------------------------------------------------------

void ProfileSlots::PopUpBackupMenu() {
    QMenu menu(&m_window);
    const std::pair<int, const char*> items[] = {{ControlIds::kRestoreCommand, "MENU_1"},
                                                 {ControlIds::kBackupCommand, "MENU_2"}};
    for (const auto& [command, key] : items) {
        menu.addAction(LanguageText(QString::fromLatin1(key)))->setData(command);
    }
    if (QAction* chosen = menu.exec(QCursor::pos())) m_window.OnCommand(chosen->data().toInt());
}

QString ProfileSlots::ChooseProfileFile(bool save) {
    QFileDialog dialog(&m_window, QString(), QString(), kProfileFileFilter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("vpf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void ProfileSlots::ExportProfile() {
    const QString path = ChooseProfileFile(true);
    if (path.isEmpty()) return;
    bool saved = false;
    {
        std::lock_guard lock(m_context.store.Lock());
        saved = SaveProfileToPath(m_context.store, path);
    }
    // A backup that silently did not happen would be found out only when it is needed.
    if (!saved) ShowMessage(QStringLiteral("MAIN_PROMPT_EXPORT"), path);
}

void ProfileSlots::ImportProfile() {
    const QString path = ChooseProfileFile(false);
    if (path.isEmpty()) return;
    if (ValidateProfileFile(path, *this) <= 0) {
        ShowMessage(QStringLiteral("MAIN_PROMPT_INPORT"));
        return;
    }
    enum { kNotLoaded = -1, kNotDownloaded = 0, kImported = 1 };
    const int result = RunWithBusyPicture([this, path] {
        std::lock_guard lock(m_context.store.Lock());
        // The store changes only when the whole file was taken in.
        if (LoadProfileFile(m_context.store, path) != 1) return int(kNotLoaded);
        SaveWorkingProfile(m_context.store);
        return PrepareDownloadSnapshot(m_context, true) != 0 ? int(kImported)
                                                             : int(kNotDownloaded);
    });
    if (result == kNotLoaded) {
        ShowMessage(QStringLiteral("MAIN_PROMPT_INPORT"));
        return;
    }
    {
        std::lock_guard lock(m_context.store.Lock());
        m_window.RefreshKeyButtons();
    }
    // When the keyboard did not take the import, Apply stays on and rewrites all three key
    // maps, so the keyboard cannot be left on the key maps it had.
    if (result == kNotDownloaded) {
        SetRewriteAllMark();
        SetUnappliedChanges(true);
    } else {
        SetUnappliedChanges(false);
    }
}

// Profile pop-up menu --------------------------------------------------------------------------

void ProfileSlots::PopUpProfileMenu() {
    if (!m_profileMenu) {
        m_profileMenu = new QMenu(&m_window);
        connect(m_profileMenu, &QMenu::triggered, this,
                [this](QAction* action) { OnProfileMenuCommand(action->data().toInt()); });
        ShowProfileMenu(BuildProfileMenu(CachedActiveProfile().load()));
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
}

void ProfileSlots::ShowProfileMenu(const ProfileMenu& menu) {
    if (CPngButton* button = m_window.Button(ControlIds::kProfiles)) {
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

// The keyboard ---------------------------------------------------------------------------------

void ProfileSlots::KeyboardArrived() {
    ReloadCurrentProfile(m_context, false);
    UpdateProfileButtons();
    RebuildProfileMenu(m_context);
}

void ProfileSlots::KeyboardProfilesReset() {
    for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
        m_window.ResetProfileAssignments(profile);
    }
    // The keyboard is already on its profile: it is read, not switched to, so no question
    // about the changes the reset itself just made comes up.
    StatusBlock status{};
    if (ReadStatus(m_context.link, &status) == kCommandOk) {
        CachedActiveProfile().store(status[kStatusActiveProfile]);
    }
    m_window.SetColourMode(false);
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
    if (!IsUiThread()) {
        QMetaObject::invokeMethod(
            this, [this, languageKey, argument] { ShowMessage(languageKey, argument); },
            Qt::QueuedConnection);
        return;
    }
    Ask(&m_window, FormatLanguageText(languageKey, argument), QMessageBox::Ok, QMessageBox::Ok);
}

bool ProfileSlots::AskYesNo(const QString& languageKey) {
    return Ask(&m_window, LanguageText(languageKey), QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No) == QMessageBox::Yes;
}

void ProfileSlots::RefreshKeyButtons(int /*block*/) { m_window.RefreshKeyButtons(); }

bool ProfileSlots::HasUnappliedChanges() const { return m_window.HasUnappliedChanges(); }

void ProfileSlots::SetUnappliedChanges(bool on) { m_window.SetUnappliedChanges(on); }

bool ProfileSlots::IsKeyAssignDialogOpen() const { return false; }

}  // namespace vantor
