// Skin geometry values ("x,y,w,h") come from editable skin files. Any text must give four
// numbers inside the range a window coordinate holds, and a value written back from them must
// read as the same geometry.

#include "shell/skin/SkinGeometry.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void Check(QStringView text) {
    using vantor::SkinGeometry;
    const SkinGeometry g = vantor::ParseSkinGeometry(text);
    for (int v : {g.x, g.y, g.w, g.h}) {
        if (v < SkinGeometry::kMin || v > SkinGeometry::kMax)
            std::abort();
    }
    const QString again = QStringLiteral("%1,%2,%3,%4").arg(g.x).arg(g.y).arg(g.w).arg(g.h);
    if (vantor::ParseSkinGeometry(again) != g)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The same bytes as the UTF-8 and as the UTF-16 text a skin file may hold.
    Check(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    Check(QStringView(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2)));
    return 0;
}
