#include "macros/MacroEditor.h"

#include "macros/MacroTable.h"

#include <algorithm>
#include <new>

namespace vantor {

namespace {

// The number the text starts with, as C's decimal readers take it: leading blanks, a sign,
// then digits; 0 without digits. Far too large numbers read as `tooLarge`.
long long LeadingNumber(const QString& text, long long tooLarge) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
    long long value = 0;
    for (; i < t.size() && t[i].isDigit(); ++i) {
        value = value * 10 + t[i].digitValue();
        if (value >= tooLarge) {
            value = tooLarge;
            break;
        }
    }
    return negative ? -value : value;
}

}  // namespace

void MacroEditor::Load(std::span<const MacroRecord> table) {
    m_macros.assign(table.begin(), table.end());
    for (MacroRecord& macro : m_macros) macro.pending = 0;
    m_selected = -1;
    m_selectedRow = -1;
    m_cycleCount = 1;
}

void MacroEditor::Clear() {
    m_macros.clear();
    m_macros.shrink_to_fit();
    m_selected = -1;
    m_selectedRow = -1;
}

const MacroRecord* MacroEditor::SelectedMacro() const {
    return m_selected >= 0 && m_selected < Count() ? &m_macros[static_cast<size_t>(m_selected)] : nullptr;
}

MacroRecord* MacroEditor::SelectedRecord() { return const_cast<MacroRecord*>(SelectedMacro()); }

void MacroEditor::StoreShown() {
    if (MacroRecord* macro = SelectedRecord()) macro->cycleCount = static_cast<uint8_t>(m_cycleCount);
}

void MacroEditor::Select(int index) {
    StoreShown();
    m_selected = index >= 0 && index < Count() ? index : -1;
    m_selectedRow = -1;
    if (MacroRecord* macro = SelectedRecord()) {
        // A count outside 1-255 (0 from a file or the keyboard) is shown, and stored, as corrected.
        m_cycleCount = std::clamp<int>(macro->cycleCount, kMinCycleCount, kMaxCycleCount);
        // Shown as the list shows them: no more than the slots hold, odd directions as presses.
        macro->actionCount = static_cast<uint16_t>(macro->UsedActionCount());
        for (int i = 0; i < macro->actionCount; ++i)
            if (macro->actions[i].direction != kMacroRelease) macro->actions[i].direction = kMacroPress;
    }
}

// Names -------------------------------------------------------------------------------------

bool MacroEditor::NameTaken(const QString& name, int except) const {
    for (int i = 0; i < Count(); ++i)
        if (i != except && Macro(i).Name().startsWith(name, Qt::CaseInsensitive)) return true;
    return false;
}

QString MacroEditor::NextFreeName(int except) {
    QString name;
    do {
        name = m_prefix + QString::number(++m_nameCounter);
    } while (NameTaken(name, except));
    return name;
}

AddMacroResult MacroEditor::Insert(int position, const QString& name) {
    MacroRecord record{};
    record.SetName(name);
    record.cycleCount = 1;
    record.pending = 1;
    record.id = SmallestFreeMacroId(m_macros);
    try {
        m_macros.insert(m_macros.begin() + position, record);
    } catch (const std::bad_alloc&) {
        return AddMacroResult::OutOfMemory;
    }
    m_selected = -1;  // the shown macro was stored before; the new one is shown fresh
    Select(position);
    return AddMacroResult::Added;
}

AddMacroResult MacroEditor::AddMacro() {
    if (Count() >= kMaxMacros) return AddMacroResult::ListFull;
    if (m_macros.empty()) m_nameCounter = 0;
    const QString name = NextFreeName(-1);
    StoreShown();
    return Insert(Count(), name);
}

QString MacroEditor::Rename(const QString& typed) {
    const bool generated = typed.isEmpty() || typed.startsWith(u' ');
    if (m_macros.empty()) {
        const QString name = generated ? NextFreeName(-1) : typed;
        Insert(0, name);
        return Count() > 0 ? Macro(0).Name() : QString();
    }
    MacroRecord* macro = SelectedRecord();
    if (macro == nullptr) return {};
    // The one case where the list would lose the macro: the generated name is taken too.
    // Counting on keeps the macro in the list under the first free name.
    const QString name = generated || NameTaken(typed, m_selected) ? NextFreeName(m_selected) : typed;
    macro->SetName(name);
    return macro->Name();
}

bool MacroEditor::DeleteSelected() {
    if (SelectedMacro() == nullptr) return false;
    const int deleted = m_selected;
    m_macros.erase(m_macros.begin() + deleted);
    m_selected = -1;
    Select(m_macros.empty() ? -1 : std::max(deleted - 1, 0));
    return true;
}

// Actions -----------------------------------------------------------------------------------

