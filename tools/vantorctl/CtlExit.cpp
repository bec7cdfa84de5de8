#include "CtlExit.h"

namespace vantor::ctl {

int ExitOfCommandResult(CommandResult result) {
    switch (result) {
    case CommandResult::Ok: return kExitOk;
    case CommandResult::StatusFF:
    case CommandResult::StatusFE: return kExitKeyboardError;
    case CommandResult::BadArgument: return kExitUsage;
    case CommandResult::NoReply:
    case CommandResult::WriteFailed: break;
    }
    return kExitNoAnswer;
}

int ExitOfProfileResult(ProfileResult result) {
    switch (result) {
    case ProfileResult::Done: return kExitOk;
    case ProfileResult::InvalidFile: return kExitInvalidFile;
    case ProfileResult::FileError: return kExitFileError;
    case ProfileResult::MacrosDoNotFit: return kExitNoRoom;
    case ProfileResult::OutOfMemory: return kExitOutOfMemory;
    case ProfileResult::KeyboardRefused: return kExitKeyboardError;
    case ProfileResult::NoSuchMacro: return kExitUsage;
    // The active profile is unknown only when the keyboard did not say it.
    case ProfileResult::NothingToDo:
    case ProfileResult::KeyboardNoAnswer: break;
    }
    return kExitNoAnswer;
}

}  // namespace vantor::ctl
