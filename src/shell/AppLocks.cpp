#include "shell/AppLocks.h"

namespace vantor {

namespace {

// Made before main() runs and never destroyed: device threads are not stopped at exit and may still
// take a lock while static objects are being torn down.
std::recursive_mutex* const g_storeLock = new std::recursive_mutex;
std::recursive_mutex* const g_snapshotLock = new std::recursive_mutex;

}  // namespace

std::recursive_mutex& StoreLock() { return *g_storeLock; }
std::recursive_mutex& SnapshotLock() { return *g_snapshotLock; }

}  // namespace vantor
