// vantorctl's profile commands against the in-process keyboard, on both variants.

#include "CtlExit.h"
#include "VantorCtl.h"

#include "SampleProfile.h"
#include "emulator/EmulatorBackend.h"
#include "keyassign/MacroArea.h"
#include "keymodel/KeyTables.h"
#include "lighting/LightingBlock.h"
#include "lighting/UserColourFile.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <tuple>

namespace vantor::ctl {
namespace {

class ProfileCommandsTest : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override {
        for (int index : {0, 1}) {
            env.WriteLanguageFile(index, {{"EXTRA_PROFILE_SPACE_TIGHT", "names left out"}});
        }
    }

    int Run(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return RunVantorCtl(args, o, e, [this](const QString&, std::shared_ptr<ReportTrace>) {
            return std::shared_ptr<HidBackend>(emulator);
        });
    }
    QString Path(const QString& name) const { return env.Root() + '/' + name; }
    EmulatedKeyboard& Keyboard() { return emulator->Keyboard(); }
    // Requests the keyboard received that change its memory (status, lighting, key maps,
    // macro area).
    size_t Writes() {
        const std::vector<ReportLogEntry> log = Keyboard().Log();
        return size_t(std::count_if(log.begin(), log.end(), [](const ReportLogEntry& e) {
            const uint8_t command = e.bytes[3];
            return e.direction == ReportLogEntry::Direction::Received &&
                   (command == 0x04 || command == 0x06 || command == 0x08 || command == 0x0A);
        }));
    }

