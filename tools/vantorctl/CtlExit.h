#pragma once

#include "device/CommandResult.h"
#include "profiles/ProfileResult.h"

namespace vantor::ctl {

// vantorctl's exit codes, one per kind of failure, so scripts can tell them apart.
enum CtlExit : int {
    kExitOk = 0,
    kExitUsage = 2,            // bad command line or value
    kExitNoKeyboard = 3,       // no keyboard found, no emulator answers, the HID devices
                               // cannot be listed, or the keyboard was pulled out midway
    kExitNotRunning = 3,       // gui-command: the program is not running (nothing to reach,
                               // as with no keyboard)
    kExitPermission = 4,       // the keyboard's device node cannot be opened: no permission
    kExitNoAnswer = 5,         // the keyboard did not answer (or the request was not written)
    kExitKeyboardError = 6,    // the keyboard answered with an error status
    kExitInvalidFile = 7,      // not a profile file this program can load
    kExitFileError = 8,        // a file could not be read or written
    kExitNoRoom = 9,           // the macros do not fit into the keyboard's macro area
    kExitOutOfMemory = 10,     // memory ran out
    kExitDiffers = 11,         // verify: the keyboard does not hold what the working profile
                               // file says
};

// The exit code of a command result; kExitOk for Ok.
int ExitOfCommandResult(CommandResult result);
// The exit code of a profile flow's result; kExitOk for Done.
int ExitOfProfileResult(ProfileResult result);

}  // namespace vantor::ctl
