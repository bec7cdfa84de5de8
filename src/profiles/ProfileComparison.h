#pragma once

#include "keymodel/DeviceAction.h"
#include "keymodel/KeyAssignment.h"
#include "macros/KeyboardMacro.h"
#include "profiles/ProfileContext.h"
#include "profiles/ProfileData.h"
#include "profiles/ProfileResult.h"

#include <optional>
#include <vector>

namespace vantor {

// One key whose action on the keyboard is not what a download of the profile file would put
// there.
struct KeyDifference {
    int profile = 0;
    int row = -1;            // the record of the key in its block; -1 when no record is
                             // written at the position (the keyboard changed a key the
                             // file cannot describe)
    int position = 0;        // the key-map position
    KeyAssignment keyboard;  // the keyboard's action, decoded as a read of it decodes it
    KeyAssignment file;      // the file's record
    DeviceAction keyboardAction;
    DeviceAction fileAction;  // what the download writes for the file's record
};

// One macro slot whose macro differs; a side without a macro there is nullopt.
struct MacroDifference {
    int slot = 0;
    std::optional<KeyboardMacro> keyboard;
    std::optional<KeyboardMacro> file;
};

struct ProfileComparison {
    std::vector<KeyDifference> keys;  // profile, then position order
    std::vector<MacroDifference> macros;

    bool Agree() const { return keys.empty() && macros.empty(); }
};

// Reads the keyboard's three key maps and its macro area and compares them with what a
// download of `file` (all three profiles) would write: action by action at every addressed
// key-map position, and macro by macro as the macro area holds them (with names when they
// fit the macro capacity, as the download decides). Launch-program and text-block keys are
// compared by what the keyboard holds for them, so they agree when it keeps the key's own
// function (launch) or sends nothing (text). The device state must hold the default key
// matrix and the macro capacity. Reads only; the store is not touched.
ProfileResult CompareKeyboardWithProfile(ProfileContext& context, const ProfileData& file,
                                         ProfileComparison* comparison);

}  // namespace vantor
