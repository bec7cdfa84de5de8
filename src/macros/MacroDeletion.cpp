#include "macros/MacroDeletion.h"

#include "macros/RewriteAllMark.h"

namespace vantor {

namespace {
constexpr int kUnsearchedRecordOfBlock = 256;
}

bool MacroDeletionNeedsConfirmation(const MacroRecord& macro, ConstStoreKeyRecords keys,
                                    int currentProfile, std::recursive_mutex& storeLock)
{
    if (macro.pending != 0 || macro.id == 0)
        return false;

    const int block = currentProfile >= 0 && currentProfile < kBlockCount ? currentProfile : 0;
    const int skipped = block * kRecordsPerBlock + kUnsearchedRecordOfBlock;

    bool used = false;
    {
        std::lock_guard guard(storeLock);
        for (int i = 0; i < kStoreKeyRecordCount && !used; ++i) {
            const KeyAssignment& key = keys[static_cast<size_t>(i)];
            used = i != skipped && key.type == kAssignMacro && key.value == macro.id;
        }
    }
    if (used)
        SetRewriteAllMark();
    return used;
}

}  // namespace vantor
