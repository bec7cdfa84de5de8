// validate FILE: whether a file is a profile file that import would take. Needs no keyboard.

#include "CtlExit.h"
#include "commands/ProfileCommands.h"
#include "commands/ProfileFileText.h"

#include "profiles/ProfileFile.h"

namespace vantor::ctl {

int RunValidate(CtlContext& context) {
    int code = kExitOk;
    if (!context.ExpectArguments(1, "validate FILE", &code)) return code;
    const QString path = context.Args()[0];
    // Read whole, as import reads it: the header alone passes a file cut short after it.
    const ProfileCheck check = ReadProfileFile(path).check;
    if (check != ProfileCheck::Valid) {
        return context.Fail(ExitOfProfileResult(ResultOfCheck(check)),
                            QStringLiteral("%1: %2").arg(path, ProfileCheckText(check)));
    }
    context.Out() << path << ": valid\n";
    return kExitOk;
}

}  // namespace vantor::ctl
