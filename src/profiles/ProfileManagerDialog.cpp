#include "profiles/ProfileManagerDialog.h"

#include "profiles/KeyboardFailure.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "ui/ImageButton.h"
#include "ui/SkinPlacement.h"
#include "ui/UserBoxes.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

namespace vantor {

namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");
const QString kProfileFileFilter = QStringLiteral("(*.vpf);;(*.*)");

constexpr SkinButtonPlace kButtonPlaces[] = {
    {ProfileManagerDialog::kOk, "CONTROL_OK"},      {ProfileManagerDialog::kCancel, "CONTROL_CANCEL"},
    {ProfileManagerDialog::kAdd, "FUNC_ADD"},       {ProfileManagerDialog::kLoad, "FUNC_LOAD"},
    {ProfileManagerDialog::kDelete, "FUNC_DELETE"}, {ProfileManagerDialog::kApply, "CONTROL2_APPLY"},
};

// The list's fixed headers (language keys) and widths: the check box, the name, the folder.
struct Column {
    const char* header;
    int width;
};
constexpr Column kColumns[] = {{"PROFILE_LIST_ACTIVE", 60}, {"PROFILE_LIST_NAME", 120}, {"PROFILE_LIST_FOLDER", 230}};

// The list sits in a dark inset of the skin's picture; its check boxes are drawn to show on it.
const QString kListStyle = QStringLiteral(
    "QTableWidget { background: #121418; color: #e8eaee; gridline-color: #2e333d;"
    " border: 1px solid #2e333d; selection-background-color: #c25e05;"
    " selection-color: #ffffff; }"
    "QTableWidget::indicator { width: 12px; height: 12px; border: 1px solid #8a909c;"
    " border-radius: 2px; background: #1b1e25; }"
    "QTableWidget::indicator:checked { background: #ff8a1f; border-color: #ffb05c; }"
    "QHeaderView { background: #1b1e25; }"
    "QHeaderView::section { background: #1b1e25; color: #8a909c; border: none;"
    " border-right: 1px solid #2e333d; border-bottom: 1px solid #2e333d; padding: 2px 4px; }"
    "QTableCornerButton::section { background: #1b1e25; border: none; }");

}  // namespace

