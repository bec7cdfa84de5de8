#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"
#include "device/ColourCommands.h"
#include "keymodel/KeyTables.h"
#include "lighting/LightingResult.h"
#include "lighting/UserColourFile.h"

#include <QStringList>

#include <array>
#include <optional>

namespace vantor {

// The key buttons that carry a colour, in this order: the 106 keys of the key list, the nine
// extra keys, then Fn.
inline constexpr int kFnColourKey = kKeyListSize + kExtraKeyButtonCount;
inline constexpr int kColourKeyCount = kFnColourKey + 1;
inline constexpr int kColourProfileCount = 3;

// The LED position of a colour key, -1 for an index outside 0 to kColourKeyCount - 1.
int LedPositionOfColourKey(int key);
// The colour key of a main-window button (key-list button, extra-key button, Fn), -1 for any
// other control id; and the button of a colour key, 0 for none.
int ColourKeyOfControl(int controlId);
int ControlOfColourKey(int key);

// Colours of LED positions, 3 bytes each; the bytes past the last position stay 0.
using ColourTable = std::array<uint8_t, kColourTableStride>;

// Profile p's table as mode n of its colour file holds it (the file's current mode when none
// is given): what KeyColours::LoadMode fills. A value, so any thread can make it.
ColourTable ColourTableOfFile(int profile, std::optional<int> mode);
// Sends a table as profile p's: Group start, one 54-byte Write key colours for every 18 LED
// slots of the keyboard (slot count / 18 + 1 of them), Group end.
LightingResult WriteColourTable(DeviceLink& link, int profile, const ColourTable& table);

// ---------------------------------------------------------------------------------------
// The per-key colours of the user-defined effect: the host copy of the three profiles'
// colour tables, the base markers, and the brush of the current profile's current mode, kept
// in step with the user colour files and the keyboard. A colour write the keyboard does not
// take is not recorded as taken: the key's colour is read back and the file is left as it
// was.
// ---------------------------------------------------------------------------------------
class KeyColours {
public:
    explicit KeyColours(DeviceLink& link);

    // The profile being edited; its current mode and brush come with the next LoadMode.
    void SetProfile(int profile);
    int Profile() const { return m_profile; }
    int Mode() const { return m_mode; }
    const BrushState& Brush() const { return m_brush; }

    // Fills the table and markers of profile p from mode n of its file (the file's current
    // mode when none is given), and for the current profile the brush and mode; with send,
    // sends the table.
    LightingResult LoadMode(int profile, std::optional<int> mode, bool send);
    // Sends profile p's table (WriteColourTable).
    LightingResult SendColourTable(int profile);
    // Paints the key with the brush (tool 1: the base colour, marked; tool 0: the key colour),
    // writes it to the keyboard as one 3-byte write in a group, then the table and the file.
    LightingResult PaintKey(int key);
    // A new base colour repaints every marked key of the current profile and sends the table;
    // the colour it already has changes nothing.
    LightingResult PickBaseColour(const Rgb& colour);
    bool PickKeyColour(const Rgb& colour);
    bool ChooseTool(int tool);
    // Makes mode n the current profile's current mode and sends its table; the mode already
    // loaded sends nothing.
    LightingResult SelectMode(int mode);
    bool RenameMode(int mode, const QString& name);
    // Names of modes 0 to count - 1 of the current profile's file.
    QStringList ModeNames(int count) const;
    // Every key of every profile is marked when its colour equals the base colour.
    void MarkBaseKeys();

    Rgb ColourOfKey(int profile, int key) const;
    bool BaseMarker(int profile, int key) const;
    const ColourTable& Table(int profile) const { return m_tables[size_t(profile)]; }

private:
    UserColourFile FileOf(int profile) const;
    void Store(int profile, int led, const Rgb& colour);

    DeviceLink& m_link;
    int m_profile = 0;
    int m_mode = 0;
    bool m_modeLoaded = false;  // m_mode and m_brush are the current profile's
    BrushState m_brush;
    std::array<ColourTable, kColourProfileCount> m_tables{};
    std::array<std::array<bool, kColourKeyCount>, kColourProfileCount> m_markers{};
};

}  // namespace vantor
