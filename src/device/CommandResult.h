#pragma once

namespace vantor {

// What every command function returns. Callers test for kCommandOk only.
enum CommandResult : int {
    kCommandOk = 1,               // the reply arrived and its status was not an error
    kCommandNoReply = 0,          // no keyboard (nothing sent), or no reply in four attempts
    kCommandWriteFailed = -1,     // the request was not written within the write time-out
    kCommandStatusFF = -102,      // the keyboard answered with status 0xFF
    kCommandStatusFE = -103,      // the keyboard answered with status 0xFE
    kCommandBadArgument = -201,   // a profile index of 3 or more, or another argument out of
                                  // range for the command: nothing sent
};

}  // namespace vantor
