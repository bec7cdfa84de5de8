// reset: every on-board profile back to the factory per-key colours, lighting and the
// keyboard's own default key map, then profile 0 active: the main window's Default, by the
// same flow.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileSession.h"

#include "lighting/UserColourFile.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFlows.h"
#include "shell/Paths.h"

namespace vantor::ctl {

int RunReset(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(0, "reset", &code)) return code;
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    // The default key matrix and the keyboard's macros are read before anything is written,
    // so a keyboard that cannot give them is left as it was; the macros go back with the reset.
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk) return code;
    ProfileResult result = ReadKeyboardIntoStore(session.Context());
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("reset: reading the keyboard"));
    }
    // The per-key colours are reset as the window resets them: it made the user colour files
    // at start and knows the keyboard's effect list since its arrival. A colour file that
    // cannot be made reads as all red, as in the window.
    CreateUserColourFiles();
    const CommandResult effects = session.Ui().FollowKeyboard(session.Device().ActiveProfile());
    if (effects != CommandResult::Ok) {
        return context.FailCommand(effects, QStringLiteral("read status"));
    }
    // No key buttons here: every extra key's assignment is reset.
    result = RestoreDefaultProfiles(session.Context(), std::nullopt);
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("reset"),
                                   QStringLiteral("the working profile file %1")
                                       .arg(AppPaths::Current()->WorkingProfileFile()));
    }
    context.Out() << "profiles reset; active profile: 0\n";
    return kExitOk;
}

}  // namespace vantor::ctl
