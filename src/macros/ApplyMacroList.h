#pragma once

#include "macros/MacroApplyObserver.h"
#include "macros/MacroRecord.h"
#include "macros/MacroTable.h"
#include "macros/StoreKeyRecords.h"

#include <mutex>
#include <span>

namespace vantor {

enum class MacroApplyResult {
    Applied,
    TooManyMacros,  // more than 100 macros: nothing changed
    OutOfMemory,    // the new table could not be allocated: nothing changed
};

// Merges the editor's macro list (in display order) into the working store.
//
// Key records of type macro are reconciled first: one whose macro is no longer in the list,
// or whose id now belongs to a macro created since the last apply, becomes a default key;
// one with no macro chosen yet gets the first macro of the list. Then the list replaces the
// table. The pending flags of the list are cleared, since the list now matches the store.
//
// When a key map of an on-board profile would leave the keyboard playing the wrong macro
// area slot (a key lost its macro, or a macro that keys use moved to another position),
// the rewrite-all mark is set so that the next download rewrites all three key maps.
//
// The new table is allocated before anything is touched; the store lock is taken for the
// reconciliation and again for installing the table, and records are copied outside it.
MacroApplyResult ApplyMacroList(std::span<MacroRecord> list, StoreKeyRecords keys,
                                MacroTable& table, std::recursive_mutex& storeLock,
                                MacroApplyObserver& observer);

}  // namespace vantor
