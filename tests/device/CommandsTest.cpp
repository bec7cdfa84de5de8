#include "device/BootCommands.h"
#include "device/ColourCommands.h"
#include "device/CommandResult.h"
#include "device/ControlCommands.h"
#include "device/KeyMapCommands.h"
#include "device/LightingCommands.h"
#include "device/MacroAreaCommands.h"
#include "device/StatusCommands.h"
#include "emulator/FirmwareReport.h"
#include "support/EmulatedLink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <numeric>
#include <vector>

namespace vantor {
namespace {

using test::EmulatedLink;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = uint8_t(seed + i * 7);
    }
    return bytes;
}

bool ChecksumHolds(const CommandReport& request) {
    FirmwareReport raw;
    std::memcpy(raw.data(), request.Bytes(), raw.size());
    return request.Checksum() == FirmwareChecksum(raw);
}

// The chunks a block of `size` bytes at `base` must go out as: (address, length) pairs.
std::vector<std::pair<uint16_t, uint8_t>> ExpectedChunks(uint32_t base, size_t size) {
    std::vector<std::pair<uint16_t, uint8_t>> chunks;
    for (size_t offset = 0; offset < size; offset += 56) {
        chunks.emplace_back(uint16_t(base + offset), uint8_t(std::min<size_t>(56, size - offset)));
    }
    return chunks;
}

std::vector<std::pair<uint16_t, uint8_t>> SentChunks(const std::vector<CommandReport>& requests) {
    std::vector<std::pair<uint16_t, uint8_t>> chunks;
    for (const CommandReport& r : requests) {
        chunks.emplace_back(r.Address(), r.length);
    }
    return chunks;
}

// The same suite for both keyboard models: 378-byte key maps (six chunks of 56 and one of
// 42) and 512-byte ones (nine of 56 and one of 8).
class KeyMapCommands : public ::testing::TestWithParam<char> {
protected:
    const FirmwareVariant& Variant() const { return *FirmwareVariant::FromLetter(GetParam()); }
    EmulatedLink link{Variant()};
};

TEST_P(KeyMapCommands, AKeyMapGoesOutInChunksAtItsProfilesAddress) {
    ASSERT_TRUE(link.Connected());
    const uint32_t size = uint32_t(Variant().keyMapSize);
    EXPECT_EQ(link.Link().Variant().keyMapBlockSize, size);
    EXPECT_EQ(ExpectedChunks(0, size).size(), size == 378 ? 7u : 10u);
    for (int profile = 0; profile < 3; ++profile) {
        link.Keyboard().ClearLog();
        const std::vector<uint8_t> map = Pattern(size, uint8_t(0x10 * (profile + 1)));
        ASSERT_EQ(WriteKeyMap(link.Link(), profile, map), CommandResult::Ok);

        const auto requests = link.Requests();
        EXPECT_EQ(SentChunks(requests), ExpectedChunks(profile * Variant().keyMapStride, size));
        for (size_t i = 0; i < requests.size(); ++i) {
            const CommandReport& r = requests[i];
            EXPECT_EQ(r.command, kCmdWriteKeyMap);
            EXPECT_TRUE(ChecksumHolds(r)) << "chunk " << i;
            EXPECT_EQ(std::memcmp(r.payload, map.data() + i * 56, r.length), 0) << "chunk " << i;
        }
        // The request is reused: past the short last chunk lie the previous chunk's bytes.
        const CommandReport& last = requests.back();
        const CommandReport& previous = requests[requests.size() - 2];
        EXPECT_EQ(std::memcmp(last.payload + last.length, previous.payload + last.length,
                              56 - last.length),
                  0);
        const KeyboardFirmware firmware = link.Keyboard().Firmware();
        const auto stored = firmware.KeyMap(profile);
        EXPECT_TRUE(std::equal(map.begin(), map.end(), stored.begin(), stored.end()));
    }
}

