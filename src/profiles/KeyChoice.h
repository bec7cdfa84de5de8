#pragma once

#include "keymodel/AssignmentRecords.h"
#include "keymodel/KeyAssignment.h"
#include "profiles/ProfileData.h"

#include <cstdint>

namespace vantor {

// What the user chose for one key, as the key assignment dialog's Apply and `vantorctl assign`
// hand it over: the record type and its value.
//   kAssignDefault  the key's built-in function
//   kAssignKey      value: the key code to send (mouse buttons and wheel included)
//   kAssignMacro    value: the macro id; playCount: how often it plays (1-255)
//   kAssignMedia    value: the media-list position (0-17)
//   kAssignFunction value: the function-list number (0-10)
// Any other type leaves the record as it is: a record of a type the dialog cannot build
// (disabled, launch, stop macro, text) survives an OK without changes.
struct KeyChoice {
    uint16_t type = kAssignDefault;
    uint32_t value = 0;
    uint16_t playCount = 1;
};

inline constexpr uint16_t kMaxPlayCount = 255;

// Writes the choice into record `record` (0-273) of block `block` of the store, by the rules
// every editor of a key shares:
//  - an extra key's record (256-273) carries its parameter word, any other record 0, except a
//    macro record, which carries the play count;
//  - a key assigned to itself (keeping that key as its value), or no key at all, is the default;
//  - a macro when the store has none is the default;
//  - the text the record had (launch path, text block) is released;
//  - the colour-selection and reserved words are kept: they belong to other owners.
// The caller holds the store lock and has checked the value's range. Returns the record
// written.
KeyAssignment ApplyKeyChoice(ProfileData& data, int block, int record, const KeyChoice& choice);

// The record index a button of the main window edits: its key's record for a key-list
// button, the extra key's record of the bank shown for an extra-key button; -1 for any other
// control id.
int RecordOfKeyButton(int controlId, ExtraKeyBank bank);

// The colour view's toggle: flips the colour-selection word owned by the button (record p for
// key-list position p, record i or i + 9 for extra-key button i). False, and nothing changed,
// for a control id that is no key or extra-key button. The caller holds the store lock.
bool ToggleColourSelection(ProfileData& data, int block, int controlId, ExtraKeyBank bank);

}  // namespace vantor
