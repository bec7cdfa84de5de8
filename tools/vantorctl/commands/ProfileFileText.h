#pragma once

#include "profiles/ProfileFile.h"

#include <QString>

namespace vantor::ctl {

// What vantorctl says about a profile file the check did not find valid: its one reason.
QString ProfileCheckText(ProfileCheck check);

}  // namespace vantor::ctl
