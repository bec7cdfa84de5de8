#pragma once

#include "CtlContext.h"

namespace vantor::ctl {

// The commands for checking the keyboard and reporting a problem. Each returns the process's
// exit code.
int RunVerify(CtlContext& context);
int RunDiagnose(CtlContext& context);

}  // namespace vantor::ctl
