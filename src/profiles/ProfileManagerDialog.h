#pragma once

#include "profiles/ProfileContext.h"
#include "profiles/ProfileManager.h"
#include "ui/SkinnedDialog.h"

#include <QString>

class QTableWidget;
class QTableWidgetItem;

namespace vantor {

// The profile manager: a modal skinned dialog on "Profile.ini" listing the profile files that
// stand for the on-board profiles, with Add, Load, Delete, Apply, OK and Cancel. Its rules are
// ProfileManager's; this window shows them and asks for the files.
class ProfileManagerDialog : public SkinnedDialog {
    Q_OBJECT

public:
    // Control ids, which are also the commands of the buttons.
    enum ControlId : int {
        kList = 1007, kAdd = 1010, kLoad = 1008, kDelete = 1011, kApply = 1012
    };

    ProfileManagerDialog(const QString& skinIniPath, const QString& skinFolder,
                       ProfileContext& context, QWidget* parent = nullptr);
    ~ProfileManagerDialog() override;

    // A button's command (1010 Add, 1008 Load, 1011 Delete, 1012 Apply, 1 OK, 2 Cancel).
    void RunCommand(int command) override;
    // The column headers and the on-board profiles' names in that language.
    void ApplyLanguage(int languageIndex) override;
    // OK applies what was changed here; both close the manager's rules.
    void accept() override;
    void reject() override;

    // A profile switch made while the dialog is open: the profile's row checked, Apply off.
    void FollowSwitch(int profile);
    void DisableApply();

    const ProfileManager& Manager() const { return m_manager; }
    QTableWidget* List() const { return m_list; }

protected:
    // Each opening: the buttons and the list placed from the skin, the rows of the profile
    // files as they stand, Apply off until something changes.
    void SetUp() override;

private:
    void Add();
    void Load();
    void Delete();
    void Apply();
    // The row the person selected; -1 when none is.
    int SelectedRow() const;
    void OnItemChanged(QTableWidgetItem* item);
    // The list and the Apply button as the rules have them.
    void ShowRows();
    void ShowApplyState();

    ProfileContext& m_context;
    ProfileManager m_manager;
    QTableWidget* m_list = nullptr;
};

}  // namespace vantor
