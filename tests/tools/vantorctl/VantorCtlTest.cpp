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
