#include "CtlExit.h"

#include "device/CommandResult.h"

namespace vantor::ctl {

int ExitOfCommandResult(int result) {
    switch (result) {
    case kCommandOk:
        return kExitOk;
    case kCommandStatusFF:
    case kCommandStatusFE:
        return kExitKeyboardError;
    case kCommandBadArgument:
        return kExitUsage;
    default:
        return kExitNoAnswer;
    }
}

}  // namespace vantor::ctl
