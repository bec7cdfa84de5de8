#pragma once

#include <QStringList>

namespace vantor {

// The program from start to end: the single-instance hand-off, the daemon, the device link
// and its threads, the main window hidden in the tray, the event loop, and the teardown.
// Returns the exit code.
int RunVantor(int argc, char** argv);

}  // namespace vantor
