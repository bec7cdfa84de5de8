#pragma once

#include "CtlContext.h"

namespace vantor::ctl {

// Each returns the process's exit code.
int RunList(CtlContext& context);
int RunStatus(CtlContext& context);
int RunSwitch(CtlContext& context);
int RunLighting(CtlContext& context);
int RunSetLighting(CtlContext& context);
int RunBoot(CtlContext& context);
int RunColours(CtlContext& context);
int RunGuiCommand(CtlContext& context);
int RunMacros(CtlContext& context);
int RunPreview(CtlContext& context);

}  // namespace vantor::ctl
