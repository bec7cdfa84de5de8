#include "keyassign/DownloadKeyMap.h"

#include "device/CommandResult.h"
#include "device/ControlCommands.h"
#include "device/KeyMapCommands.h"
#include "device/MacroAreaCommands.h"
#include "device/StatusCommands.h"
#include "keyassign/MacroArea.h"
#include "keymodel/KeyConversions.h"
#include "macros/RewriteAllMark.h"

#include <QStringLiteral>

#include <algorithm>
#include <new>
#include <vector>

namespace vantor {

KeyMatrix BuildProfileKeyMap(const KeyMapDownload& download, const KeyMatrix& defaultMatrix,
                             int positionCount, int profile) {
    KeyMatrix keyMap = defaultMatrix;
    const int positions =
        std::min(positionCount, static_cast<int>(kKeyMatrixBufferSize / 3));
    std::lock_guard guard(download.snapshotLock);
    const auto block = download.records.subspan(
        static_cast<size_t>(profile) * kRecordsPerBlock, kRecordsPerBlock);
    for (int position = 0; position < positions; ++position) {
        const int row = RowOfPosition(defaultMatrix, position);
        if (row < 0) {
            continue;
        }
        const DeviceAction action = EncodeAssignment(block[static_cast<size_t>(row)],
                                                     ActionAt(defaultMatrix, position),
                                                     download.slotOfId);
        keyMap[3 * position] = action.kind;
        keyMap[3 * position + 1] = action.a;
        keyMap[3 * position + 2] = action.b;
    }
    return keyMap;
}

DownloadOutcome DownloadKeyMap(DeviceLink& link, DeviceState& state, const KeyMapDownload& download,
                   bool allProfiles, UserMessages& messages) {
    std::optional<size_t> known = state.MacroCapacity();
    if (!known) {
        StatusBlock status{};
        const CommandResult read = ReadStatus(link, &status);
        if (read != CommandResult::Ok) {
            return {DownloadResult::StatusUnread, read};
        }
        state.SetMacroCapacity(size_t(status[kStatusMacroCapacity]) * kMacroCapacityUnit);
        known = state.MacroCapacity();
    }
    std::vector<uint8_t> image;
    bool withNames = false;
    {
        std::lock_guard guard(download.snapshotLock);
        const size_t capacity = *known;
        const MacroAreaSize sizes = MacroAreaSizes(download.macros);
        if (sizes.withoutNames > capacity) {
            return {DownloadResult::MacrosDoNotFit};
        }
        withNames = sizes.withNames <= capacity;
        try {
            image.resize(withNames ? sizes.withNames : sizes.withoutNames);
        } catch (const std::bad_alloc&) {
            return {DownloadResult::OutOfMemory};
        }
        BuildMacroArea(download.macros, image, withNames);
    }

    std::vector<int> profiles;
    if (allProfiles || RewriteAllMarkIsSet()) {
        profiles = {0, 1, 2};
    } else {
        const int current = download.currentProfile ? download.currentProfile() : -1;
        if (current < 0 || current >= kProfileCount) {
            return {DownloadResult::NoActiveProfile};
        }
        profiles = {current};
    }

    const DeviceVariant variant = link.Variant();
    const KeyMatrix defaultMatrix = state.DefaultKeyMatrix();
    const size_t blockSize = std::min<size_t>(variant.keyMapBlockSize, kKeyMatrixBufferSize);
    std::vector<KeyMatrix> keyMaps;
    for (const int profile : profiles) {
        keyMaps.push_back(BuildProfileKeyMap(download, defaultMatrix,
                                             static_cast<int>(variant.ledSlotCount), profile));
    }

    // The group's own start and end count as well: a keyboard that missed them did not take
    // the download as one.
    CommandResult written = GroupStart(link);
    written = FirstFailure(written, WriteMacroArea(link, image));
    for (size_t i = 0; i < profiles.size(); ++i) {
        const std::span<const uint8_t> keyMap(keyMaps[i].data(), blockSize);
        written = FirstFailure(written, WriteKeyMap(link, profiles[i], keyMap));
    }
    written = FirstFailure(written, GroupEnd(link));
    if (!withNames) {
        messages.ShowMessage(QStringLiteral("EXTRA_PROFILE_SPACE_TIGHT"));
    }
    if (written != CommandResult::Ok) {
        // A key map the keyboard missed may belong to a profile that is no longer the active
        // one by the next download, so that one writes all three.
        SetRewriteAllMark();
        return {DownloadResult::Failed, written};
    }
    ClearRewriteAllMark();
    return {DownloadResult::Done};
}

}  // namespace vantor
