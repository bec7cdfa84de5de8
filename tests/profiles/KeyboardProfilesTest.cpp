#include "device/CommandReport.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileMenu.h"

#include "keyassign/MacroTables.h"
#include "keyassign/RecordingMessages.h"
#include "support/EmulatedLink.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <memory>

namespace vantor {
namespace {

class FakeUi : public ProfileUi {
public:
    void ShowMessage(const QString& key, const QString& /*argument*/) override { shown << key; }
    bool AskYesNo(const QString& key) override {
        asked << key;
        return answer;
    }
    void RefreshKeyButtons(int block) override { refreshedBlock = block; }
    bool HasUnappliedChanges() const override { return unapplied; }
    void SetUnappliedChanges(bool on) override { unapplied = on; }
    bool IsKeyAssignDialogOpen() const override { return dialogOpen; }
    void RunApply() override { ++applies; }
    void ShowProfileMenu(const ProfileMenu& shown) override { menu = shown; }

    bool answer = false;
    bool unapplied = false;
    bool dialogOpen = false;
    int applies = 0;
    int refreshedBlock = -2;
    QStringList asked;
    QStringList shown;
    ProfileMenu menu;
};

// The program's profile side against one emulated keyboard, whose default matrix and macro
// capacity are known as the device monitor would have read them, its active profile not yet.
struct Rig {
    explicit Rig(char variant) : keyboard(*FirmwareVariant::FromLetter(variant)) {
        keyboard.FillDeviceState(device);
        CachedActiveProfile().store(-1);
    }
    ~Rig() { CachedActiveProfile().store(-1); }
    test::EmulatedLink keyboard;
    DeviceState device;
    ProfileStore store;
    ProfileStore snapshot;
    FakeUi ui;
    ProfileContext context{keyboard.Link(), device, store, snapshot, ui};
};

// Assignments in all three profiles to keys the keyboard has, and three named macros.
void FillAssignments(ProfileStore& store) {
    std::lock_guard guard(store.Lock());
    StoreKeyRecords records = store.Data().Records();
    records[0x1E] = {kAssignMacro, 1, 2, 0, 0};            // A plays the second macro
    records[512 + 0x1F] = {kAssignMedia, 0, 6, 0, 0};      // S: volume up
    records[1024 + 0x20] = {kAssignKey, 0, 0x15B, 0, 0};   // D: Left Win
    records[1024 + 0x21] = {kAssignDisabled, 0, 0, 0, 0};  // F
    records[0x10] = {kAssignFunction, 0, 3, 0, 0};         // Q
    records[0x11] = {kAssignStopMacro, 0, 0, 0, 0};        // W
    records[0x12] = {kAssignKey, 0, 0x172, 0, 0};          // E: right button
    MacroTable table = test::SampleTable(3, 30, 10);
    std::vector<MacroRecord> macros(table.Records().begin(), table.Records().end());
    store.Data().Macros().Replace(std::move(macros));
}

class KeyboardProfilesTest : public ::testing::TestWithParam<char> {
protected:
    test::TestEnvironment m_env;
};

TEST_P(KeyboardProfilesTest, KeyboardToFileToKeyboardKeepsKeyMapsAndMacros) {
    Rig first(GetParam());
    CachedActiveProfile().store(0);
    FillAssignments(first.store);
    ASSERT_EQ(PrepareDownloadSnapshot(first.context, true), 1);

    const QString path = m_env.Root() + QStringLiteral("/export.vpf");
    ASSERT_EQ(ReadKeyboardProfile(first.context, path), 1);
    EXPECT_EQ(ValidateProfileFile(path, first.ui), 1);

    Rig second(GetParam());
    CachedActiveProfile().store(0);
    ASSERT_EQ(LoadProfileFile(second.store, path), 1);
    {
        std::lock_guard guard(second.store.Lock());
        const ProfileData& data = second.store.Data();
        EXPECT_EQ(data.Records()[0x1E].type, kAssignMacro);
        EXPECT_EQ(data.Records()[0x1E].value, 2u);
        EXPECT_EQ(data.Records()[1024 + 0x20].value, 0x15Bu);
        ASSERT_EQ(data.Macros().Count(), 3);
        EXPECT_EQ(data.Macros().Records()[2].Name(), QString(10, QChar(u'd')));
    }
    ASSERT_EQ(PrepareDownloadSnapshot(second.context, true), 1);
    const KeyboardFirmware a = first.keyboard.Keyboard().Firmware();
    const KeyboardFirmware b = second.keyboard.Keyboard().Firmware();
    for (int profile = 0; profile < 3; ++profile) {
        const auto mapA = a.KeyMap(profile);
        const auto mapB = b.KeyMap(profile);
        EXPECT_EQ(std::vector<uint8_t>(mapA.begin(), mapA.end()),
                  std::vector<uint8_t>(mapB.begin(), mapB.end()))
            << profile;
    }
    EXPECT_TRUE(std::ranges::equal(a.MacroAreaBytes(), b.MacroAreaBytes()));
}

TEST_P(KeyboardProfilesTest, TheActiveProfileIsReadOnceAndFollowsWhatTheKeyboardTook) {
    Rig rig(GetParam());
    EXPECT_EQ(GetCurrentProfile(rig.context), 0);
    rig.keyboard.Keyboard().ClearLog();
    EXPECT_EQ(GetCurrentProfile(rig.context), 0);
    EXPECT_TRUE(rig.keyboard.Requests().empty());  // cached

    SetCurrentProfile(rig.context, 2);
    EXPECT_EQ(CachedActiveProfile().load(), 2);
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 2);
    SetCurrentProfile(rig.context, 7);  // the keyboard refuses it
    EXPECT_EQ(CachedActiveProfile().load(), -1);
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 2);

