#pragma once

#include <mutex>

namespace vantor {

// The two process-wide locks. The store lock guards the working profile store, the snapshot
// lock the download snapshot; where both are held the store lock is taken first. Both are
// re-entrant because the download takes them again on the same thread. They exist from before
// the main window until the process ends, so no device thread can outlive them.
std::recursive_mutex& StoreLock();
std::recursive_mutex& SnapshotLock();

}  // namespace vantor
