#include "device/CommandReport.h"
#include "device/KeyMapCommands.h"
#include "keyassign/DownloadKeyMap.h"
#include "keyassign/MacroArea.h"
#include "keymodel/KeyConversions.h"
#include "macros/RewriteAllMark.h"

#include "keyassign/MacroTables.h"
#include "keyassign/RecordingMessages.h"
#include "support/EmulatedLink.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace vantor {
namespace {

// A download of a snapshot to an emulated keyboard of either variant, whose default matrix is
// the keyboard's own.
class DownloadTest : public ::testing::TestWithParam<char> {
protected:
    DownloadTest() : m_keyboard(*FirmwareVariant::FromLetter(GetParam())) {
        m_keyboard.FillDeviceState(m_device);
        m_device.SetMacroCapacity(1024);
        m_device.SetActiveProfile(1);
        m_records.fill(KeyAssignment{});
        ClearRewriteAllMark();
    }
    ~DownloadTest() override {
        ClearRewriteAllMark();
    }

    DownloadResult Download(bool all) { return DownloadWithOutcome(all).result; }
    DownloadOutcome DownloadWithOutcome(bool all) {
        m_keyboard.Keyboard().ClearLog();
        const KeyMapDownload download{
            m_records, m_macros, m_lock,
            [this](uint32_t id) { return m_macros.IndexOfId(id, m_lock); },
            [this] { return m_device.ActiveProfile(); }};
        return DownloadKeyMap(m_keyboard.Link(), m_device, download, all, m_messages);
    }

    // The commands the keyboard received, one per report.
    std::vector<uint8_t> Commands() const {
        std::vector<uint8_t> commands;
        for (const CommandReport& report : m_keyboard.Requests()) commands.push_back(report.command);
        return commands;
    }

    // The commands with runs of the same command folded into one.
    std::vector<uint8_t> CommandRuns() const {
        std::vector<uint8_t> runs;
        for (const uint8_t command : Commands()) {
            if (runs.empty() || runs.back() != command) runs.push_back(command);
        }
        return runs;
    }

    // The key-map addresses written, in order.
    std::vector<uint16_t> KeyMapAddresses() const {
        std::vector<uint16_t> addresses;
        for (const CommandReport& report : m_keyboard.Requests()) {
            if (report.command == kCmdWriteKeyMap) addresses.push_back(report.Address());
        }
        return addresses;
    }

    // The record of the key at a position of the keyboard's default matrix.
    KeyAssignment& RecordAt(int profile, int position) {
        const auto matrix = m_device.DefaultKeyMatrix();
        const DeviceAction action{matrix[3 * position], matrix[3 * position + 1],
                                  matrix[3 * position + 2]};
        return m_records[profile * kRecordsPerBlock + RowOfCode(CodeOfAction(action))];
    }

