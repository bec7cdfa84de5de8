#include "device/CommandReport.h"
#include "device/CommandResult.h"
#include "lighting/LightingBlock.h"
#include "lighting/LightingRead.h"
#include "lighting/LightingWrites.h"
#include "support/EmulatedLink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace vantor {
namespace {

using test::EmulatedLink;

// One request as it crossed the wire: command, address, and the payload its length names.
struct Sent {
    uint8_t command;
    uint16_t address;
    std::vector<uint8_t> payload;
    friend bool operator==(const Sent&, const Sent&) = default;
};

std::vector<Sent> SentRequests(const EmulatedLink& link) {
    std::vector<Sent> sent;
    for (const CommandReport& r : link.Requests()) {
        const size_t n = r.command == kCmdWriteLighting ? r.length : 0;
        sent.push_back({r.command, r.Address(), std::vector<uint8_t>(r.payload, r.payload + n)});
    }
    return sent;
}

std::vector<Sent> Group(std::vector<Sent> writes) {
    writes.insert(writes.begin(), Sent{kCmdGroupStart, 0, {}});
    writes.push_back(Sent{kCmdGroupEnd, 0, {}});
    return writes;
}

Sent Write(uint16_t address, std::vector<uint8_t> bytes) {
    return {kCmdWriteLighting, address, std::move(bytes)};
}

TEST(LightingWrites, EachFieldGoesOutAsThePanelWritesIt) {
    const std::vector<uint8_t> factory{1, 4, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const struct {
        std::string name;
        LightingWrites writes;
        std::vector<Sent> expected;
    } cases[] = {
        {"effect 4", EffectWrites(1, 4, true), {Write(42, {4})}},
        {"effect 5", EffectWrites(1, 5, true), {Write(42, {5}), Write(46, {1})}},
        {"effect 20", EffectWrites(1, 20, true), {Write(42, {20})}},
        {"brightness", BrightnessWrites(1, 3), {Write(43, {3})}},
        {"speed slider 2", SpeedWrites(1, SpeedOfSliderPosition(2)), {Write(44, {3})}},
        {"speed slider 0", SpeedWrites(1, SpeedOfSliderPosition(0)), {Write(44, {5})}},
        {"direction", DirectionWrites(1, kDirectionFirst), {Write(45, {0xFF})}},
        {"random", RandomWrites(1, true), {Write(46, {1})}},
        {"colour", ColourWrites(1, 0x12, 0x34, 0x56), {Write(46, {0}), Write(47, {0x12, 0x34, 0x56})}},
        {"rate", ReportRateWrites(1, 2), {Write(57, {2})}},
        {"choice", ColourChoiceWrites(1, 3), {Write(59, {3})}},
        {"factory", FactoryLightingWrites(1), {Write(42, factory)}},
    };
    for (const auto& c : cases) {
        EmulatedLink link;
        ASSERT_TRUE(link.Connected());
        EXPECT_EQ(SendLightingGroup(link.Link(), c.writes), CommandResult::Ok) << c.name;
        EXPECT_EQ(SentRequests(link), Group(c.expected)) << c.name;
    }
}

TEST(LightingWrites, SeveralFieldsInOneGroupLandInTheBlock) {
    EmulatedLink link;
    LightingWrites writes = EffectWrites(2, 7, false);
    for (const LightingWrites& more :
         {BrightnessWrites(2, 5), ColourWrites(2, 1, 2, 3), ReportRateWrites(2, 3)}) {
        writes.insert(writes.end(), more.begin(), more.end());
    }
    ASSERT_EQ(SendLightingGroup(link.Link(), writes), CommandResult::Ok);
    const auto requests = link.Requests();
    EXPECT_EQ(requests.front().command, kCmdGroupStart);
    EXPECT_EQ(requests.back().command, kCmdGroupEnd);
    EXPECT_EQ(requests.size(), writes.size() + 2);

    LightingBlocks blocks{};
    ASSERT_EQ(ReadLightingBlocks(link.Link(), &blocks), CommandResult::Ok);
    const LightingBlock& b = blocks[2];
    EXPECT_EQ(b.effect, 7);
    EXPECT_EQ(b.brightness, 5);
    EXPECT_EQ(b.randomColour, 0);
    EXPECT_EQ(b.colour[0], 1);
    EXPECT_EQ(b.colour[2], 3);
    EXPECT_EQ(b.reportRate, 3);
}

TEST(LightingRead, ThreeReadsOf56KeepTheFirst42OfEach) {
    EmulatedLink link;
    link.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        auto area = firmware.MutableArea(FirmwareArea::Lighting);
        for (size_t i = 0; i < area.size(); ++i) area[i] = uint8_t(i);
    });
    LightingBlocks blocks{};
    ASSERT_EQ(ReadLightingBlocks(link.Link(), &blocks), CommandResult::Ok);
    const std::vector<Sent> expected{{kCmdGroupStart, 0, {}},   {kCmdReadLighting, 0, {}},
                                     {kCmdReadLighting, 42, {}}, {kCmdReadLighting, 84, {}},
                                     {kCmdGroupEnd, 0, {}}};
    EXPECT_EQ(SentRequests(link), expected);
    for (const CommandReport& r : link.Requests()) {
        if (r.command == kCmdReadLighting) {
            EXPECT_EQ(r.length, 56);
        }
    }
    for (size_t p = 0; p < 3; ++p) {
        for (size_t i = 0; i < sizeof(LightingBlock); ++i) {
            ASSERT_EQ(blocks[p].Bytes()[i], uint8_t(p * 42 + i)) << p << ":" << i;
        }
    }
}

TEST(LightingWrites, FailuresReachTheCallerAndNothingStrays) {
    {
        EmulatedLink link;  // a block past the third profile's: refused, nothing sent
        EXPECT_EQ(SendLightingGroup(link.Link(), BrightnessWrites(3, 1)), CommandResult::BadArgument);
        EXPECT_TRUE(link.Requests().empty());
    }
    {
        EmulatedLink link;  // the keyboard refuses the group: the writes are not sent
        link.Keyboard().SetFault({EmulatorFault::StatusFE});
        EXPECT_EQ(SendLightingGroup(link.Link(), BrightnessWrites(0, 1)), CommandResult::StatusFE);
        EXPECT_EQ(link.Requests().size(), 1u);
        LightingBlocks blocks{};
        blocks[1].brightness = 9;
        EXPECT_EQ(ReadLightingBlocks(link.Link(), &blocks), CommandResult::StatusFE);
        EXPECT_EQ(blocks[1].brightness, 9);  // kept
    }
}

}  // namespace
}  // namespace vantor
