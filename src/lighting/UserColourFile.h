#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <utility>

namespace vantor {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour in the form the key buttons' outlines take it, 0x00BBGGRR.
constexpr uint32_t ColourRefOf(const Rgb& c) {
    return uint32_t(c.red) | uint32_t(c.green) << 8 | uint32_t(c.blue) << 16;
}

// The brush of one user mode: the tool (0 paints the key colour, 1 the base colour) and the
// two colours.
struct BrushState {
    int tool = 0;
    Rgb base;  // "jcolor"
    Rgb key;   // "color"
    friend bool operator==(const BrushState&, const BrushState&) = default;
};

// One key's entry in a mode: its colour and whether it was last painted with the base colour.
struct KeyColourEntry {
    Rgb colour{0xFF, 0, 0};
    bool baseMarker = true;
    friend bool operator==(const KeyColourEntry&, const KeyColourEntry&) = default;
};

// ---------------------------------------------------------------------------------------
// A profile's user colour file: INI text with the current mode ("PRESENTMODE"/"mode"), the
// mode names ("MODENAME"/n) and per mode a section "Mode<n>" holding the brush and one entry
// per LED position ("r,g,b,marker"). Missing keys read as their defaults, a missing file as
// an empty one. Numbers outside 0-255 read as the nearest of the two; a marker other than 0
// reads as set and is written as 1. Every write replaces the file atomically.
// ---------------------------------------------------------------------------------------
class UserColourFile {
public:
    explicit UserColourFile(QString path);

    int PresentMode() const;
    bool SetPresentMode(int mode);
    QString ModeName(int mode) const;
    bool SetModeName(int mode, const QString& name);
    BrushState Brush(int mode) const;
    bool SetBrush(int mode, const BrushState& brush);
    KeyColourEntry Entry(int mode, int ledPosition) const;
    // Writes the entries of several LED positions in one replacement of the file.
    bool SetEntries(int mode, const QList<std::pair<int, KeyColourEntry>>& entries);

private:
    QString m_path;
};

// wskb.ini: whether the main window is in colour mode ("KEYCOLOR"/"DengCheck").
bool ColourModeSetting();
bool SetColourModeSetting(bool on);

// Makes the user data folder and copies the skin's template to each of the three user colour
// files that does not exist yet; existing files are left as they are (the folder also holds
// other files, so its existence says nothing about them). False when the folder or a file
// cannot be made.
bool CreateUserColourFiles();
// Copies the template over the profile's user colour file (atomically).
bool ResetUserColourFile(int profile);

}  // namespace vantor
