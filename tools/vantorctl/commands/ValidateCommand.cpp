// validate FILE: whether a file is a profile file that import would take. Needs no keyboard.

#include "CtlExit.h"
#include "commands/CtlProfileUi.h"
#include "commands/ProfileCommands.h"

#include "profiles/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

namespace vantor::ctl {

int RunValidate(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(1, "validate FILE", &code)) return code;
    const QString path = context.Args()[0];
    CtlProfileUi ui(context.Err());
    const int result = ValidateProfileFile(path, ui);
    if (result == kProfileCannotOpen) {
        return context.Fail(kExitFileError, QStringLiteral("%1: cannot be opened").arg(path));
    }
    if (result == kProfileOutOfMemory) {
        return context.Fail(kExitFileError, QStringLiteral("%1: out of memory").arg(path));
    }
    if (result != kProfileValid) {
        if (ui.Shown(QStringLiteral("PROFILE_FORMAT_ERROR"))) {
            return context.Fail(kExitInvalidFile,
                                QStringLiteral("%1: invalid: a header field is wrong").arg(path));
        }
        if (!QFileInfo::exists(path)) {
            return context.Fail(kExitFileError, QStringLiteral("%1: no such file").arg(path));
        }
        return context.Fail(kExitInvalidFile,
                            QStringLiteral("%1: invalid: shorter than a profile file").arg(path));
    }
    // The header checks pass a file cut short after its header, which import could not load;
    // reading it whole tells them apart.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return context.Fail(kExitFileError, QStringLiteral("%1: cannot be opened").arg(path));
    }
    if (!ParseProfile(file)) {
        return context.Fail(kExitInvalidFile,
                            QStringLiteral("%1: invalid: shorter than its header says, or a key's "
                                           "text lies outside the text area")
                                .arg(path));
    }
    context.Out() << path << ": valid\n";
    return kExitOk;
}

}  // namespace vantor::ctl
