#pragma once

#include "CtlContext.h"

#include <vector>

namespace vantor::ctl {

// One command of vantorctl: its name, its argument synopsis and what it does.
struct CtlCommand {
    const char* name;
    const char* synopsis;  // arguments after the name, "" for none
    const char* summary;
    int (*run)(CtlContext& context);
};

// Every command, in the order the usage text lists them. A new command is a file under
// commands/ and one line in this table.
const std::vector<CtlCommand>& CommandTable();

}  // namespace vantor::ctl
