#pragma once

#include "macros/MacroEditor.h"
#include "macros/MacroRecorder.h"
#include "profiles/ProfileStore.h"
#include "ui/ImageButton.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace vantor {

class MacroCellDelegate;

// The macro page of the key assignment dialog: the macro list with its name field, the
// action list with its in-place editors, the action buttons, the recorder, the cycle count
// and the record-delays check box. It shows a MacroEditor and hands it the user's acts; the
// rules live there. Its controls are children of the dialog, which shows and hides them
// with the page.
class MacroPage : public QObject {
    Q_OBJECT

public:
    enum ControlId : int {
        kAdd = 1017, kDelete = 1018, kActions = 1019, kRecord = 1020, kDeleteAction = 1021,
        kClearActions = 1022, kTop = 1023, kUp = 1024, kDown = 1025, kBottom = 1026,
        kRecordDelays = 1027, kCycles = 1125, kMacroList = 1126
    };

    struct Host {
        QWidget* dialog = nullptr;
        ProfileStore* store = nullptr;
        std::function<int()> block;             // the on-board profile the dialog edits
        std::function<void()> markDirty;        // enable the dialog's Apply
        std::function<void(bool on)> capture;   // take the keyboard for recording, or let go
    };

    explicit MacroPage(Host host);
    ~MacroPage() override;

    // Its controls by id, for the dialog to place above its page and show with it.
    const std::map<int, QWidget*>& Controls() const { return m_controls; }
    void Place(const QString& skinIni, const ButtonFaces& faces);
    void ApplyLanguage(int languageIndex);

    // Opening: a copy of the store's macros, none selected, not recording, cycle count 1.
    void Open();
    // Closing: recording stops, the editors close and the copies are freed.
    void Close();
    // The page's share of Apply: ends a cell edit and the recording, then merges the macro
    // list into the store.
    void Apply();

    // Selects and shows a macro as the page's own doing (no edit of the key).
    void SelectMacro(int index);
    int SelectedMacro() const { return m_editor.Selected(); }
    int CycleCount() const { return m_editor.CycleCount(); }
    const MacroEditor& Editor() const { return m_editor; }

    void RunCommand(int id);
    void StartRecording();
    void StopRecording();
    bool IsRecording() const { return m_recorder.IsRecording(); }
    // A key event the dialog's capture reported while recording.
    void Record(KeyCode code, bool press);
    void SetClock(MillisecondClock clock) { m_recorder.SetClock(std::move(clock)); }

    QLineEdit* NameField() const { return m_name; }
    QListWidget* MacroNames() const { return m_names; }
    QTableWidget* ActionList() const { return m_actions; }
    QLineEdit* CycleField() const { return m_cycles; }
    QCheckBox* RecordDelaysBox() const { return m_recordDelaysBox; }

    // An in-place editor's value, on commit (the delegate hands it over).
    void CommitCell(int row, int column, QWidget* editor);
    void CellEditStarting(int column);

private:
    ImageButton* Button(int id) const;
    void ShowList();
    void ShowMacro();
    void ShowRow(int row);
    void AfterRowsChanged(int selectRow);
    void EnableButtons();
    void EndCellEdit();
    void OnRename(const QString& text);
    void OnUserSelectedMacro(int index);
    void OnCyclesEdited(const QString& text);
    void AddMacro();
    void DeleteMacro();
    void MarkDirty();

    Host m_host;
    MacroEditor m_editor;
    MacroRecorder m_recorder;
    bool m_recordDelays = false;
    bool m_updating = false;  // the page itself is changing its controls
    int m_languageIndex = 0;
    std::map<int, QWidget*> m_controls;
    QWidget* m_listBox = nullptr;
    QLineEdit* m_name = nullptr;
    QListWidget* m_names = nullptr;
    QTableWidget* m_actions = nullptr;
    MacroCellDelegate* m_delegate = nullptr;
    QLineEdit* m_cycles = nullptr;
    QCheckBox* m_recordDelaysBox = nullptr;
};

}  // namespace vantor