    test::EmulatedLink m_keyboard;
    DeviceState m_device;
    std::array<KeyAssignment, kStoreKeyRecordCount> m_records;
    MacroTable m_macros;
    std::recursive_mutex m_lock;
    test::RecordingMessages m_messages;
};

TEST_P(DownloadTest, SendsTheMacroAreaAndTheActiveProfilesKeyMapInOneGroup) {
    m_macros = test::SampleTable(2, 100, 20);
    RecordAt(1, 30).type = kAssignMacro;  // plays the second macro
    RecordAt(1, 30).value = 2;
    RecordAt(1, 31).type = kAssignMedia;
    RecordAt(1, 31).value = 6;
    RecordAt(1, 32).type = kAssignLaunch;
    RecordAt(1, 33).type = kAssignDisabled;

    ASSERT_EQ(Download(false), DownloadResult::Done);
    EXPECT_EQ(CommandRuns(), (std::vector<uint8_t>{kCmdGroupStart, kCmdWriteMacroArea,
                                                   kCmdWriteKeyMap, kCmdGroupEnd}));
    const DeviceVariant variant = m_keyboard.Link().Variant();
    EXPECT_EQ(KeyMapAddresses().front(), variant.keyMapStride);
    EXPECT_TRUE(m_messages.shown.isEmpty());

    const auto firmware = m_keyboard.Keyboard().Firmware();
    std::vector<uint8_t> expectedArea(908);
    BuildMacroArea(m_macros, expectedArea, true);
    const auto area = firmware.MacroAreaBytes();
    EXPECT_TRUE(std::equal(expectedArea.begin(), expectedArea.end(), area.begin()));

    const auto keyMap = firmware.KeyMap(1);
    const auto matrix = m_device.DefaultKeyMatrix();
    ASSERT_EQ(keyMap.size(), variant.keyMapBlockSize);
    for (size_t i = 0; i < keyMap.size(); ++i) {
        const int position = static_cast<int>(i / 3);
        if (position >= 30 && position <= 33) continue;
        EXPECT_EQ(keyMap[i], matrix[i]) << i;  // type 0 keys and bytes past the positions
    }
    EXPECT_EQ(keyMap[90], 5);  // macro: slot 1
    EXPECT_EQ(keyMap[91], 1);
    EXPECT_EQ(keyMap[92], 1);
    EXPECT_EQ(keyMap[93], 3);  // volume up
    EXPECT_EQ(keyMap[94], 0xE9);
    EXPECT_EQ(keyMap[96], matrix[96]);  // launch program: the factory action
    EXPECT_EQ(keyMap[97], matrix[97]);
    EXPECT_EQ(keyMap[99], 0);  // disabled
    EXPECT_EQ(keyMap[100], 0);
}

TEST_P(DownloadTest, NamesAreLeftOutWhenOnlyTheyDoNotFit) {
    m_macros = test::SampleTable(2, 100, 20);
    m_device.SetMacroCapacity(896);
    ASSERT_EQ(Download(false), DownloadResult::Done);
    const KeyboardFirmware firmware = m_keyboard.Keyboard().Firmware();
    const auto area = firmware.MacroAreaBytes();
    EXPECT_EQ(area[2] | (area[3] << 8), 828);
    EXPECT_EQ(area[6], 0);
    EXPECT_EQ(m_messages.shown, QStringList{QStringLiteral("EXTRA_PROFILE_SPACE_TIGHT")});
    EXPECT_EQ(CommandRuns().back(), kCmdGroupEnd);  // the message comes after the writes
}

TEST_P(DownloadTest, MacrosThatDoNotFitStopTheDownloadBeforeAnythingIsSent) {
    m_macros = test::SampleTable(2, 100, 20);
    m_device.SetMacroCapacity(827);
    SetRewriteAllMark();
    EXPECT_EQ(Download(true), DownloadResult::MacrosDoNotFit);
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(m_messages.shown.isEmpty()) << "the caller says it";
    EXPECT_TRUE(RewriteAllMarkIsSet());

    m_macros = MacroTable();
    m_device.SetMacroCapacity(0);
    EXPECT_EQ(Download(false), DownloadResult::MacrosDoNotFit);
    EXPECT_TRUE(Commands().empty());
}

TEST_P(DownloadTest, NoMacrosStillWriteTheSixteenByteHeader) {
    m_device.SetMacroCapacity(16);
    ASSERT_EQ(Download(false), DownloadResult::Done);
    const auto requests = m_keyboard.Requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[1].command, kCmdWriteMacroArea);
    EXPECT_EQ(requests[1].length, 16);
}

TEST_P(DownloadTest, TheRewriteAllMarkWritesAllThreeKeyMapsAndIsClearedBySuccess) {
    const uint32_t stride = m_keyboard.Link().Variant().keyMapStride;
    SetRewriteAllMark();
    ASSERT_EQ(Download(false), DownloadResult::Done);
    const std::vector<uint16_t> addresses = KeyMapAddresses();
    EXPECT_EQ(addresses.front(), 0);
    EXPECT_NE(std::find(addresses.begin(), addresses.end(), stride), addresses.end());
    EXPECT_EQ(addresses.back() / stride, 2u);
    EXPECT_FALSE(RewriteAllMarkIsSet());

    ASSERT_EQ(Download(false), DownloadResult::Done);
    EXPECT_EQ(KeyMapAddresses().front(), stride);  // the active profile only
    EXPECT_EQ(KeyMapAddresses().back() / stride, 1u);
}

TEST_P(DownloadTest, AFailedWriteGoesOnAndKeepsTheRewriteAllMark) {
    SetRewriteAllMark();
    // The keyboard refuses the macro area; the key maps after it still go.
    FaultSwitch refuseMacroArea{EmulatorFault::StatusFF};
    refuseMacroArea.refusedCommand = kCmdWriteMacroArea;
    m_keyboard.Keyboard().SetFault(refuseMacroArea);
    const DownloadOutcome refused = DownloadWithOutcome(false);
    EXPECT_EQ(refused.result, DownloadResult::Failed);
    EXPECT_EQ(refused.firstFailure, CommandResult::StatusFF);
    EXPECT_EQ(KeyMapAddresses().back() / m_keyboard.Link().Variant().keyMapStride, 2u);
    EXPECT_EQ(CommandRuns().back(), kCmdGroupEnd);
    EXPECT_TRUE(RewriteAllMarkIsSet());

    m_keyboard.Keyboard().SetFault({});
    m_keyboard.Link().SetDeviceOpen(false);  // every command fails
    const DownloadOutcome silent = DownloadWithOutcome(false);
    EXPECT_EQ(silent.result, DownloadResult::Failed);
    EXPECT_EQ(silent.firstFailure, CommandResult::NoReply);
    EXPECT_TRUE(RewriteAllMarkIsSet());
}

TEST_P(DownloadTest, AnUnknownActiveProfileSendsNothing) {
    m_device.SetActiveProfile(-1);
    EXPECT_EQ(Download(false), DownloadResult::NoActiveProfile);
    EXPECT_TRUE(Commands().empty());
}

INSTANTIATE_TEST_SUITE_P(Variants, DownloadTest, ::testing::Values('A', 'B'));

}  // namespace
}  // namespace vantor
