#include "emulator/EmulatorFault.h"

#include <array>
#include <utility>

namespace vantor {

namespace {

constexpr std::array<std::pair<EmulatorFault, const char*>, 8> kNames = {{
    {EmulatorFault::None, "none"},
    {EmulatorFault::NoReply, "noreply"},
    {EmulatorFault::LateReply, "late"},
    {EmulatorFault::StaleReply, "stale"},
    {EmulatorFault::StatusFF, "ff"},
    {EmulatorFault::StatusFE, "fe"},
    {EmulatorFault::WriteFailure, "writefail"},
    {EmulatorFault::UnplugMidTransfer, "unplug"},
}};

}  // namespace

QString FaultName(EmulatorFault fault) {
    for (const auto& [value, name] : kNames)
        if (value == fault) return QString::fromLatin1(name);
    return {};
}

std::optional<EmulatorFault> FaultFromName(const QString& name) {
    for (const auto& [value, text] : kNames)
        if (name == QLatin1String(text)) return value;
    return std::nullopt;
}

}  // namespace vantor
