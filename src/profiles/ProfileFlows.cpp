#include "profiles/ProfileFlows.h"

#include "device/StatusCommands.h"
#include "macros/RewriteAllMark.h"
#include "profiles/HostAssignments.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "shell/AtomicFile.h"
#include "shell/Paths.h"

#include <algorithm>

namespace vantor {

namespace {

void ResetStoreAssignments(ProfileStore& store, std::optional<ExtraKeyBank> shownBank) {
    std::lock_guard guard(store.Lock());
    ProfileData& data = store.Data();
    if (!data.HasImage()) {
        return;
    }
    for (int block = 0; block < kOnBoardProfileCount; ++block) {
        ResetKeyAssignments(data.Block(block), shownBank);
    }
    // A launch-program or text-block key reset to its default lets its text go, or the next
    // profile file written would still carry it in its text area.
    for (int record = 0; record < BlockStart(kOnBoardProfileCount); ++record) {
        if (!IsHostOnlyAssignment(data.Records()[static_cast<size_t>(record)])) {
            data.RemoveText(record);
        }
    }
}

// The working profile file after the keyboard took the store: created with its folder when
// missing, as on the keyboard's arrival.
ProfileResult SaveWorkingFile(ProfileStore& store) {
    EnsureProfileFolder();
    return ExportProfile(store, AppPaths::Current()->WorkingProfileFile());
}

}  // namespace

ProfileResult ImportProfile(ProfileContext& context, ProfileData imported) {
    std::lock_guard guard(context.store.Lock());
    context.store.Replace(std::move(imported));
    const ProfileResult downloaded = PrepareDownloadSnapshot(context, true);
    if (downloaded != ProfileResult::Done) {
        SetRewriteAllMark();
        return downloaded;
    }
    return SaveWorkingFile(context.store);
}

ProfileResult ExportProfile(ProfileStore& store, const QString& path) {
    std::optional<QByteArray> bytes;
    {
        std::lock_guard guard(store.Lock());
        bytes = SerializeProfile(store.Data());
    }
    if (!bytes) {
        return ProfileResult::OutOfMemory;
    }
    return WriteFileAtomically(path, *bytes) ? ProfileResult::Done : ProfileResult::FileError;
}

ProfileResult RestoreDefaultProfiles(ProfileContext& context,
                                     std::optional<ExtraKeyBank> shownBank) {
    ProfileResult result = ProfileResult::Done;
    {
        std::lock_guard guard(context.store.Lock());
        ResetStoreAssignments(context.store, shownBank);
        for (int profile = 0; profile < kOnBoardProfileCount; ++profile) {
            result = FirstFailure(result, ResetKeyboardProfile(context, profile));
        }
        // A key map the keyboard missed goes again with this download, and with every later
        // one until one succeeds.
        if (result != ProfileResult::Done) {
            SetRewriteAllMark();
        }
        result = FirstFailure(result, PrepareDownloadSnapshot(context, false));
    }
    // The status block is written only to change the active profile, after the lighting
    // refresh, as profile button 1 does.
    const CommandResult refreshed = context.ui.RefreshProfileLighting(0);
    // The keyboard is asked which profile is active, whatever was known before: a keyboard
    // that cannot say is a failure, not a keyboard already on profile 0.
    StatusBlock status{};
    const CommandResult read = ReadStatus(context.link, &status);
    if (read != CommandResult::Ok) {
        result = FirstFailure(result, ResultOfCommand(read));
    } else {
        context.device.SetActiveProfile(status[kStatusActiveProfile]);
        if (status[kStatusActiveProfile] != 0) {
            result = FirstFailure(result, SetCurrentProfile(context, 0));
        }
    }
    // A reset that failed anywhere leaves the working file as it was; the next arrival of the
    // keyboard reads it afresh from the keyboard. A refresh that could not read the lighting
    // changed nothing on the keyboard, but the caller hears of it.
    if (result == ProfileResult::Done) result = SaveWorkingFile(context.store);
    return FirstFailure(result, ResultOfCommand(refreshed));
}

ProfileResult FollowKeyboardReset(ProfileContext& context,
                                  std::optional<ExtraKeyBank> shownBank) {
    ResetStoreAssignments(context.store, shownBank);
    StatusBlock status{};
    const CommandResult read = ReadStatus(context.link, &status);
    if (read == CommandResult::Ok) {
        context.device.SetActiveProfile(status[kStatusActiveProfile]);
    }
    return ResultOfCommand(read);
}

ProfileResult AssignKey(ProfileContext& context, int profile, int record, const KeyChoice& choice) {
    std::lock_guard guard(context.store.Lock());
    const ProfileResult read = ReadKeyboardIntoStore(context);
    if (read != ProfileResult::Done) {
        return read;
    }
    ProfileData& data = context.store.Data();
    KeyChoice chosen = choice;
    if (choice.type == kAssignMacro) {
        MacroRecord* macro = data.Macros().FindById(choice.value);
        if (macro == nullptr) {
            return ProfileResult::NoSuchMacro;
        }
        // The keyboard plays a macro as often as its macro area says, so the count is the
        // macro's, as the dialog's Repeat count sets it; the key's record carries it as well.
        if (chosen.playCount == 0) {
            chosen.playCount = std::clamp<uint16_t>(macro->cycleCount, 1, kMaxPlayCount);
        }
        macro->cycleCount = static_cast<uint8_t>(chosen.playCount);
    }
    ApplyKeyChoice(data, profile, record, chosen);
    const ProfileResult downloaded = PrepareDownloadSnapshot(context, false, profile);
    if (downloaded != ProfileResult::Done) {
        return downloaded;
    }
    return SaveWorkingFile(context.store);
}

}  // namespace vantor
