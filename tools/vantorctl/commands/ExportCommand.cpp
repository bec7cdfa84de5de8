// export FILE: the keyboard's three key maps and its macros as a profile file.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileSession.h"

#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFlows.h"

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
    // The command line has no store of its own: it takes the keyboard's, then exports it as
    // the main window exports its store.
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk) return code;
    ProfileResult result = ReadKeyboardIntoStore(session.Context());
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("export: reading the keyboard"));
    }
    // The file is written atomically: a failure leaves any old file as it was.
    result = ExportProfile(session.Store(), path);
    if (result != ProfileResult::Done) {
        return context.FailProfile(result, QStringLiteral("export"), path);
    }
    context.Out() << "exported to " << path << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
