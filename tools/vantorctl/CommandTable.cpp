#include "CommandTable.h"

#include "commands/Commands.h"
#include "commands/ProfileCommands.h"
#include "commands/ReportCommands.h"

namespace vantor::ctl {

const std::vector<CtlCommand>& CommandTable() {
    static const std::vector<CtlCommand> table{
        {"list", "", "every keyboard: path, vendor:product, version, variant", &RunList},
        {"status", "", "active profile, macro capacity, offered effects", &RunStatus},
        {"switch", "N", "make on-board profile N (0-2) active", &RunSwitch},
        {"lighting", "P", "the lighting block of profile P (0-2), field by field", &RunLighting},
        {"set-lighting", "P FIELD=VALUE...",
         "write lighting fields of profile P in one group: effect, brightness (0-5), speed "
         "(0-5), direction (left|right), random (0|1), colour (RRGGBB), rate (0-3), choice (0-3)",
         &RunSetLighting},
        {"colours", "P [MODE]",
         "send mode MODE (default: the current one) of profile P's user colour file as the "
         "keyboard's per-key colours",
         &RunColours},
        {"boot", "", "put the keyboard into boot mode", &RunBoot},
        {"export", "FILE",
         "the keyboard's key maps and macros as a profile file, with the working profile "
         "file's launch-program and text-block keys where the keyboard agrees",
         &RunExport},
        {"validate", "FILE", "whether FILE is a valid profile file (no keyboard needed)", &RunValidate},
        {"import", "FILE", "write a profile file's key maps and macros to the keyboard", &RunImport},
        {"reset", "",
         "every profile back to factory per-key colours, lighting and key map, profile 0 "
         "active (the main window's Default)",
         &RunReset},
        {"assign", "P KEY ACTION",
         "what KEY (a key's name, or G1-G18) does in profile P: key NAME, mouse "
         "left|right|middle|wheel-up|wheel-down, media N (0-17), function N (0-10), macro ID "
         "(1-100) [CYCLES], or default; CYCLES (1-255) is how often the keyboard plays that "
         "macro, for every key that plays it (default: as it plays now)",
         &RunAssign},
        {"macros", "", "the keyboard's macros: slot, name, play count, and each action as key, "
         "press or release, and delay in ms",
         &RunMacros},
        {"preview", "EFFECT [--ticks N] [--backward] [--random] [--colour RRGGBB] [--seed S]",
         "the lighting preview of EFFECT, one line a tick: each key button's control id and "
         "colour (or plain), as the window paints it in colour mode (no keyboard needed)",
         &RunPreview},
        {"verify", "", "whether the keyboard's key maps and macros are what the working profile "
         "file says (exit 11 when not)",
         &RunVerify},
        {"diagnose", "[--output FILE]",
         "a read-only report for a bug report: system, HID nodes, permissions, status block",
         &RunDiagnose},
        {"gui-command", "ID", "hand command ID to the running program (32780: the update window)",
         &RunGuiCommand},
    };
    return table;
}

}  // namespace vantor::ctl
