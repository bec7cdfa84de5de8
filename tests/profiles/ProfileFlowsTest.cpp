// The profile flows the window and vantorctl share, against the emulated keyboard, faults in
// the middle of a sequence included.

#include "device/CommandReport.h"
#include "lighting/LightingBlock.h"
#include "lighting/LightingWrites.h"
#include "macros/RewriteAllMark.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFlows.h"

#include "ProfileRig.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <vector>

namespace vantor {
namespace {

using test::FillAssignments;
using test::Rig;

std::vector<uint8_t> Bytes(std::span<const uint8_t> span) { return {span.begin(), span.end()}; }

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The requests that change the keyboard: command and address, in order.
std::vector<std::pair<uint8_t, uint16_t>> Writes(const test::EmulatedLink& keyboard) {
    std::vector<std::pair<uint8_t, uint16_t>> writes;
    for (const CommandReport& r : keyboard.Requests()) {
        if (r.command == kCmdWriteStatus || r.command == kCmdWriteLighting ||
            r.command == kCmdWriteKeyMap || r.command == kCmdWriteMacroArea)
            writes.emplace_back(r.command, r.Address());
    }
    return writes;
}

// A profile file's contents, read as an import reads them.
ProfileData Imported(const QString& path) { return std::move(*ReadProfileFile(path).data); }

FaultSwitch Refuse(uint8_t command) {
    FaultSwitch fault{EmulatorFault::StatusFF};
    fault.refusedCommand = command;
    return fault;
}

class ProfileFlowsTest : public ::testing::TestWithParam<char> {
protected:
    ProfileFlowsTest() { ClearRewriteAllMark(); }
    ~ProfileFlowsTest() override { ClearRewriteAllMark(); }

    // A profile file holding FillAssignments' key maps and macros, with a working profile
    // file that differs from it.
    QString WriteImportFile() {
        ProfileStore store;
        FillAssignments(store);
        const QString path = m_env.Root() + QStringLiteral("/import.vpf");
        EXPECT_EQ(ExportProfile(store, path), ProfileResult::Done);
        EnsureProfileFolder();
        EXPECT_EQ(CreateDefaultProfile(Working(), 0), 1);
        return path;
    }
    QString Working() const { return m_env.Paths().WorkingProfileFile(); }

    // The key maps a keyboard holds after it took the import file.
    std::vector<std::vector<uint8_t>> ImportedKeyMaps(const QString& path) {
        Rig clean(GetParam());
        clean.device.SetActiveProfile(0);
        EXPECT_EQ(ImportProfile(clean.context, Imported(path)), ProfileResult::Done);
        const KeyboardFirmware firmware = clean.keyboard.Keyboard().Firmware();
        return {Bytes(firmware.KeyMap(0)), Bytes(firmware.KeyMap(1)), Bytes(firmware.KeyMap(2))};
    }

    test::TestEnvironment m_env;
};

TEST_P(ProfileFlowsTest, ImportSendsEverythingInOneGroupThenWritesTheWorkingFile) {
    Rig rig(GetParam());
    rig.device.SetActiveProfile(0);
    const QString path = WriteImportFile();
    rig.keyboard.Keyboard().ClearLog();

    ASSERT_EQ(ImportProfile(rig.context, Imported(path)), ProfileResult::Done);
    const uint16_t stride = uint16_t(rig.keyboard.Link().Variant().keyMapStride);
    std::vector<uint8_t> runs;
    std::vector<uint16_t> keyMaps;
    for (const CommandReport& r : rig.keyboard.Requests()) {
        if (runs.empty() || runs.back() != r.command) runs.push_back(r.command);
        if (r.command == kCmdWriteKeyMap && r.Address() % stride == 0) keyMaps.push_back(r.Address());
    }
    EXPECT_EQ(runs, (std::vector<uint8_t>{kCmdGroupStart, kCmdWriteMacroArea, kCmdWriteKeyMap,
                                          kCmdGroupEnd}));
    EXPECT_EQ(keyMaps, (std::vector<uint16_t>{0, stride, uint16_t(2 * stride)}));
    EXPECT_EQ(ReadAll(Working()), ReadAll(path));
    EXPECT_FALSE(RewriteAllMarkIsSet());
}

// The keyboard refuses the macro area in the middle of the group: the key maps after it are
// still written, the result says it failed, the working file does not claim the import, and
// the store keeps it for the next download, which sends every key map again.
TEST_P(ProfileFlowsTest, ARefusedMacroAreaStillGetsTheKeyMapsAndTheFailureIsReported) {
    const QString path = WriteImportFile();
    const std::vector<std::vector<uint8_t>> expected = ImportedKeyMaps(path);
    ASSERT_EQ(CreateDefaultProfile(Working(), 0), 1);
    Rig rig(GetParam());
    rig.device.SetActiveProfile(1);
    const QByteArray workingBefore = ReadAll(Working());
    const std::vector<uint8_t> areaBefore = Bytes(rig.keyboard.Keyboard().Firmware().MacroAreaBytes());
    rig.keyboard.Keyboard().SetFault(Refuse(kCmdWriteMacroArea));

    EXPECT_EQ(ImportProfile(rig.context, Imported(path)),
              ProfileResult::KeyboardRefused);
    KeyboardFirmware firmware = rig.keyboard.Keyboard().Firmware();
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_EQ(Bytes(firmware.KeyMap(profile)), expected[size_t(profile)]) << profile;
    }
    EXPECT_EQ(Bytes(firmware.MacroAreaBytes()), areaBefore);
    EXPECT_EQ(ReadAll(Working()), workingBefore);
    EXPECT_TRUE(RewriteAllMarkIsSet());
    {
        std::lock_guard guard(rig.store.Lock());
        EXPECT_EQ(rig.store.Data().Macros().Count(), 3);
    }

