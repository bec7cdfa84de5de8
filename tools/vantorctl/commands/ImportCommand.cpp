// import FILE: a profile file's three key maps and its macros onto the keyboard, as the main
// window's import does; the working profile file then holds what the keyboard took.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileSession.h"

#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "shell/Paths.h"

namespace vantor::ctl {

int RunImport(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(1, "import FILE", &code)) return code;
    const QString path = context.Args()[0];

    // The file is checked and loaded before the keyboard is touched: a bad file sends nothing.
    CtlProfileUi fileUi(context.Err());
    const int validation = ValidateProfileFile(path, fileUi);
    ProfileStore loaded;
    if (validation != kProfileValid || LoadProfileFile(loaded, path) != 1) {
        fileUi.ShowMessage(QStringLiteral("MAIN_PROMPT_INPORT"));
        return validation == kProfileCannotOpen ? kExitFileError : kExitInvalidFile;
    }

    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk) return code;
    {
        std::lock_guard guard(loaded.Lock());
        session.Store().Replace(std::move(loaded.Data()));
    }
    if (PrepareDownloadSnapshot(session.Context(), true) != 1) {
        if (session.Ui().Shown(QStringLiteral("EXTRA_MACRO_TOO_LONG"))) return kExitNoRoom;
        return context.Fail(kExitNoAnswer,
                            QStringLiteral("import: the keyboard did not take every write; "
                                           "unplug and plug it in, then try again"));
    }

    // Saved once the keyboard holds the profiles, so the working profile file never claims
    // what the keyboard refused.
    EnsureProfileFolder();
    const QString working = AppPaths::Current()->WorkingProfileFile();
    if (!SaveProfileToPath(session.Store(), working)) {
        return context.Fail(kExitFileError,
                            QStringLiteral("the keyboard took %1, but the working profile file "
                                           "%2 could not be written")
                                .arg(path, working));
    }
    context.Out() << "imported " << path << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
