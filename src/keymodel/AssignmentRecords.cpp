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

}  // namespace vantor
