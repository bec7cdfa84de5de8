#include "macros/ApplyMacroList.h"

#include "macros/RewriteAllMark.h"

#include <cstdint>
#include <new>
#include <vector>

namespace vantor {

namespace {

// The keyboard slot a key map sent from the old table holds for a macro id: its position,
// or slot 0 for an id the table did not have.
int SlotInOldTable(std::span<const MacroRecord> oldTable, uint32_t value)
{
    const int index = FindMacroById(oldTable, value);
    return index < 0 ? 0 : index;
}

}  // namespace

MacroApplyResult ApplyMacroList(std::span<MacroRecord> list, StoreKeyRecords keys,
                                MacroTable& table, std::recursive_mutex& storeLock,
                                MacroApplyObserver& observer)
{
    if (list.size() > static_cast<size_t>(kMaxMacros))
        return MacroApplyResult::TooManyMacros;

    std::vector<MacroRecord> newTable;
    try {
        newTable.reserve(list.size());
    } catch (const std::bad_alloc&) {
        return MacroApplyResult::OutOfMemory;
    }

    {
        std::lock_guard guard(storeLock);
        bool keysChanged = false;
        bool slotsChanged = false;
        for (int i = 0; i < kStoreKeyRecordCount; ++i) {
            KeyAssignment& key = keys[static_cast<size_t>(i)];
            if (key.type != kAssignMacro)
                continue;
            const bool onBoard = i < kOnBoardProfileCount * kRecordsPerBlock;
            if (key.value != 0) {
                const int index = FindMacroById(list, key.value);
                if (index < 0 || list[static_cast<size_t>(index)].pending != 0) {
                    key.type = kAssignDefault;
                    observer.ShowKeyRecordAsDefault(i);
                    keysChanged = true;
                    slotsChanged = slotsChanged || onBoard;
                } else if (onBoard && index != SlotInOldTable(table.Records(), key.value)) {
                    slotsChanged = true;
                }
            } else if (!list.empty()) {
                // Slot 0 before and after: the keyboard already plays the first macro.
                key.value = list[0].id;
                keysChanged = true;
            }
        }
        if (keysChanged)
            observer.MarkUnappliedChanges();
        if (slotsChanged)
            SetRewriteAllMark();
    }

    for (MacroRecord& macro : list) {
        macro.pending = 0;
        newTable.push_back(macro);
    }

    std::lock_guard guard(storeLock);
    table.Replace(std::move(newTable));
    return MacroApplyResult::Applied;
}

}  // namespace vantor
