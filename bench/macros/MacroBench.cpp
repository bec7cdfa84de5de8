#include "macros/ApplyMacroList.h"
#include "macros/MacroTable.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace vantor {
namespace {

class NullObserver : public MacroApplyObserver {
public:
    void ShowKeyRecordAsDefault(int) override {}
    void MarkUnappliedChanges() override {}
};

// The largest list there can be: 100 macros of 4000 actions.
std::vector<MacroRecord> FullList()
{
    std::vector<MacroRecord> list(kMaxMacros);
    for (int i = 0; i < kMaxMacros; ++i) {
        list[static_cast<size_t>(i)].id = static_cast<uint16_t>(i + 1);
        list[static_cast<size_t>(i)].SetName(QString(249, u'm'));
        while (list[static_cast<size_t>(i)].AddAction({10, 0x1E, kMacroPress})) {
        }
    }
    return list;
}

// Applying the editor's list when every key record of the store plays a macro: the
// reconciliation walk and the copy of 3 MB of records.
void BM_ApplyFullList(benchmark::State& state)
{
    std::vector<MacroRecord> list = FullList();
    std::vector<KeyAssignment> keys(kStoreKeyRecordCount);
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = {kAssignMacro, 1, static_cast<uint32_t>(i % kMaxMacros + 1), 0, 0};
    MacroTable table;
    std::recursive_mutex lock;
    NullObserver observer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ApplyMacroList(list, StoreKeyRecords(keys), table, lock, observer));
    }
}
BENCHMARK(BM_ApplyFullList)->Unit(benchmark::kMillisecond);

// The size check every download makes before it builds the macro area.
void BM_KeyboardFormSizeFullTable(benchmark::State& state)
{
    MacroTable table;
    table.Replace(FullList());
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.KeyboardFormSize(true));
    }
}
BENCHMARK(BM_KeyboardFormSizeFullTable);

}  // namespace
}  // namespace vantor