    rig.keyboard.Keyboard().SetFault({});
    rig.keyboard.Keyboard().ClearLog();
    ASSERT_EQ(PrepareDownloadSnapshot(rig.context, false), ProfileResult::Done);
    const uint16_t stride = uint16_t(rig.keyboard.Link().Variant().keyMapStride);
    std::vector<uint16_t> keyMaps;
    for (const auto& [command, address] : Writes(rig.keyboard)) {
        if (command == kCmdWriteKeyMap && address % stride == 0) keyMaps.push_back(address);
    }
    EXPECT_EQ(keyMaps, (std::vector<uint16_t>{0, stride, uint16_t(2 * stride)}));
    firmware = rig.keyboard.Keyboard().Firmware();
    EXPECT_NE(Bytes(firmware.MacroAreaBytes()), areaBefore);
    EXPECT_FALSE(RewriteAllMarkIsSet());
}

TEST_P(ProfileFlowsTest, AnImportWhoseMacrosDoNotFitSendsNothing) {
    const QString path = WriteImportFile();
    Rig rig(GetParam());
    rig.device.SetActiveProfile(0);
    rig.device.SetMacroCapacity(64);
    const QByteArray workingBefore = ReadAll(Working());
    rig.keyboard.Keyboard().ClearLog();
    EXPECT_EQ(ImportProfile(rig.context, Imported(path)),
              ProfileResult::MacrosDoNotFit);
    EXPECT_TRUE(Writes(rig.keyboard).empty());
    EXPECT_TRUE(rig.ui.shown.isEmpty()) << "the caller tells the user";
    EXPECT_EQ(ReadAll(Working()), workingBefore);
    EXPECT_TRUE(RewriteAllMarkIsSet());
}

TEST_P(ProfileFlowsTest, DefaultResetsEveryProfileAndEndsOnTheFirst) {
    Rig rig(GetParam());
    rig.device.SetActiveProfile(2);
    rig.keyboard.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        firmware.MutableArea(FirmwareArea::Status)[KeyboardFirmware::kActiveProfileOffset] = 2;
        // Lighting far from the factory block, so the reset must write every byte of it.
        std::ranges::fill(firmware.MutableArea(FirmwareArea::Lighting), uint8_t(0x5A));
    });
    FillAssignments(rig.store);
    ASSERT_EQ(PrepareDownloadSnapshot(rig.context, true), ProfileResult::Done);
    EnsureProfileFolder();
    ASSERT_EQ(CreateDefaultProfile(Working(), 0), 1);

    ASSERT_EQ(RestoreDefaultProfiles(rig.context, std::nullopt), ProfileResult::Done);
    const KeyboardFirmware firmware = rig.keyboard.Keyboard().Firmware();
    const auto factory = FactoryLightingBlock();
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_EQ(Bytes(firmware.KeyMap(profile)), Bytes(firmware.DefaultKeyMatrix())) << profile;
        EXPECT_TRUE(std::ranges::equal(firmware.LightingBlock(profile).first(factory.size()),
                                       factory))
            << profile;
    }
    EXPECT_EQ(firmware.ActiveProfile(), 0);
    EXPECT_EQ(rig.device.ActiveProfile(), 0);
    // The macros stay; the working file follows the keyboard.
    const std::optional<ProfileData> working = ReadProfileFile(Working()).data;
    ASSERT_TRUE(working);
    EXPECT_EQ(working->Macros().Count(), 3);
    EXPECT_EQ(working->Records()[0x1E].type, kAssignDefault);
    EXPECT_EQ(working->Records()[1024 + 0x20].type, kAssignDefault);
}

