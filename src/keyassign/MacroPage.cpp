#include "keyassign/MacroPage.h"

#include "ui/SkinLook.h"

#include "keymodel/KeyConversions.h"
#include "keymodel/KeyNames.h"
#include "keymodel/KeyTables.h"
#include "macros/ApplyMacroList.h"
#include "macros/MacroDeletion.h"
#include "macros/RecordDelaysSetting.h"
#include "shell/lang/Language.h"
#include "ui/SkinPlacement.h"
#include "ui/UserBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <array>

namespace vantor {

using namespace look;

namespace {

const QString kButtonInfo = QStringLiteral("BUTTONINFO");

enum Column { kKeyColumn, kDirectionColumn, kDelayColumn };

// The key and direction columns are drawn in grey, the delay in the list's own colour.
const QColor kGreyText(0xA0, 0xA6, 0xB0);
const QRegularExpression kDigits(QStringLiteral("[0-9]*"));

struct ButtonRow {
    int id;
    const char* skinKey;
    const char* text;  // language key of its text and tooltip; none for Add, Delete, Record
};

constexpr std::array<ButtonRow, 9> kButtons = {{{MacroPage::kAdd, "FUNC_MACRO_ADD", nullptr},
                                                 {MacroPage::kDelete, "FUNC_MACRO_DELETE", nullptr},
                                                 {MacroPage::kRecord, "FUNC_MACRO_RECORD", nullptr},
                                                 {MacroPage::kDeleteAction, "FUNC_MACRO_DELETE2", "A_DELETE"},
                                                 {MacroPage::kClearActions, "FUNC_MACRO_CLEAR", "A_CLEAR"},
                                                 {MacroPage::kTop, "FUNC_MACRO_UP_TOP", "A_TOP"},
                                                 {MacroPage::kUp, "FUNC_MACRO_UP", "A_UP"},
                                                 {MacroPage::kDown, "FUNC_MACRO_DOWN", "A_DOWN"},
                                                 {MacroPage::kBottom, "FUNC_MACRO_DOWN_BOTTOM", "A_BOTTOM"}}};

}  // namespace

// The in-place editors of the action list: the 106 keys by ordinal, the two directions, and
// digits for the delay. Their values go to the page, which lets the editor decide.
class MacroCellDelegate : public QStyledItemDelegate {
public:
    explicit MacroCellDelegate(MacroPage& page) : QStyledItemDelegate(&page), m_page(page) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        m_page.CellEditStarting(index.column());
        const std::span<const MacroAction> rows = m_page.Editor().Rows();
        if (index.row() >= static_cast<int>(rows.size())) return nullptr;
        const MacroAction& action = rows[static_cast<size_t>(index.row())];
        QWidget* editor = nullptr;
        if (index.column() == kDelayColumn) {
            auto* field = new QLineEdit(parent);
            field->setValidator(new QRegularExpressionValidator(kDigits, field));
            field->setText(QString::number(action.delay));
            editor = field;
        } else {
            auto* list = new QComboBox(parent);
            if (index.column() == kKeyColumn) {
                for (int ordinal = 0; ordinal < kKeyListSize; ++ordinal)
                    list->addItem(NameOfOrdinal(static_cast<KeyOrdinal>(ordinal)));
                list->setMaxVisibleItems(20);
                list->setCurrentIndex(OrdinalOfCode(action.keyCode) < kKeyListSize ? OrdinalOfCode(action.keyCode) : -1);
            } else {
                list->addItems({DirectionText(kMacroPress), DirectionText(kMacroRelease)});
                list->setMaxVisibleItems(6);
                list->setCurrentIndex(action.direction == kMacroRelease ? 1 : 0);
            }
            editor = list;
        }
        editor->setStyleSheet(kDialogInputStyle);
        m_open = editor;
        return editor;
    }
    void setEditorData(QWidget*, const QModelIndex&) const override {}  // preset when made
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        m_page.CommitCell(index.row(), index.column(), editor);
    }
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
        if (m_open == editor) m_open = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    // Commits and closes the editor that is open, if any.
    void EndEdit() {
        if (QWidget* editor = m_open) {
            m_open = nullptr;
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

private:
    MacroPage& m_page;
    mutable QPointer<QWidget> m_open;
};

MacroPage::MacroPage(Host host) : QObject(host.dialog), m_host(std::move(host)) {
    QWidget* dialog = m_host.dialog;
    for (const ButtonRow& row : kButtons) {
        auto* button = new ImageButton(dialog);
        button->SetTextStyle(WhiteText(8));
        const int id = row.id;
        connect(button, &ImageButton::clicked, this, [this, id] { RunCommand(id); });
        m_controls[id] = button;
    }

    // The macro list shows its name field above the names, as a list that is always open.
    m_listBox = new QWidget(dialog);
    auto* layout = new QVBoxLayout(m_listBox);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(4);
    m_name = new QLineEdit(m_listBox);
    m_names = new QListWidget(m_listBox);
    layout->addWidget(m_name);
    layout->addWidget(m_names, 1);
    connect(m_name, &QLineEdit::textEdited, this, &MacroPage::OnRename);
    connect(m_names, &QListWidget::currentRowChanged, this, &MacroPage::OnUserSelectedMacro);
    m_controls[kMacroList] = m_listBox;

    m_actions = new QTableWidget(0, 3, dialog);
    m_actions->horizontalHeader()->hide();
    m_actions->verticalHeader()->hide();
    m_actions->setShowGrid(false);
    m_actions->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_actions->setSelectionMode(QAbstractItemView::SingleSelection);
    m_actions->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                               QAbstractItemView::EditKeyPressed);
    m_actions->verticalHeader()->setDefaultSectionSize(20);
    m_delegate = new MacroCellDelegate(*this);
    m_actions->setItemDelegate(m_delegate);
    connect(m_actions, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!m_updating) m_editor.SelectRow(row);
    });
    m_controls[kActions] = m_actions;

    m_cycles = new QLineEdit(dialog);
    m_cycles->setValidator(new QRegularExpressionValidator(kDigits, m_cycles));
    connect(m_cycles, &QLineEdit::textEdited, this, &MacroPage::OnCyclesEdited);
    m_controls[kCycles] = m_cycles;

    m_recordDelaysBox = new QCheckBox(dialog);
    m_recordDelaysBox->setStyleSheet(kLabelStyle);
    connect(m_recordDelaysBox, &QCheckBox::clicked, this, [this] { RunCommand(kRecordDelays); });
    m_controls[kRecordDelays] = m_recordDelaysBox;

    for (QWidget* input : std::initializer_list<QWidget*>{m_listBox, m_actions, m_cycles}) {
        input->setStyleSheet(kDialogInputStyle);
        input->setFont(QFont(kFont, 10));
    }
    // The name field is underlined, so that it reads as a field above the names.
    m_name->setStyleSheet(QStringLiteral("border-bottom: 1px solid #3A404A;"));
    for (auto& [id, control] : m_controls) control->setObjectName(QString::number(id));
}