TEST_P(KeyMapCommands, KeyMapsAndTheDefaultMatrixReadBackWhole) {
    const size_t size = size_t(Variant().keyMapSize);
    const std::vector<uint8_t> map = Pattern(size, 0x33);
    link.Keyboard().EditFirmware([&](KeyboardFirmware& firmware) {
        auto area = firmware.MutableArea(FirmwareArea::KeyMaps);
        std::copy(map.begin(), map.end(), area.begin() + 2 * Variant().keyMapStride);
    });
    std::vector<uint8_t> read(512, 0xEE);
    ASSERT_EQ(ReadKeyMap(link.Link(), 2, read), CommandResult::Ok);
    EXPECT_TRUE(std::equal(map.begin(), map.end(), read.begin()));
    if (size < read.size()) {
        EXPECT_EQ(read[size], 0xEE);  // nothing past the block is touched
    }
    EXPECT_EQ(SentChunks(link.Requests()), ExpectedChunks(2 * Variant().keyMapStride, size));

    link.Keyboard().ClearLog();
    std::vector<uint8_t> matrix(512);
    ASSERT_EQ(ReadDefaultKeyMatrix(link.Link(), matrix), CommandResult::Ok);
    const KeyboardFirmware firmware = link.Keyboard().Firmware();
    const auto factory = firmware.DefaultKeyMatrix();
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), matrix.begin()));
    EXPECT_EQ(SentChunks(link.Requests()), ExpectedChunks(0, size));
    EXPECT_EQ(link.Requests().front().command, kCmdReadDefaultKeyMatrix);
}

INSTANTIATE_TEST_SUITE_P(BothModels, KeyMapCommands, ::testing::Values('A', 'B'),
                         [](const auto& info) { return std::string("Variant") + info.param; });

class Commands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(link.Connected()); }
    EmulatedLink link;
};

TEST_F(Commands, TheMacroAreaRoundTripsInChunksFromAddressZero) {
    const std::vector<uint8_t> area = Pattern(200, 0x55);
    ASSERT_EQ(WriteMacroArea(link.Link(), area), CommandResult::Ok);
    EXPECT_EQ(SentChunks(link.Requests()), ExpectedChunks(0, 200));
    std::vector<uint8_t> read(200);
    ASSERT_EQ(ReadMacroArea(link.Link(), read), CommandResult::Ok);
    EXPECT_EQ(read, area);

    link.Keyboard().ClearLog();
    EXPECT_EQ(WriteMacroArea(link.Link(), {}), CommandResult::Ok);
    EXPECT_TRUE(link.Requests().empty());
}

TEST_F(Commands, TheStatusBlockReadsAndWritesWhole) {
    StatusBlock status{};
    ASSERT_EQ(ReadStatus(link.Link(), &status), CommandResult::Ok);
    const KeyboardFirmware firmware = link.Keyboard().Firmware();
    const auto held = firmware.StatusBlock();
    EXPECT_TRUE(std::equal(status.begin(), status.end(), held.begin(), held.end()));

    status[kStatusActiveProfile] = 2;
    ASSERT_EQ(WriteStatus(link.Link(), status), CommandResult::Ok);
    EXPECT_EQ(link.Keyboard().Firmware().ActiveProfile(), 2);
    const CommandReport write = link.Requests().back();
    EXPECT_EQ(write.length, 44);
    EXPECT_EQ(std::memcmp(write.payload, status.data(), 44), 0);
}

