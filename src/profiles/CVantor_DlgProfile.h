#pragma once

#include "profiles/ProfileContext.h"
#include "profiles/ProfileManager.h"
#include "ui/CBaseDialog.h"
#include "ui/SkinButtonSet.h"

#include <QString>

class QTableWidget;
class QTableWidgetItem;

namespace vantor {

// The profile manager: a modal skinned dialog on "Profile.ini" listing the profile files that
// stand for the on-board profiles, with Add, Load, Delete, Apply, OK and Cancel. Its rules are
// ProfileManager's; this window shows them and asks for the files.
class CVantor_DlgProfile : public CBaseDialog {
    Q_OBJECT

public:
    // Control ids, which are also the commands of the buttons.
    static constexpr int kList = 1007;
    static constexpr int kAdd = 1010;
    static constexpr int kLoad = 1008;
    static constexpr int kDelete = 1011;
    static constexpr int kApply = 1012;
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;

    CVantor_DlgProfile(const QString& skinIniPath, const QString& skinFolder,
                       ProfileContext& context, QWidget* parent = nullptr);
    ~CVantor_DlgProfile() override;

    // A button's command (1010 Add, 1008 Load, 1011 Delete, 1012 Apply, 1 OK, 2 Cancel).
    void OnCommand(int command);

    // A profile switch made while the dialog is open: the profile's row checked, Apply off.
    void FollowSwitch(int profile);
    void DisableApply();

    const ProfileManager& Manager() const { return m_manager; }
    QTableWidget* List() const { return m_list; }
    CPngButton* Button(int id) const { return m_buttons.Button(id); }

protected:
    void OnInitDialog() override;
    bool OnOK() override;
    bool OnCancel() override;

private:
    void Add();
    void Load();
    void Delete();
    void Apply();
    void OnItemChanged(QTableWidgetItem* item);
    // The list and the Apply button as the rules have them.
    void ShowRows();
    void ShowApplyState();

    ProfileContext& m_context;
    ProfileManager m_manager;
    QTableWidget* m_list = nullptr;
    SkinButtonSet m_buttons;
};

}  // namespace vantor
