#include "device/SimBackendSelection.h"
#include "device/SimMessage.h"
#include "device/SimSocketBackend.h"
#include "emulator/EmulatedKeyboard.h"
#include "emulator/SimControl.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vantor {
namespace {

TEST(SimFrameReader, ReassemblesFramesSplitAnywhere) {
    SimMessage a(SimOp::Write, 7);
    a.bytes = QByteArray(64, '\x04');
    SimMessage b(SimOp::ControlReply, 8);
    b.strings = {QStringLiteral("> 04")};
    b.numbers = {1};
    const QByteArray stream = EncodeSimFrame(a) + EncodeSimFrame(b);
    for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
        SimFrameReader reader;
        reader.Append(stream.left(cut));
        std::vector<SimMessage> got;
        while (auto m = reader.Next()) got.push_back(*m);
        reader.Append(stream.mid(cut));
        while (auto m = reader.Next()) got.push_back(*m);
        ASSERT_EQ(got.size(), 2u) << "cut at " << cut;
        EXPECT_EQ(got[0].op, SimOp::Write);
        EXPECT_EQ(got[0].id, 7u);
        EXPECT_EQ(got[0].bytes, a.bytes);
        EXPECT_EQ(got[1].String(0), QStringLiteral("> 04"));
        EXPECT_EQ(got[1].Number(0), 1);
        EXPECT_FALSE(reader.Broken());
    }
    // A field the frame did not carry reads as empty, on either side of the list.
    EXPECT_EQ(b.Number(-1), 0);
    EXPECT_EQ(b.Number(1), 0);
    EXPECT_EQ(b.String(-1), QString());
    EXPECT_EQ(b.String(1), QString());
}

TEST(SimFrameReader, RefusesOversizedAndUndecodableFrames) {
    SimFrameReader oversized;
    oversized.Append(QByteArray::fromHex("ffffff7f") + QByteArray(16, 'x'));
    EXPECT_FALSE(oversized.Next());
    EXPECT_TRUE(oversized.Broken());

    SimFrameReader garbage;  // a 3-byte body cannot hold the fields
    garbage.Append(QByteArray::fromHex("03000000010203"));
    EXPECT_FALSE(garbage.Next());
    EXPECT_TRUE(garbage.Broken());

    // List counts larger than the body could hold are refused before anything is allocated
    // for them: a 17-byte frame once made the reader reserve some 100 GB.
    // length, op, id, string count, bytes (null), number count
    const QByteArray hugeStrings =
        QByteArray::fromHex("11000000" "60" "00000000" "ffffffff" "ffffffff" "00000000");
    const QByteArray hugeNumbers =
        QByteArray::fromHex("11000000" "60" "00000000" "00000000" "ffffffff" "7fffffff");
    for (const QByteArray& frame : {hugeStrings, hugeNumbers}) {
        SimFrameReader reader;
        reader.Append(frame);
        EXPECT_FALSE(reader.Next()) << frame.toHex().constData();
        EXPECT_TRUE(reader.Broken()) << frame.toHex().constData();
    }
}

TEST(SimControl, ActionsAndTheirArguments) {
    EmulatedKeyboard keyboard;
    struct Case { QStringList action; bool accepted; uint16_t event; };
    const Case cases[] = {
        {{"event", "0x0401"}, true, 0x0401},
        {{"event", "0X1811"}, true, 0x1811},
        {{"event", "6161"}, true, 6161},
        {{"event", "0401"}, true, 401},  // decimal, not octal
        {{"event", "0x10000"}, false, 0},
        {{"event", "-1"}, false, 0},
        {{"event"}, false, 0},
        {{"switch", "2"}, true, 0x0402},
        {{"switch", "x"}, false, 0},
        {{"light"}, true, 0x0401},
        {{"fault", "late", "50"}, true, 0},
        {{"fault", "ff", "50"}, false, 0},
        {{"fault", "sometimes"}, false, 0},
        {{"plug", "now"}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action.join(u' ').toStdString());
        keyboard.ClearLog();
        const SimControlResult result = RunSimControl(keyboard, c.action);
        EXPECT_EQ(result.accepted, c.accepted) << result.text.toStdString();
        const auto log = keyboard.Log();
        if (c.event == 0) {
            EXPECT_TRUE(log.empty());
            continue;
        }
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].bytes[1] | (log[0].bytes[2] << 8), c.event);
    }
    EXPECT_EQ(keyboard.Fault().fault, EmulatorFault::LateReply);
    EXPECT_EQ(keyboard.Fault().lateReplyMs, 50);
    EXPECT_EQ(keyboard.Firmware().ActiveProfile(), 2);

    RunSimControl(keyboard, {"unplug"});
    const SimControlResult whileOut = RunSimControl(keyboard, {"switch", "1"});
    EXPECT_FALSE(whileOut.accepted);
    EXPECT_TRUE(whileOut.text.contains(QStringLiteral("unplugged")));
}

// The socket backend only when asked for, by option or environment; the option wins.
TEST(SimBackendSelection, OnlyWhenAskedFor) {
    ::unsetenv("VANTOR_SIM");
    EXPECT_EQ(SimBackendFromEnvironment(), nullptr);

    ::setenv("VANTOR_SIM", "/tmp/from-env.sock", 1);
    auto fromEnv = SimBackendFromEnvironment();
    ASSERT_NE(fromEnv, nullptr);
    EXPECT_EQ(static_cast<SimSocketBackend*>(fromEnv.get())->SocketPath(),
              QStringLiteral("/tmp/from-env.sock"));
    auto fromOption = SimBackendFromEnvironment(QStringLiteral("/tmp/option.sock"));
    EXPECT_EQ(static_cast<SimSocketBackend*>(fromOption.get())->SocketPath(),
              QStringLiteral("/tmp/option.sock"));
    ::unsetenv("VANTOR_SIM");

    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    ::setenv("XDG_RUNTIME_DIR", "/tmp", 1);
    EXPECT_EQ(DefaultSimSocketPath(), QStringLiteral("/tmp/vantor-sim.sock"));
    ::setenv("XDG_RUNTIME_DIR", "/nonexistent-runtime-dir", 1);
    EXPECT_TRUE(DefaultSimSocketPath().startsWith(QStringLiteral("/tmp/vantor-sim-")));
    qputenv("XDG_RUNTIME_DIR", runtime);
}

}  // namespace
}  // namespace vantor
