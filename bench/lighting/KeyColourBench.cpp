// Host time of painting one key (a 3-byte write in a group, the table, the user colour file)
// and of sending a profile's colour table (8 writes of 54 bytes in a group), against the
// in-process keyboard, which answers at once.

#include "lighting/KeyColours.h"
#include "lighting/UserColourFile.h"
#include "support/EmulatedLink.h"
#include "support/TestEnvironment.h"

#include <benchmark/benchmark.h>

namespace vantor {
namespace {

const QByteArray kTemplate = "[PRESENTMODE]\r\nmode=0\r\n[MODENAME]\r\n0=Game\r\n"
                             "[Mode0]\r\ntool=0\r\njcolor=0,255,0\r\ncolor=0,0,255\r\n";

struct Rig {
    Rig() : colours(link.Link()) {
        env.WriteProgramFile(QStringLiteral("Skins/UserDengColor_3.userd"), kTemplate);
        CreateUserColourFiles();
        colours.LoadMode(0, std::nullopt, false);
    }
    test::TestEnvironment env;
    test::EmulatedLink link;
    KeyColours colours;
};

void BM_PaintKey(benchmark::State& state) {
    Rig rig;
    int key = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rig.colours.PaintKey(key));
        key = (key + 1) % kColourKeyCount;
        rig.link.Keyboard().ClearLog();
    }
}
BENCHMARK(BM_PaintKey)->Unit(benchmark::kMicrosecond);

void BM_SendColourTable(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rig.colours.SendColourTable(0));
        rig.link.Keyboard().ClearLog();
    }
}
BENCHMARK(BM_SendColourTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantor
