#include "emulator/KeyboardFirmware.h"

#include "keymodel/KeyConversions.h"
#include "keymodel/KeyTables.h"

#include "FirmwareRequests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vantor {
namespace {

using test::MakeRequest;
using test::Payload;

std::vector<uint8_t> Bytes(std::span<const uint8_t> s) { return {s.begin(), s.end()}; }

class KeyboardFirmwareTest : public ::testing::TestWithParam<char> {
protected:
    const FirmwareVariant& variant = *FirmwareVariant::FromLetter(GetParam());
    KeyboardFirmware firmware{variant, 1024};

    FirmwareReport Answer(const FirmwareReport& request) {
        const KeyboardFirmware::Outcome outcome = firmware.HandleRequest(request);
        EXPECT_TRUE(outcome.reply.has_value());
        EXPECT_FALSE(outcome.enterBootMode);
        return outcome.reply.value_or(FirmwareReport{});
    }
    uint8_t StatusOf(const FirmwareReport& request) { return Answer(request)[kReportStatusOffset]; }
};

TEST_P(KeyboardFirmwareTest, FactoryStateMatchesTheModel) {
    const auto status = firmware.StatusBlock();
    ASSERT_EQ(status.size(), 44u);
    EXPECT_EQ(status[10], 0);  // active profile
    EXPECT_EQ(status[11], 1024 / 128);
    const std::vector<uint8_t> effects(status.begin() + 12, status.begin() + 32);
    EXPECT_EQ(effects, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                             16, 17, 18, 20, 0}));

    const std::vector<uint8_t> factoryLighting = {1, 4, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int p = 0; p < 3; ++p) {
        const auto block = Bytes(firmware.LightingBlock(p));
        EXPECT_TRUE(std::equal(factoryLighting.begin(), factoryLighting.end(), block.begin()));
        EXPECT_TRUE(std::all_of(block.begin() + 8, block.end(), [](uint8_t b) { return b == 0; }));
        EXPECT_EQ(Bytes(firmware.KeyMap(p)), Bytes(firmware.DefaultKeyMatrix()));
    }
    EXPECT_EQ(firmware.DefaultKeyMatrix().size(), static_cast<size_t>(variant.keyMapSize));
    EXPECT_EQ(firmware.Area(FirmwareArea::KeyMaps).size(), 3u * variant.keyMapStride);
    EXPECT_EQ(firmware.MacroAreaBytes().size(), 1024u);
}

// Position k of the factory key map holds the key whose LED is k.
TEST_P(KeyboardFirmwareTest, FactoryKeyMatrixPutsEachKeyAtItsLedPosition) {
    const auto matrix = firmware.DefaultKeyMatrix();
    struct Case { int position; uint8_t kind, a, b; };
    const Case cases[] = {
        {64, 2, 2, 0x04},   // A
        {76, 2, 2, 0x28},   // Enter
        {0, 2, 2, 0x29},    // Esc
        {108, 2, 2, 0x2C},  // Space
        {38, 2, 2, 0x53},   // Num Lock
        {105, 2, 1, 0x01},  // Left Ctrl
        {84, 2, 1, 0x02},   // Left Shift
        {112, 2, 1, 0x80},  // Right Win
        {110, 0, 0, 0},     // Fn: no key action
        {125, 0, 0, 0},     // the extra keys' shared LED
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(matrix[c.position * 3], c.kind);
        EXPECT_EQ(matrix[c.position * 3 + 1], c.a);
        EXPECT_EQ(matrix[c.position * 3 + 2], c.b);
    }
    // The host reads each key back from its position.
    for (int p = 0; p < kKeyListSize; ++p) {
        const int k = LedPositionOfKeyListPosition(p);
        const DeviceAction action{matrix[k * 3], matrix[k * 3 + 1], matrix[k * 3 + 2]};
        EXPECT_EQ(CodeOfAction(action), KeyList[p]) << "key-list position " << p;
    }
    int keys = 0;
    for (int k = 0; k < variant.positionCount; ++k) keys += matrix[k * 3] != 0;
    EXPECT_EQ(keys, 106);
    EXPECT_TRUE(std::all_of(matrix.begin() + variant.positionCount * 3, matrix.end(),
                            [](uint8_t b) { return b == 0; }));
}

TEST_P(KeyboardFirmwareTest, StatusOnlyCommandsEchoTheHeaderWithSuccess) {
    for (uint8_t command : {0x01, 0x02, 0x0B, 0x0C, 0x0D, 0x0E}) {
        SCOPED_TRACE(command);
        const FirmwareReport reply = Answer(MakeRequest(command));
        EXPECT_EQ(reply[0], 0x04);
        EXPECT_EQ(reply[kReportCommandOffset], command);
        EXPECT_EQ(reply[kReportStatusOffset], KeyboardFirmware::kStatusOk);
        EXPECT_EQ(reply[1] | (reply[2] << 8), FirmwareChecksum(reply));
    }
}