    rig.keyboard.Link().SetDeviceOpen(false);
    EXPECT_EQ(GetCurrentProfile(rig.context), -1);
}

TEST_P(KeyboardProfilesTest, SwitchingAsksAboutUnappliedChangesAndTakesFiveAsZero) {
    Rig rig(GetParam());
    CachedActiveProfile().store(1);
    rig.keyboard.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        firmware.MutableArea(FirmwareArea::Status)[10] = 1;
    });
    EXPECT_EQ(SwitchProfile(rig.context, 5), 1);
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 0);
    EXPECT_EQ(rig.ui.refreshedBlock, 0);
    EXPECT_TRUE(rig.ui.asked.isEmpty());
    EXPECT_EQ(rig.ui.menu.checkedPosition, 2);

    rig.ui.dialogOpen = true;
    EXPECT_EQ(SwitchProfile(rig.context, 2), 0);
    EXPECT_EQ(rig.ui.shown, QStringList{QStringLiteral("PROFILE_SEELCT_PROMPT2")});
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 0);
    rig.ui.dialogOpen = false;

    // No: the edits go, the store is the working profile file again.
    EnsureProfileFolder();
    ASSERT_EQ(CreateDefaultProfile(m_env.Paths().WorkingProfileFile(), 0), 1);
    FillAssignments(rig.store);
    rig.ui.unapplied = true;
    EXPECT_EQ(SwitchProfile(rig.context, 2), 1);
    EXPECT_EQ(rig.ui.asked, QStringList{QStringLiteral("PROFILE_SELECT_PROMPT")});
    EXPECT_FALSE(rig.ui.unapplied);
    EXPECT_EQ(rig.ui.applies, 0);
    {
        std::lock_guard guard(rig.store.Lock());
        EXPECT_EQ(rig.store.Data().Macros().Count(), 0);
        EXPECT_EQ(rig.store.Data().Records()[0x1E].type, kAssignDefault);
    }
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 2);
    EXPECT_EQ(rig.ui.refreshedBlock, 2);

    // Yes: Apply runs before the switch.
    rig.ui.unapplied = true;
    rig.ui.answer = true;
    EXPECT_EQ(SwitchProfile(rig.context, 1), 1);
    EXPECT_EQ(rig.ui.applies, 1);
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 1);
}

