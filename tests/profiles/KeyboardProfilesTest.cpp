#include "device/CommandReport.h"
#include "keymodel/AssignmentRecords.h"
#include "keymodel/KeyTables.h"
#include "profiles/HostAssignments.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFlows.h"
#include "profiles/ProfileMenu.h"

#include "ProfileRig.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <array>
#include <memory>

namespace vantor {
namespace {

using test::FillAssignments;
using test::Rig;

class KeyboardProfilesTest : public ::testing::TestWithParam<char> {
protected:
    test::TestEnvironment m_env;
};

TEST_P(KeyboardProfilesTest, KeyboardToFileToKeyboardKeepsKeyMapsAndMacros) {
    Rig first(GetParam());
    first.device.SetActiveProfile(0);
    FillAssignments(first.store);
    ASSERT_EQ(PrepareDownloadSnapshot(first.context, true), ProfileResult::Done);

    const QString path = m_env.Root() + QStringLiteral("/export.vpf");
    ASSERT_EQ(ReadKeyboardProfile(first.context, path), ProfileResult::Done);
    EXPECT_EQ(ValidateProfileFile(path), ProfileCheck::Valid);

    Rig second(GetParam());
    second.device.SetActiveProfile(0);
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
    ASSERT_EQ(PrepareDownloadSnapshot(second.context, true), ProfileResult::Done);
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
    EXPECT_EQ(rig.device.ActiveProfile(), 2);
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 2);
    SetCurrentProfile(rig.context, 7);  // the keyboard refuses it
    EXPECT_EQ(rig.device.ActiveProfile(), -1);
    EXPECT_EQ(rig.keyboard.Keyboard().Firmware().ActiveProfile(), 2);

