#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"
#include "device/DeviceState.h"
#include "keyassign/KeyActionCodec.h"
#include "keyassign/UserMessages.h"
#include "macros/MacroTable.h"
#include "macros/StoreKeyRecords.h"

#include <functional>
#include <mutex>

namespace vantor {

// How a download ended.
enum class DownloadResult {
    Done,             // the macro area and every key map were written
    NoActiveProfile,  // only the active profile was asked for and it is not known: nothing sent
    MacrosDoNotFit,   // the macros exceed the macro area even without names: nothing sent
    OutOfMemory,      // the macro area image could not be made: nothing sent
    StatusUnread,     // the macro capacity was not known and the status block could not be
                      // read (its result is given beside): nothing sent
    Failed,           // a command of the group failed (its result is given beside); the others
                      // were still sent
};

struct DownloadOutcome {
    DownloadResult result = DownloadResult::Done;
    // The status read for StatusUnread; the first write that failed, for Failed.
    CommandResult firstFailure = CommandResult::Ok;

    bool Succeeded() const { return result == DownloadResult::Done; }
};

// What a download sends: the download snapshot's key records and macros, guarded by the
// snapshot lock, and how to find the keyboard's active profile when only it is written.
struct KeyMapDownload {
    ConstStoreKeyRecords records;
    const MacroTable& macros;
    std::recursive_mutex& snapshotLock;
    // The table position of a macro id in the working store (taking the store lock itself).
    MacroSlotOfId slotOfId;
    // The keyboard's active on-board profile, -1 when it is not known.
    std::function<int()> currentProfile;
};

// The key map of one on-board profile as the keyboard holds it: the default matrix, with
// every position whose factory key has a record replaced by that record's action. The buffer
// is 512 bytes; the variant's block size of it is sent, positions below its position count
// are addressed.
KeyMatrix BuildProfileKeyMap(const KeyMapDownload& download, const KeyMatrix& defaultMatrix,
                             int positionCount, int profile);

// Writes the macro area and the key map of the active profile (or of all three, when asked or
// when the rewrite-all mark is set) between Group start and Group end.
//
// The macros are checked against the macro capacity the device state holds; while it is not
// known, the status block is read first to learn it (and the state keeps it), and a read that
// fails ends the download with its result before anything else is sent.
//
// Macros that do not fit into the keyboard's macro area even without their names stop the
// download before anything is sent (MacrosDoNotFit; the caller tells the user); when only the
// names do not fit they are left out and "EXTRA_PROFILE_SPACE_TIGHT" is shown after the
// writes. A failing command does not stop the sequence. With the active profile unknown and
// not all profiles asked for, nothing is sent. The rewrite-all mark is cleared only by a
// download that succeeded and set by one that failed, so key maps a failed download may have
// missed are written next time, whichever profile is active then.
DownloadOutcome DownloadKeyMap(DeviceLink& link, DeviceState& state, const KeyMapDownload& download,
                   bool allProfiles, UserMessages& messages);

}  // namespace vantor
