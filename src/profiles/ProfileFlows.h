#pragma once

#include "keymodel/AssignmentRecords.h"
#include "profiles/KeyChoice.h"
#include "profiles/ProfileContext.h"
#include "profiles/ProfileResult.h"

#include <QString>

#include <optional>

namespace vantor {

// The profile flows the main window and vantorctl both run: each decides its order and what
// it leaves behind here, once, and says how it ended; the caller only turns the result into a
// message (and vantorctl into an exit code). None of them shows anything or asks anything, so
// the window may run them off its own thread; each takes the store lock itself.

// Import, in two steps. First the profile file is read and checked whole with ReadProfileFile
// (ProfileFile.h), which changes nothing; a file it does not find valid is reported with
// ResultOfCheck and the import ends there. Then ImportProfile: the file's contents become the
// store and go to the keyboard at once (macro area and all three key maps in one group).
//
// From then on the store holds the import whatever the keyboard does, so nothing the user
// chose is lost. The working profile file mirrors the keyboard, so it is written only once
// the keyboard has taken every write (FileError when that write fails). When the keyboard did
// not take it all, the rewrite-all mark makes the next download send every key map again.
ProfileResult ImportProfile(ProfileContext& context, ProfileData imported);

// Export: the store as a profile file, written atomically (on failure the file is as it was).
// The window's Backup writes its store with it; vantorctl, which has no store of its own,
// first reads the keyboard into one (ReadKeyboardIntoStore, which takes the working profile
// file's launch-program and text-block keys back), so both write the same profile.
ProfileResult ExportProfile(ProfileStore& store, const QString& path);

// Default: the three on-board profiles back to factory state, on the keyboard and in the
// store, then profile 0 active. The window's Default and `vantorctl reset` both run it.
//  1. The store's key assignments of profiles 0-2 go back to the defaults (shownBank as in
//     ResetKeyAssignments: the window resets the extra keys its buttons show).
//  2. Each profile's per-key colours (ProfileUi::ResetProfileColours), factory lighting and
//     then its default key matrix as its key map; every write is attempted whatever an
//     earlier one gave, and a failure sets the rewrite-all mark.
//  3. The store is downloaded (macro area and the active profile's key map, or all three after
//     a failure).
//  4. As profile button 1 does: the lighting refresh of profile 0
//     (ProfileUi::RefreshProfileLighting), then, only when the keyboard's active profile is
//     not 0 (or not known), the status block is written with profile 0 active.
//  5. When every step went through, the working profile file is written; after any failure it
//     keeps its old bytes.
// The store lock is held for steps 1-3 only, so the window may refresh its panel meanwhile.
// The result is the first failure of all of these.
ProfileResult RestoreDefaultProfiles(ProfileContext& context,
                                     std::optional<ExtraKeyBank> shownBank);

// The keyboard reset its profiles itself (event 0x0402): the store's key assignments of
// profiles 0-2 go back to the defaults as in Default, and the keyboard's active profile is
// read from its status block (read, not switched to). Nothing is written to the keyboard or to
// a file. KeyboardNoAnswer or KeyboardRefused when the status could not be read; the store is
// reset regardless.
ProfileResult FollowKeyboardReset(ProfileContext& context, std::optional<ExtraKeyBank> shownBank);

// One key of on-board profile `profile` (0-2) changed on the keyboard, for scripts: the store
// is read from the keyboard (key maps and macro area), record `record` of the profile's block
// takes the choice by the rules of ApplyKeyChoice, and the macro area and that profile's key
// map are downloaded (all three when the rewrite-all mark is set). The working profile file
// is written only once the keyboard took the download, so it keeps mirroring the keyboard.
// A macro choice also sets how often the keyboard plays that macro (its count in the macro
// area, for every key that plays it), as the dialog's Repeat count does; a play count of 0
// keeps the macro's own (1 for a macro that has 0).
// NoSuchMacro when the choice names a macro the keyboard does not hold; nothing is sent then.
ProfileResult AssignKey(ProfileContext& context, int profile, int record, const KeyChoice& choice);

}  // namespace vantor