    rig.keyboard.Link().SetDeviceOpen(false);
    EXPECT_EQ(GetCurrentProfile(rig.context), -1);
}

TEST_P(KeyboardProfilesTest, SwitchingAsksAboutUnappliedChangesAndTakesFiveAsZero) {
    Rig rig(GetParam());
    rig.device.SetActiveProfile(1);
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
    rig.device.SetActiveProfile(0);
    FillAssignments(rig.store);
    ASSERT_EQ(PrepareDownloadSnapshot(rig.context, true), ProfileResult::Done);
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
    rig.device.SetActiveProfile(-1);
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
    ASSERT_EQ(PrepareDownloadSnapshot(rig.context, false), ProfileResult::Done);
    std::vector<uint8_t> runs;
    for (const CommandReport& report : rig.keyboard.Requests()) {
        if (runs.empty() || runs.back() != report.command) runs.push_back(report.command);
    }
    // The active profile is asked for first, since it was not known yet.
    EXPECT_EQ(runs, (std::vector<uint8_t>{kCmdReadStatus, kCmdGroupStart, kCmdWriteMacroArea,
                                          kCmdWriteKeyMap, kCmdGroupEnd}));
}

// A profile file whose every record a keyboard can hold, or only this computer: blocks 0-2 as
// a read of the keyboard leaves them, a macro key, and launch-program and text-block keys in
// a key of profile 0 and 1, an extra key of profile 2 and block 3.
constexpr int kLaunchA = 0x1E;            // profile 0, A
constexpr int kTextS = 512 + 0x1F;        // profile 1, S
constexpr int kLaunchG3 = 1024 + 258;     // profile 2, G3
constexpr int kTextBlock3 = 1536 + 0x10;  // block 3, Q
QByteArray WriteHostKeysProfile(const QString& path) {
    ProfileStore store;
    {
        std::lock_guard guard(store.Lock());
        ProfileData& data = store.Data();
        for (int block = 0; block < 3; ++block) ClearBlock(data.Block(block));
        StoreKeyRecords records = data.Records();
        records[0x12] = {kAssignMacro, 0, 1, 0, 0};
        records[512 + 0x20] = {kAssignMedia, 0, 6, 0, 0};
        records[kLaunchA] = {kAssignLaunch, 0, 0, 0, 0};
        data.SetText(kLaunchA, u"/usr/bin/xterm -e top");
        records[kTextS] = {kAssignText, 0, 0, 0, 0};
        data.SetText(kTextS, u"Hello, \u4e16\u754c");
        records[kLaunchG3] = {kAssignLaunch, ExtraKeyParameter(3), 0, 0, 0};
        data.SetText(kLaunchG3, u"/usr/bin/true");
        records[kTextBlock3] = {kAssignText, 0, 0, 0, 0};
        data.SetText(kTextBlock3, u"block three");
        MacroTable table = test::SampleTable(2, 10, 6);
        data.Macros().Replace({table.Records().begin(), table.Records().end()});
    }
    EXPECT_TRUE(SaveProfileToPath(store, path));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ExportedBytes(ProfileStore& store, const QString& path) {
    EXPECT_EQ(ExportProfile(store, path), ProfileResult::Done);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Sets the action of the factory key sending `usage` in one profile's key map on the keyboard.
void SetKeyAction(test::EmulatedLink& keyboard, int profile, uint8_t usage,
                  std::array<uint8_t, 3> action) {
    keyboard.Keyboard().EditFirmware([&](KeyboardFirmware& firmware) {
        const auto matrix = firmware.DefaultKeyMatrix();
        for (size_t p = 0; p + 2 < matrix.size(); p += 3) {
            if (matrix[p] != 2 || matrix[p + 1] != 2 || matrix[p + 2] != usage)
                continue;
            const size_t at = size_t(profile * firmware.Variant().keyMapStride) + p;
            std::ranges::copy(action, firmware.MutableArea(FirmwareArea::KeyMaps).begin() + at);
            return;
        }
        ADD_FAILURE() << "no factory key sends " << int(usage);
    });
}

// Imported, then read back from the keyboard: by vantorctl's export (a store of its own) and
// by the window on the keyboard's arrival, whose Backup then writes its store. Both give the
// imported file back byte for byte, launch-program and text-block keys with their texts.
TEST_P(KeyboardProfilesTest, ImportThenReadingTheKeyboardGivesTheHostOnlyKeysBack) {
    Rig rig(GetParam());
    rig.device.SetActiveProfile(0);
    const QString imported = m_env.Root() + QStringLiteral("/in.vpf");
    const QByteArray original = WriteHostKeysProfile(imported);
    ASSERT_EQ(ImportProfile(rig.context, std::move(*ReadProfileFile(imported).data)),
              ProfileResult::Done);

    ProfileStore exportStore;
    ProfileContext exporting{rig.keyboard.Link(), rig.device, exportStore, rig.snapshot, rig.ui};
    HostAssignmentReport report;
    ASSERT_EQ(ReadKeyboardIntoStore(exporting, &report), ProfileResult::Done);
    EXPECT_EQ(report.workingFile, ProfileCheck::Valid);
    EXPECT_TRUE(report.dropped.empty());
    EXPECT_EQ(ExportedBytes(exportStore, m_env.Root() + QStringLiteral("/ctl.vpf")), original);

    rig.store.Replace(ProfileData::Default());
    ASSERT_EQ(ReloadCurrentProfile(rig.context, false), 1);
    EXPECT_EQ(ExportedBytes(rig.store, m_env.Root() + QStringLiteral("/backup.vpf")), original);
}

// The keyboard changed behind the working file's back: profile 0's A now sends B and profile
// 1's S has its factory function again. Exactly those two host-only keys go, the keyboard's
// assignment standing; the others come back. A working file that cannot be read gives none.
TEST_P(KeyboardProfilesTest, AKeyTheKeyboardContradictsKeepsTheKeyboardsAssignment) {
    Rig rig(GetParam());
    rig.device.SetActiveProfile(0);
    const QString imported = m_env.Root() + QStringLiteral("/in.vpf");
    WriteHostKeysProfile(imported);
    ASSERT_EQ(ImportProfile(rig.context, std::move(*ReadProfileFile(imported).data)),
              ProfileResult::Done);
    SetKeyAction(rig.keyboard, 0, 0x04, {2, 2, 0x05});  // A sends B
    SetKeyAction(rig.keyboard, 1, 0x16, {2, 2, 0x16});  // S is S again

    HostAssignmentReport report;
    ASSERT_EQ(ReadKeyboardIntoStore(rig.context, &report), ProfileResult::Done);
    ASSERT_EQ(report.dropped.size(), 2u);
    EXPECT_EQ(report.dropped[0].record, kLaunchA);
    EXPECT_EQ(report.dropped[0].working.type, kAssignLaunch);
    EXPECT_EQ(report.dropped[0].keyboard.type, kAssignKey);
    EXPECT_EQ(report.dropped[0].keyboard.value, 0x30u);
    EXPECT_EQ(report.dropped[1].record, kTextS);
    EXPECT_EQ(report.dropped[1].working.type, kAssignText);
    EXPECT_EQ(report.dropped[1].keyboard.type, kAssignDefault);
    {
        std::lock_guard guard(rig.store.Lock());
        const ProfileData& data = rig.store.Data();
        EXPECT_EQ(data.Records()[kLaunchA].type, kAssignKey);
        EXPECT_TRUE(data.Text(kLaunchA).empty());
        EXPECT_EQ(data.Records()[kTextS].type, kAssignDefault);
        EXPECT_TRUE(data.Text(kTextS).empty());
        EXPECT_EQ(data.Records()[kLaunchG3].type, kAssignLaunch);
        EXPECT_EQ(data.Text(kLaunchG3), u"/usr/bin/true");
        EXPECT_EQ(data.Text(kTextBlock3), u"block three");
    }

    // A working file that fails its check gives nothing back, and the read still succeeds.
    QFile working(m_env.Paths().WorkingProfileFile());
    ASSERT_TRUE(working.open(QIODevice::ReadWrite));
    working.seek(31);
    working.write("\x00", 1);  // the checksum
    working.close();
    ASSERT_EQ(ReadKeyboardIntoStore(rig.context, &report), ProfileResult::Done);
    EXPECT_EQ(report.workingFile, ProfileCheck::BadHeader);
    EXPECT_TRUE(report.dropped.empty());
    std::lock_guard guard(rig.store.Lock());
    EXPECT_EQ(rig.store.Data().Records()[kLaunchG3].type, kAssignDefault);
    EXPECT_EQ(rig.store.Data().TotalTextBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Variants, KeyboardProfilesTest, ::testing::Values('A', 'B'));

TEST(ProfileMenu, ItemsCheckMarkCaptionAndCommands) {
    test::TestEnvironment env;
    env.WriteLanguageFile(1, {{QStringLiteral("DEFAULT_PROFILE_NAME"), QStringLiteral("Default")},
                              {QStringLiteral("PROFILE_TIP"), QStringLiteral("Profile: ")},
                              {QStringLiteral("PROFILE_1"), QStringLiteral("One")},
                              {QStringLiteral("PROFILE_2"), QStringLiteral("Two")},
                              {QStringLiteral("PROFILE_3"), QStringLiteral("Three")}});
    env.SetLanguageIndex(1);
    const ProfileMenu none = BuildProfileMenu(-1);
    ASSERT_EQ(none.items.size(), 5u);
    EXPECT_EQ(none.items[0].id, 9000);
    EXPECT_TRUE(none.items[1].IsSeparator());
    EXPECT_EQ(none.items[4].id, 9003);
    // Named as the profile buttons name them, never after the working profile file.
    EXPECT_EQ(none.items[2].text, QStringLiteral("One"));
    EXPECT_EQ(none.items[3].text, QStringLiteral("Two"));
    EXPECT_EQ(none.items[4].text, QStringLiteral("Three"));
    EXPECT_EQ(none.checkedPosition, 0);
    EXPECT_EQ(none.caption, QStringLiteral("Default"));
    EXPECT_EQ(none.tooltip, QStringLiteral("Profile: Default"));
    const ProfileMenu second = BuildProfileMenu(1);
    EXPECT_EQ(second.checkedPosition, 3);
    EXPECT_EQ(second.caption, QStringLiteral("Two"));
    EXPECT_EQ(second.tooltip, QStringLiteral("Profile: Two"));

    EXPECT_EQ(ProfileOfMenuCommand(9000), -1);
    EXPECT_EQ(ProfileOfMenuCommand(9002), 1);
    EXPECT_EQ(ProfileOfMenuCommand(9201), std::nullopt);
}

}  // namespace
}  // namespace vantor