MacroPage::~MacroPage() = default;

ImageButton* MacroPage::Button(int id) const { return static_cast<ImageButton*>(m_controls.at(id)); }

void MacroPage::Place(const QString& skinIni, const ButtonFaces& faces) {
    for (const ButtonRow& row : kButtons)
        PlaceImageButton(*Button(row.id), skinIni, kButtonInfo, QLatin1String(row.skinKey), faces);
    const std::pair<int, const char*> inputs[] = {{kMacroList, "FUNC_MACRO_LIST"},
                                                  {kActions, "FUNC_MACRO_LIST2"},
                                                  {kCycles, "FUNC_MACRO_CYCLES"},
                                                  {kRecordDelays, "FUNC_MACRO_RECORD_DELAY"}};
    for (const auto& [id, key] : inputs) PlaceControl(*m_controls.at(id), skinIni, kButtonInfo, QLatin1String(key));
    // The key takes what the direction and the delay leave of the list's width.
    QHeaderView* header = m_actions->horizontalHeader();
    header->setSectionResizeMode(kKeyColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(kDirectionColumn, QHeaderView::Fixed);
    header->setSectionResizeMode(kDelayColumn, QHeaderView::Fixed);
    m_actions->setColumnWidth(kDirectionColumn, m_actions->width() / 6);
    m_actions->setColumnWidth(kDelayColumn, m_actions->width() * 3 / 10);
    m_actions->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void MacroPage::ApplyLanguage(int languageIndex) {
    m_languageIndex = languageIndex;
    for (const ButtonRow& row : kButtons) {
        if (row.text == nullptr) continue;
        const QString text = LanguageText(QLatin1String(row.text), languageIndex);
        Button(row.id)->setText(text);
        Button(row.id)->SetToolTipText(text);
    }
    Button(kRecord)->setText(LanguageText(QLatin1String(IsRecording() ? "MACRO_ACTION_STOP_RECORD" : "A_RECORD"),
                                          languageIndex));
    m_editor.SetNamePrefix(LanguageText(QStringLiteral("MACRO_NEW_PREFIX"), languageIndex));
}

// Opening and closing -----------------------------------------------------------------------

void MacroPage::Open() {
    m_recorder.Stop();
    {
        std::lock_guard lock(m_host.store->Lock());
        m_editor.Load(m_host.store->Data().Macros().Records());
    }
    // Whatever the setting held, it is written back as the 0 or 1 the page goes by.
    m_recordDelays = WriteRecordDelaysSetting(ReadRecordDelaysSetting()) == 1;
    m_recordDelaysBox->setChecked(m_recordDelays);
    m_recordDelaysBox->setText(QString());
    Button(kRecord)->SetSelected(false);
    ShowList();
    ShowMacro();
    m_updating = true;
    m_cycles->setText(QStringLiteral("1"));
    m_updating = false;
}

void MacroPage::Close() {
    StopRecording();
    EndCellEdit();
    m_editor.Clear();
    ShowList();
    ShowMacro();
}

void MacroPage::Apply() {
    EndCellEdit();
    StopRecording();
    m_editor.StoreShown();
    // The observer's redraws and the unapplied mark come with the dialog's own Apply, which
    // refreshes every key button and marks the change after this.
    struct : MacroApplyObserver {
        void ShowKeyRecordAsDefault(int) override {}
        void MarkUnappliedChanges() override {}
    } observer;
    ProfileData& data = m_host.store->Data();
    if (!data.HasImage()) return;
    ApplyMacroList(m_editor.Macros(), data.Records(), data.Macros(), m_host.store->Lock(), observer);
}

// Showing ------------------------------------------------------------------------------------

void MacroPage::ShowList() {
    m_updating = true;
    m_names->clear();
    for (int i = 0; i < m_editor.Count(); ++i) m_names->addItem(m_editor.Macro(i).Name());
    m_names->setCurrentRow(m_editor.Selected());
    const MacroRecord* macro = m_editor.SelectedMacro();
    m_name->setText(macro ? macro->Name() : QString());
    m_updating = false;
}

void MacroPage::ShowRow(int row) {
    const MacroAction& action = m_editor.Rows()[static_cast<size_t>(row)];
    const QString texts[] = {KeyName(action.keyCode), DirectionText(action.direction), QString::number(action.delay)};
    for (int column = 0; column < 3; ++column) {
        QTableWidgetItem* item = m_actions->item(row, column);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            if (column != kDelayColumn) item->setForeground(kGreyText);
            m_actions->setItem(row, column, item);
        }
        item->setText(texts[column]);
    }
}

void MacroPage::ShowMacro() {
    m_updating = true;
    const int count = static_cast<int>(m_editor.Rows().size());
    m_actions->clearContents();
    m_actions->setRowCount(count);
    for (int row = 0; row < count; ++row) ShowRow(row);
    if (m_editor.SelectedMacro() != nullptr) m_cycles->setText(QString::number(m_editor.CycleCount()));
    m_updating = false;
    EnableButtons();
}

// The rows from the first changed one on, and the selection the editor holds.
void MacroPage::AfterRowsChanged(int selectRow) {
    m_updating = true;
    const int count = static_cast<int>(m_editor.Rows().size());
    m_actions->setRowCount(count);
    for (int row = std::max(selectRow - 1, 0); row < count; ++row) ShowRow(row);
    if (m_editor.SelectedRow() >= 0) {
        m_actions->setCurrentCell(m_editor.SelectedRow(), kKeyColumn);
        m_actions->scrollToItem(m_actions->item(m_editor.SelectedRow(), kKeyColumn));
    } else {
        m_actions->setCurrentCell(-1, -1);
    }
    m_updating = false;
}

void MacroPage::EnableButtons() {
    const bool selected = m_editor.SelectedMacro() != nullptr;
    for (int id = kRecord; id <= kBottom; ++id) Button(id)->setEnabled(selected);
    const bool recording = IsRecording();
    Button(kAdd)->setEnabled(!recording);
    Button(kDelete)->setEnabled(!recording);
    m_listBox->setEnabled(!recording);
}

void MacroPage::SelectMacro(int index) {
    m_editor.Select(index);
    ShowList();
    ShowMacro();
}

void MacroPage::MarkDirty() {
    if (m_host.markDirty) m_host.markDirty();
}

// The user's acts ------------------------------------------------------------------------------

void MacroPage::OnUserSelectedMacro(int index) {
    if (m_updating) return;
    SelectMacro(index);
    MarkDirty();  // the key would play another macro
}

void MacroPage::OnRename(const QString& text) {
    const bool created = m_editor.Count() == 0;
    m_editor.Rename(text);
    m_updating = true;
    if (created) {
        ShowList();
        m_name->setText(text);
        ShowMacro();
    } else if (m_editor.Selected() >= 0) {
        // The field keeps what is typed; the list shows the name that was stored.
        m_names->item(m_editor.Selected())->setText(m_editor.SelectedMacro()->Name());
    }
    m_updating = false;
    MarkDirty();
}

void MacroPage::OnCyclesEdited(const QString& text) {
    const QString corrected = QString::number(m_editor.SetCycleText(text));
    if (corrected != text) m_cycles->setText(corrected);
    MarkDirty();
}

void MacroPage::AddMacro() {
    const AddMacroResult result = m_editor.AddMacro();
    if (result == AddMacroResult::ListFull) {
        ShowUserBox(m_host.dialog, FormatLanguageText(QStringLiteral("MACRO_ERR_MAX"), QString::number(kMaxMacros)));
        return;
    }
    if (result != AddMacroResult::Added) return;
    ShowList();
    ShowMacro();
    MarkDirty();
}

void MacroPage::DeleteMacro() {
    const MacroRecord* macro = m_editor.SelectedMacro();
    if (macro == nullptr) return;
    bool ask = false;
    {
        std::lock_guard lock(m_host.store->Lock());
        const ProfileData& data = m_host.store->Data();
        ask = data.HasImage() && MacroDeletionNeedsConfirmation(*macro, data.Records(), m_host.block(), m_host.store->Lock());
    }
    if (ask && ShowUserBox(m_host.dialog, LanguageText(QStringLiteral("MACRO_DELETE_CONFIRM_OF_KEYS")),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    m_editor.DeleteSelected();
    ShowList();
    ShowMacro();
    MarkDirty();
}

void MacroPage::RunCommand(int id) {
    const int row = m_editor.SelectedRow();
    const auto move = [this, row](RowMove to) {
        if (m_editor.MoveRow(row, to) < 0) return;
        AfterRowsChanged(0);
        m_actions->setFocus();
        MarkDirty();
    };
    switch (id) {
        case kAdd: AddMacro(); break;
        case kDelete: DeleteMacro(); break;
        case kRecord: IsRecording() ? StopRecording() : StartRecording(); break;
        case kDeleteAction:
            if (m_editor.DeleteRow(row)) {
                m_updating = true;
                m_actions->removeRow(row);
                m_updating = false;
                AfterRowsChanged(row);
                MarkDirty();
            }
            break;
        case kClearActions:
            if (m_editor.Rows().empty()) break;
            if (ShowUserBox(m_host.dialog, LanguageText(QStringLiteral("MACRO_ACTION_CLEAR_CONFIRM")),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
                break;
            m_editor.ClearRows();
            ShowMacro();
            MarkDirty();
            break;
        case kTop: move(RowMove::Top); break;
        case kUp: move(RowMove::Up); break;
        case kDown: move(RowMove::Down); break;
        case kBottom: move(RowMove::Bottom); break;
        case kRecordDelays:
            m_recordDelays = WriteRecordDelaysSetting(m_recordDelays ? 0 : 1) == 1;
            m_recordDelaysBox->setChecked(m_recordDelays);
            break;
        default: break;
    }
}

// Recording ------------------------------------------------------------------------------------

void MacroPage::StartRecording() {
    if (IsRecording() || m_editor.SelectedMacro() == nullptr) return;
    EndCellEdit();
    m_recorder.Start();
    Button(kRecord)->setText(LanguageText(QStringLiteral("MACRO_ACTION_STOP_RECORD"), m_languageIndex));
    Button(kRecord)->SetSelected(true);
    EnableButtons();
    if (m_host.capture) m_host.capture(true);
}

void MacroPage::StopRecording() {
    if (!IsRecording()) return;
    m_recorder.Stop();
    if (m_host.capture) m_host.capture(false);
    Button(kRecord)->setText(LanguageText(QStringLiteral("MACRO_ACTION_RECORD"), m_languageIndex));
    Button(kRecord)->SetSelected(false);
    EnableButtons();
}

void MacroPage::Record(KeyCode code, bool press) {
    for (const MacroAction& action : m_recorder.Take(code, press)) {
        const int row = m_editor.AddRecorded(action, m_recordDelays);
        if (row < 0) continue;  // the 4001st action is ignored
        m_updating = true;
        m_actions->insertRow(row);
        m_updating = false;
        AfterRowsChanged(row);
        MarkDirty();
    }
}

// In-place editors -----------------------------------------------------------------------------

void MacroPage::CellEditStarting(int column) {
    if (column == kDelayColumn) StopRecording();
}

void MacroPage::EndCellEdit() { m_delegate->EndEdit(); }

void MacroPage::CommitCell(int row, int column, QWidget* editor) {
    bool changed = false;
    if (column == kDelayColumn) {
        const DelayEdit edit = m_editor.SetDelay(row, static_cast<QLineEdit*>(editor)->text());
        changed = true;
        if (edit.clampedToMax) {
            // Shown once the editor has closed: a box over an open editor would take its focus
            // and commit it a second time.
            QTimer::singleShot(0, this, [this] {
                ShowUserBox(m_host.dialog, FormatLanguageText(QStringLiteral("MACRO_ACTION_ERR_DELAY_MAX"),
                                                              QString::number(kMaxMacroDelayMs)));
            });
        }
    } else {
        const int choice = static_cast<QComboBox*>(editor)->currentIndex();
        if (column == kKeyColumn && choice >= 0) changed = m_editor.SetKey(row, CodeOfOrdinal(static_cast<KeyOrdinal>(choice)));
        if (column == kDirectionColumn && choice >= 0) changed = m_editor.SetDirection(row, static_cast<uint16_t>(choice));
    }
    if (row < static_cast<int>(m_editor.Rows().size())) ShowRow(row);
    if (changed) MarkDirty();
}

}  // namespace vantor
