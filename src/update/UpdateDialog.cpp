#include "update/UpdateDialog.h"

#include "ui/ImageButton.h"
#include "ui/SkinPlacement.h"
#include "ui/UserBoxes.h"

#include <QComboBox>
#include <QLabel>

#include <algorithm>

namespace vantor {

namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");

constexpr SkinButtonPlace kButtonPlaces[] = {
    {UpdateDialog::kCancelUpdateButton, "CONTROL_CUPButton"},
    {UpdateDialog::kUpdateButton, "CONTROL_UPButton"},
    {UpdateDialog::kOpenButton, "CONTROL_OPENButton"},
    {UpdateDialog::kBackupButton, "CONTROL_BACKUPButton"},
};

// The chosen path is light text in the dark inset the skin's picture draws for it.
const QString kPathStyle = QStringLiteral("QLabel { color: #e8eaee; background: transparent;"
                                          " padding: 0 6px; }");

}  // namespace

UpdateDialog::UpdateDialog(const QString& skinIniPath, const QString& skinFolder,
                                     DeviceLink& link, ProfileStore& store, FirmwareUpdate update,
                                     QWidget* parent)
    : SkinnedDialog(skinIniPath, skinFolder, parent),
      m_link(link),
      m_store(store),
      m_update(std::move(update)) {
    setObjectName(QStringLiteral("UpdateDialog"));
    AddButtons(kButtonPlaces);
    m_path = new QLabel(this);
    m_path->setObjectName(QString::number(kPathStatic));
    m_path->setStyleSheet(kPathStyle);
    m_path->setTextFormat(Qt::PlainText);
    // Placed from the skin, never filled or shown.
    m_hiddenList = new QComboBox(this);
    m_hiddenList->setObjectName(QString::number(kHiddenList));
    m_hiddenList->hide();
}

UpdateDialog::~UpdateDialog() = default;

void UpdateDialog::SetUp() {
    SkinnedDialog::SetUp();
    // A missing picture ends the process here, before anything shows. The second picture is
    // every state but the normal one.
    const QPixmap* normal = StatePicture(QStringLiteral("Skins\\update_normal.jpg"));
    const QPixmap* over = StatePicture(QStringLiteral("Skins\\update_over.jpg"));
    PlaceControl(*m_path, SkinIniPath(), kButtonInfo, QStringLiteral("CONTROL_UPStatic"));
    PlaceControl(*m_hiddenList, SkinIniPath(), kButtonInfo, QStringLiteral("CONTROL_UPCombox"));
    PlaceButtons(ButtonFaces{normal, over, over, over, over});
    ShowChosen();
}

void UpdateDialog::RunCommand(int command) {
    switch (command) {
        case kOpenButton: Open(); break;
        case kUpdateButton: RunUpdate(); break;
        case kCancelUpdateButton: CancelUpdate(); break;
        case kBackupButton: Backup(); break;
        default: break;
    }
}

void UpdateDialog::Open() {
    // Updaters on this system carry no common extension: every file is offered.
    m_update.Choose(ChooseFileBox(
        this, FileBoxOptions{false, m_update.PackageFolder(), {}, QStringLiteral("(*)"), {}}));
    ShowChosen();
}

void UpdateDialog::RunUpdate() {
    const UpdateResult result = m_update.Update(m_link);
    ShowChosen();
    if (result == UpdateResult::Started) {
        reject();
        return;
    }
    ShowUserBox(this, UpdateMessage(result));
}

void UpdateDialog::CancelUpdate() {
    m_update.Forget();
    ShowChosen();
    reject();
}

void UpdateDialog::Backup() {
    const QString path = ChooseFileBox(
        this, FileBoxOptions{true, {}, {}, QStringLiteral("(*.vpf);;(*.*)"), QStringLiteral("vpf")});
    if (path.isEmpty()) return;
    ShowUserBox(this, BackupMessage(BackupProfile(m_store, path)));
}

void UpdateDialog::ShowChosen() {
    // A long path loses its middle, so the updater's name stays in sight; the tooltip has it
    // whole.
    const QString chosen = m_update.Chosen();
    const int room = std::max(0, m_path->contentsRect().width() - 12);
    m_path->setText(m_path->fontMetrics().elidedText(chosen, Qt::ElideMiddle, room));
    m_path->setToolTip(chosen);
    m_path->repaint();
    repaint();
}

}  // namespace vantor
