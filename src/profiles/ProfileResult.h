#pragma once

#include "device/CommandResult.h"
#include "keyassign/DownloadKeyMap.h"

namespace vantor {

// How a profile flow ended: done, or the one reason it did not. The window turns it into a
// message, vantorctl into a message and an exit code.
enum class ProfileResult {
    Done,
    NothingToDo,       // the keyboard's active profile is not known, so nothing was addressed
    InvalidFile,       // not a profile file this program can load (or a macro table on the
                       // keyboard it cannot read); nothing changed
    FileError,         // a file could not be opened, read or written
    MacrosDoNotFit,    // the macros exceed the keyboard's macro area even without their names;
                       // nothing was sent
    OutOfMemory,       // memory ran out before anything was sent or written
    KeyboardNoAnswer,  // a request went unanswered or could not be written
    KeyboardRefused,   // the keyboard answered a request with an error status
    NoSuchMacro,       // a key was to play a macro that is not there; nothing was sent
};

// A command's result as a flow reports it. An argument the command layer refused before
// sending counts as refused.
constexpr ProfileResult ResultOfCommand(CommandResult result) {
    switch (result) {
    case CommandResult::Ok: return ProfileResult::Done;
    case CommandResult::NoReply:
    case CommandResult::WriteFailed: return ProfileResult::KeyboardNoAnswer;
    case CommandResult::StatusFF:
    case CommandResult::StatusFE:
    case CommandResult::BadArgument: break;
    }
    return ProfileResult::KeyboardRefused;
}

constexpr ProfileResult ResultOfDownload(const DownloadOutcome& outcome) {
    switch (outcome.result) {
    case DownloadResult::Done: return ProfileResult::Done;
    case DownloadResult::NoActiveProfile: return ProfileResult::NothingToDo;
    case DownloadResult::MacrosDoNotFit: return ProfileResult::MacrosDoNotFit;
    case DownloadResult::OutOfMemory: return ProfileResult::OutOfMemory;
    case DownloadResult::StatusUnread:
    case DownloadResult::Failed: break;
    }
    return ResultOfCommand(outcome.firstFailure);
}

// The first failure of a flow that goes on after one: the earlier result unless it was Done.
constexpr ProfileResult FirstFailure(ProfileResult earlier, ProfileResult later) {
    return earlier == ProfileResult::Done ? later : earlier;
}

}  // namespace vantor