TEST_P(KeyboardFirmwareTest, ReadStatusAnswersTheWholeBlock) {
    const FirmwareReport reply = Answer(MakeRequest(0x03, 44));
    EXPECT_EQ(reply[kReportStatusOffset], KeyboardFirmware::kStatusOk);
    EXPECT_EQ(Payload(reply, 44), Bytes(firmware.StatusBlock()));
    EXPECT_TRUE(std::all_of(reply.begin() + 52, reply.end(), [](uint8_t b) { return b == 0; }));
}

TEST_P(KeyboardFirmwareTest, WriteStatusKeepsHostBytesAndTheActiveProfileOnly) {
    std::vector<uint8_t> block = Bytes(firmware.StatusBlock());
    const std::vector<uint8_t> before = block;
    block[0] = 0x77;      // firmware bytes are written back as sent
    block[10] = 2;        // active profile
    block[11] = 0xFF;     // capacity: the keyboard's own fact
    block[12] = 0x63;     // effect list: likewise
    ASSERT_EQ(StatusOf(MakeRequest(0x04, 44, 0, block)), KeyboardFirmware::kStatusOk);
    EXPECT_EQ(firmware.ActiveProfile(), 2);
    EXPECT_EQ(firmware.StatusBlock()[0], 0x77);
    EXPECT_EQ(firmware.StatusBlock()[11], before[11]);
    EXPECT_EQ(firmware.StatusBlock()[12], before[12]);

    // A profile above 2, a partial block or a non-zero address is refused and changes nothing.
    const std::vector<uint8_t> kept = Bytes(firmware.StatusBlock());
    block[10] = 3;
    EXPECT_EQ(StatusOf(MakeRequest(0x04, 44, 0, block)), KeyboardFirmware::kStatusRefused);
    block[10] = 1;
    EXPECT_EQ(StatusOf(MakeRequest(0x04, 43, 0, block)), KeyboardFirmware::kStatusRefused);
    EXPECT_EQ(StatusOf(MakeRequest(0x04, 44, 1, block)), KeyboardFirmware::kStatusRefused);
    EXPECT_EQ(Bytes(firmware.StatusBlock()), kept);
}

// Every writable area keeps what it is sent and reads it back at the same address.
TEST_P(KeyboardFirmwareTest, AreasKeepWhatTheyAreSent) {
    struct Case { uint8_t write, read; FirmwareArea area; uint16_t address; uint8_t length; };
    const uint16_t keyMap2 = static_cast<uint16_t>(2 * variant.keyMapStride);
    const Case cases[] = {
        {0x06, 0x05, FirmwareArea::Lighting, 84 + 15, 1},
        {0x06, 0x05, FirmwareArea::Lighting, 42, 35},
        {0x08, 0x07, FirmwareArea::KeyMaps, static_cast<uint16_t>(keyMap2 + 336), 42},
        {0x0A, 0x09, FirmwareArea::MacroArea, 1024 - 56, 56},
        {0x11, 0x10, FirmwareArea::KeyColours, 512 + 76 * 3, 3},
        {0x11, 0x10, FirmwareArea::KeyColours, 1024 + 7 * 54, 54},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << int(c.write) << " at " << c.address);
        std::vector<uint8_t> data(c.length);
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(0xA0 + i);
        ASSERT_EQ(StatusOf(MakeRequest(c.write, c.length, c.address, data)),
                  KeyboardFirmware::kStatusOk);
        const auto area = firmware.Area(c.area);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), area.begin() + c.address));
        EXPECT_EQ(Payload(Answer(MakeRequest(c.read, c.length, c.address)), c.length), data);
    }
}

