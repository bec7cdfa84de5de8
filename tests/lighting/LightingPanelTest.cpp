#include "device/CommandReport.h"
#include "device/CommandResult.h"
#include "emulator/KeyboardFirmware.h"
#include "lighting/LightingPanel.h"
#include "lighting/LightingWire.h"
#include "lighting/UserColourFile.h"
#include "support/EmulatedLink.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vantor {
namespace {

using test::EmulatedLink;
using test::Group;
using test::Sent;
using test::SentRequests;
using test::Write;

QString NameOf(uint8_t code) { return QStringLiteral("effect %1").arg(code); }

// A keyboard whose status block lists the effects given and whose lighting area the test
// fills, with a panel refreshed on profile 1.
struct PanelRig {
    explicit PanelRig(std::vector<uint8_t> effects = {1, 4, 5, 6, 7, 12, 17, 18, 20},
                      const std::function<void(LightingBlock&)>& edit = nullptr)
        : panel(link.Link(), NameOf) {
        SetColourModeSetting(true);
        link.Keyboard().EditFirmware([&](KeyboardFirmware& firmware) {
            auto status = firmware.MutableArea(FirmwareArea::Status);
            std::fill(status.begin() + kStatusEffectList, status.end(), uint8_t(0));
            std::copy(effects.begin(), effects.end(), status.begin() + kStatusEffectList);
            if (edit) {
                auto area = firmware.MutableArea(FirmwareArea::Lighting);
                LightingBlock block = LightingBlock::FromBytes(area.data() + 42);
                edit(block);
                std::copy_n(block.Bytes(), sizeof block, area.begin() + 42);
            }
        });
        EXPECT_EQ(panel.Refresh(1), CommandResult::Ok);
        view = panel.Redisplay();
        mark = link.Requests().size();
    }
    std::vector<Sent> Written() const { return SentRequests(link, mark); }
    LightingBlock Block() {
        return LightingBlock::FromBytes(link.Keyboard().Firmware().LightingBlock(1).data());
    }
    int Position(uint8_t code) const {
        const auto& table = panel.EffectTable();
        return int(std::find(table.begin(), table.end(), code) - table.begin());
    }

