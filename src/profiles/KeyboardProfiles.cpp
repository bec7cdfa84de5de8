#include "profiles/KeyboardProfiles.h"

#include "device/CommandResult.h"
#include "device/KeyMapCommands.h"
#include "device/MacroAreaCommands.h"
#include "device/StatusCommands.h"
#include "keyassign/DownloadKeyMap.h"
#include "keyassign/MacroArea.h"
#include "lighting/LightingPanel.h"
#include "macros/MacrosFromKeyboard.h"
#include "profiles/HostAssignments.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileMenu.h"
#include "shell/AtomicFile.h"
#include "shell/Paths.h"

#include <QStringLiteral>

#include <algorithm>
#include <new>

namespace vantor {

namespace {

int BlockOfActiveProfile(const DeviceState& device) {
    const int active = device.ActiveProfile();
    return active >= 0 && active < kOnBoardProfileCount ? active : 0;
}

// The working profile file's host-only keys taken into contents read from the keyboard.
HostAssignmentReport TakeWorkingHostAssignments(ProfileData& read,
                                                std::span<const std::span<const uint8_t>> keyMaps,
                                                const KeyMatrix& defaultMatrix, int positionCount) {
    HostAssignmentReport report;
    ProfileFileRead working = ReadProfileFile(AppPaths::Current()->WorkingProfileFile());
    report.workingFile = working.check;
    if (working.data) {
        report.dropped =
            TakeHostAssignments(read, *working.data, keyMaps, defaultMatrix, positionCount);
    }
    return report;
}

// The keyboard's key maps and macros as store contents, with the working profile file's
// host-only keys where the keyboard agrees with them.
ProfileResult ReadKeyboardData(ProfileContext& context, std::optional<ProfileData>* out,
                               HostAssignmentReport* report) {
    int current = -1;
    if (const ProfileResult known = ReadCurrentProfile(context, &current);
        known != ProfileResult::Done) {
        return known;
    }
    const DeviceVariant variant = context.link.Variant();
    try {
        KeyboardAreas areas;
        const CommandResult read = ReadKeyboardAreas(context.link, &areas);
        if (read != CommandResult::Ok) {
            return ResultOfCommand(read);
        }
        const std::vector<uint8_t>& area = areas.macroArea;
        // A macro table the keyboard holds but this program cannot read is not taken as
        // "no macros", which a later download would write over.
        const std::optional<std::vector<KeyboardMacro>> keyboardMacros =
            ParseKeyboardMacroArea(area);
        if (!keyboardMacros) {
            return ProfileResult::InvalidFile;
        }
        std::optional<std::vector<MacroRecord>> macros = MacrosFromKeyboard(*keyboardMacros);
        if (!macros) {
            return ProfileResult::OutOfMemory;
        }
        ProfileData data = ProfileData::Default();
        const KeyMatrix defaultMatrix = context.device.DefaultKeyMatrix();
        const auto positionCount = static_cast<int>(variant.ledSlotCount);
        std::span<const uint8_t> readMaps[kOnBoardProfileCount];
        for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
            readMaps[profile] = areas.KeyMap(profile);
            DecodeKeyMap(readMaps[profile], defaultMatrix, positionCount, data.Block(profile));
        }
        if (!data.Macros().Replace(std::move(*macros))) {
            return ProfileResult::OutOfMemory;
        }
        HostAssignmentReport taken =
            TakeWorkingHostAssignments(data, readMaps, defaultMatrix, positionCount);
        if (report != nullptr) {
            *report = std::move(taken);
        }
        *out = std::move(data);
        return ProfileResult::Done;
    } catch (const std::bad_alloc&) {
        return ProfileResult::OutOfMemory;
    }
}

// The store back to the working profile file, or to the default profile when that cannot be
// read. The store lock is held by the caller.
void LoadWorkingProfile(ProfileContext& context) {
    if (LoadProfileFile(context.store, AppPaths::Current()->WorkingProfileFile()) != 1) {
        CreateDefaultProfile(context.store, 0);
    }
}

void ReloadFromDefault(ProfileContext& context) {
    std::lock_guard guard(context.store.Lock());
    CreateDefaultProfile(context.store, 0);
    context.ui.RefreshKeyButtons(BlockOfActiveProfile(context.device));
}

}  // namespace

CommandResult ReadKeyboardAreas(DeviceLink& link, KeyboardAreas* areas) {
    areas->blockSize = std::min<size_t>(link.Variant().keyMapBlockSize, kKeyMatrixBufferSize);
    for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
        const CommandResult read = ReadKeyMap(
            link, profile, std::span(areas->keyMaps[profile].data(), areas->blockSize));
        if (read != CommandResult::Ok) {
            return read;
        }
    }
    return ReadKeyboardMacroArea(link, &areas->macroArea);
}

ProfileResult ReadCurrentProfile(ProfileContext& context, int* profile) {
    *profile = context.device.ActiveProfile();
    if (*profile != -1) {
        return ProfileResult::Done;
    }
    StatusBlock status{};
    const CommandResult read = ReadStatus(context.link, &status);
    if (read != CommandResult::Ok) {
        return ResultOfCommand(read);
    }
    context.device.SetActiveProfile(status[kStatusActiveProfile]);
    *profile = status[kStatusActiveProfile];
    return ProfileResult::Done;
}

int GetCurrentProfile(ProfileContext& context) {
    int profile = -1;
    ReadCurrentProfile(context, &profile);
    return profile;
}

