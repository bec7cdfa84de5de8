#pragma once

#include "macros/MacroRecord.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

namespace vantor {

// Position of the first macro in a list with that id; -1 when none has it. Ids are taken as
// key records hold them (32 bits), so a value past 16 bits matches nothing; id 0 means "no
// macro chosen" in key records, so it never matches either.
int FindMacroById(std::span<const MacroRecord> list, uint32_t id);

// The smallest id in 1..100 that no macro of the list uses; 0 when all are taken.
uint16_t SmallestFreeMacroId(std::span<const MacroRecord> list);

// The macros of one store (the working store or the download snapshot): a count and the
// records, contiguous, in the order the user sees them; nothing is held when empty.
//
// The table has no lock of its own. The store that owns it guards it with its store lock:
// the two lookups take that lock themselves, everything else runs while the caller holds it.
class MacroTable {
public:
    MacroTable() = default;
    MacroTable(MacroTable&&) noexcept = default;
    MacroTable& operator=(MacroTable&&) noexcept = default;
    // A full table is over 3 MB; copies are made on purpose, with CopyFrom.
    MacroTable(const MacroTable&) = delete;
    MacroTable& operator=(const MacroTable&) = delete;

    int Count() const { return static_cast<int>(m_records.size()); }
    bool IsEmpty() const { return m_records.empty(); }
    std::span<const MacroRecord> Records() const { return m_records; }
    const MacroRecord* FindById(uint32_t id) const;
    MacroRecord* FindById(uint32_t id) {
        return const_cast<MacroRecord*>(std::as_const(*this).FindById(id));
    }

    // Position of the first macro with the id, 0 when none has it (so a missing id reads
    // as the first macro, which is what the key-map download encodes for it).
    int IndexOfId(uint32_t id, std::recursive_mutex& storeLock) const;
    // The id of the macro at the position, 0 for a position outside the table.
    uint16_t IdOfIndex(int index, std::recursive_mutex& storeLock) const;

    // Installs the records as the whole table in one step. More than 100 records are
    // refused (false) and the table stays as it was.
    bool Replace(std::vector<MacroRecord> records);
    void Clear();
    // Replaces this table with a copy of another; false, and unchanged, when memory runs out.
    bool CopyFrom(const MacroTable& other) noexcept;

    // Bytes the macros take in the keyboard's macro area: the 16-byte header, one 2-byte
    // offset per macro and each macro's 4-byte header and 4 bytes per action, plus the names
    // (2 bytes per character) when they are included.
    uint32_t KeyboardFormSize(bool withNames) const;

private:
    std::vector<MacroRecord> m_records;
};

}  // namespace vantor