ProfileManagerDialog::ProfileManagerDialog(const QString& skinIniPath, const QString& skinFolder,
                                       ProfileContext& context, QWidget* parent)
    : SkinnedDialog(skinIniPath, skinFolder, parent),
      m_context(context) {
    setObjectName(QStringLiteral("ProfileManagerDialog"));
    AddButtons(kButtonPlaces);
    m_list = new QTableWidget(0, int(std::size(kColumns)), this);
    m_list->setObjectName(QString::number(kList));
    m_list->setHorizontalHeaderLabels(QStringList(int(std::size(kColumns)), QString()));
    for (int c = 0; c < int(std::size(kColumns)); ++c) {
        m_list->setColumnWidth(c, kColumns[c].width);
        m_list->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    m_list->horizontalHeader()->setSectionsClickable(false);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->hide();
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One line a row: a long folder loses its middle, not its end.
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->setStyleSheet(kListStyle);
    connect(m_list, &QTableWidget::itemChanged, this, &ProfileManagerDialog::OnItemChanged);
}

ProfileManagerDialog::~ProfileManagerDialog() = default;

void ProfileManagerDialog::SetUp() {
    SkinnedDialog::SetUp();
    // A missing picture ends the process here, before anything shows.
    const QPixmap* normal = StatePicture(QStringLiteral("Skins\\Profile_normal.jpg"));
    const QPixmap* over = StatePicture(QStringLiteral("Skins\\Profile_over.jpg"));
    const QPixmap* down = StatePicture(QStringLiteral("Skins\\Profile_down.jpg"));
    PlaceButtons(ButtonFaces{normal, over, down, down, normal});
    PlaceControl(*m_list, SkinIniPath(), kButtonInfo, QStringLiteral("PROGRAM_LIST"));

    m_manager.Open(m_context.device.ActiveProfile());
    ShowRows();
    ShowApplyState();
    ApplyLanguage(GetLanguageIndex());
}

void ProfileManagerDialog::ApplyLanguage(int languageIndex) {
    SkinnedDialog::ApplyLanguage(languageIndex);
    for (int c = 0; c < int(std::size(kColumns)); ++c)
        m_list->horizontalHeaderItem(c)->setText(LanguageText(QLatin1String(kColumns[c].header), languageIndex));
    // The on-board profiles' rows are named in the language.
    ShowRows();
}

void ProfileManagerDialog::RunCommand(int command) {
    switch (command) {
        case kAdd: Add(); break;
        case kLoad: Load(); break;
        case kDelete: Delete(); break;
        case kApply: Apply(); break;
        case kOk: accept(); break;
        case kCancel: reject(); break;
        default: break;
    }
}

void ProfileManagerDialog::Add() {
    // The profile folder's path followed at once by the language's proposed name, which
    // brings its own separator.
    const QFileInfo proposed(AppPaths::Current()->UserFolder() +
                             LanguageText(QStringLiteral("PROFILE_NEW")));
    const QString path = ChooseFileBox(
        this, FileBoxOptions{true, proposed.absolutePath(), proposed.fileName(),
                             kProfileFileFilter, QStringLiteral("vpf")});
    if (path.isEmpty()) return;
    // A row for a file that is not there would stand for nothing: say so instead.
    if (!m_manager.AddNew(path)) {
        ShowUserBox(this, FormatLanguageText(QStringLiteral("MAIN_PROMPT_EXPORT"), path));
        return;
    }
    ShowRows();
    ShowApplyState();
}

void ProfileManagerDialog::Load() {
    const QString path = ChooseFileBox(
        this, FileBoxOptions{false, AppPaths::Current()->UserFolder(), {}, kProfileFileFilter, {}});
    if (path.isEmpty()) return;
    m_manager.AddExisting(path);
    ShowRows();
    ShowApplyState();
}

void ProfileManagerDialog::Delete() {
    // Only a row the person selected goes: the current row may be one nobody selected.
    if (!m_manager.Remove(SelectedRow())) return;
    m_list->clearSelection();
    ShowRows();
    ShowApplyState();
}

int ProfileManagerDialog::SelectedRow() const {
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ProfileManagerDialog::Apply() {
    // The settings values are a record only; nothing reads them, so a store that cannot be
    // written changes nothing the user sees.
    const ProfileManager::Applied applied = m_manager.Apply(m_context);
    ShowRows();
    ShowApplyState();
    // The tick went back to the profile the keyboard is on; the person learns why.
    const QString failure =
        KeyboardFailureText(KeyboardFailureOf(applied.switched, m_context.link), false);
    if (!failure.isEmpty()) ShowUserBox(this, failure);
}

void ProfileManagerDialog::OnItemChanged(QTableWidgetItem* item) {
    if (item->column() != 0) return;
    m_manager.SetChecked(item->row(), item->checkState() == Qt::Checked);
    ShowRows();
    ShowApplyState();
}

void ProfileManagerDialog::FollowSwitch(int profile) {
    m_manager.FollowSwitch(profile);
    ShowRows();
    ShowApplyState();
}

void ProfileManagerDialog::DisableApply() {
    m_manager.DisableApply();
    ShowApplyState();
}

void ProfileManagerDialog::ShowRows() {
    const QSignalBlocker blocker(m_list);
    const int selected = SelectedRow();
    const std::vector<ProfileRow>& rows = m_manager.Rows();
    m_list->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        auto* check = new QTableWidgetItem();
        check->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        check->setCheckState(rows[size_t(r)].checked ? Qt::Checked : Qt::Unchecked);
        m_list->setItem(r, 0, check);
        m_list->setItem(r, 1, new QTableWidgetItem(rows[size_t(r)].ShownName()));
        const QString folder = QDir::toNativeSeparators(rows[size_t(r)].folder);
        m_list->setItem(r, 2, new QTableWidgetItem(folder));
        m_list->item(r, 2)->setToolTip(folder);
        for (int c = 1; c < 3; ++c) {
            m_list->item(r, c)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
    }
    if (selected >= 0 && selected < int(rows.size())) m_list->selectRow(selected);
}

void ProfileManagerDialog::ShowApplyState() {
    if (ImageButton* apply = Button(kApply)) apply->setEnabled(m_manager.CanApply());
}

void ProfileManagerDialog::accept() {
    // Only what was changed here is applied: applying reloads the store from the keyboard,
    // which would drop the main window's unapplied edits for nothing.
    if (m_manager.CanApply()) Apply();
    m_manager.Close();
    SkinnedDialog::accept();
}

void ProfileManagerDialog::reject() {
    m_manager.Close();
    ShowApplyState();
    SkinnedDialog::reject();
}

}  // namespace vantor
