#include "profiles/KeyboardProfiles.h"

#include "device/CommandResult.h"
#include "device/KeyMapCommands.h"
#include "device/MacroAreaCommands.h"
#include "device/StatusCommands.h"
#include "keyassign/DownloadKeyMap.h"
#include "keyassign/MacroArea.h"
#include "lighting/LightingWrites.h"
#include "macros/MacrosFromKeyboard.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileMenu.h"
#include "shell/AtomicFile.h"
#include "shell/Paths.h"

#include <QStringLiteral>

#include <algorithm>
#include <new>

namespace vantor {

namespace {

int BlockOfActiveProfile() {
    const int active = CachedActiveProfile().load();
    return active >= 0 && active < kOnBoardProfileCount ? active : 0;
}

// The keyboard's macro area: its header, and the whole table when the header says there is
// one. nullopt when a read fails.
std::optional<std::vector<uint8_t>> ReadKeyboardMacroArea(DeviceLink& link) {
    std::vector<uint8_t> area(kMacroAreaHeaderSize);
    if (ReadMacroArea(link, area) != kCommandOk) {
        return std::nullopt;
    }
    const uint16_t magic = static_cast<uint16_t>(area[0] | (area[1] << 8));
    const size_t total = static_cast<size_t>(area[2] | (area[3] << 8));
    if (magic != kMacroAreaMagic || total <= kMacroAreaHeaderSize) {
        return area;
    }
    area.assign(total, 0);
    if (ReadMacroArea(link, area) != kCommandOk) {
        return std::nullopt;
    }
    return area;
}

void ReloadFromDefault(ProfileContext& context) {
    std::lock_guard guard(context.store.Lock());
    CreateDefaultProfile(context.store, 0);
    context.ui.RefreshKeyButtons(BlockOfActiveProfile());
}

}  // namespace

int GetCurrentProfile(ProfileContext& context) {
    const int cached = CachedActiveProfile().load();
    if (cached != -1) {
        return cached;
    }
    StatusBlock status{};
    if (ReadStatus(context.link, &status) != kCommandOk) {
        return -1;
    }
    CachedActiveProfile().store(status[kStatusActiveProfile]);
    return status[kStatusActiveProfile];
}

void SetCurrentProfile(ProfileContext& context, int profile) {
    if (profile < 0) {
        return;
    }
    StatusBlock status{};
    if (ReadStatus(context.link, &status) != kCommandOk) {
        return;
    }
    status[kStatusActiveProfile] = static_cast<uint8_t>(profile & 0xFF);
    const bool written = WriteStatus(context.link, status) == kCommandOk;
    CachedActiveProfile().store(written ? status[kStatusActiveProfile] : -1);
}

int ReadKeyboardProfile(ProfileContext& context, const QString& path) {
    const int current = GetCurrentProfile(context);
    if (current < 0 || current > 3) {
        return 0;
    }
    const DeviceVariant variant = context.link.Variant();
    const size_t blockSize = std::min<size_t>(variant.keyMapBlockSize, kKeyMatrixBufferSize);
    KeyMatrix keyMaps[kOnBoardProfileCount] = {};
    for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
        if (ReadKeyMap(context.link, profile, std::span(keyMaps[profile].data(), blockSize)) !=
            kCommandOk) {
            return 0;
        }
    }
    const std::optional<std::vector<uint8_t>> area = ReadKeyboardMacroArea(context.link);
    if (!area) {
        return 0;
    }
    try {
        const std::optional<std::vector<KeyboardMacro>> keyboardMacros =
            ParseKeyboardMacroArea(*area);
        if (!keyboardMacros) {
            return 0;
        }
        std::optional<std::vector<MacroRecord>> macros = MacrosFromKeyboard(*keyboardMacros);
        if (!macros) {
            return 0;
        }
        ProfileData data = ProfileData::Default();
        const KeyMatrix defaultMatrix = context.device.DefaultKeyMatrix();
        StoreKeyRecords records = data.Records();
        for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
            DecodeKeyMap(std::span(keyMaps[profile].data(), blockSize), defaultMatrix,
                         static_cast<int>(variant.ledSlotCount),
                         records.subspan(static_cast<size_t>(profile) * kRecordsPerBlock)
                             .first<kRecordsPerBlock>());
        }
        if (!data.Macros().Replace(std::move(*macros))) {
            return 0;
        }
        const std::optional<QByteArray> bytes = SerializeProfile(data);
        return bytes && WriteFileAtomically(path, *bytes) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int ReloadCurrentProfile(ProfileContext& context, bool keepUnappliedChanges) {
    EnsureProfileFolder();
    const QString working = AppPaths::Current()->WorkingProfileFile();
    bool loaded = false;
    if (GetCurrentProfile(context) >= 0 && ReadKeyboardProfile(context, working) == 1) {
        std::lock_guard guard(context.store.Lock());
        loaded = LoadProfileFile(context.store, working) == 1;
        if (loaded) {
            context.ui.RefreshKeyButtons(BlockOfActiveProfile());
        }
    }
    if (!loaded) {
        ReloadFromDefault(context);
    }
    if (!keepUnappliedChanges) {
        context.ui.SetUnappliedChanges(false);
    }
    return 1;
}

int SwitchProfile(ProfileContext& context, int profile) {
    if (profile >= kOnBoardProfileCount) {
        profile = 0;
    }
    if (context.ui.IsKeyAssignDialogOpen()) {
        context.ui.ShowMessage(QStringLiteral("PROFILE_SEELCT_PROMPT2"));
        return 0;
    }
    if (context.ui.IsProfileManagerApplyEnabled() || context.ui.HasUnappliedChanges()) {
        if (!context.switchQuestionOpen) {
            context.switchQuestionOpen = true;
            const bool apply = context.ui.AskYesNo(QStringLiteral("PROFILE_SELECT_PROMPT"));
            if (apply) {
                context.ui.RunApply();
            } else {
                context.ui.SetUnappliedChanges(false);
                if (CachedActiveProfile().load() >= 0) {
                    // The edits are discarded: back to the working profile file, or to the
                    // default profile when that cannot be read.
                    std::lock_guard guard(context.store.Lock());
                    if (LoadProfileFile(context.store, AppPaths::Current()->WorkingProfileFile()) !=
                        1) {
                        CreateDefaultProfile(context.store, 0);
                    }
                }
            }
        }
        context.switchQuestionOpen = false;
        SetCurrentProfile(context, profile);
    } else {
        SetCurrentProfile(context, profile);
        if (context.ui.IsProfileManagerOpen()) {
            context.ui.CheckProfileManagerRow(profile);
            context.ui.DisableProfileManagerApply();
        }
    }
    {
        std::lock_guard guard(context.store.Lock());
        context.ui.RefreshKeyButtons(BlockOfActiveProfile());
    }
    RebuildProfileMenu(context);
    return 1;
}

int ResetKeyboardProfile(ProfileContext& context, int profile) {
    const int lighting = SendLightingGroup(context.link, FactoryLightingWrites(profile));
    if (lighting != kCommandOk) {
        return lighting;
    }
    const size_t blockSize =
        std::min<size_t>(context.link.Variant().keyMapBlockSize, kKeyMatrixBufferSize);
    const KeyMatrix defaultMatrix = context.device.DefaultKeyMatrix();
    return WriteKeyMap(context.link, profile, std::span(defaultMatrix.data(), blockSize));
}

int PrepareDownloadSnapshot(ProfileContext& context, bool allProfiles) {
    std::lock_guard storeGuard(context.store.Lock());
    std::lock_guard snapshotGuard(context.snapshot.Lock());
    ProfileData& working = context.store.Data();
    if (!working.HasImage()) {
        return 0;
    }
    AssignTextOffsets(working);
    ProfileData& snapshot = context.snapshot.Data();
    snapshot.Clear();
    if (!snapshot.CopyFrom(working)) {
        return 0;
    }
    FillProfileHeaders(snapshot.Image(), static_cast<uint16_t>(snapshot.Macros().Count()),
                       snapshot.TotalTextBytes(), 0);
    const MacroTable& workingMacros = working.Macros();
    std::recursive_mutex& storeLock = context.store.Lock();
    const KeyMapDownload download{
        snapshot.Records(),
        snapshot.Macros(),
        context.snapshot.Lock(),
        [&workingMacros, &storeLock](uint32_t id) { return workingMacros.IndexOfId(id, storeLock); },
        [&context] { return GetCurrentProfile(context); },
    };
    return DownloadKeyMap(context.link, context.device, download, allProfiles, context.ui);
}

int RebuildProfileMenu(ProfileContext& context) {
    context.ui.ShowProfileMenu(BuildProfileMenu(CachedActiveProfile().load()));
    return 1;
}

}  // namespace vantor
