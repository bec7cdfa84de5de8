#pragma once

#include "macros/MacroRecord.h"

#include <QString>

#include <initializer_list>
#include <vector>

namespace vantor {

// A macro with the given id, name and number of (press, 10 ms) actions.
inline MacroRecord MakeMacro(uint16_t id, const QString& name = {}, int actionCount = 0,
                             uint16_t pending = 0)
{
    MacroRecord macro;
    macro.id = id;
    macro.pending = pending;
    macro.cycleCount = 1;
    macro.SetName(name.isEmpty() ? QStringLiteral("M%1").arg(id) : name);
    for (int i = 0; i < actionCount; ++i)
        macro.AddAction({10, static_cast<uint16_t>(0x1E + i % 20), kMacroPress});
    return macro;
}

inline std::vector<MacroRecord> MakeMacros(std::initializer_list<uint16_t> ids)
{
    std::vector<MacroRecord> macros;
    for (uint16_t id : ids)
        macros.push_back(MakeMacro(id));
    return macros;
}

}  // namespace vantor
