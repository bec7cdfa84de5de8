#include "ColourTemplate.h"

#include "SkinOutput.h"

#include "keymodel/KeyTables.h"
#include "shell/AtomicFile.h"
#include "shell/IniDocument.h"

#include <QColor>
#include <QDir>

#include <functional>
#include <vector>

namespace vantor::skingen {
namespace {

QString Rgb(const QColor& c) { return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue()); }

struct Mode {
    const char* name;
    QColor base;   // "jcolor"
    QColor brush;  // "color"
    std::function<QColor(int row, int column)> colour;  // by LED grid place
};

}  // namespace

bool WriteColourTemplate(const QString& folder) {
    std::vector<int> leds(KeyListLedPositions.begin(), KeyListLedPositions.end());
    leds.push_back(kExtraKeyLedPosition);
    leds.push_back(kFnLedPosition);

    const Mode modes[] = {
        // A rainbow across the board, by column.
        {"Aurora", QColor(0, 0, 0), QColor(255, 255, 255),
         [](int, int column) { return QColor::fromHsv((column * 17) % 360, 230, 255); }},
        // Warm rows: deep red at the bottom to amber at the top; keys in the base colour.
        {"Ember", QColor(255, 60, 0), QColor(255, 170, 0),
         [](int row, int) { return row >= 4 ? QColor(255, 60, 0) : QColor::fromHsv(10 + row * 8, 255, 255); }},
        // Cool blues with white function row.
        {"Glacier", QColor(0, 120, 255), QColor(255, 255, 255),
         [](int row, int) { return row == 0 ? QColor(255, 255, 255) : QColor::fromHsv(200 + row * 6, 200, 255); }},
    };

    IniDocument ini;
    bool ok = ini.SetValue("PRESENTMODE", "mode", "0");
    for (int n = 0; n < 3; ++n) ok &= ini.SetValue("MODENAME", QString::number(n), QString::fromLatin1(modes[n].name));
    for (int n = 0; n < 3; ++n) {
        const Mode& m = modes[n];
        const QString section = QStringLiteral("Mode%1").arg(n);
        ok &= ini.SetValue(section, "tool", "0");
        ok &= ini.SetValue(section, "jcolor", Rgb(m.base));
        ok &= ini.SetValue(section, "color", Rgb(m.brush));
        for (int k : leds) {
            const QColor c = m.colour(k / 21, k % 21);
            // The base marker is set where a key carries the base colour, so it follows it.
            ok &= ini.SetValue(section, QString::number(k), Rgb(c) + (c == m.base ? ",1" : ",0"));
        }
    }
    const QString path = QDir(folder).filePath("UserDengColor_3.userd");
    return Report(ok && WriteFileAtomically(path, ini.Bytes()), path);
}

}  // namespace vantor::skingen
