#pragma once

#include "device/CommandResult.h"

namespace vantor {

// What became of one change on the lighting panel.
enum class LightingOutcome {
    Taken,        // the keyboard took every write of the change
    NothingSent,  // the control already showed the value: no command went out
    Rejected,     // a write was not taken; the profile's block was read back and the panel
                  // state now shows what the keyboard holds
    Unconfirmed,  // a write was not taken and the block could not be read back either: the
                  // panel state shows the asked-for value, which the keyboard may not hold
    NotAllowed,   // the value is not one the control offers (an effect the keyboard does not
                  // list, a position outside 0-5, ...): nothing changed, nothing sent
};

struct LightingResult {
    LightingOutcome outcome = LightingOutcome::Taken;
    CommandResult command = CommandResult::Ok;  // the first failure of the writes, if any

    // The keyboard holds what the panel shows (a change taken, or nothing to send).
    bool Held() const {
        return outcome == LightingOutcome::Taken || outcome == LightingOutcome::NothingSent;
    }
};

}  // namespace vantor