    test::TestEnvironment env;  // a user settings file of its own
    EmulatedLink link;
    LightingPanel panel;
    LightingView view;
    size_t mark = 0;
};

TEST(LightingPanel, EffectListFollowsTheStatusBlockInTheKeyboardsOrder) {
    PanelRig rig({3, 0, 7, 20});
    EXPECT_EQ(rig.panel.EffectTable(), (std::vector<uint8_t>{3, 7, 20}));
    ASSERT_EQ(rig.view.effects.size(), 3u);
    EXPECT_EQ(rig.view.effects[1].name, QStringLiteral("effect 7"));
    // The factory block's effect 1 is not in this list: nothing selected.
    EXPECT_EQ(rig.view.selectedEffect, -1);
    EXPECT_TRUE(rig.view.colourMode);
    ASSERT_TRUE(SetColourModeSetting(false));
    ASSERT_EQ(rig.panel.Refresh(1), CommandResult::Ok);
    EXPECT_FALSE(rig.panel.Redisplay().colourMode);
}

TEST(LightingPanel, UnreadableStatusEmptiesTheListAndKeepsTheValues) {
    PanelRig rig;
    const uint8_t brightness = rig.panel.Values().brightness;
    rig.link.Keyboard().SetFault({EmulatorFault::StatusFF});
    EXPECT_EQ(rig.panel.Refresh(1), CommandResult::StatusFF);
    const LightingView view = rig.panel.Redisplay();
    EXPECT_TRUE(view.effects.empty());
    EXPECT_EQ(view.brightnessPosition, brightness);
}

TEST(LightingPanel, TakesAReadoutMadeElsewhereAndKeepsABlockWhoseReadFailed) {
    PanelRig rig;
    const uint8_t brightness = rig.panel.Values().brightness;
    LightingReadout readout = ReadLightingReadout(rig.link.Link());
    ASSERT_EQ(readout.status, CommandResult::Ok);
    EXPECT_EQ(readout.blockTaken, (std::array<bool, 3>{true, true, true}));
    readout.blocks[1].brightness = brightness == 1 ? 2 : 1;
    readout.blockTaken[1] = false;
    const size_t sent = rig.link.Requests().size();
    ASSERT_EQ(rig.panel.Take(1, readout), CommandResult::Ok);
    EXPECT_EQ(rig.link.Requests().size(), sent) << "taking a readout sends nothing";
    EXPECT_EQ(rig.panel.Values().brightness, brightness) << "a block not read keeps what it held";
    readout.blockTaken[1] = true;
    ASSERT_EQ(rig.panel.Take(1, readout), CommandResult::Ok);
    EXPECT_EQ(rig.panel.Values().brightness, readout.blocks[1].brightness);
}

TEST(LightingPanel, RedisplayAppliesTheFieldRules) {
    const struct {
        std::string name;
        std::function<void(LightingBlock&)> edit;
        std::function<void(const LightingView&)> check;
    } cases[] = {
        {"report rate 9 presses the fourth button", [](LightingBlock& b) { b.reportRate = 9; },
         [](const LightingView& v) { EXPECT_EQ(v.reportRateButton, 3); }},
        {"colour choice 7 shows as 0", [](LightingBlock& b) { b.colourChoice = 7; },
         [](const LightingView& v) { EXPECT_EQ(v.colourChoice, 0); }},
        {"speed 1 is slider position 4",
         [](LightingBlock& b) { b.speed = 1; b.brightness = 2; },
         [](const LightingView& v) {
             EXPECT_EQ(v.speedPosition, 4);
             EXPECT_EQ(v.brightnessPosition, 2);
         }},
        {"effect 7 shows offset 18 on the FY toggle",
         [](LightingBlock& b) { b.effect = 7; b.randomColour = 0; b.effect7Random = 1; },
         [](const LightingView& v) {
             EXPECT_TRUE(v.fyRandom);
             EXPECT_FALSE(v.hxRandom);
         }},
        {"effect 7 with offset 18 out of range shows the random flag",
         [](LightingBlock& b) { b.effect = 7; b.randomColour = 5; b.effect7Random = 2; },
         [](const LightingView& v) { EXPECT_TRUE(v.fyRandom); }},
        {"offset 18 means nothing to other effects",
         [](LightingBlock& b) { b.effect = 6; b.randomColour = 0; b.effect7Random = 1; },
         [](const LightingView& v) { EXPECT_FALSE(v.fyRandom); }},
        {"direction 0xFF selects the first picture",
         [](LightingBlock& b) { b.direction = 0xFF; },
         [](const LightingView& v) { EXPECT_TRUE(v.firstDirection); }},
        {"any other direction the second", [](LightingBlock& b) { b.direction = 7; },
         [](const LightingView& v) { EXPECT_FALSE(v.firstDirection); }},
        {"effect 12 selected with its groups", [](LightingBlock& b) { b.effect = 12; },
         [](const LightingView& v) {
             EXPECT_EQ(v.selectedEffect, 5);
             EXPECT_EQ(v.controls.direction, DirectionFamily::Waterfall);
             EXPECT_TRUE(v.controls.speed);
             EXPECT_EQ(v.controls.colourPair, ColourPair::None);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelRig rig({1, 4, 5, 6, 7, 12, 17, 18, 20}, c.edit);
        c.check(rig.view);
    }
}

TEST(LightingPanel, EachEffectShowsItsControlGroups) {
    using D = DirectionFamily;
    using P = ColourPair;
    const struct {
        uint8_t effect;
        EffectControls controls;
    } cases[] = {
        {1, {true, true, D::General, P::HX, false, false}},
        {4, {true, true, D::None, P::None, false, false}},
        {13, {true, true, D::None, P::HX, false, false}},
        {16, {true, false, D::None, P::FY, false, false}},
        {12, {true, true, D::Waterfall, P::None, false, false}},
        {17, {true, false, D::None, P::None, true, false}},
        {18, {true, false, D::Halo, P::None, false, false}},
        {20, {true, false, D::None, P::None, false, true}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ControlsOfEffect(c.effect), c.controls) << int(c.effect);
    }
    EXPECT_EQ(DirectionSkinSuffix(D::General), QStringLiteral("2"));
    EXPECT_EQ(DirectionSkinSuffix(D::Waterfall), QStringLiteral("3"));
    EXPECT_TRUE(DirectionSkinSuffix(D::Halo).isEmpty());
}

// Profile 1's block starts at 42: effect 42, brightness 43, speed 44, direction 45, random
// flag 46, colour 47, report rate 57, colour choice 59.
TEST(LightingPanel, EachHandlerSendsExactlyItsWritesInOneGroup) {
    const auto random = [](LightingBlock& b) { b.randomColour = 1; b.speed = 2; b.brightness = 4; };
    const struct {
        std::string name;
        std::function<LightingResult(PanelRig&)> act;
        std::vector<Sent> expected;  // empty: nothing at all is sent
    } cases[] = {
        {"effect 4 sends only its code",
         [](PanelRig& r) { return r.panel.SelectEffect(r.Position(4)); }, Group({Write(42, {4})})},
        {"effect 5 sends its code and the random flag",
         [](PanelRig& r) { return r.panel.SelectEffect(r.Position(5)); },
         Group({Write(42, {5}), Write(46, {1})})},
        {"effect 20 sends only its code",
         [](PanelRig& r) { return r.panel.SelectEffect(r.Position(20)); }, Group({Write(42, {20})})},
        {"speed slider 0 sends 5", [](PanelRig& r) { return r.panel.MoveSpeed(0); },
         Group({Write(44, {5})})},
        {"speed slider 2 sends 3", [](PanelRig& r) { return r.panel.MoveSpeed(2); },
         Group({Write(44, {3})})},
        {"speed slider 5 sends 0", [](PanelRig& r) { return r.panel.MoveSpeed(5); },
         Group({Write(44, {0})})},
        {"speed slider where it is sends nothing", [](PanelRig& r) { return r.panel.MoveSpeed(3); },
         {}},
        {"brightness where it is sends nothing",
         [](PanelRig& r) { return r.panel.MoveBrightness(4); }, {}},
        {"brightness 1", [](PanelRig& r) { return r.panel.MoveBrightness(1); },
         Group({Write(43, {1})})},
        {"left direction", [](PanelRig& r) { return r.panel.ChooseDirection(true); },
         Group({Write(45, {0xFF})})},
        {"right direction", [](PanelRig& r) { return r.panel.ChooseDirection(false); },
         Group({Write(45, {0x00})})},
        {"a colour while random is on: flag 0, then the colour",
         [](PanelRig& r) { return r.panel.ChooseColour(0x10, 0x20, 0x30); },
         Group({Write(46, {0}), Write(47, {0x10, 0x20, 0x30})})},
        {"random toggle turns it off", [](PanelRig& r) { return r.panel.ToggleRandom(); },
         Group({Write(46, {0})})},
        {"colour picture 2", [](PanelRig& r) { return r.panel.ChooseColourPicture(2); },
         Group({Write(59, {2})})},
        {"report rate button 3", [](PanelRig& r) { return r.panel.ChooseReportRate(3); },
         Group({Write(57, {3})})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelRig rig({1, 4, 5, 6, 7, 12, 17, 18, 20}, random);
        const LightingResult result = c.act(rig);
        EXPECT_EQ(result.outcome,
                  c.expected.empty() ? LightingOutcome::NothingSent : LightingOutcome::Taken);
        EXPECT_EQ(rig.Written(), c.expected);
    }
}

TEST(LightingPanel, ChangesLandOnTheKeyboardAndInTheState) {
    PanelRig rig;
    ASSERT_TRUE(rig.panel.SelectEffect(rig.Position(17)).Held());
    ASSERT_TRUE(rig.panel.ChooseColour(1, 2, 3).Held());
    ASSERT_TRUE(rig.panel.MoveSpeed(1).Held());
    const LightingBlock block = rig.Block();
    EXPECT_EQ(block.effect, 17);
    EXPECT_EQ(block.randomColour, 0);
    EXPECT_EQ(block.colour[2], 3);
    EXPECT_EQ(block.speed, 4);
    const LightingView view = rig.panel.Redisplay();
    EXPECT_EQ(view.selectedEffect, rig.Position(17));
    EXPECT_TRUE(view.controls.colourPictures);
    EXPECT_FALSE(view.hxRandom);
    EXPECT_EQ(view.speedPosition, 1);
}

TEST(LightingPanel, ValuesTheControlsDoNotOfferSendNothing) {
    PanelRig rig;
    for (const auto& act : std::vector<std::function<LightingResult()>>{
             [&] { return rig.panel.SelectEffect(99); }, [&] { return rig.panel.MoveSpeed(6); },
             [&] { return rig.panel.MoveBrightness(-1); },
             [&] { return rig.panel.ChooseReportRate(4); },
             [&] { return rig.panel.ChooseColourPicture(4); }}) {
        EXPECT_EQ(act().outcome, LightingOutcome::NotAllowed);
    }
    EXPECT_TRUE(rig.Written().empty());
}

// The keyboard's own effect key (event 0x0401) moves its effect on; the refresh that follows
// shows the next effect of its list.
TEST(LightingPanel, ARefreshAfterTheEffectKeyShowsTheKeyboardsNewEffect) {
    PanelRig rig({1, 4, 5});
    ASSERT_EQ(rig.panel.Refresh(0), CommandResult::Ok);
    EXPECT_EQ(rig.panel.Redisplay().selectedEffect, 0);
    ASSERT_TRUE(rig.link.Keyboard().ChangeLightingOnKeyboard());
    ASSERT_EQ(rig.panel.Refresh(0), CommandResult::Ok);
    const LightingView view = rig.panel.Redisplay();
    EXPECT_EQ(view.selectedEffect, 1);
    EXPECT_EQ(view.controls, ControlsOfEffect(4));
}

// A write the keyboard refuses does not look taken: the block is read back and the state
// shows what the keyboard holds.
TEST(LightingPanel, ARefusedWriteShowsTheKeyboardsValueAfterwards) {
    PanelRig rig({1, 4, 5}, [](LightingBlock& b) { b.brightness = 2; b.reportRate = 1; });
    FaultSwitch refuse{EmulatorFault::StatusFF};
    refuse.refusedCommand = kCmdWriteLighting;
    rig.link.Keyboard().SetFault(refuse);

    const LightingResult result = rig.panel.MoveBrightness(5);
    EXPECT_EQ(result.outcome, LightingOutcome::Rejected);
    EXPECT_EQ(result.command, CommandResult::StatusFF);
    EXPECT_FALSE(result.Held());
    EXPECT_EQ(rig.panel.Values().brightness, 2);
    EXPECT_EQ(rig.panel.Redisplay().brightnessPosition, 2);
    // The read-back is one Read lighting of profile 1's block after the group.
    const std::vector<Sent> sent = rig.Written();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (Sent{kCmdReadLighting, 42, {}}));

    // A keyboard that answers nothing: neither taken nor read back, the result says so.
    rig.link.Keyboard().SetFault({EmulatorFault::NoReply});
    EXPECT_EQ(rig.panel.ChooseReportRate(3).outcome, LightingOutcome::Unconfirmed);
}

}  // namespace
}  // namespace vantor