    test::TestEnvironment env;
    std::shared_ptr<EmulatorBackend> emulator =
        std::make_shared<EmulatorBackend>(*FirmwareVariant::FromLetter(GetParam()));
    QString out, err;
};

TEST_P(ProfileCommandsTest, ImportThenExportGivesBackTheKeyMapsAndMacros) {
    const QString imported = Path("in.vpf");
    test::WriteSampleProfile(imported);
    ASSERT_EQ(Run({"import", imported}), kExitOk) << err.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();

    // The working profile file holds what was imported.
    test::ExpectSameProfiles(imported, env.Paths().WorkingProfileFile());

    const QString exported = Path("out.vpf");
    ASSERT_EQ(Run({"export", exported}), kExitOk) << err.toStdString();
    EXPECT_EQ(Run({"validate", exported}), kExitOk);
    test::ExpectSameProfiles(imported, exported);
}

TEST_P(ProfileCommandsTest, ValidateNeedsNoKeyboardAndTellsWhyAFileIsRefused) {
    const QString valid = Path("valid.vpf");
    test::WriteSampleProfile(valid, 2, 10);
    QFile file(valid);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    QByteArray badChecksum = bytes;
    badChecksum[31] = char(badChecksum[31] + 1);
    QByteArray tooManyMacros = bytes;
    tooManyMacros[14] = 101;
    QByteArray cutShort = bytes.left(bytes.size() - 100);  // the header still agrees
    const struct {
        const char* name;
        QByteArray bytes;
        int exit;
        const char* says;
    } cases[] = {
        {"valid.vpf", bytes, kExitOk, ""},
        {"checksum.vpf", badChecksum, kExitInvalidFile, "a header field is wrong"},
        {"macros.vpf", tooManyMacros, kExitInvalidFile, "a header field is wrong"},
        {"short.vpf", cutShort, kExitInvalidFile, "shorter than its header says"},
        {"tiny.vpf", bytes.left(32831), kExitInvalidFile, "shorter than a profile file"},
    };
    emulator->Unplug();  // a command that looked for the keyboard would fail
    for (const auto& c : cases) {
        const QString path = Path(c.name);
        QFile target(path);
        ASSERT_TRUE(target.open(QIODevice::WriteOnly));
        target.write(c.bytes);
        target.close();
        EXPECT_EQ(Run({"validate", path}), c.exit) << c.name << err.toStdString();
        if (c.exit == kExitOk) {
            EXPECT_EQ(out, path + ": valid\n");
        } else {
            EXPECT_TRUE(err.contains(c.says)) << c.name << ": " << err.toStdString();
            EXPECT_TRUE(err.contains(path)) << c.name;
        }
    }
    EXPECT_EQ(Run({"validate", Path("missing.vpf")}), kExitFileError);
    EXPECT_EQ(Run({"validate"}), kExitUsage);
    EXPECT_TRUE(Keyboard().Log().empty());
}

TEST_P(ProfileCommandsTest, ARefusedImportLeavesKeyboardAndWorkingFileAlone) {
    const QString good = Path("good.vpf");
    test::WriteSampleProfile(good);
    ASSERT_EQ(Run({"import", good}), kExitOk) << err.toStdString();
    const QString working = env.Paths().WorkingProfileFile();
    QFile before(working);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray workingBefore = before.readAll();
    const KeyboardFirmware firmwareBefore = Keyboard().Firmware();

    // A file cut short after a valid header: loading it fails before the keyboard is touched.
    QFile::copy(good, Path("short.vpf"));
    QFile::resize(Path("short.vpf"), 40000);
    // Macros far beyond the keyboard's macro area: the download refuses before sending.
    test::WriteSampleProfile(Path("huge.vpf"), 10, 1000);
    const struct {
        const char* name;
        int exit;
        const char* says;
    } cases[] = {
        {"short.vpf", kExitInvalidFile, "shorter than its header says"},
        {"huge.vpf", kExitNoRoom, "the macros do not fit into the keyboard's macro area"},
    };
    for (const auto& c : cases) {
        Keyboard().ClearLog();
        EXPECT_EQ(Run({"import", Path(c.name)}), c.exit) << c.name;
        EXPECT_TRUE(err.startsWith("vantorctl: import: ")) << err.toStdString();
        EXPECT_TRUE(err.contains(c.says)) << err.toStdString();
        EXPECT_EQ(err.count('\n'), 1) << "one cause: " << err.toStdString();
        EXPECT_EQ(Writes(), 0u) << c.name;
    }
    const KeyboardFirmware firmwareAfter = Keyboard().Firmware();
    EXPECT_TRUE(std::ranges::equal(firmwareBefore.MacroAreaBytes(), firmwareAfter.MacroAreaBytes()));
    QFile after(working);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), workingBefore);
}

// A keyboard that refuses the macro area midway: the key maps still go, the exit code says it
// refused, and the working profile file does not claim the import.
TEST_P(ProfileCommandsTest, AnImportRefusedMidwayExitsWithTheRefusal) {
    const QString imported = Path("in.vpf");
    test::WriteSampleProfile(imported);
    FaultSwitch refuse{EmulatorFault::StatusFF};
    refuse.refusedCommand = 0x0A;
    Keyboard().SetFault(refuse);
    EXPECT_EQ(Run({"import", imported}), kExitKeyboardError);
    EXPECT_TRUE(err.contains("import: the keyboard refused it")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(env.Paths().WorkingProfileFile()));
    EXPECT_GE(Writes(), 4u);  // the refused macro area and the three key maps
}

