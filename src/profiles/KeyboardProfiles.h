#pragma once

#include "profiles/ProfileContext.h"

#include <QString>

namespace vantor {

// The keyboard's active on-board profile: the cached one, else read from its status block
// (and cached); -1 when the keyboard does not answer.
int GetCurrentProfile(ProfileContext& context);
// Makes the profile active on the keyboard (status block byte 10); the cache follows the
// keyboard's answer, -1 when the write failed. Nothing for a negative index.
void SetCurrentProfile(ProfileContext& context, int profile);

// Reads the keyboard's three key maps and its macro area and writes them as a profile file
// (no texts: the keyboard holds none). 1 when the file was written.
int ReadKeyboardProfile(ProfileContext& context, const QString& path);

// Rebuilds the working store from the keyboard through the working profile file, or from the
// default profile when the keyboard cannot be read, and refreshes the key buttons. Unless asked
// to keep it, the unapplied-changes mark is cleared. 1.
int ReloadCurrentProfile(ProfileContext& context, bool keepUnappliedChanges);

// Makes a profile active (3 or more means 0), asking first about unapplied changes. 0 when
// refused because the key assignment dialog is open, else 1.
int SwitchProfile(ProfileContext& context, int profile);

// Returns an on-board profile to factory state on the keyboard: the factory lighting block, then
// the keyboard's default key matrix as its key map. 1, or the first failure's result.
int ResetKeyboardProfile(ProfileContext& context, int profile);

// Copies the working store into the download snapshot and downloads it (all three key maps
// when asked). The working store's lock is taken before the snapshot's. The download's result,
// or 0 when memory runs out.
int PrepareDownloadSnapshot(ProfileContext& context, bool allProfiles);

// Refreshes the profile menu and the profile button from the active profile. 1.
int RebuildProfileMenu(ProfileContext& context);

}  // namespace vantor
