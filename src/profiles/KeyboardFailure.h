#pragma once

#include "profiles/ProfileResult.h"

#include <QString>

namespace vantor {

class DeviceLink;

// The keyboard's part in a flow that did not go through, as the person is told it.
enum class KeyboardFailure {
    None,          // done, or failed for a reason that is not the keyboard's (a file, the
                   // macro capacity: those have messages of their own)
    NoAnswer,      // a request went unanswered or could not be written
    Refused,       // the keyboard answered with an error status
    Disconnected,  // the keyboard is no longer there
};

// The cause of a flow's result. The transport cannot tell a keyboard that fell silent from one
// that was pulled out, so an unanswered flow asks the link whether the keyboard is still open
// and still present. A flow that found no active profile counts as unanswered.
KeyboardFailure KeyboardFailureOf(ProfileResult result, DeviceLink& link);

// The message naming the cause in the chosen language, empty for None. With `changesKept` it
// adds that the changes stay unapplied, so Apply sends them again.
QString KeyboardFailureText(KeyboardFailure failure, bool changesKept);

}  // namespace vantor