TEST_P(ProfileCommandsTest, ResetGivesFactoryLightingAndKeyMapsAndProfileZero) {
    const QString imported = Path("in.vpf");
    test::WriteSampleProfile(imported);
    ASSERT_EQ(Run({"import", imported}), kExitOk) << err.toStdString();
    ASSERT_EQ(Run({"set-lighting", "1", "brightness=1", "colour=102030"}), kExitOk);
    ASSERT_EQ(Run({"switch", "2"}), kExitOk);

    ASSERT_EQ(Run({"reset"}), kExitOk) << err.toStdString();
    const KeyboardFirmware firmware = Keyboard().Firmware();
    const auto factory = FactoryLightingBlock();
    const auto matrix = firmware.DefaultKeyMatrix();
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_TRUE(std::ranges::equal(firmware.LightingBlock(profile).first(factory.size()),
                                       factory))
            << profile;
        EXPECT_TRUE(std::ranges::equal(firmware.KeyMap(profile), matrix)) << profile;
    }
    EXPECT_EQ(firmware.ActiveProfile(), 0);

    // The working profile file follows the keyboard: no assignment is left in it.
    const std::optional<ProfileData> working = test::ReadProfile(env.Paths().WorkingProfileFile());
    ASSERT_TRUE(working);
    EXPECT_EQ(working->Records()[0x1E].type, 0);
    EXPECT_EQ(working->Records()[1024 + 0x20].type, 0);
    // Nor any text: the launch-program and text-block keys were reset with the others.
    EXPECT_EQ(working->Records()[test::kSampleLaunchR].type, 0);
    EXPECT_EQ(working->Records()[test::kSampleLaunchG3].type, 0);
    EXPECT_EQ(working->Image().header.textAreaSize, 0u);
}

// reset is the window's Default: each profile's colour file goes back to the template and the
// colours are sent again; then, after profile 0's lighting refresh, the status block is
// written only when the keyboard is on another profile, once, with profile 0 active.
TEST_P(ProfileCommandsTest, ResetResetsTheColoursAndSwitchesOnlyFromAnotherProfile) {
    const QByteArray colourTemplate = "[PRESENTMODE]\r\nmode=0\r\n[Mode0]\r\n64=0,255,0,1\r\n";
    env.WriteProgramFile(QStringLiteral("Skins/UserDengColor_3.userd"), colourTemplate);
    ASSERT_TRUE(CreateUserColourFiles());
    for (const int active : {0, 2}) {
        ASSERT_EQ(Run({"switch", QString::number(active)}), kExitOk) << err.toStdString();
        const QString colourFile = env.Paths().UserColourFile(1);
        QFile edited(colourFile);
        ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
        edited.write("[PRESENTMODE]\r\nmode=0\r\n[Mode0]\r\n64=1,2,3,0\r\n");
        edited.close();
        Keyboard().ClearLog();

        ASSERT_EQ(Run({"reset"}), kExitOk) << err.toStdString();
        std::vector<uint8_t> commands;
        std::vector<uint8_t> statusProfiles;  // byte 10 of each status block written
        for (const ReportLogEntry& entry : Keyboard().Log()) {
            if (entry.direction != ReportLogEntry::Direction::Received) continue;
            commands.push_back(entry.bytes[3]);
            if (entry.bytes[3] == 0x04) statusProfiles.push_back(entry.bytes[8 + 10]);
        }
        EXPECT_EQ(statusProfiles, active == 0 ? std::vector<uint8_t>{} : std::vector<uint8_t>{0})
            << "on profile " << active;
        const auto last = [&commands](uint8_t command) {
            return std::find(commands.rbegin(), commands.rend(), command).base() - commands.begin();
        };
        if (active != 0) {
            EXPECT_GT(last(0x04), last(0x05)) << "the status is written after the lighting refresh";
            EXPECT_GT(last(0x04), last(0x11)) << "and after profile 0's colours";
        }
        // Three colour steps and profile 0's refresh each send the table.
        const size_t positions = size_t(Keyboard().Firmware().Variant().positionCount);
        EXPECT_EQ(size_t(std::count(commands.begin(), commands.end(), 0x11)), 4 * (positions / 18 + 1));
        QFile reset(colourFile);
        ASSERT_TRUE(reset.open(QIODevice::ReadOnly));
        EXPECT_EQ(reset.readAll(), colourTemplate);
        EXPECT_EQ(Keyboard().Firmware().ActiveProfile(), 0);
    }
}

