#include "device/CommandReport.h"
#include "emulator/KeyboardFirmware.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingWire.h"
#include "lighting/UserColourFile.h"
#include "shell/IniFile.h"
#include "support/EmulatedLink.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vantor {
namespace {

using test::EmulatedLink;
using test::Group;
using test::Sent;
using test::SentRequests;

// The template the skin ships: mode names, mode 0 with a green base colour, A (64) green and
// marked, Esc (0) blue and not marked.
const QByteArray kTemplate =
    "[PRESENTMODE]\r\nmode=0\r\n[MODENAME]\r\n0=Game\r\n1=Office\r\n2=Night\r\n"
    "[Mode0]\r\ntool=1\r\njcolor=0,255,0\r\ncolor=0,0,255\r\n64=0,255,0,1\r\n0=0,0,255,0\r\n"
    "[Mode2]\r\ntool=0\r\njcolor=1,2,3\r\ncolor=4,5,6\r\n64=9,9,9,0\r\n";

int KeyOfLed(int led) {
    return int(std::find(KeyListLedPositions.begin(), KeyListLedPositions.end(), led) -
               KeyListLedPositions.begin());
}

struct ColourRig {
    explicit ColourRig(const FirmwareVariant& variant = FirmwareVariant::B()) : link(variant), colours(link.Link()) {
        env.WriteProgramFile(QStringLiteral("Skins/UserDengColor_3.userd"), kTemplate);
        EXPECT_TRUE(CreateUserColourFiles());
    }
    std::vector<Sent> Written() const { return SentRequests(link, mark); }
    void Mark() { mark = link.Requests().size(); }
    QByteArray FileBytes(int profile) const {
        return *IniFile::ReadBytes(AppPaths::Current()->UserColourFile(profile));
    }

    test::TestEnvironment env;
    EmulatedLink link;
    KeyColours colours;
    size_t mark = 0;
};

TEST(UserColourFiles, AreMadeFromTheTemplateOnlyWhenMissing) {
    ColourRig rig;
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(rig.FileBytes(p), kTemplate) << p;
    }
    ASSERT_TRUE(UserColourFile(AppPaths::Current()->UserColourFile(1)).SetPresentMode(2));
    ASSERT_TRUE(CreateUserColourFiles());
    EXPECT_NE(rig.FileBytes(1), kTemplate) << "an existing file is left alone";
    ASSERT_TRUE(QFile::remove(AppPaths::Current()->UserColourFile(2)));
    ASSERT_TRUE(CreateUserColourFiles());
    EXPECT_EQ(rig.FileBytes(2), kTemplate) << "a missing one is made again";
    ASSERT_TRUE(ResetUserColourFile(1));
    EXPECT_EQ(rig.FileBytes(1), kTemplate);

    EXPECT_FALSE(ColourModeSetting());
    ASSERT_TRUE(SetColourModeSetting(true));
    EXPECT_TRUE(ColourModeSetting());
}

TEST(UserColourFiles, ReadByTheirDefaultsAndFormats) {
    test::TestEnvironment env;
    ASSERT_TRUE(AppPaths::Current()->EnsureUserFolder());
    const UserColourFile missing(env.UserFolder() + QStringLiteral("/none.userd"));
    EXPECT_EQ(missing.Entry(0, 76), (KeyColourEntry{{255, 0, 0}, true}));
    EXPECT_EQ(missing.PresentMode(), 0);
    EXPECT_EQ(missing.ModeName(4), QStringLiteral("0"));
    EXPECT_EQ(missing.Brush(0), BrushState{});

    const QString path = env.UserFolder() + QStringLiteral("/odd.userd");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Mode1]\r\n5=1,2,3,7\r\n6=300,-4,x,0\r\n7=10,20\r\ntool=5\r\njcolor=9,8,7\r\n");
    file.close();
    const UserColourFile odd(path);
    EXPECT_EQ(odd.Entry(1, 5), (KeyColourEntry{{1, 2, 3}, true}));
    EXPECT_EQ(odd.Entry(1, 6), (KeyColourEntry{{255, 0, 0}, true}));
    EXPECT_EQ(odd.Entry(1, 7), (KeyColourEntry{{10, 20, 0}, true}));
    EXPECT_EQ(odd.Brush(1), (BrushState{1, {9, 8, 7}, {0, 0, 0}}));
}

