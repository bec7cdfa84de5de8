// colours P [MODE]: a mode of profile P's user colour file as the keyboard's per-key colours.

#include "CtlExit.h"
#include "commands/Commands.h"

#include "lighting/KeyColours.h"
#include "lighting/UserColourFile.h"
#include "shell/Paths.h"

#include <limits>
#include <optional>

namespace vantor::ctl {

int RunColours(CtlContext& context) {
    int code = kExitOk;
    int profile = 0;
    const int count = int(context.Args().size());
    if (count < 1 || count > 2) {
        return context.Fail(kExitUsage, QStringLiteral("expected: colours P [MODE]"));
    }
    if (!context.ProfileArgument(0, &profile, &code)) {
        return code;
    }
    std::optional<int> mode;
    if (count == 2) {
        const std::optional<int64_t> n = context.Decimal(context.Args()[1], QStringLiteral("MODE"), 0,
                                                         std::numeric_limits<int>::max(), &code);
        if (!n) return code;
        mode = int(*n);
    }
    if (!CreateUserColourFiles()) {
        return context.Fail(kExitFileError,
                            QStringLiteral("cannot create the user colour files in %1")
                                .arg(AppPaths::Current()->UserFolder()));
    }
    DeviceLink* link = context.Connect(&code);
    if (link == nullptr) return code;

    KeyColours colours(*link);
    colours.SetProfile(profile);
    const LightingResult result = colours.LoadMode(profile, mode, true);
    if (result.command != CommandResult::Ok) {
        return context.FailCommand(result.command, QStringLiteral("send the colour table"));
    }
    context.Out() << "profile " << profile << ": sent mode " << colours.Mode() << '\n';
    return kExitOk;
}

}  // namespace vantor::ctl
