#include "macros/MacroTable.h"

#include <new>

namespace vantor {

int FindMacroById(std::span<const MacroRecord> list, uint32_t id)
{
    if (id == 0)
        return -1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

uint16_t SmallestFreeMacroId(std::span<const MacroRecord> list)
{
    for (uint16_t id = kFirstMacroId; id <= kLastMacroId; ++id) {
        if (FindMacroById(list, id) < 0)
            return id;
    }
    return 0;
}

const MacroRecord* MacroTable::FindById(uint32_t id) const
{
    const int index = FindMacroById(m_records, id);
    return index < 0 ? nullptr : &m_records[static_cast<size_t>(index)];
}

int MacroTable::IndexOfId(uint32_t id, std::recursive_mutex& storeLock) const
{
    std::lock_guard guard(storeLock);
    const int index = FindMacroById(m_records, id);
    return index < 0 ? 0 : index;
}

uint16_t MacroTable::IdOfIndex(int index, std::recursive_mutex& storeLock) const
{
    std::lock_guard guard(storeLock);
    if (index < 0 || index >= Count())
        return 0;
    return m_records[static_cast<size_t>(index)].id;
}

bool MacroTable::Replace(std::vector<MacroRecord> records)
{
    if (records.size() > static_cast<size_t>(kMaxMacros))
        return false;
    if (records.empty())
        Clear();
    else
        m_records = std::move(records);
    return true;
}

void MacroTable::Clear()
{
    // Drop the storage too, not only the contents: an empty table holds no array.
    std::vector<MacroRecord>().swap(m_records);
}

bool MacroTable::CopyFrom(const MacroTable& other) noexcept
{
    if (this == &other)
        return true;
    try {
        std::vector<MacroRecord> copy(other.m_records);
        m_records = std::move(copy);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

uint32_t MacroTable::KeyboardFormSize(bool withNames) const
{
    uint32_t size = 16 + 2 * static_cast<uint32_t>(m_records.size());
    for (const MacroRecord& macro : m_records) {
        size += 4 + 4 * static_cast<uint32_t>(macro.UsedActionCount());
        if (withNames)
            size += 2 * static_cast<uint32_t>(macro.NameLength());
    }
    return size;
}

}  // namespace vantor
