#pragma once

namespace vantor {

// What every command function returns. The values are the protocol's own result numbers, so a
// trace or a log shows the familiar figure; callers compare with CommandResult::Ok.
enum class CommandResult : int {
    Ok = 1,             // the reply arrived and its status was not an error
    NoReply = 0,        // no keyboard (nothing sent), or no reply in four attempts
    WriteFailed = -1,   // the request was not written within the write time-out
    StatusFF = -102,    // the keyboard answered with status 0xFF
    StatusFE = -103,    // the keyboard answered with status 0xFE
    BadArgument = -201, // a profile index of 3 or more, or another argument out of range for
                        // the command: nothing sent
};

// The keyboard is there and answered, but with an error status.
constexpr bool KeyboardRefused(CommandResult result) {
    return result == CommandResult::StatusFF || result == CommandResult::StatusFE;
}

// The first failure of a sequence that goes on after one: the earlier result unless it was Ok.
constexpr CommandResult FirstFailure(CommandResult earlier, CommandResult later) {
    return earlier == CommandResult::Ok ? later : earlier;
}

}  // namespace vantor
