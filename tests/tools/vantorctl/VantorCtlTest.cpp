// vantorctl's commands against the in-process keyboard.

#include "CtlExit.h"
#include "VantorCtl.h"

#include "device/TracingBackend.h"
#include "emulator/EmulatorBackend.h"
#include "shell/Paths.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace vantor::ctl {
namespace {

class VantorCtlTest : public ::testing::Test {
protected:
    int Run(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return RunVantorCtl(args, o, e, [this](const QString&, std::shared_ptr<ReportTrace> t) {
            std::shared_ptr<HidBackend> b = emulator;
            return t ? std::make_shared<TracingBackend>(b, t) : b;
        });
    }
    KeyboardFirmware Firmware() { return emulator->Keyboard().Firmware(); }

    std::shared_ptr<EmulatorBackend> emulator = std::make_shared<EmulatorBackend>();
    QString out, err;
};

TEST_F(VantorCtlTest, ListStatusAndSwitch) {
    EXPECT_EQ(Run({"list"}), kExitOk);
    EXPECT_EQ(out, "sim:0#vid_320f&pid_5000&mi_02  320f:5000  version 0201  variant B\n");

    EXPECT_EQ(Run({"status"}), kExitOk);
    EXPECT_TRUE(out.startsWith("active profile: 0\nmacro capacity: 8192 bytes\neffects: 1 2 3"))
        << out.toStdString();

    EXPECT_EQ(Run({"switch", "2"}), kExitOk);
    EXPECT_EQ(Firmware().ActiveProfile(), 2);
}

TEST_F(VantorCtlTest, SetLightingWritesEveryFieldInOneGroup) {
    ASSERT_EQ(Run({"set-lighting", "1", "brightness=3", "speed=1", "direction=left", "rate=2",
                   "choice=3", "colour=102030", "effect=7"}),
              kExitOk)
        << err.toStdString();
    const KeyboardFirmware firmware = Firmware();
    const auto b = firmware.LightingBlock(1);
    EXPECT_EQ(b[0], 7);
    EXPECT_EQ(b[1], 3);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[3], 0xFF);
    EXPECT_EQ(b[4], 0);  // the colour turned random off, and the effect wrote it again
    EXPECT_EQ(b[5], 0x10);
    EXPECT_EQ(b[7], 0x30);
    EXPECT_EQ(b[15], 2);
    EXPECT_EQ(b[17], 3);

    ASSERT_EQ(Run({"lighting", "1"}), kExitOk);
    EXPECT_TRUE(out.contains("effect: 7\nbrightness: 3\nspeed: 1\ndirection: left (0xff)\n"
                             "random: 0\ncolour: 102030\nrate: 2\nchoice: 3\n"))
        << out.toStdString();
}

TEST_F(VantorCtlTest, TraceShowsEveryReportBothWays) {
    ASSERT_EQ(Run({"--trace", "status"}), kExitOk);
    const QStringList lines = err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("> 042f0003")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("< "));
    for (const QString& line : lines) EXPECT_EQ(line.size(), 2 + 128);
}

