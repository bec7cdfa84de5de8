#pragma once

#include "keymodel/KeyCode.h"
#include "macros/MacroRecord.h"

#include <QString>

#include <span>
#include <vector>

namespace vantor {

// How an action joins the shown macro.
struct AddActionMode {
    bool fromRecorder = false;          // the new row becomes the selected row
    bool insertAfterSelection = false;  // after the selected row, when one is selected
    bool keepDelay = false;             // the action keeps its own delay (showing a stored macro)
};

enum class AddMacroResult { Added, ListFull, OutOfMemory };
enum class RowMove { Top, Up, Down, Bottom };

struct DelayEdit {
    uint32_t delay = 0;
    bool clampedToMax = false;  // the entry was above 40,000 ms: tell the user
};

// The recorder's delay for every event when measured delays are not kept.
inline constexpr uint32_t kFixedRecordedDelayMs = 50;
inline constexpr int kMinCycleCount = 1;
inline constexpr int kMaxCycleCount = 255;

// The macro page's private copy of the macro table and everything a click does to it: the
// macro list with its selection and generated names, the actions of the selected macro with
// their selected row, and the cycle count field. Nothing reaches the working store until the
// list is merged on Apply (ApplyMacroList).
//
// The selected macro's actions are edited in place, so "storing the shown macro" only has the
// cycle count field left to carry over.
class MacroEditor {
public:
    // A copy of the table, pending flags cleared, nothing selected, cycle count 1.
    void Load(std::span<const MacroRecord> table);
    void Clear();
    // What generated names start with ("MACRO_NEW_PREFIX" of the language).
    void SetNamePrefix(const QString& prefix) { m_prefix = prefix; }

    int Count() const { return static_cast<int>(m_macros.size()); }
    const MacroRecord& Macro(int index) const { return m_macros[static_cast<size_t>(index)]; }
    std::span<MacroRecord> Macros() { return m_macros; }
    std::span<const MacroRecord> Macros() const { return m_macros; }
    int Selected() const { return m_selected; }
    const MacroRecord* SelectedMacro() const;

    // Stores the cycle count into the macro shown so far, then shows the one at `index` (-1 for
    // none): its cycle count fills the field and no row is selected.
    void Select(int index);
    // Copies the cycle count field into the selected macro.
    void StoreShown();

    // Appends a macro with the next free generated name and the smallest free id, pending, and
    // selects it. Refused when the list holds 100 macros.
    AddMacroResult AddMacro();
    // Names the selected macro after the typed text. A text that another macro's name begins
    // with (ignoring case), an empty one or one starting with a space gives a generated name
    // instead, counting on until no macro's name begins with it. With the list empty, the text
    // names a new macro instead. The name stored.
    QString Rename(const QString& typed);
    // Removes the selected macro and selects the one before it (or the first). False when none
    // is selected.
    bool DeleteSelected();

    // The rows of the action list: the selected macro's actions (none without a selection).
    std::span<const MacroAction> Rows() const;
    int SelectedRow() const { return m_selectedRow; }
    void SelectRow(int row);

    // Adds an action to the selected macro; the row it took, or -1 (no macro selected, or 4000
    // rows already). A direction other than release becomes a press. Unless the delay is kept,
    // a first row gets 0, and a later row hands its delay to the row above it and takes the
    // delay that row had: every delay is the pause after its own event.
    int AddAction(MacroAction action, AddActionMode mode);
    // An event of the recorder: inserted after the selected row and selected; with measured
    // delays off its delay is 50 ms.
    int AddRecorded(MacroAction action, bool recordDelays);

    // The delay typed into a row's cell, read as an unsigned decimal number: above 40,000 it
    // is 40,000 (and says so), then it is lowered to a multiple of 10.
    DelayEdit SetDelay(int row, const QString& text);
    // False when the row already had that key or direction.
    bool SetKey(int row, KeyCode code);
    bool SetDirection(int row, uint16_t direction);
    bool DeleteRow(int row);
    void ClearRows();
    // Moves a row with its action; the row it went to.
    int MoveRow(int row, RowMove move);

    // The cycle count field: the typed text read as a decimal number and kept within 1..255.
    int SetCycleText(const QString& text);
    int CycleCount() const { return m_cycleCount; }

private:
    MacroRecord* SelectedRecord();
    bool NameTaken(const QString& name, int except) const;
    QString NextFreeName(int except);
    AddMacroResult Insert(int position, const QString& name);

    std::vector<MacroRecord> m_macros;
    QString m_prefix;
    int m_selected = -1;
    int m_selectedRow = -1;
    int m_nameCounter = 0;
    int m_cycleCount = 1;
};

}  // namespace vantor
