#include "lighting/KeyColours.h"

#include "device/CommandReport.h"
#include "device/ControlCommands.h"
#include "shell/Paths.h"

namespace vantor {

namespace {

constexpr int kPositionsPerPiece = int(kColourPieceSize / 3);

bool IsProfile(int profile) { return profile >= 0 && profile < kColourProfileCount; }
bool IsColourKey(int key) { return key >= 0 && key < kColourKeyCount; }

}  // namespace

int LedPositionOfColourKey(int key) {
    if (key >= 0 && key < kKeyListSize) {
        return LedPositionOfKeyListPosition(key);
    }
    if (key >= kKeyListSize && key < kFnColourKey) {
        return kExtraKeyLedPosition;
    }
    return key == kFnColourKey ? kFnLedPosition : -1;
}

int ColourKeyOfControl(int controlId) {
    if (controlId == kFnButtonId) {
        return kFnColourKey;
    }
    if (const int extra = ExtraKeyButtonIndexOf(controlId); extra >= 0) {
        return kKeyListSize + extra;
    }
    return KeyListPositionOfButton(controlId);
}

int ControlOfColourKey(int key) {
    if (key >= 0 && key < kKeyListSize) {
        return KeyListButtonIds[size_t(key)];
    }
    if (key >= kKeyListSize && key < kFnColourKey) {
        return ExtraKeyButtonIds[size_t(key - kKeyListSize)];
    }
    return key == kFnColourKey ? kFnButtonId : 0;
}

KeyColours::KeyColours(DeviceLink& link) : m_link(link) {}

void KeyColours::SetProfile(int profile) {
    if (IsProfile(profile) && profile != m_profile) {
        m_profile = profile;
        m_modeLoaded = false;
    }
}

UserColourFile KeyColours::FileOf(int profile) const {
    return UserColourFile(AppPaths::Current()->UserColourFile(profile));
}

namespace {

void PutColour(ColourTable& table, int led, const Rgb& colour) {
    uint8_t* at = table.data() + size_t(led) * 3;
    at[0] = colour.red;
    at[1] = colour.green;
    at[2] = colour.blue;
}

using BaseMarkers = std::array<bool, kColourKeyCount>;

// Mode n of a colour file, each key's entry read once: the table (only the colour keys'
// positions are ever set; the others stay 0) and, when asked, the base markers.
ColourTable TableOfMode(const UserColourFile& file, int mode, BaseMarkers* markers = nullptr) {
    ColourTable table{};
    for (int key = 0; key < kColourKeyCount; ++key) {
        const int led = LedPositionOfColourKey(key);
        const KeyColourEntry entry = file.Entry(mode, led);
        PutColour(table, led, entry.colour);
        if (markers != nullptr) (*markers)[size_t(key)] = entry.baseMarker;
    }
    return table;
}

}  // namespace

void KeyColours::Store(int profile, int led, const Rgb& colour) {
    PutColour(m_tables[size_t(profile)], led, colour);
}

Rgb KeyColours::ColourOfKey(int profile, int key) const {
    const uint8_t* at = m_tables[size_t(profile)].data() + size_t(LedPositionOfColourKey(key)) * 3;
    return {at[0], at[1], at[2]};
}

bool KeyColours::BaseMarker(int profile, int key) const {
    return m_markers[size_t(profile)][size_t(key)];
}

ColourTable ColourTableOfFile(int profile, std::optional<int> mode) {
    const UserColourFile file(AppPaths::Current()->UserColourFile(profile));
    return TableOfMode(file, mode.value_or(file.PresentMode()));
}

LightingResult WriteColourTable(DeviceLink& link, int profile, const ColourTable& table) {
    if (!IsProfile(profile)) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    const int pieces = int(link.Variant().ledSlotCount) / kPositionsPerPiece + 1;
    const CommandResult sent = InGroup(link, [&] {
        CommandResult result = CommandResult::Ok;
        for (int j = 0; j < pieces; ++j) {
            const auto piece = std::span(table).subspan(size_t(j) * kColourPieceSize, kColourPieceSize);
            result = FirstFailure(result, WriteKeyColours(link, profile, piece, j * kPositionsPerPiece));
        }
        return result;
    });
    // The host table holds the file's colours; what the keyboard kept of them is not known.
    return {sent == CommandResult::Ok ? LightingOutcome::Taken : LightingOutcome::Unconfirmed, sent};
}

LightingResult KeyColours::LoadMode(int profile, std::optional<int> mode, bool send) {
    if (!IsProfile(profile)) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    const UserColourFile file = FileOf(profile);
    const int n = mode.value_or(file.PresentMode());
    if (profile == m_profile) {
        m_mode = n;
        m_modeLoaded = true;
        m_brush = file.Brush(n);
    }
    m_tables[size_t(profile)] = TableOfMode(file, n, &m_markers[size_t(profile)]);
    return send ? SendColourTable(profile) : LightingResult{LightingOutcome::NothingSent};
}

LightingResult KeyColours::SendColourTable(int profile) {
    if (!IsProfile(profile)) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    return WriteColourTable(m_link, profile, m_tables[size_t(profile)]);
}

LightingResult KeyColours::PaintKey(int key) {
    if (!IsColourKey(key)) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    const int p = m_profile;
    const int led = LedPositionOfColourKey(key);
    const bool base = m_brush.tool == 1;
    const Rgb colour = base ? m_brush.base : m_brush.key;
    const uint8_t bytes[3] = {colour.red, colour.green, colour.blue};
    const CommandResult sent =
        InGroup(m_link, [&] { return WriteKeyColours(m_link, p, bytes, led); });
    if (sent != CommandResult::Ok) {
        uint8_t reply[CommandReport::kPayloadSize] = {};
        if (ReadKeyColours(m_link, p, 3, led, reply) != CommandResult::Ok) {
            return {LightingOutcome::Unconfirmed, sent};
        }
        Store(p, led, Rgb{reply[0], reply[1], reply[2]});
        return {LightingOutcome::Rejected, sent};
    }
    m_markers[size_t(p)][size_t(key)] = base;
    Store(p, led, colour);
    FileOf(p).SetEntries(m_mode, {{led, {colour, base}}});
    return {LightingOutcome::Taken, sent};
}

LightingResult KeyColours::PickBaseColour(const Rgb& colour) {
    if (colour == m_brush.base) {
        return {LightingOutcome::NothingSent};
    }
    const int p = m_profile;
    m_brush.base = colour;
    UserColourFile file = FileOf(p);
    file.SetBrush(m_mode, m_brush);
    QList<std::pair<int, KeyColourEntry>> entries;
    for (int key = 0; key < kColourKeyCount; ++key) {
        if (m_markers[size_t(p)][size_t(key)]) {
            const int led = LedPositionOfColourKey(key);
            Store(p, led, colour);
            entries.push_back({led, {colour, true}});
        }
    }
    file.SetEntries(m_mode, entries);
    return SendColourTable(p);
}

bool KeyColours::PickKeyColour(const Rgb& colour) {
    m_brush.key = colour;
    return FileOf(m_profile).SetBrush(m_mode, m_brush);
}

bool KeyColours::ChooseTool(int tool) {
    m_brush.tool = tool == 1 ? 1 : 0;
    return FileOf(m_profile).SetBrush(m_mode, m_brush);
}

LightingResult KeyColours::SelectMode(int mode) {
    if (mode < 0) {
        return {LightingOutcome::NotAllowed, CommandResult::BadArgument};
    }
    // Choosing the mode that is already loaded changes nothing.
    if (m_modeLoaded && mode == m_mode) return {LightingOutcome::NothingSent};
    FileOf(m_profile).SetPresentMode(mode);
    return LoadMode(m_profile, mode, true);
}

bool KeyColours::RenameMode(int mode, const QString& name) {
    return mode >= 0 && FileOf(m_profile).SetModeName(mode, name);
}

QStringList KeyColours::ModeNames(int count) const {
    const UserColourFile file = FileOf(m_profile);
    QStringList names;
    for (int n = 0; n < count; ++n) {
        names.push_back(file.ModeName(n));
    }
    return names;
}

void KeyColours::MarkBaseKeys() {
    for (int p = 0; p < kColourProfileCount; ++p) {
        for (int key = 0; key < kColourKeyCount; ++key) {
            m_markers[size_t(p)][size_t(key)] = ColourOfKey(p, key) == m_brush.base;
        }
    }
}

}  // namespace vantor
