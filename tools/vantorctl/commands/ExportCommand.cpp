// export FILE: the keyboard's three key maps and its macros as a profile file, with the
// launch-program and text-block keys the working profile file holds where the keyboard agrees:
// the profile the main window's Backup writes.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileFileText.h"
#include "commands/ProfileSession.h"

#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFlows.h"
#include "shell/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace vantor::ctl {

int RunExport(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(1, "export FILE", &code)) return code;
    const QString path = context.Args()[0];
    const QFileInfo target(path);
    if (!target.absoluteDir().exists() || target.isDir()) {
        return context.Fail(kExitFileError, QStringLiteral("%1: cannot be written").arg(path));
    }
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;
    // The command line has no store of its own: it takes the keyboard's, as the main window
    // does on the keyboard's arrival, then exports it as the window's Backup exports its store.
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk) return code;
    HostAssignmentReport hostKeys;
    ProfileResult result = ReadKeyboardIntoStore(session.Context(), &hostKeys);
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("export: reading the keyboard"));
    }
    // The file is written atomically: a failure leaves any old file as it was.
    result = ExportProfile(session.Store(), path);
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("export"), path);
    }
    // A key the keyboard contradicts goes as the keyboard has it; the user is told which.
    for (const QString& note :
         HostAssignmentNotes(hostKeys, AppPaths::Current()->WorkingProfileFile())) {
        context.Err() << "vantorctl: export: " << note << '\n';
    }
    context.Out() << "exported to " << path << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
