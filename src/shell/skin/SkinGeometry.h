#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>

namespace vantor {

// Where a skin puts one control: "x,y,w,h" in pixels of the window's client area.
struct SkinGeometry {
    // Numbers beyond what a window coordinate can hold are clamped to this range.
    static constexpr int kMin = -32768;
    static constexpr int kMax = 32767;

    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;

    // x = 1 with y = 1 marks a control the skin leaves out: an image button placed there is
    // disabled, whatever its size.
    bool IsDisabledMarker() const { return x == 1 && y == 1; }
    QPoint Origin() const { return {x, y}; }
    QRect Rect() const { return {x, y, w, h}; }

    friend bool operator==(const SkinGeometry&, const SkinGeometry&) = default;
};

// The value used when the file, section or key is missing: 1 x 1 at (1,1).
inline constexpr char16_t kDefaultSkinGeometry[] = u"1,1,1,1,x";

// Up to four comma-separated integers from the start of the value. Blanks may come before a
// number (and its sign) but not before a comma; parsing stops at the first thing that does not
// fit, and the numbers not reached are 0. Anything after the fourth number is ignored.
SkinGeometry ParseSkinGeometry(QStringView value);

// The geometry of a key of a skin INI file, read into a 260-character buffer, with the
// default "1,1,1,1,x".
SkinGeometry ReadSkinGeometry(const QString& iniPath, const QString& section, const QString& key);

}  // namespace vantor