ProfileResult SetCurrentProfile(ProfileContext& context, int profile) {
    if (profile < 0) {
        return ProfileResult::NothingToDo;
    }
    StatusBlock status{};
    const CommandResult read = ReadStatus(context.link, &status);
    if (read != CommandResult::Ok) {
        return ResultOfCommand(read);
    }
    status[kStatusActiveProfile] = static_cast<uint8_t>(profile & 0xFF);
    const CommandResult written = WriteStatus(context.link, status);
    context.device.SetActiveProfile(written == CommandResult::Ok ? status[kStatusActiveProfile]
                                                                 : -1);
    return ResultOfCommand(written);
}

ProfileResult ReadKeyboardIntoStore(ProfileContext& context, HostAssignmentReport* report) {
    std::optional<ProfileData> data;
    const ProfileResult result = ReadKeyboardData(context, &data, report);
    if (result == ProfileResult::Done) {
        context.store.Replace(std::move(*data));
    }
    return result;
}

ProfileResult ReadKeyboardProfile(ProfileContext& context, const QString& path,
                                  HostAssignmentReport* report) {
    std::optional<ProfileData> data;
    const ProfileResult result = ReadKeyboardData(context, &data, report);
    if (result != ProfileResult::Done) {
        return result;
    }
    const std::optional<QByteArray> bytes = SerializeProfile(*data);
    if (!bytes) {
        return ProfileResult::OutOfMemory;
    }
    return WriteFileAtomically(path, *bytes) ? ProfileResult::Done : ProfileResult::FileError;
}

int ReloadCurrentProfile(ProfileContext& context, bool keepUnappliedChanges) {
    return FinishReload(context, ReadKeyboardForReload(context), keepUnappliedChanges);
}

ProfileResult ReadKeyboardForReload(ProfileContext& context) {
    EnsureProfileFolder();
    int profile = -1;
    const ProfileResult active = ReadCurrentProfile(context, &profile);
    if (active != ProfileResult::Done) {
        return active;
    }
    return ReadKeyboardProfile(context, AppPaths::Current()->WorkingProfileFile());
}

int FinishReload(ProfileContext& context, ProfileResult read, bool keepUnappliedChanges) {
    bool loaded = false;
    if (read == ProfileResult::Done) {
        std::lock_guard guard(context.store.Lock());
        loaded = LoadProfileFile(context.store, AppPaths::Current()->WorkingProfileFile()) == 1;
        if (loaded) {
            context.ui.RefreshKeyButtons(BlockOfActiveProfile(context.device));
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

int ReloadPresentProfile(ProfileContext& context, bool keepUnappliedChanges) {
    const ProfileResult read = ReadKeyboardForReload(context);
    if (read == ProfileResult::Done || !context.device.Present()) {
        return FinishReload(context, read, keepUnappliedChanges);
    }
    {
        std::lock_guard guard(context.store.Lock());
        LoadWorkingProfile(context);
        context.ui.RefreshKeyButtons(BlockOfActiveProfile(context.device));
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
                if (context.device.ActiveProfile() >= 0) {
                    // The edits are discarded.
                    std::lock_guard guard(context.store.Lock());
                    LoadWorkingProfile(context);
                }
            }
        }
        context.switchQuestionOpen = false;
        SetCurrentProfile(context, profile);
    } else {
        // The profile manager shows the switch only when the keyboard took it.
        const ProfileResult switched = SetCurrentProfile(context, profile);
        if (switched == ProfileResult::Done && context.ui.IsProfileManagerOpen()) {
            context.ui.CheckProfileManagerRow(profile);
            context.ui.DisableProfileManagerApply();
        }
    }
    {
        std::lock_guard guard(context.store.Lock());
        context.ui.RefreshKeyButtons(BlockOfActiveProfile(context.device));
    }
    RebuildProfileMenu(context);
    return 1;
}

ProfileResult ResetKeyboardProfile(ProfileContext& context, int profile) {
    context.ui.ResetProfileColours(profile);
    const CommandResult lighting = ResetProfileLighting(context.link, profile);
    const size_t blockSize =
        std::min<size_t>(context.link.Variant().keyMapBlockSize, kKeyMatrixBufferSize);
    const KeyMatrix defaultMatrix = context.device.DefaultKeyMatrix();
    const CommandResult keyMap =
        WriteKeyMap(context.link, profile, std::span(defaultMatrix.data(), blockSize));
    return ResultOfCommand(FirstFailure(lighting, keyMap));
}

ProfileResult PrepareDownloadSnapshot(ProfileContext& context, bool allProfiles,
                                      std::optional<int> profile) {
    std::lock_guard storeGuard(context.store.Lock());
    std::lock_guard snapshotGuard(context.snapshot.Lock());
    ProfileData& working = context.store.Data();
    if (!working.HasImage()) {
        return ProfileResult::NothingToDo;
    }
    AssignTextOffsets(working);
    ProfileData& snapshot = context.snapshot.Data();
    snapshot.Clear();
    if (!snapshot.CopyFrom(working)) {
        return ProfileResult::OutOfMemory;
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
        [&context, profile] { return profile ? *profile : GetCurrentProfile(context); },
    };
    return ResultOfDownload(
        DownloadKeyMap(context.link, context.device, download, allProfiles, context.ui));
}

int RebuildProfileMenu(ProfileContext& context) {
    context.ui.ShowProfileMenu(BuildProfileMenu(context.device.ActiveProfile()));
    return 1;
}

}  // namespace vantor