std::span<const MacroAction> MacroEditor::Rows() const {
    const MacroRecord* macro = SelectedMacro();
    return macro ? macro->Actions() : std::span<const MacroAction>();
}

void MacroEditor::SelectRow(int row) {
    m_selectedRow = row >= 0 && row < static_cast<int>(Rows().size()) ? row : -1;
}

int MacroEditor::AddAction(MacroAction action, AddActionMode mode) {
    MacroRecord* macro = SelectedRecord();
    if (macro == nullptr || macro->actionCount >= kMaxMacroActions) return -1;
    const int count = macro->actionCount;
    const int row = mode.insertAfterSelection && m_selectedRow >= 0 ? m_selectedRow + 1 : count;
    if (action.direction != kMacroRelease) action.direction = kMacroPress;
    action.delay = std::min(action.delay, kMaxMacroDelayMs);
    if (!mode.keepDelay) {
        if (row == 0) {
            action.delay = 0;
        } else {
            std::swap(action.delay, macro->actions[row - 1].delay);
        }
    }
    std::copy_backward(macro->actions + row, macro->actions + count, macro->actions + count + 1);
    macro->actions[row] = action;
    ++macro->actionCount;
    if (mode.fromRecorder) {
        m_selectedRow = row;
    } else if (m_selectedRow >= row) {
        ++m_selectedRow;
    }
    return row;
}

int MacroEditor::AddRecorded(MacroAction action, bool recordDelays) {
    if (!recordDelays) action.delay = kFixedRecordedDelayMs;
    return AddAction(action, {.fromRecorder = true, .insertAfterSelection = true, .keepDelay = false});
}

DelayEdit MacroEditor::SetDelay(int row, const QString& text) {
    // Read as an unsigned number: a negative entry wraps around to far above the limit.
    const long long typed = LeadingNumber(text, 1LL << 40);
    DelayEdit edit;
    edit.clampedToMax = typed < 0 || typed > kMaxMacroDelayMs;
    edit.delay = edit.clampedToMax ? kMaxMacroDelayMs : static_cast<uint32_t>(typed);
    edit.delay -= edit.delay % 10;
    if (MacroRecord* macro = SelectedRecord(); macro && row >= 0 && row < macro->actionCount)
        macro->actions[row].delay = edit.delay;
    return edit;
}

bool MacroEditor::SetKey(int row, KeyCode code) {
    MacroRecord* macro = SelectedRecord();
    if (macro == nullptr || row < 0 || row >= macro->actionCount || macro->actions[row].keyCode == code) return false;
    macro->actions[row].keyCode = code;
    return true;
}

bool MacroEditor::SetDirection(int row, uint16_t direction) {
    MacroRecord* macro = SelectedRecord();
    direction = direction == kMacroRelease ? kMacroRelease : kMacroPress;
    if (macro == nullptr || row < 0 || row >= macro->actionCount || macro->actions[row].direction == direction)
        return false;
    macro->actions[row].direction = direction;
    return true;
}

bool MacroEditor::DeleteRow(int row) {
    MacroRecord* macro = SelectedRecord();
    if (macro == nullptr || row < 0 || row >= macro->actionCount) return false;
    std::copy(macro->actions + row + 1, macro->actions + macro->actionCount, macro->actions + row);
    macro->actions[--macro->actionCount] = {};
    if (m_selectedRow == row) {
        m_selectedRow = -1;
    } else if (m_selectedRow > row) {
        --m_selectedRow;
    }
    return true;
}

void MacroEditor::ClearRows() {
    if (MacroRecord* macro = SelectedRecord()) {
        std::fill(macro->actions, macro->actions + macro->actionCount, MacroAction{});
        macro->actionCount = 0;
    }
    m_selectedRow = -1;
}

int MacroEditor::MoveRow(int row, RowMove move) {
    MacroRecord* macro = SelectedRecord();
    if (macro == nullptr || row < 0 || row >= macro->actionCount) return -1;
    const int last = macro->actionCount - 1;
    int to = row;
    switch (move) {
        case RowMove::Top: to = 0; break;
        case RowMove::Up: to = std::max(row - 1, 0); break;
        case RowMove::Down: to = std::min(row + 1, last); break;
        case RowMove::Bottom: to = last; break;
    }
    MacroAction* a = macro->actions;
    if (to < row) std::rotate(a + to, a + row, a + row + 1);
    if (to > row) std::rotate(a + row, a + row + 1, a + to + 1);
    m_selectedRow = to;
    return to;
}

int MacroEditor::SetCycleText(const QString& text) {
    m_cycleCount = static_cast<int>(std::clamp<long long>(LeadingNumber(text, 1LL << 40), kMinCycleCount, kMaxCycleCount));
    return m_cycleCount;
}

}  // namespace vantor
