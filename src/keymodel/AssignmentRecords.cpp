#include "keymodel/AssignmentRecords.h"

#include <algorithm>

#include "keymodel/KeyTables.h"

namespace vantor {

int KeyListPositionOfRecord(int index) {
    if (index < 0 || index >= kKeyTableRows) return -1;
    const auto* it = std::find_if(KeyList.begin(), KeyList.end(),
                                  [index](KeyCode code) { return RowOfCode(code) == index; });
    return it == KeyList.end() ? -1 : static_cast<int>(it - KeyList.begin());
}

uint16_t ExtraKeyParameterOfRecord(int index) { return ExtraKeyParameter(index - 255); }

void ClearBlock(std::span<KeyAssignment, kRecordsPerBlock> block) {
    std::fill(block.begin(), block.end(), KeyAssignment{});
    for (int r = 1; r <= kExtraKeyCount; ++r) block[RecordOfExtraKey(r)].parameter = ExtraKeyParameter(r);
}

void ResetKeyAssignments(std::span<KeyAssignment, kRecordsPerBlock> block,
                         std::optional<ExtraKeyBank> shownBank) {
    // The assignment goes back to the default. The colour-selection word stays: it belongs to
    // the key at the key-list position numbered like the record, not to this key. An extra
    // key keeps its fixed parameter word, as in a block read from the keyboard.
    const auto reset = [&](int record) {
        KeyAssignment& assignment = block[static_cast<size_t>(record)];
        assignment.type = kAssignDefault;
        assignment.value = 0;
        assignment.parameter = ExtraKeyParameterOfRecord(record);
    };
    for (int r = 1; r <= kExtraKeyCount; ++r) {
        const int record = RecordOfExtraKey(r);
        const bool shown = !shownBank || ExtraKeyButtonOfRecord(record, *shownBank) >= 0;
        if (shown) reset(record);
    }
    for (const KeyCode code : KeyList) reset(RowOfCode(code));
}

}  // namespace vantor
