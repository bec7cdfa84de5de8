#pragma once

#include "device/DeviceLink.h"
#include "profiles/ProfileStore.h"
#include "ui/SkinnedDialog.h"
#include "update/FirmwareUpdate.h"

#include <QString>

class QComboBox;
class QLabel;

namespace vantor {

// The firmware update window: a modal skinned dialog on "UpdateDlg.ini" that shows the chosen
// updater, chooses one (Open), hands the keyboard to it (Update), forgets it (Cancel update)
// and backs the working profile up (Backup). Its rules are FirmwareUpdate's; the chosen
// updater outlives each opening, as this window lives as long as the main window.
class UpdateDialog : public SkinnedDialog {
    Q_OBJECT

public:
    // Control ids, which are also the commands of the buttons.
    enum ControlId : int {
        kPathStatic = 1179, kHiddenList = 1178, kOpenButton = 1181, kUpdateButton = 1147,
        kCancelUpdateButton = 1180, kBackupButton = 1182
    };

    UpdateDialog(const QString& skinIniPath, const QString& skinFolder, DeviceLink& link,
                      ProfileStore& store, FirmwareUpdate update, QWidget* parent = nullptr);
    ~UpdateDialog() override;

    void RunCommand(int command) override;

    const FirmwareUpdate& Handoff() const { return m_update; }
    QLabel* PathText() const { return m_path; }

protected:
    // Each opening places the buttons and the path from the skin and shows the chosen updater.
    void SetUp() override;

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
};

}  // namespace vantor