// Enter is LED position 76: in profile 1 its colour goes to 76 x 3 + 512 = 740.
TEST(KeyColours, PaintingEnterInProfile1WritesThreeBytesAt740) {
    ColourRig rig;
    rig.colours.SetProfile(1);
    rig.colours.LoadMode(1, std::nullopt, false);
    ASSERT_TRUE(rig.colours.ChooseTool(0));
    ASSERT_TRUE(rig.colours.PickKeyColour({0x11, 0x22, 0x33}));
    rig.Mark();
    const int enter = KeyOfLed(76);
    EXPECT_EQ(rig.colours.PaintKey(enter).outcome, LightingOutcome::Taken);
    EXPECT_EQ(rig.Written(), Group({Sent{kCmdWriteKeyColours, 740, {0x11, 0x22, 0x33}}}));
    EXPECT_EQ(rig.colours.ColourOfKey(1, enter), (Rgb{0x11, 0x22, 0x33}));
    EXPECT_FALSE(rig.colours.BaseMarker(1, enter));
    const KeyboardFirmware firmware = rig.link.Keyboard().Firmware();
    const auto kept = firmware.KeyColours(1);
    EXPECT_EQ(kept[228], 0x11);
    EXPECT_EQ(UserColourFile(AppPaths::Current()->UserColourFile(1)).Entry(0, 76),
              (KeyColourEntry{{0x11, 0x22, 0x33}, false}));
}

TEST(KeyColours, SendColourTableWritesEightPiecesOf54OnBothVariants) {
    for (const FirmwareVariant* variant : {&FirmwareVariant::A(), &FirmwareVariant::B()}) {
        ColourRig rig(*variant);
        rig.colours.SetProfile(2);
        rig.Mark();
        EXPECT_EQ(rig.colours.LoadMode(2, std::nullopt, true).outcome, LightingOutcome::Taken);
        const std::vector<Sent> sent = rig.Written();
        ASSERT_EQ(sent.size(), 10u);
        const ColourTable& table = rig.colours.Table(2);
        for (size_t j = 0; j < 8; ++j) {
            const Sent& piece = sent[j + 1];
            EXPECT_EQ(piece.command, kCmdWriteKeyColours);
            EXPECT_EQ(piece.address, 2 * 512 + j * 54);
            EXPECT_EQ(piece.payload, std::vector<uint8_t>(table.begin() + j * 54,
                                                         table.begin() + (j + 1) * 54));
        }
        const KeyboardFirmware firmware = rig.link.Keyboard().Firmware();
        const auto kept = firmware.KeyColours(2);
        EXPECT_TRUE(std::equal(table.begin(), table.begin() + 432, kept.begin()));
        EXPECT_EQ(kept[64 * 3 + 1], 255);  // A, green
    }
}