TEST_P(ProfileCommandsTest, ResetWritesNothingWhenTheDefaultMatrixCannotBeRead) {
    Keyboard().SetFault({EmulatorFault::StatusFF});
    EXPECT_EQ(Run({"reset"}), kExitKeyboardError);
    EXPECT_TRUE(err.contains("read default key matrix")) << err.toStdString();
    EXPECT_EQ(Writes(), 0u);
}

// The key-map position of the factory key that sends a device code.
int PositionOfFactoryKey(const KeyboardFirmware& firmware, uint8_t deviceCode) {
    const auto matrix = firmware.DefaultKeyMatrix();
    for (size_t p = 0; p + 2 < matrix.size(); p += 3)
        if (matrix[p] == 2 && matrix[p + 1] == 2 && matrix[p + 2] == deviceCode) return int(p / 3);
    return -1;
}

std::array<uint8_t, 3> ActionAt(std::span<const uint8_t> keyMap, int position) {
    return {keyMap[3 * position], keyMap[3 * position + 1], keyMap[3 * position + 2]};
}

TEST_P(ProfileCommandsTest, AssignChangesOneKeyOfOneProfileByTheDialogsRules) {
    const int a = PositionOfFactoryKey(Keyboard().Firmware(), 0x04);
    ASSERT_GE(a, 0);
    const struct {
        QStringList args;
        int profile;
        std::array<uint8_t, 3> action;  // at A's position afterwards
        KeyAssignment record;           // A's record in the working profile file
    } cases[] = {
        {{"assign", "1", "a", "key", "B"}, 1, {2, 2, 0x05}, {kAssignKey, 0, 0x30, 0, 0}},
        {{"assign", "0", "A", "media", "6"}, 0, {3, 0xE9, 0x00}, {kAssignMedia, 0, 6, 0, 0}},
        {{"assign", "0", "A", "mouse", "right"}, 0, {1, 1, 0x02}, {kAssignKey, 0, 0x172, 0, 0}},
        // A key assigned to itself is the key's default, holding the key as its value.
        {{"assign", "2", "A", "key", "a"}, 2, {2, 2, 0x04}, {kAssignDefault, 0, 0x1E, 0, 0}},
    };
    for (const auto& c : cases) {
        const std::string what = c.args.join(' ').toStdString();
        ASSERT_EQ(Run(c.args), kExitOk) << what << err.toStdString();
        const KeyboardFirmware firmware = Keyboard().Firmware();
        EXPECT_EQ(ActionAt(firmware.KeyMap(c.profile), a), c.action) << what;
        const std::optional<ProfileData> working = test::ReadProfile(env.Paths().WorkingProfileFile());
        ASSERT_TRUE(working);
        const KeyAssignment& record = working->Records()[BlockStart(c.profile) + 0x1E];
        EXPECT_EQ(std::tie(record.type, record.parameter, record.value),
                  std::tie(c.record.type, c.record.parameter, c.record.value))
            << what;
    }
    // The other profiles were left as they were: profile 0's A still plays right button.
    EXPECT_EQ(ActionAt(Keyboard().Firmware().KeyMap(0), a), (std::array<uint8_t, 3>{1, 1, 0x02}));

    // An extra key's record keeps its parameter word beside a function.
    ASSERT_EQ(Run({"assign", "0", "g2", "function", "3"}), kExitOk) << err.toStdString();
    const std::optional<ProfileData> working = test::ReadProfile(env.Paths().WorkingProfileFile());
    ASSERT_TRUE(working);
    EXPECT_EQ(working->Records()[257].type, kAssignFunction);
    EXPECT_EQ(working->Records()[257].parameter, ExtraKeyParameter(2));
    EXPECT_EQ(working->Records()[257].value, 3u);
}

