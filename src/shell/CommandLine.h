#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vantor {

// What the program was asked to do on its command line.
struct CommandLine {
    bool kill = false;   // "/Kill": close the running instance and end
    bool start = false;  // "/Start": an automatic start; the window stays in the tray
    // "--sim [PATH]" or "--sim=PATH": talk to the emulator; an empty path means its default
    // socket. Unset when not asked for.
    std::optional<QString> simSocket;
};

// Scans the arguments after the program name. The switches match in any letter case; any other
// argument is ignored.
CommandLine ParseCommandLine(const QStringList& arguments);

}  // namespace vantor