TEST(KeyColours, TheFilesCurrentModeIsLoaded) {
    ColourRig rig;
    ASSERT_TRUE(UserColourFile(AppPaths::Current()->UserColourFile(0)).SetPresentMode(2));
    rig.colours.LoadMode(0, std::nullopt, false);
    EXPECT_EQ(rig.colours.Mode(), 2);
    EXPECT_EQ(rig.colours.Brush(), (BrushState{0, {1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(rig.colours.ColourOfKey(0, KeyOfLed(64)), (Rgb{9, 9, 9}));
    // Keys the mode does not name read red and marked.
    EXPECT_EQ(rig.colours.ColourOfKey(0, KeyOfLed(76)), (Rgb{255, 0, 0}));
    EXPECT_TRUE(rig.colours.BaseMarker(0, KeyOfLed(76)));
    EXPECT_EQ(rig.colours.ModeNames(3), (QStringList{"Game", "Office", "Night"}));
}

TEST(KeyColours, ANewBaseColourRepaintsTheMarkedKeysAndTheSameOneDoesNothing) {
    ColourRig rig;
    rig.colours.LoadMode(0, std::nullopt, false);
    const QByteArray before = rig.FileBytes(0);
    rig.Mark();
    EXPECT_EQ(rig.colours.PickBaseColour({0, 255, 0}).outcome, LightingOutcome::NothingSent);
    EXPECT_TRUE(rig.Written().empty());
    EXPECT_EQ(rig.FileBytes(0), before);

    EXPECT_EQ(rig.colours.PickBaseColour({7, 7, 7}).outcome, LightingOutcome::Taken);
    EXPECT_EQ(rig.colours.ColourOfKey(0, KeyOfLed(64)), (Rgb{7, 7, 7}));  // marked
    EXPECT_EQ(rig.colours.ColourOfKey(0, KeyOfLed(0)), (Rgb{0, 0, 255}));  // not marked
    EXPECT_EQ(rig.Written().size(), 10u);
    const UserColourFile file(AppPaths::Current()->UserColourFile(0));
    EXPECT_EQ(file.Entry(0, 64), (KeyColourEntry{{7, 7, 7}, true}));
    EXPECT_EQ(file.Brush(0).base, (Rgb{7, 7, 7}));
}

TEST(KeyColours, ChoosingTheModeAlreadyLoadedSendsNothing) {
    ColourRig rig;
    rig.colours.LoadMode(0, std::nullopt, false);
    const QByteArray before = rig.FileBytes(0);
    EXPECT_EQ(rig.colours.SelectMode(rig.colours.Mode()).outcome, LightingOutcome::NothingSent);
    EXPECT_TRUE(rig.Written().empty());
    EXPECT_EQ(rig.FileBytes(0), before);
    // Another mode is loaded and sent.
    EXPECT_EQ(rig.colours.SelectMode(rig.colours.Mode() + 1).outcome, LightingOutcome::Taken);
    EXPECT_FALSE(rig.Written().empty());
}

TEST(KeyColours, AMarkerOf7IsSetAndWrittenBackAs1) {
    ColourRig rig;
    UserColourFile file(AppPaths::Current()->UserColourFile(0));
    ASSERT_TRUE(IniFile(AppPaths::Current()->UserColourFile(0))
                    .WriteString(QStringLiteral("Mode0"), QStringLiteral("76"), QStringLiteral("1,2,3,7")));
    rig.colours.LoadMode(0, std::nullopt, false);
    EXPECT_TRUE(rig.colours.BaseMarker(0, KeyOfLed(76)));
    ASSERT_EQ(rig.colours.Brush().tool, 1);
    ASSERT_TRUE(rig.colours.PaintKey(KeyOfLed(76)).Held());
    EXPECT_EQ(IniFile(AppPaths::Current()->UserColourFile(0))
                  .ReadString(QStringLiteral("Mode0"), QStringLiteral("76"), {}),
              QStringLiteral("0,255,0,1"));
}

TEST(KeyColours, TheNineExtraKeysShareLedPosition125) {
    ColourRig rig;
    rig.colours.LoadMode(0, std::nullopt, false);
    ASSERT_TRUE(rig.colours.ChooseTool(0));
    ASSERT_TRUE(rig.colours.PickKeyColour({5, 6, 7}));
    rig.Mark();
    ASSERT_TRUE(rig.colours.PaintKey(kKeyListSize + 4).Held());
    EXPECT_EQ(rig.Written()[1].address, 125 * 3);
    rig.colours.LoadMode(0, std::nullopt, false);
    for (int key = kKeyListSize; key < kFnColourKey; ++key) {
        EXPECT_EQ(rig.colours.ColourOfKey(0, key), (Rgb{5, 6, 7})) << key;
    }
    EXPECT_EQ(LedPositionOfColourKey(kFnColourKey), 110);
    EXPECT_EQ(LedPositionOfColourKey(kColourKeyCount), -1);
}

// A colour the keyboard refuses is not recorded: the key shows what the keyboard holds and the
// file keeps the old entry.
TEST(KeyColours, ARefusedPaintShowsTheKeyboardsColour) {
    ColourRig rig;
    rig.colours.LoadMode(0, std::nullopt, true);
    const QByteArray before = rig.FileBytes(0);
    FaultSwitch refuse{EmulatorFault::StatusFE};
    refuse.refusedCommand = kCmdWriteKeyColours;
    rig.link.Keyboard().SetFault(refuse);
    ASSERT_TRUE(rig.colours.ChooseTool(0));
    const int esc = KeyOfLed(0);
    const LightingResult result = rig.colours.PaintKey(KeyOfLed(64));
    EXPECT_EQ(result.outcome, LightingOutcome::Rejected);
    EXPECT_EQ(result.command, CommandResult::StatusFE);
    EXPECT_EQ(rig.colours.ColourOfKey(0, KeyOfLed(64)), (Rgb{0, 255, 0}));
    EXPECT_EQ(rig.colours.ColourOfKey(0, esc), (Rgb{0, 0, 255}));
    EXPECT_NE(rig.FileBytes(0), before) << "the tool choice is kept";
    EXPECT_EQ(UserColourFile(AppPaths::Current()->UserColourFile(0)).Entry(0, 64),
              (KeyColourEntry{{0, 255, 0}, true}));
}

}  // namespace
}  // namespace vantor
