// The cost of one language lookup: in the steady state, while the file is recent (compared byte
// for byte), right after the file changed (read and parsed again), and the main window's
// refresh of 115 tooltips.

#include "shell/lang/Language.h"
#include "support/TestEnvironment.h"

#include <benchmark/benchmark.h>

namespace vantor {
namespace {

constexpr int kKeys = 600;  // about the size of a shipped language file

test::LanguageTexts Texts(const QString& suffix) {
    test::LanguageTexts texts;
    for (int i = 0; i < kKeys; ++i) {
        texts.emplace_back(QStringLiteral("TEXT_KEY_%1").arg(i),
                           QStringLiteral("The text of key %1 %2").arg(i).arg(suffix));
    }
    return texts;
}

test::TestEnvironment& Environment() {
    static test::TestEnvironment* env = [] {
        auto* e = new test::TestEnvironment;
        e->WriteLanguageFile(0, Texts("steady"));
        e->WriteLanguageFile(1, Texts("steady"));
        e->SetLanguageIndex(0);
        test::TestEnvironment::WaitUntilFilesSettle();
        return e;
    }();
    return *env;
}

void BM_LookupSteadyState(benchmark::State& state) {
    Environment();
    for (auto _ : state) {
        benchmark::DoNotOptimize(LanguageText(QStringLiteral("TEXT_KEY_300"), 0));
    }
}
BENCHMARK(BM_LookupSteadyState);

// With the default index: the stored language choice is read as well.
void BM_LookupWithCurrentLanguage(benchmark::State& state) {
    Environment();
    for (auto _ : state) {
        benchmark::DoNotOptimize(LanguageText(QStringLiteral("TEXT_KEY_300")));
    }
}
BENCHMARK(BM_LookupWithCurrentLanguage);

void BM_RefreshOf115Tooltips(benchmark::State& state) {
    Environment();
    for (auto _ : state) {
        const int index = GetLanguageIndex();
        for (int i = 0; i < 115; ++i) {
            benchmark::DoNotOptimize(LanguageText(QStringLiteral("TEXT_KEY_%1").arg(i), index));
        }
    }
}
BENCHMARK(BM_RefreshOf115Tooltips)->Unit(benchmark::kMicrosecond);

// Index 1's file, rewritten before each lookup: read and parse again.
void BM_LookupAfterTheFileChanged(benchmark::State& state) {
    test::TestEnvironment& env = Environment();
    const test::LanguageTexts texts[] = {Texts("one"), Texts("two")};
    int turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        env.WriteLanguageFile(1, texts[turn]);
        turn ^= 1;
        state.ResumeTiming();
        benchmark::DoNotOptimize(LanguageText(QStringLiteral("TEXT_KEY_300"), 1));
    }
}
BENCHMARK(BM_LookupAfterTheFileChanged)->Unit(benchmark::kMicrosecond);

// Index 1's file, just written and unchanged since: each lookup compares its bytes.
void BM_LookupWhileTheFileIsRecent(benchmark::State& state) {
    Environment().WriteLanguageFile(1, Texts("recent"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(LanguageText(QStringLiteral("TEXT_KEY_300"), 1));
    }
}
BENCHMARK(BM_LookupWhileTheFileIsRecent)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

}  // namespace
}  // namespace vantor