TEST_P(KeyboardProfilesTest, ReloadingRewritesTheWorkingFileOrFallsBackToTheDefault) {
    Rig rig(GetParam());
    CachedActiveProfile().store(0);
    FillAssignments(rig.store);
    ASSERT_EQ(PrepareDownloadSnapshot(rig.context, true), 1);
    rig.ui.unapplied = true;
    rig.store.Replace(ProfileData::Default());
    EXPECT_EQ(ReloadCurrentProfile(rig.context, false), 1);
    EXPECT_TRUE(QFile::exists(m_env.Paths().WorkingProfileFile()));
    EXPECT_FALSE(rig.ui.unapplied);
    {
        std::lock_guard guard(rig.store.Lock());
        EXPECT_EQ(rig.store.Data().Macros().Count(), 3);
        EXPECT_EQ(rig.store.Data().Records()[512 + 0x1F].type, kAssignMedia);
    }

    // The keyboard gone: the default profile, block 0 shown, the mark kept when asked.
    rig.keyboard.Link().SetDeviceOpen(false);
    CachedActiveProfile().store(-1);
    rig.ui.unapplied = true;
    EXPECT_EQ(ReloadCurrentProfile(rig.context, true), 1);
    EXPECT_TRUE(rig.ui.unapplied);
    EXPECT_EQ(rig.ui.refreshedBlock, 0);
    std::lock_guard guard(rig.store.Lock());
    EXPECT_EQ(rig.store.Data().Macros().Count(), 0);
    const auto records = rig.store.Data().Records();
    EXPECT_TRUE(std::all_of(records.begin(), records.end(),
                            [](const KeyAssignment& r) { return r.type == kAssignDefault; }));
}

TEST_P(KeyboardProfilesTest, ApplyWithTheActiveProfileWritesOnlyItsKeyMap) {
    Rig rig(GetParam());
    FillAssignments(rig.store);
    rig.keyboard.Keyboard().ClearLog();
    ASSERT_EQ(PrepareDownloadSnapshot(rig.context, false), 1);
    std::vector<uint8_t> runs;
    for (const CommandReport& report : rig.keyboard.Requests()) {
        if (runs.empty() || runs.back() != report.command) runs.push_back(report.command);
    }
    // The active profile is asked for first, since it was not known yet.
    EXPECT_EQ(runs, (std::vector<uint8_t>{kCmdReadStatus, kCmdGroupStart, kCmdWriteMacroArea,
                                          kCmdWriteKeyMap, kCmdGroupEnd}));
}

INSTANTIATE_TEST_SUITE_P(Variants, KeyboardProfilesTest, ::testing::Values('A', 'B'));

TEST(ProfileMenu, ItemsCheckMarkCaptionAndCommands) {
    test::TestEnvironment env;
    env.WriteLanguageFile(1, {{QStringLiteral("DEFAULT_PROFILE_NAME"), QStringLiteral("Default")},
                              {QStringLiteral("PROFILE_TIP"), QStringLiteral("Profile: ")}});
    env.SetLanguageIndex(1);
    const ProfileMenu none = BuildProfileMenu(-1);
    ASSERT_EQ(none.items.size(), 5u);
    EXPECT_EQ(none.items[0].id, 9000);
    EXPECT_TRUE(none.items[1].IsSeparator());
    EXPECT_EQ(none.items[4].id, 9003);
    EXPECT_EQ(none.items[3].text, QStringLiteral("$Profile0"));
    EXPECT_EQ(none.checkedPosition, 0);
    EXPECT_EQ(none.caption, QStringLiteral("Default"));
    EXPECT_EQ(none.tooltip, QStringLiteral("Profile: Default"));
    const ProfileMenu second = BuildProfileMenu(1);
    EXPECT_EQ(second.checkedPosition, 3);
    EXPECT_EQ(second.caption, QStringLiteral("$Profile0"));

    EXPECT_EQ(ProfileOfMenuCommand(9000), -1);
    EXPECT_EQ(ProfileOfMenuCommand(9002), 1);
    EXPECT_EQ(ProfileOfMenuCommand(9201), std::nullopt);
}

}  // namespace
}  // namespace vantor
