#pragma once

#include "macros/MacroRecord.h"
#include "macros/MacroTable.h"

#include <QString>

#include <vector>

namespace vantor::test {

// A macro of the given number of actions, alternating presses and releases of A with 20 ms
// pauses, named with the given number of characters.
inline MacroRecord SampleMacro(uint16_t id, int actions, int nameLength) {
    MacroRecord macro;
    macro.id = id;
    macro.cycleCount = static_cast<uint8_t>(id + 1);
    for (int i = 0; i < actions; ++i) {
        macro.AddAction({20, 0x01E, static_cast<uint16_t>(i % 2)});
    }
    macro.SetName(QString(nameLength, QChar(u'a' + id % 26)));
    return macro;
}

inline MacroTable SampleTable(int macros, int actions, int nameLength) {
    std::vector<MacroRecord> records;
    for (int i = 0; i < macros; ++i) {
        records.push_back(SampleMacro(static_cast<uint16_t>(i + 1), actions, nameLength));
    }
    MacroTable table;
    table.Replace(std::move(records));
    return table;
}

}  // namespace vantor::test
