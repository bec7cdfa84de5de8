// export FILE: the keyboard's three key maps and its macros as a profile file.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileSession.h"

#include "profiles/KeyboardProfiles.h"

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
    ProfileSession session(context, *link);
    if ((code = session.Learn()) != kExitOk) return code;
    if (ReadKeyboardProfile(session.Context(), path) != 1) {
        // The file is written last and atomically: a failure leaves any old file as it was.
        if (!QFileInfo(target.absolutePath()).isWritable()) {
            return context.Fail(kExitFileError, QStringLiteral("%1: cannot be written").arg(path));
        }
        return context.Fail(kExitNoAnswer,
                            QStringLiteral("export: the keyboard's key maps or macros could not "
                                           "be read, or %1 could not be written")
                                .arg(path));
    }
    context.Out() << "exported to " << path << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
