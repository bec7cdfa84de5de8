#pragma once

#include "macros/MacroRecord.h"
#include "macros/StoreKeyRecords.h"

#include <mutex>

namespace vantor {

// Whether deleting a macro from the editor's list must first ask the user (with
// "MACRO_DELETE_CONFIRM_OF_KEYS"), because key records play it.
//
// A pending macro was never applied, so no key can use it: no question. Otherwise every key
// record of the store is searched, all four blocks, not only the current profile's: the
// macro table is shared by all profiles, so a key of another profile loses its assignment
// just the same when the list is applied, and the user should hear of it. The record at
// position 256 of the current profile's block is not considered.
//
// When a key uses the macro, the rewrite-all mark is set whatever the user answers: the key
// maps of the other profiles refer to macro area slots that the deletion may shift.
//
// currentProfile is the keyboard's active profile; outside 0..3 (-1 before the keyboard has
// answered) block 0 is taken, as the key buttons do. Takes the store lock for the search.
bool MacroDeletionNeedsConfirmation(const MacroRecord& macro, ConstStoreKeyRecords keys,
                                    int currentProfile, std::recursive_mutex& storeLock);

}  // namespace vantor
