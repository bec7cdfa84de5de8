#pragma once

#include "device/BuiltInKeyMatrix.h"
#include "keymodel/KeyAssignment.h"
#include "profiles/ProfileData.h"
#include "profiles/ProfileFile.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantor {

// Launch-program and text-block keys live on this computer only: for a launch-program key the
// keyboard keeps the key's built-in function, for a text-block key it sends nothing, and it
// holds neither text. A read of the keyboard therefore takes them back from the working
// profile file, which holds what this computer last gave the keyboard.

// Whether a record is one of those keys (type 3 or 6).
bool IsHostOnlyAssignment(const KeyAssignment& record);

// A host-only key of the working profile file that a read of the keyboard left out, because
// the keyboard's key map no longer holds what that assignment puts there.
struct DroppedHostAssignment {
    int record = 0;          // store record index: block x 512 + record of the block
    KeyAssignment working;   // the working profile file's record
    KeyAssignment keyboard;  // the record as read from the keyboard, which is what was kept
};

// What a read of the keyboard did with the working profile file's host-only keys.
struct HostAssignmentReport {
    // How reading the working profile file went: Valid, Missing (there was nothing to take
    // back), or why none of its host-only keys could be taken back.
    ProfileCheck workingFile = ProfileCheck::Missing;
    std::vector<DroppedHostAssignment> dropped;
};

// Takes the host-only keys of `working`, with their texts, into `read`: the contents just
// decoded from keyMaps, the key maps of the on-board profiles as read from the keyboard (one
// span each, profile 0 first). A key is taken when every position of its profile's key map
// that addresses its record holds what the download would write for the working record; the
// others keep what the keyboard holds and are returned, in record order. A record that no
// position addresses (block 3, a key this keyboard lacks) has nothing on the keyboard to
// disagree with and is taken.
std::vector<DroppedHostAssignment> TakeHostAssignments(
    ProfileData& read, const ProfileData& working,
    std::span<const std::span<const uint8_t>> keyMaps, std::span<const uint8_t> defaultMatrix,
    int positionCount);

}  // namespace vantor
