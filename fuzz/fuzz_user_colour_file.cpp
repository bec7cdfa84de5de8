// A user colour file is the user's to edit. Any bytes must read as a mode, names, brushes and
// key entries within their ranges; a write must keep the file readable and read back as
// written, and must not change the entries it does not touch.

#include "FuzzFolder.h"
#include "lighting/UserColourFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantor;
    const QString path = fuzz::FuzzFolder::Instance().Paths().UserColourFile(0);
    fuzz::FuzzFolder::Put(path, data, size);

    UserColourFile file(path);
    const int mode = file.PresentMode();
    if (mode < 0)
        std::abort();
    for (int m : {0, 1, mode % 8}) {
        (void)file.ModeName(m);
        const BrushState brush = file.Brush(m);
        if (brush.tool != 0 && brush.tool != 1)
            std::abort();
    }
    KeyColourEntry before[4];
    for (int led = 0; led < 4; ++led) before[led] = file.Entry(1, led);

    const KeyColourEntry painted{{1, 2, 3}, false};
    if (!file.SetEntries(1, {{2, painted}}))
        return 0;  // an unreadable file is not written
    if (!(file.Entry(1, 2) == painted))
        std::abort();
    for (int led : {0, 1, 3}) {
        if (!(file.Entry(1, led) == before[led]))
            std::abort();
    }
    const BrushState brush{1, {9, 8, 7}, {6, 5, 4}};
    if (!file.SetBrush(1, brush) || !(file.Brush(1) == brush))
        std::abort();
    if (!file.SetPresentMode(2) || file.PresentMode() != 2)
        std::abort();
    return 0;
}
