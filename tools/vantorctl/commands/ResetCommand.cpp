// reset: every on-board profile back to the factory lighting and the keyboard's own default
// key map, then profile 0 active.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileSession.h"

#include "device/CommandResult.h"
#include "profiles/KeyboardProfiles.h"
#include "shell/Paths.h"

#include <QFileInfo>

namespace vantor::ctl {

int RunReset(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(0, "reset", &code)) return code;
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    // The default key matrix is read before anything is written, so a keyboard that cannot
    // give it is left as it was.
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk) return code;

    for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
        const int result = ResetKeyboardProfile(session.Context(), profile);
        if (result != kCommandOk) {
            return context.FailCommand(result, QStringLiteral("reset profile %1").arg(profile));
        }
    }
    SetCurrentProfile(session.Context(), 0);
    if (CachedActiveProfile().load() != 0) {
        return context.Fail(kExitNoAnswer,
                            QStringLiteral("the profiles were reset, but profile 0 could not be "
                                           "made active"));
    }

    // A working profile file would still hold the assignments just reset; it follows the
    // keyboard again, as on the keyboard's arrival.
    const QString working = AppPaths::Current()->WorkingProfileFile();
    if (QFileInfo::exists(working) && ReadKeyboardProfile(session.Context(), working) != 1) {
        return context.Fail(kExitFileError, QStringLiteral("the keyboard was reset, but the "
                                                           "working profile file %1 could not "
                                                           "be rewritten")
                                                .arg(working));
    }
    context.Out() << "profiles reset; active profile: 0\n";
    return kExitOk;
}

}  // namespace vantor::ctl
