#pragma once

#include "keymodel/AssignmentRecords.h"
#include "profiles/ProfileData.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantor {

// How one key button of the main window shows its key: the selected face while the key's
// record is not the default, and a tooltip naming the key and its assignment.
struct KeyButtonLook {
    int controlId = 0;
    int record = -1;  // index within the block
    bool selected = false;
    QString toolTip;
    // The colour-selection word the button owns is set: the colour view shows the second
    // swatch.
    bool colourSecond = false;
};

// The block the key buttons show: the keyboard's active profile, block 0 while it is unknown.
int ShownBlock(int activeProfile);

// Looks of the nine extra-key buttons (the bank shown) and then the 106 key-list buttons, read
// from a block of the store. The caller holds the store lock.
std::vector<KeyButtonLook> KeyButtonLooks(const ProfileData& data, int block, ExtraKeyBank bank);

// The unassigned look of the button that shows a record of the current bank, none when no
// button shows that record.
std::optional<KeyButtonLook> PlainLookOfRecord(int record, ExtraKeyBank bank);

}  // namespace vantor
