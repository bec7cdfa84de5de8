#pragma once

#include <QString>

namespace vantor {

// Starts the sibling daemon, detached, with no arguments, when the file is there and may be
// run. The program neither waits for it nor talks to it; a missing or failing daemon is
// ignored. True when it was started.
bool LaunchDaemon(const QString& daemonPath);

}  // namespace vantor