// CYCLES is how often the keyboard plays the macro: the macro's count in the macro area, for
// every key that plays it, as the dialog's Repeat count sets it. Without it the count stays.
TEST_P(ProfileCommandsTest, AssignMacroCyclesSetsTheMacrosPlayCountOnTheKeyboard) {
    const QString imported = Path("in.vpf");
    test::WriteSampleProfile(imported);
    ASSERT_EQ(Run({"import", imported}), kExitOk) << err.toStdString();
    const auto playCounts = [this] {
        std::vector<int> counts;
        const KeyboardFirmware firmware = Keyboard().Firmware();
        const auto macros = ParseKeyboardMacroArea(firmware.MacroAreaBytes());
        for (const KeyboardMacro& macro : macros.value()) counts.push_back(macro.cycleCount);
        return counts;
    };
    const std::vector<int> before = playCounts();
    ASSERT_EQ(before.size(), 3u);

    ASSERT_EQ(Run({"assign", "1", "A", "macro", "2", "7"}), kExitOk) << err.toStdString();
    std::vector<int> expected = before;
    expected[1] = 7;
    EXPECT_EQ(playCounts(), expected);
    ASSERT_EQ(Run({"macros"}), kExitOk) << err.toStdString();
    EXPECT_TRUE(out.split('\n').filter("slot 1").value(0).contains("  plays 7  ")) << out.toStdString();
    std::optional<ProfileData> working = test::ReadProfile(env.Paths().WorkingProfileFile());
    ASSERT_TRUE(working);
    EXPECT_EQ(working->Macros().Records()[1].cycleCount, 7);
    EXPECT_EQ(working->Records()[BlockStart(1) + 0x1E].parameter, 7u);

    // Another key plays the same macro without CYCLES: the macro keeps playing 7 times.
    ASSERT_EQ(Run({"assign", "0", "B", "macro", "2"}), kExitOk) << err.toStdString();
    EXPECT_EQ(playCounts(), expected);
    working = test::ReadProfile(env.Paths().WorkingProfileFile());
    ASSERT_TRUE(working);
    EXPECT_EQ(working->Records()[0x30].parameter, 7u);
}

TEST_P(ProfileCommandsTest, AssignRefusesBadArgumentsAndMissingMacrosBeforeSending) {
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {{"assign", "3", "A", "default"}, "a profile is a decimal number from 0 to 2"},
        {{"assign", "0", "Nokey", "default"}, "no key is named 'Nokey'"},
        {{"assign", "0", "G19", "default"}, "no key is named 'G19'"},
        {{"assign", "0", "A", "media", "18"}, "a media number is a decimal number from 0 to 17"},
        {{"assign", "0", "A", "function", "-1"}, "a function number is a decimal number from 0 to 10"},
        {{"assign", "0", "A", "mouse", "side"}, "a mouse action is"},
        {{"assign", "0", "A", "macro", "1", "256"}, "CYCLES is a decimal number from 1 to 255"},
        {{"assign", "0", "A", "key", "Nokey"}, "no key is named 'Nokey'"},
        {{"assign", "0", "A", "default", "x"}, "'default' takes 0 value(s)"},
        {{"assign", "0", "A", "launch"}, "unknown action 'launch'"},
        {{"assign", "0", "A"}, "usage: vantorctl assign P KEY"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), kExitUsage) << c.args.join(' ').toStdString();
        EXPECT_TRUE(err.contains(c.says)) << err.toStdString();
    }
    // The keyboard holds no macro 5: found out after reading it, before anything is written.
    EXPECT_EQ(Run({"assign", "0", "A", "macro", "5"}), kExitUsage);
    EXPECT_TRUE(err.contains("no macro with that id")) << err.toStdString();
    EXPECT_EQ(Writes(), 0u);
    EXPECT_FALSE(QFile::exists(env.Paths().WorkingProfileFile()));
}

TEST_P(ProfileCommandsTest, AssignRefusedByTheKeyboardLeavesTheWorkingFileAlone) {
    FaultSwitch refuse{EmulatorFault::StatusFF};
    refuse.refusedCommand = 0x08;
    Keyboard().SetFault(refuse);
    EXPECT_EQ(Run({"assign", "0", "A", "key", "B"}), kExitKeyboardError);
    EXPECT_FALSE(QFile::exists(env.Paths().WorkingProfileFile()));
}

