// import FILE: a profile file's three key maps and its macros onto the keyboard, by the same
// flow as the main window's import; the working profile file then holds what the keyboard took.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileFileText.h"
#include "commands/ProfileSession.h"

#include "profiles/ProfileFile.h"
#include "profiles/ProfileFlows.h"
#include "shell/Paths.h"

namespace vantor::ctl {

int RunImport(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(1, "import FILE", &code)) return code;
    const QString path = context.Args()[0];

    // The file is read and checked before the keyboard is looked for: a bad file sends nothing.
    ProfileFileRead file = ReadProfileFile(path);
    if (file.check != ProfileCheck::Valid) {
        return context.Fail(ExitOfProfileResult(ResultOfCheck(file.check)),
                            QStringLiteral("import: %1: %2").arg(path, ProfileCheckText(file.check)));
    }

    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk) return code;
    const ProfileResult result = ImportProfile(session.Context(), std::move(*file.data));
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("import"),
                                   QStringLiteral("the working profile file %1")
                                       .arg(AppPaths::Current()->WorkingProfileFile()));
    }
    context.Out() << "imported " << path << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
