#include "KeyboardLayout.h"

#include "keymodel/KeyTables.h"

#include <utility>

namespace vantor::skingen {
namespace {

// Appends keys of width 1 from left to right.
void Run(std::vector<PlacedKey>& keys, double x, double y, std::initializer_list<KeyCode> codes) {
    for (KeyCode code : codes) {
        keys.push_back({code, x, y, 1, 1});
        x += 1;
    }
}

std::vector<PlacedKey> Build() {
    std::vector<PlacedKey> k;
    // Function row, apart from the rest by a half-unit gap.
    Run(k, 0, 0, {0x001});
    Run(k, 2, 0, {0x03B, 0x03C, 0x03D, 0x03E});
    Run(k, 6.5, 0, {0x03F, 0x040, 0x041, 0x042});
    Run(k, 11, 0, {0x043, 0x044, 0x057, 0x058});
    Run(k, 15.25, 0, {0x137, 0x046, 0x045});

    const double r1 = 1.25, r2 = 2.25, r3 = 3.25, r4 = 4.25, r5 = 5.25;
    Run(k, 0, r1, {0x029, 0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x008, 0x009, 0x00A, 0x00B, 0x00C, 0x00D});
    k.push_back({0x00E, 13, r1, 2, 1});
    Run(k, 15.25, r1, {0x152, 0x147, 0x149});
    Run(k, 18.5, r1, {0x145, 0x135, 0x037, 0x04A});

    k.push_back({0x00F, 0, r2, 1.5, 1});
    Run(k, 1.5, r2, {0x010, 0x011, 0x012, 0x013, 0x014, 0x015, 0x016, 0x017, 0x018, 0x019, 0x01A, 0x01B});
    k.push_back({0x02B, 13.5, r2, 1.5, 1});
    Run(k, 15.25, r2, {0x153, 0x14F, 0x151});
    Run(k, 18.5, r2, {0x047, 0x048, 0x049});
    k.push_back({0x04E, 21.5, r2, 1, 2});

    k.push_back({0x03A, 0, r3, 1.75, 1});
    Run(k, 1.75, r3, {0x01E, 0x01F, 0x020, 0x021, 0x022, 0x023, 0x024, 0x025, 0x026, 0x027, 0x028});
    k.push_back({0x01C, 12.75, r3, 2.25, 1});
    Run(k, 18.5, r3, {0x04B, 0x04C, 0x04D});

    k.push_back({0x02A, 0, r4, 2.25, 1});
    Run(k, 2.25, r4, {0x02C, 0x02D, 0x02E, 0x02F, 0x030, 0x031, 0x032, 0x033, 0x034, 0x035});
    k.push_back({0x036, 12.25, r4, 2.75, 1});
    Run(k, 16.25, r4, {0x148});
    Run(k, 18.5, r4, {0x04F, 0x050, 0x051});
    k.push_back({0x11C, 21.5, r4, 1, 2});

    k.push_back({0x01D, 0, r5, 1.25, 1});
    k.push_back({0x15B, 1.25, r5, 1.25, 1});
    k.push_back({0x038, 2.5, r5, 1.25, 1});
    k.push_back({0x039, 3.75, r5, 6.25, 1});
    // Right Alt, Right Win, (Fn, drawn by the main window), App, Right Ctrl share 5 units.
    k.push_back({0x138, 10, r5, 1, 1});
    k.push_back({0x15C, 11, r5, 1, 1});
    k.push_back({0x15D, 13, r5, 1, 1});
    k.push_back({0x11D, 14, r5, 1, 1});
    Run(k, 15.25, r5, {0x14B, 0x150, 0x14D});
    k.push_back({0x052, 18.5, r5, 2, 1});
    k.push_back({0x053, 20.5, r5, 1, 1});
    return k;
}

}  // namespace

const std::vector<PlacedKey>& FullSizeLayout() {
    static const std::vector<PlacedKey> layout = Build();
    return layout;
}

QString KeyLegend(KeyCode code) {
    const int row = RowOfCode(code);
    if (!IsKeyTableRow(row)) return {};
    QString name = QString::fromUtf8(KeyTable[row].englishName);
    if (name.startsWith(u"Right ")) name = name.mid(6);
    if (name.startsWith(u"Num ") && name != u"Num Lock") name = name.mid(4);
    // The usual short forms where a 1-unit cap has no room for the whole name.
    static const std::pair<const char16_t*, const char16_t*> kShort[] = {
        {u"Print Screen", u"PrtSc"}, {u"Scroll Lock", u"ScrLk"}, {u"Insert", u"Ins"}, {u"Delete", u"Del"},
        {u"Page Up", u"PgUp"}, {u"Page Down", u"PgDn"}};
    for (const auto& [full, shortName] : kShort)
        if (name == QStringView(full)) name = QString::fromUtf16(shortName);
    if (name == u"Space") name.clear();  // the space bar carries no legend
    return name;
}

}  // namespace vantor::skingen