TEST_F(VantorCtlTest, EachFailureHasItsExitCodeAndSendsNothingOnBadInput) {
    const struct {
        QStringList args;
        int exit;
    } usage[] = {
        {{}, kExitUsage},
        {{"frobnicate"}, kExitUsage},
        {{"--sim"}, kExitUsage},
        {{"switch"}, kExitUsage},
        {{"switch", "3"}, kExitUsage},
        {{"lighting", "x"}, kExitUsage},
        {{"set-lighting", "0"}, kExitUsage},
        {{"set-lighting", "0", "brightness=6"}, kExitUsage},
        {{"set-lighting", "0", "colour=12345g"}, kExitUsage},
        {{"set-lighting", "0", "glow=1"}, kExitUsage},
        {{"set-lighting", "0", "brightness=1", "effect=19"}, kExitUsage},  // not offered
        {{"colours"}, kExitUsage},
        {{"colours", "3"}, kExitUsage},
        {{"colours", "0", "-1"}, kExitUsage},
        {{"colours", "0", "1", "2"}, kExitUsage},
    };
    for (const auto& c : usage) {
        emulator->Keyboard().ClearLog();
        EXPECT_EQ(Run(c.args), c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(err.startsWith("vantorctl: ")) << c.args.join(' ').toStdString();
        for (const ReportLogEntry& entry : emulator->Keyboard().Log()) {
            // at most the status read that checks the effect
            EXPECT_NE(entry.bytes[3], 0x06) << c.args.join(' ').toStdString();
        }
    }

    emulator->Keyboard().SetFault({EmulatorFault::StatusFF});
    EXPECT_EQ(Run({"switch", "1"}), kExitKeyboardError);
    EXPECT_TRUE(err.contains("refused")) << err.toStdString();

    emulator->Keyboard().SetFault({EmulatorFault::NoReply});
    EXPECT_EQ(Run({"status"}), kExitNoAnswer);
    EXPECT_TRUE(err.contains("did not answer")) << err.toStdString();

    emulator->Unplug();
    EXPECT_EQ(Run({"status"}), kExitNoKeyboard);
    EXPECT_EQ(Run({"list"}), kExitNoKeyboard);
}

// Every number on the command line is decimal, leading zeros included, and one that is not
// is refused with a message naming the argument and its range; nothing reaches the keyboard.
TEST_F(VantorCtlTest, NumbersAreDecimalEverywhere) {
    ASSERT_EQ(Run({"set-lighting", "0", "effect=012", "brightness=05"}), kExitOk) << err.toStdString();
    EXPECT_EQ(Firmware().LightingBlock(0)[0], 12) << "not octal 10";
    EXPECT_EQ(Firmware().LightingBlock(0)[1], 5);
    ASSERT_EQ(Run({"set-lighting", "0", "effect=09", "direction=0255"}), kExitOk) << err.toStdString();
    EXPECT_EQ(Firmware().LightingBlock(0)[0], 9);
    EXPECT_EQ(Firmware().LightingBlock(0)[3], 0xFF);
    ASSERT_EQ(Run({"switch", "02"}), kExitOk) << err.toStdString();
    EXPECT_EQ(Firmware().ActiveProfile(), 2);
    ASSERT_EQ(Run({"preview", "013", "--ticks", "02", "--seed", "010"}), kExitOk) << err.toStdString();
    EXPECT_EQ(out.count('\n'), 2);

    const struct {
        QStringList args;
        const char* says;
    } refused[] = {
        {{"switch", "0x1"}, "a profile is a decimal number from 0 to 2, not '0x1'"},
        {{"lighting", "+1"}, "a profile is a decimal number from 0 to 2, not '+1'"},
        {{"set-lighting", "0", "effect=0x0c"}, "effect is a decimal number from 1 to 255, not '0x0c'"},
        {{"set-lighting", "0", "effect=0"}, "effect is a decimal number from 1 to 255, not '0'"},
        {{"set-lighting", "0", "speed= 1"}, "speed is a decimal number from 0 to 5, not ' 1'"},
        {{"set-lighting", "0", "rate=4"}, "rate is a decimal number from 0 to 3, not '4'"},
        {{"set-lighting", "0", "random=-0"}, "random is a decimal number from 0 to 1, not '-0'"},
        {{"colours", "0", "1e3"}, "MODE is a decimal number from 0 to 2147483647, not '1e3'"},
        {{"assign", "0", "A", "media", "0x1"}, "a media number is a decimal number from 0 to 17, not '0x1'"},
        {{"assign", "0", "A", "macro", "101"}, "a macro id is a decimal number from 1 to 100, not '101'"},
        {{"assign", "0", "A", "macro", "1", "99999999999999999999"},
         "CYCLES is a decimal number from 1 to 255, not '99999999999999999999'"},
        {{"gui-command", "0x800c"}, "a command id is a decimal number from 1 to 65535, not '0x800c'"},
        {{"preview", "0x10"}, "EFFECT is a decimal number from 0 to 255, not '0x10'"},
        {{"preview", "1", "--ticks", "1000001"}, "--ticks is a decimal number from 1 to 1000000"},
        {{"preview", "1", "--seed", "0x10"}, "--seed is a decimal number from 0 to 4294967295, not '0x10'"},
        {{"--reply-timeout", "0"}, "--reply-timeout is a decimal number from 1 to 10000, not '0'"},
    };
    for (const auto& c : refused) {
        emulator->Keyboard().ClearLog();
        EXPECT_EQ(Run(c.args), kExitUsage) << c.args.join(' ').toStdString();
        EXPECT_TRUE(err.startsWith("vantorctl: ") && err.contains(c.says)) << err.toStdString();
        EXPECT_TRUE(emulator->Keyboard().Log().empty()) << c.args.join(' ').toStdString();
    }
}

// The user colour files are made from the skin's template on first use; a mode of one of them
// becomes the keyboard's per-key colour table of that profile.
TEST_F(VantorCtlTest, ColoursSendsAModeOfTheProfilesColourFile) {
    test::TestEnvironment env;
    EXPECT_EQ(Run({"colours", "1"}), kExitFileError) << "no template to make the files from";
    EXPECT_TRUE(err.contains("user colour files")) << err.toStdString();

    env.WriteProgramFile(QStringLiteral("Skins/UserDengColor_3.userd"),
                           "[PRESENTMODE]\r\nmode=0\r\n[Mode0]\r\n64=0,255,0,1\r\n"
                           "[Mode2]\r\n64=9,8,7,0\r\n");
    ASSERT_EQ(Run({"colours", "1"}), kExitOk) << err.toStdString();
    EXPECT_EQ(out, "profile 1: sent mode 0\n");
    EXPECT_TRUE(QFile::exists(AppPaths::Current()->UserColourFile(2)));
    const KeyboardFirmware firmware = Firmware();
    auto colours = firmware.KeyColours(1);
    EXPECT_EQ(colours[64 * 3], 0);
    EXPECT_EQ(colours[64 * 3 + 1], 255);
    EXPECT_EQ(colours[76 * 3], 255) << "keys the mode does not name are red";

    ASSERT_EQ(Run({"colours", "1", "2"}), kExitOk) << err.toStdString();
    const KeyboardFirmware after = Firmware();
    colours = after.KeyColours(1);
    EXPECT_EQ(colours[64 * 3], 9);
    EXPECT_EQ(colours[64 * 3 + 2], 7);
}

TEST(VantorCtlSim, NoEmulatorOnTheSocketIsSaidSo) {
    QTemporaryDir folder;
    const QString socket = folder.filePath("none.sock");
    QString out, err;
    QTextStream o(&out), e(&err);
    EXPECT_EQ(RunVantorCtl({"--sim", socket, "status"}, o, e), kExitNoKeyboard);
    EXPECT_EQ(err, "vantorctl: no emulator answers on " + socket +
                       "; start it with vantor-sim --socket " + socket + "\n");
}

}  // namespace
}  // namespace vantor::ctl