// The keyboard changed behind the working profile file's back: profile 0's R now sends B and
// profile 1's T has its factory function again. The export holds what the keyboard holds for
// those two keys and says so, one line each; every other launch-program and text-block key
// is exported with its text.
TEST_P(ProfileCommandsTest, ExportLeavesOutTheHostOnlyKeysTheKeyboardContradicts) {
    const QString imported = Path("in.vpf");
    test::WriteSampleProfile(imported);
    ASSERT_EQ(Run({"import", imported}), kExitOk) << err.toStdString();
    const int r = PositionOfFactoryKey(Keyboard().Firmware(), 0x15);
    const int t = PositionOfFactoryKey(Keyboard().Firmware(), 0x17);
    ASSERT_TRUE(r >= 0 && t >= 0);
    Keyboard().EditFirmware([&](KeyboardFirmware& firmware) {
        const std::span<uint8_t> maps = firmware.MutableArea(FirmwareArea::KeyMaps);
        const size_t stride = size_t(firmware.Variant().keyMapStride);
        std::ranges::copy(std::array<uint8_t, 3>{2, 2, 0x05}, maps.begin() + 3 * r);
        std::ranges::copy(std::array<uint8_t, 3>{2, 2, 0x17}, maps.begin() + stride + 3 * t);
    });

    const QString exported = Path("out.vpf");
    ASSERT_EQ(Run({"export", exported}), kExitOk) << err.toStdString();
    EXPECT_EQ(err.toStdString(),
              "vantorctl: export: profile 0, key R: launch-program assignment left out: the "
              "keyboard's key now sends B, not what the working profile file expects\n"
              "vantorctl: export: profile 1, key T: text-block assignment left out: the "
              "keyboard's key now has its built-in function, not what the working profile file "
              "expects\n");
    const std::optional<ProfileData> data = test::ReadProfile(exported);
    ASSERT_TRUE(data);
    const KeyAssignment& launch = data->Records()[test::kSampleLaunchR];
    EXPECT_EQ(launch.type, kAssignKey);
    EXPECT_EQ(launch.value, 0x30u);
    EXPECT_EQ(data->Records()[test::kSampleTextT].type, kAssignDefault);
    EXPECT_TRUE(data->Text(test::kSampleLaunchR).empty() && data->Text(test::kSampleTextT).empty());
    EXPECT_EQ(data->Records()[test::kSampleLaunchG3].type, kAssignLaunch);
    EXPECT_TRUE(data->Text(test::kSampleLaunchG3) == u"/usr/bin/true");
    EXPECT_EQ(data->Records()[0x1E].type, kAssignMacro);

    // A working profile file that fails its check gives no such key back, and says so.
    QFile working(env.Paths().WorkingProfileFile());
    ASSERT_TRUE(working.open(QIODevice::ReadWrite));
    working.seek(31);
    working.write("\x00", 1);  // the checksum
    working.close();
    ASSERT_EQ(Run({"export", exported}), kExitOk) << err.toStdString();
    EXPECT_EQ(err, QStringLiteral("vantorctl: export: the working profile file %1: invalid: a "
                                  "header field is wrong; its launch-program and text-block keys "
                                  "are left out\n")
                       .arg(env.Paths().WorkingProfileFile()));
    const std::optional<ProfileData> without = test::ReadProfile(exported);
    ASSERT_TRUE(without);
    EXPECT_EQ(without->Records()[test::kSampleLaunchG3].type, kAssignDefault);
}

INSTANTIATE_TEST_SUITE_P(Variants, ProfileCommandsTest, ::testing::Values('A', 'B'));

}  // namespace
}  // namespace vantor::ctl
