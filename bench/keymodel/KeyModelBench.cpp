#include <benchmark/benchmark.h>

#include "keymodel/AssignmentSummary.h"
#include "keymodel/KeyNames.h"
#include "keymodel/PromptTexts.h"

namespace vantor {
namespace {

// One program folder with a language file for the whole run: every name and summary reads
// it, as the program does.
const test::TestEnvironment& Environment() {
    static const test::TestEnvironment* env = [] {
        auto* e = new test::TestEnvironment;
        e->WriteLanguageFile(1, test::PromptTexts());
        e->SetLanguageIndex(1);
        // A file younger than the cache's recent window is compared byte for byte on every
        // lookup; wait it out so the runs measure the steady state.
        test::TestEnvironment::WaitUntilFilesSettle();
        return e;
    }();
    return *env;
}

void BM_KeyName(benchmark::State& state) {
    Environment();
    const KeyCode code = static_cast<KeyCode>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(KeyName(code));
}
BENCHMARK(BM_KeyName)->Arg(0x01E)->Arg(0x064)->ArgName("code");

// Range 0 is the record type: 0 default, 1 disabled, 2 key, 4 macro, 7 media, 8 function.
void BM_AssignmentSummary(benchmark::State& state) {
    Environment();
    KeyAssignment record;
    record.type = static_cast<uint16_t>(state.range(0));
    record.value = record.type == kAssignKey ? 0x001 : record.type == kAssignMacro ? 3 : record.type == kAssignFunction ? 2 : 0;
    const QString base = KeyName(0x01E);
    const MacroNameLookup macroName = [](uint32_t id) { return id == 3 ? QStringLiteral("Combo") : QString(); };
    for (auto _ : state) benchmark::DoNotOptimize(AssignmentSummary(base, record, macroName));
}
BENCHMARK(BM_AssignmentSummary)->Arg(0)->Arg(1)->Arg(2)->Arg(4)->Arg(7)->Arg(8)->ArgName("type");

}  // namespace
}  // namespace vantor
