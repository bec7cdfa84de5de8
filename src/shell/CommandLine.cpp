#include "shell/CommandLine.h"

namespace vantor {

namespace {

bool IsSwitch(const QString& argument, const char16_t* name) {
    return argument.compare(QStringView(name), Qt::CaseInsensitive) == 0;
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine result;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (IsSwitch(argument, u"/Kill")) {
            result.kill = true;
        } else if (IsSwitch(argument, u"/Start")) {
            result.start = true;
        } else if (argument == u"--sim") {
            // The path is optional: a following switch is not taken for one.
            const bool hasPath = i + 1 < arguments.size() && !arguments[i + 1].startsWith(u'-') &&
                                 !IsSwitch(arguments[i + 1], u"/Kill") &&
                                 !IsSwitch(arguments[i + 1], u"/Start");
            result.simSocket = hasPath ? arguments[++i] : QString();
        } else if (argument.startsWith(u"--sim=")) {
            result.simSocket = argument.mid(6);
        }
    }
    return result;
}

}  // namespace vantor
