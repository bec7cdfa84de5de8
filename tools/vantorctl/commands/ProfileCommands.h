#pragma once

#include "CtlContext.h"

namespace vantor::ctl {

// Each returns the process's exit code.
int RunExport(CtlContext& context);
int RunValidate(CtlContext& context);
int RunImport(CtlContext& context);
int RunReset(CtlContext& context);
int RunAssign(CtlContext& context);

}  // namespace vantor::ctl