TEST_P(KeyboardFirmwareTest, ReadDefaultKeyMatrixInChunks) {
    std::vector<uint8_t> read;
    for (int offset = 0; offset < variant.keyMapSize; offset += 56) {
        const auto length = static_cast<uint8_t>(std::min(56, variant.keyMapSize - offset));
        const auto reply = Answer(MakeRequest(0x0F, length, static_cast<uint16_t>(offset)));
        const auto chunk = Payload(reply, length);
        read.insert(read.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(read, Bytes(firmware.DefaultKeyMatrix()));
}

// The host reads lighting block 2 as 56 bytes at 84: the 14 bytes past the area read as 0.
TEST_P(KeyboardFirmwareTest, ReadRunningPastTheAreaAnswersZeros) {
    firmware.MutableArea(FirmwareArea::Lighting)[125] = 0x5A;
    const FirmwareReport reply = Answer(MakeRequest(0x05, 56, 84));
    EXPECT_EQ(reply[kReportStatusOffset], KeyboardFirmware::kStatusOk);
    EXPECT_EQ(reply[kReportPayloadOffset + 41], 0x5A);
    EXPECT_TRUE(std::all_of(reply.begin() + kReportPayloadOffset + 42, reply.end(),
                            [](uint8_t b) { return b == 0; }));
}

// Requests the keyboard refuses leave every area as it was.
TEST_P(KeyboardFirmwareTest, RefusedRequestsChangeNothing) {
    struct Case { const char* what; FirmwareReport request; uint8_t status; };
    const std::vector<uint8_t> data(56, 0x11);
    FirmwareReport badSum = MakeRequest(0x06, 1, 0, {9});
    badSum[1] ^= 0x01;
    FirmwareReport tooLong = MakeRequest(0x08, 57, 0, data);
    const Case cases[] = {
        {"bad checksum", badSum, KeyboardFirmware::kStatusBadChecksum},
        {"unknown command", MakeRequest(0x12), KeyboardFirmware::kStatusRefused},
        {"command 0", MakeRequest(0x00), KeyboardFirmware::kStatusRefused},
        {"length above 56", tooLong, KeyboardFirmware::kStatusRefused},
        {"lighting write past the end", MakeRequest(0x06, 2, 125, data),
         KeyboardFirmware::kStatusRefused},
        {"macro write past the capacity", MakeRequest(0x0A, 56, 1024 - 55, data),
         KeyboardFirmware::kStatusRefused},
        {"key map write past profile 2",
         MakeRequest(0x08, 8, static_cast<uint16_t>(3 * variant.keyMapStride - 7), data),
         KeyboardFirmware::kStatusRefused},
        {"colour write past the table", MakeRequest(0x11, 3, 1536, data),
         KeyboardFirmware::kStatusRefused},
        {"read starting past the area", MakeRequest(0x0F, 8,
                                                    static_cast<uint16_t>(variant.keyMapSize)),
         KeyboardFirmware::kStatusRefused},
        {"boot request without its guard byte", MakeRequest(0xEE),
         KeyboardFirmware::kStatusRefused},
    };
    const KeyboardFirmware before = firmware;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FirmwareReport reply = Answer(c.request);
        EXPECT_EQ(reply[kReportStatusOffset], c.status);
        EXPECT_TRUE(std::all_of(reply.begin() + kReportPayloadOffset, reply.end(),
                                [](uint8_t b) { return b == 0; }));
        for (FirmwareArea area : {FirmwareArea::Status, FirmwareArea::Lighting,
                                  FirmwareArea::KeyMaps, FirmwareArea::MacroArea,
                                  FirmwareArea::KeyColours})
            EXPECT_EQ(Bytes(firmware.Area(area)), Bytes(before.Area(area)));
    }
}

TEST_P(KeyboardFirmwareTest, EnterBootModeHasNoReplyAndNeedsNoChecksum) {
    const KeyboardFirmware::Outcome outcome = firmware.HandleRequest(test::BootRequest());
    EXPECT_FALSE(outcome.reply.has_value());
    EXPECT_TRUE(outcome.enterBootMode);
}

TEST_P(KeyboardFirmwareTest, ProfileKeyOnTheKeyboard) {
    EXPECT_EQ(firmware.SwitchProfileOnKeyboard(1), KeyboardFirmware::kEventProfileSwitched);
    EXPECT_EQ(firmware.ActiveProfile(), 1);
    EXPECT_FALSE(firmware.SwitchProfileOnKeyboard(3).has_value());
    EXPECT_FALSE(firmware.SwitchProfileOnKeyboard(-1).has_value());
    EXPECT_EQ(firmware.ActiveProfile(), 1);
}

// The effect key walks the offered effects of the active profile, wrapping at the end; a
// keyboard offering none steps the brightness instead.
TEST_P(KeyboardFirmwareTest, EffectKeyOnTheKeyboard) {
    firmware.SwitchProfileOnKeyboard(2);
    firmware.SetOfferedEffects({3, 7, 20});
    std::vector<uint8_t> seen;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(firmware.ChangeLightingOnKeyboard(), KeyboardFirmware::kEventLightingChanged);
        seen.push_back(firmware.LightingBlock(2)[0]);
    }
    EXPECT_EQ(seen, (std::vector<uint8_t>{3, 7, 20, 3}));
    EXPECT_EQ(firmware.LightingBlock(0)[0], 1);

    firmware.SetOfferedEffects({});
    const uint8_t brightness = firmware.LightingBlock(2)[1];
    firmware.ChangeLightingOnKeyboard();
    EXPECT_EQ(firmware.LightingBlock(2)[1], (brightness + 1) % 6);
}

INSTANTIATE_TEST_SUITE_P(Variants, KeyboardFirmwareTest, ::testing::Values('A', 'B'),
                         [](const auto& info) { return std::string(1, info.param); });

TEST(KeyboardFirmwareCapacity, CapacityIsWholeUnitsOfOneStatusByte) {
    EXPECT_TRUE(KeyboardFirmware::IsValidMacroCapacity(0));
    EXPECT_TRUE(KeyboardFirmware::IsValidMacroCapacity(255 * 128));
    EXPECT_FALSE(KeyboardFirmware::IsValidMacroCapacity(100));
    EXPECT_FALSE(KeyboardFirmware::IsValidMacroCapacity(256 * 128));

    const KeyboardFirmware none(FirmwareVariant::A(), 0);
    EXPECT_EQ(none.StatusBlock()[11], 0);
    EXPECT_TRUE(none.MacroAreaBytes().empty());
    const KeyboardFirmware odd(FirmwareVariant::A(), 1000);  // rounded down to 7 units
    EXPECT_EQ(odd.StatusBlock()[11], 7);
    EXPECT_EQ(odd.MacroCapacity(), 896u);
}

}  // namespace
}  // namespace vantor