TEST_F(Commands, ReadLightingCopiesAll56ReplyBytesWhateverTheCount) {
    uint8_t buffer[56];
    std::memset(buffer, 0xAA, sizeof buffer);
    ASSERT_EQ(ReadLighting(link.Link(), buffer, 10, 42), CommandResult::Ok);
    EXPECT_EQ(link.Requests().back().length, 10);
    EXPECT_EQ(link.Requests().back().Address(), 42);
    EXPECT_EQ(std::memcmp(buffer, link.Replies().back().payload, 56), 0);

    const uint8_t change[3] = {0x07, 0x03, 0x01};
    ASSERT_EQ(WriteLighting(link.Link(), change, 42 + 5), CommandResult::Ok);
    const KeyboardFirmware firmware = link.Keyboard().Firmware();
    const auto block = firmware.LightingBlock(1);
    EXPECT_EQ(std::memcmp(block.data() + 5, change, 3), 0);

    // The two-byte forms: byte 4 = 2, address 0, two payload bytes.
    ASSERT_EQ(WriteLightingTwoByte(link.Link(), 0x09, 0x04), CommandResult::Ok);
    ASSERT_EQ(ReadLightingTwoByte(link.Link(), 0x01, 0x02, buffer), CommandResult::Ok);
    const auto requests = link.Requests();
    const CommandReport& write = requests[requests.size() - 2];
    const CommandReport& read = requests.back();
    EXPECT_EQ(write.command, kCmdWriteLighting);
    EXPECT_EQ(read.command, kCmdReadLighting);
    for (const CommandReport* r : {&write, &read}) {
        EXPECT_EQ(r->length, 2);
        EXPECT_EQ(r->Address(), 0);
    }
    EXPECT_EQ(write.payload[0], 0x09);
    EXPECT_EQ(write.payload[1], 0x04);
    EXPECT_EQ(read.payload[1], 0x02);
    EXPECT_EQ(read.payload[2], 0x00);
}

TEST_F(Commands, KeyColoursAddressTheGivenProfilesTable) {
    const std::vector<uint8_t> colours = Pattern(54, 0x21);
    ASSERT_EQ(WriteKeyColours(link.Link(), 1, colours, 18), CommandResult::Ok);
    EXPECT_EQ(link.Requests().back().Address(), 512 + 18 * 3);
    EXPECT_EQ(link.Requests().back().length, 54);
    const KeyboardFirmware firmware = link.Keyboard().Firmware();
    const auto table = firmware.KeyColours(1);
    EXPECT_TRUE(std::equal(colours.begin(), colours.end(), table.begin() + 54));

    uint8_t read[56] = {};
    ASSERT_EQ(ReadKeyColours(link.Link(), 1, 54, 18, read), CommandResult::Ok);
    EXPECT_EQ(link.Requests().back().command, kCmdReadKeyColours);
    EXPECT_EQ(std::memcmp(read, colours.data(), 54), 0);
}

TEST_F(Commands, ControlCommandsCarryTheirCodeAndNothingElse) {
    const std::pair<uint8_t, std::function<CommandResult(DeviceLink&)>> commands[] = {
        {kCmdGroupStart, GroupStart}, {kCmdGroupEnd, GroupEnd}, {kCmd0B, Command0B},
        {kCmd0C, Command0C},          {kCmd0D, Command0D},     {kCmd0E, Command0E},
    };
    for (const auto& [code, command] : commands) {
        link.Keyboard().ClearLog();
        ASSERT_EQ(command(link.Link()), CommandResult::Ok) << int(code);
        ASSERT_EQ(link.Requests().size(), 1u);
        CommandReport expected = CommandReport::Request(code, 0, 0);
        expected.Seal();
        EXPECT_EQ(std::memcmp(link.Requests()[0].Bytes(), expected.Bytes(), 64), 0) << int(code);
        EXPECT_EQ(expected.Checksum(), code);
    }
}

TEST_F(Commands, EnterBootModeWritesItsFixedReportAndTheKeyboardLeaves) {
    ASSERT_EQ(EnterBootMode(link.Link()), CommandResult::Ok);
    ASSERT_EQ(link.Requests().size(), 1u);
    uint8_t expected[64] = {0x04, 0x00, 0x00, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(link.Requests()[0].Bytes(), expected, 64), 0);
    EXPECT_TRUE(link.Replies().empty());
    EXPECT_FALSE(link.Keyboard().IsPlugged());
}

}  // namespace
}  // namespace vantor
