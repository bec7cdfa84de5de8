#pragma once

#include "profiles/HostAssignments.h"
#include "profiles/ProfileContext.h"
#include "profiles/ProfileResult.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vantor {

// The keyboard's active on-board profile: the one the device state holds, else read from its
// status block (and kept there). When the status block cannot be read, *profile is -1 and the
// result says why.
ProfileResult ReadCurrentProfile(ProfileContext& context, int* profile);
// The same as a number alone: -1 when the keyboard does not say.
int GetCurrentProfile(ProfileContext& context);
// Makes the profile active on the keyboard (status block byte 10); the device state follows
// the keyboard's answer, -1 when the write failed. NothingToDo for a negative index.
ProfileResult SetCurrentProfile(ProfileContext& context, int profile);

// The keyboard's three key maps (blockSize bytes of each matrix) and its macro area, read in
// that order. The first failed read is the result; the macro area may throw std::bad_alloc.
struct KeyboardAreas {
    KeyMatrix keyMaps[kOnBoardProfileCount] = {};
    size_t blockSize = 0;
    std::vector<uint8_t> macroArea;

    std::span<const uint8_t> KeyMap(int profile) const {
        return std::span(keyMaps[profile].data(), blockSize);
    }
};
CommandResult ReadKeyboardAreas(DeviceLink& link, KeyboardAreas* areas);

// Reads the keyboard's three key maps and its macro area into the store, replacing what it
// held. The keyboard holds no launch-program or text-block keys nor any text: those come back
// from the working profile file for each key whose key map still holds what that assignment
// puts there (TakeHostAssignments); *report, when given, says which did not and why. On
// failure the store is as it was.
ProfileResult ReadKeyboardIntoStore(ProfileContext& context,
                                    HostAssignmentReport* report = nullptr);
// The same, written as a profile file (atomically: on failure the file is as it was).
ProfileResult ReadKeyboardProfile(ProfileContext& context, const QString& path,
                                  HostAssignmentReport* report = nullptr);

// Rebuilds the working store from the keyboard through the working profile file (which keeps
// its host-only keys where the keyboard agrees, as ReadKeyboardIntoStore), or from the default
// profile when the keyboard cannot be read, and refreshes the key buttons. Unless asked to
// keep it, the unapplied-changes mark is cleared. 1.
int ReloadCurrentProfile(ProfileContext& context, bool keepUnappliedChanges);
// The two halves of a reload, for a caller that reads the keyboard on another thread than the
// window's: the keyboard's part (the active profile, then the key maps and macro area written
// as the working profile file; Done when the file holds them), and the rest, given its result.
ProfileResult ReadKeyboardForReload(ProfileContext& context);
int FinishReload(ProfileContext& context, ProfileResult read, bool keepUnappliedChanges);

// ReloadCurrentProfile for a keyboard that is present: when it cannot be read, the store goes
// back to the working profile file (what was last read from it or applied) rather than to the
// default profile, which the next download would write over its profiles and macros. Without
// a keyboard it is ReloadCurrentProfile. 1.
int ReloadPresentProfile(ProfileContext& context, bool keepUnappliedChanges);

// Makes a profile active (3 or more means 0), asking first about unapplied changes. 0 when
// refused because the key assignment dialog is open, else 1.
int SwitchProfile(ProfileContext& context, int profile);

// Returns an on-board profile to factory state on the keyboard: its per-key colours (through
// the window, ProfileUi::ResetProfileColours), the factory lighting block, then the keyboard's
// default key matrix as its key map. The key map is written whatever the lighting gave; the
// first failure is the result.
ProfileResult ResetKeyboardProfile(ProfileContext& context, int profile);

// Copies the working store into the download snapshot and downloads it (all three key maps
// when asked, else the given profile's or, without one, the active profile's). The working
// store's lock is taken before the snapshot's. The download's result, or OutOfMemory when the
// copy cannot be made.
ProfileResult PrepareDownloadSnapshot(ProfileContext& context, bool allProfiles,
                                      std::optional<int> profile = std::nullopt);

// Refreshes the profile menu and the profile button from the active profile. 1.
int RebuildProfileMenu(ProfileContext& context);

}  // namespace vantor
