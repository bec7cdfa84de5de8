#pragma once

#include "CtlContext.h"

namespace vantor::ctl {

// Exit codes of the profile commands, beyond those every command shares.
enum ProfileExit : int {
    kExitInvalidFile = 7,  // not a profile file this program can load
    kExitFileError = 8,    // a file could not be read or written
    kExitNoRoom = 9,       // the macros do not fit into the keyboard's macro area
};

// Each returns the process's exit code.
int RunExport(CtlContext& context);
int RunValidate(CtlContext& context);
int RunImport(CtlContext& context);
int RunReset(CtlContext& context);

}  // namespace vantor::ctl
