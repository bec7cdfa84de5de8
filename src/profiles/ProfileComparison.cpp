#include "profiles/ProfileComparison.h"

#include "device/KeyMapCommands.h"
#include "keyassign/DownloadKeyMap.h"
#include "keyassign/KeyActionCodec.h"
#include "keyassign/MacroArea.h"
#include "keymodel/AssignmentRecords.h"
#include "profiles/KeyboardProfiles.h"

#include <algorithm>
#include <mutex>
#include <new>

namespace vantor {

namespace {

bool SameMacro(const KeyboardMacro& a, const KeyboardMacro& b) {
    return a.cycleCount == b.cycleCount && a.name == b.name &&
           std::ranges::equal(a.actions, b.actions, [](const auto& x, const auto& y) {
               return x.delayField == y.delayField && x.keyCode == y.keyCode &&
                      x.direction == y.direction;
           });
}

// The file's macros as the keyboard would hold them after a download.
std::optional<std::vector<KeyboardMacro>> FileMacros(const MacroTable& macros,
                                                     std::optional<size_t> capacity) {
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    const bool withNames = !capacity || sizes.withNames <= *capacity;
    std::vector<uint8_t> image(withNames ? sizes.withNames : sizes.withoutNames);
    BuildMacroArea(macros, image, withNames);
    return ParseKeyboardMacroArea(image);
}

}  // namespace

ProfileResult CompareKeyboardWithProfile(ProfileContext& context, const ProfileData& file,
                                         ProfileComparison* comparison) {
    if (!file.HasImage()) {
        return ProfileResult::InvalidFile;
    }
    const DeviceVariant variant = context.link.Variant();
    try {
        KeyboardAreas areas;
        const CommandResult read = ReadKeyboardAreas(context.link, &areas);
        if (read != CommandResult::Ok) {
            return ResultOfCommand(read);
        }
        const size_t blockSize = areas.blockSize;
        const std::optional<std::vector<KeyboardMacro>> keyboardMacros =
            ParseKeyboardMacroArea(areas.macroArea);
        const std::optional<std::vector<KeyboardMacro>> fileMacros =
            FileMacros(file.Macros(), context.device.MacroCapacity());
        if (!keyboardMacros || !fileMacros) {
            return ProfileResult::OutOfMemory;
        }

        ProfileComparison result;
        const KeyMatrix defaultMatrix = context.device.DefaultKeyMatrix();
        const int positions =
            std::min(static_cast<int>(variant.ledSlotCount), static_cast<int>(blockSize / 3));
        std::recursive_mutex lock;  // the file's data is this call's own
        const KeyMapDownload download{
            file.Records(), file.Macros(), lock,
            [&](uint32_t id) { return file.Macros().IndexOfId(id, lock); }, nullptr};
        ProfileData decoded = ProfileData::Default();
        for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
            const std::span<const uint8_t> keyboard = areas.KeyMap(profile);
            const KeyMatrix expected =
                BuildProfileKeyMap(download, defaultMatrix, positions, profile);
            DecodeKeyMap(keyboard, defaultMatrix, positions, decoded.Block(profile));
            for (int position = 0; position < positions; ++position) {
                const DeviceAction held = ActionAt(keyboard, position);
                const DeviceAction written = ActionAt(expected, position);
                if (held == written) {
                    continue;
                }
                KeyDifference difference{
                    profile, RowOfPosition(defaultMatrix, position), position, {}, {}, held,
                    written};
                if (difference.row >= 0) {
                    const size_t row = static_cast<size_t>(difference.row);
                    difference.keyboard = decoded.Block(profile)[row];
                    difference.file = file.Records()[BlockStart(profile) + difference.row];
                }
                result.keys.push_back(difference);
            }
        }
        const size_t slotCount = std::max(keyboardMacros->size(), fileMacros->size());
        for (size_t slot = 0; slot < slotCount; ++slot) {
            MacroDifference difference{static_cast<int>(slot), std::nullopt, std::nullopt};
            if (slot < keyboardMacros->size())
                difference.keyboard = (*keyboardMacros)[slot];
            if (slot < fileMacros->size())
                difference.file = (*fileMacros)[slot];
            if (!difference.keyboard || !difference.file ||
                !SameMacro(*difference.keyboard, *difference.file)) {
                result.macros.push_back(std::move(difference));
            }
        }
        *comparison = std::move(result);
        return ProfileResult::Done;
    } catch (const std::bad_alloc&) {
        return ProfileResult::OutOfMemory;
    }
}

}  // namespace vantor
