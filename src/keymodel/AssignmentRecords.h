#pragma once

#include <optional>
#include <span>

#include "keymodel/KeyAssignment.h"
#include "keymodel/KeyCode.h"

namespace vantor {

// Where a key's record lies in a block of 512: keys at RowOfCode (0-255), extra key r at
// 255 + r (256-273). Records 274-511 are never addressed.

enum class ExtraKeyBank { A, B };  // which nine extra keys the main window's buttons show

inline constexpr int kAddressedRecords = 256 + kExtraKeyCount;  // 0-273

constexpr int BlockStart(int block) { return block * kRecordsPerBlock; }

// Record index of a key code, -1 for codes that address no record.
constexpr int RecordOfKeyCode(KeyCode code) {
    const int index = RowOfCode(code);
    return index >= 0 && index < kAddressedRecords ? index : -1;
}

// Record index of extra key r (1-18), -1 otherwise.
constexpr int RecordOfExtraKey(int r) { return r >= 1 && r <= kExtraKeyCount ? 255 + r : -1; }

// Record shown by extra-key button i (0-8): bank A extra key i + 1, bank B extra key i + 10.
constexpr int RecordOfExtraKeyButton(int i, ExtraKeyBank bank) {
    if (i < 0 || i >= 9) return -1;
    return bank == ExtraKeyBank::A ? 256 + i : 265 + i;
}

// The colour-selection word toggled by a button lies in the record numbered after the
// button, not in the key's own record: key-list position p uses record p, extra-key button i
// record i (bank A) or i + 9 (bank B).
constexpr int ColourRecordOfKeyListPosition(int p) { return p >= 0 && p < 106 ? p : -1; }
constexpr int ColourRecordOfExtraKeyButton(int i, ExtraKeyBank bank) {
    if (i < 0 || i >= 9) return -1;
    return bank == ExtraKeyBank::A ? i : i + 9;
}

// The extra-key button (0-8) that shows a record while the given bank is shown, -1 if none.
constexpr int ExtraKeyButtonOfRecord(int index, ExtraKeyBank shown) {
    const int first = shown == ExtraKeyBank::A ? 256 : 265;
    return index >= first && index < first + 9 ? index - first : -1;
}

// The key-list position whose key has this record, -1 if no key-list key has it.
int KeyListPositionOfRecord(int index);

// The parameter word the record of an extra key carries when its type is not a macro, 0 for
// the records of ordinary keys.
uint16_t ExtraKeyParameterOfRecord(int index);

// Zeros every record, then gives records 256-273 their extra keys' parameter words: the state
// of a block before it is filled from the keyboard.
void ClearBlock(std::span<KeyAssignment, kRecordsPerBlock> block);

// Returns the records of the 106 key-list keys and of the extra keys in a block to their
// defaults; every other record is left as it is. With a bank, only the nine extra keys the
// main window's buttons show in it are reset (what the user sees is what goes); without one,
// all eighteen.
void ResetKeyAssignments(std::span<KeyAssignment, kRecordsPerBlock> block,
                         std::optional<ExtraKeyBank> shownBank);

}  // namespace vantor