// A keyboard that refuses every lighting write still gets its three key maps, and the
// result reports the refusal.
TEST_P(ProfileFlowsTest, DefaultWritesEveryKeyMapWhenTheLightingIsRefused) {
    Rig rig(GetParam());
    rig.device.SetActiveProfile(0);
    FillAssignments(rig.store);
    ASSERT_EQ(PrepareDownloadSnapshot(rig.context, true), ProfileResult::Done);
    rig.keyboard.Keyboard().SetFault(Refuse(kCmdWriteLighting));
    rig.keyboard.Keyboard().ClearLog();

    EXPECT_EQ(RestoreDefaultProfiles(rig.context, std::nullopt), ProfileResult::KeyboardRefused);
    const KeyboardFirmware firmware = rig.keyboard.Keyboard().Firmware();
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_EQ(Bytes(firmware.KeyMap(profile)), Bytes(firmware.DefaultKeyMatrix())) << profile;
    }
    // Each profile's lighting, then its key map, in profile order.
    const uint16_t stride = uint16_t(rig.keyboard.Link().Variant().keyMapStride);
    std::vector<std::pair<uint8_t, uint16_t>> firsts;
    for (const auto& write : Writes(rig.keyboard)) {
        const bool keyMapStart = write.first == kCmdWriteKeyMap && write.second % stride == 0;
        if (write.first == kCmdWriteLighting || keyMapStart) firsts.push_back(write);
        if (firsts.size() == 6) break;
    }
    EXPECT_EQ(firsts, (std::vector<std::pair<uint8_t, uint16_t>>{
                          {kCmdWriteLighting, LightingBlockAddress(0)},
                          {kCmdWriteKeyMap, 0},
                          {kCmdWriteLighting, LightingBlockAddress(1)},
                          {kCmdWriteKeyMap, stride},
                          {kCmdWriteLighting, LightingBlockAddress(2)},
                          {kCmdWriteKeyMap, uint16_t(2 * stride)}}));
    std::lock_guard guard(rig.store.Lock());
    EXPECT_EQ(rig.store.Data().Records()[0x1E].type, kAssignDefault);
}

TEST_P(ProfileFlowsTest, FollowingAKeyboardResetTouchesOnlyTheStoreAndReadsTheProfile) {
    Rig rig(GetParam());
    FillAssignments(rig.store);
    rig.keyboard.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        firmware.MutableArea(FirmwareArea::Status)[KeyboardFirmware::kActiveProfileOffset] = 1;
    });
    rig.keyboard.Keyboard().ClearLog();
    EXPECT_EQ(FollowKeyboardReset(rig.context, ExtraKeyBank::A), ProfileResult::Done);
    EXPECT_EQ(rig.device.ActiveProfile(), 1);
    EXPECT_TRUE(Writes(rig.keyboard).empty());
    {
        std::lock_guard guard(rig.store.Lock());
        EXPECT_EQ(rig.store.Data().Records()[512 + 0x1F].type, kAssignDefault);
        EXPECT_EQ(rig.store.Data().Macros().Count(), 3) << "macros are not assignments";
    }

    FillAssignments(rig.store);
    rig.keyboard.Keyboard().SetFault({EmulatorFault::NoReply});
    EXPECT_EQ(FollowKeyboardReset(rig.context, ExtraKeyBank::A), ProfileResult::KeyboardNoAnswer);
    std::lock_guard guard(rig.store.Lock());
    EXPECT_EQ(rig.store.Data().Records()[0x1E].type, kAssignDefault);
}

TEST_P(ProfileFlowsTest, ExportSaysWhenTheFileCannotBeWritten) {
    Rig rig(GetParam());
    FillAssignments(rig.store);
    EXPECT_EQ(ExportProfile(rig.store, m_env.Root() + QStringLiteral("/no/such/folder.vpf")),
              ProfileResult::FileError);
    const QString path = m_env.Root() + QStringLiteral("/backup.vpf");
    ASSERT_EQ(ExportProfile(rig.store, path), ProfileResult::Done);
    const ProfileFileRead read = ReadProfileFile(path);
    ASSERT_EQ(read.check, ProfileCheck::Valid);
    EXPECT_EQ(read.data->Records()[1024 + 0x20].value, 0x15Bu);
}

INSTANTIATE_TEST_SUITE_P(Variants, ProfileFlowsTest, ::testing::Values('A', 'B'));

}  // namespace
}  // namespace vantor
