#pragma once

#include "device/DeviceLink.h"
#include "profiles/ProfileStore.h"
#include "ui/CBaseDialog.h"
#include "ui/SkinButtonSet.h"
#include "update/FirmwareUpdate.h"

#include <QString>

class QComboBox;
class QLabel;

namespace vantor {

// The firmware update window: a modal skinned dialog on "UpdateDlg.ini" that shows the chosen
// updater, chooses one (Open), hands the keyboard to it (Update), forgets it (Cancel update)
// and backs the working profile up (Backup). Its rules are FirmwareUpdate's; the chosen
// updater outlives each opening, as this window lives as long as the main window.
class CVantor_DlgUpdate : public CBaseDialog {
    Q_OBJECT

public:
    // Control ids, which are also the commands of the buttons.
    static constexpr int kPathStatic = 1179;
    static constexpr int kHiddenList = 1178;
    static constexpr int kOpenButton = 1181;
    static constexpr int kUpdateButton = 1147;
    static constexpr int kCancelUpdateButton = 1180;
    static constexpr int kBackupButton = 1182;

    CVantor_DlgUpdate(const QString& skinIniPath, const QString& skinFolder, DeviceLink& link,
                      ProfileStore& store, FirmwareUpdate update, QWidget* parent = nullptr);
    ~CVantor_DlgUpdate() override;

    void OnCommand(int command);

    const FirmwareUpdate& Handoff() const { return m_update; }
    QLabel* PathText() const { return m_path; }
    CPngButton* Button(int id) const { return m_buttons.Button(id); }

protected:
    void OnInitDialog() override;

private:
    void Open();
    void RunUpdate();
    void CancelUpdate();
    void Backup();
    // The static shows the chosen path (its middle left out when it is too long), drawn at once.
    void ShowChosen();

    DeviceLink& m_link;
    ProfileStore& m_store;
    FirmwareUpdate m_update;
    QLabel* m_path = nullptr;
    QComboBox* m_hiddenList = nullptr;
    SkinButtonSet m_buttons;
};

}  // namespace vantor
