// vantor-sim as a real process on a temporary socket, reached through SimSocketBackend.

#include "device/SimSocket.h"
#include "device/SimSocketBackend.h"
#include "emulator/FirmwareVariant.h"

#include "FirmwareRequests.h"

#include "support/ChildProcess.h"
#include "support/WaitFor.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <future>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::MakeRequest;
using test::WaitFor;

constexpr int kWait = 5000;  // ms; a deadline, never reached when things work

const QString kProgram = QStringLiteral(VANTOR_SIM_PROGRAM);

struct CtlResult {
    int exitCode = -1;
    QString out;
    QString err;
};

class SimProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        socket = dir.filePath(QStringLiteral("sim.sock"));
        ASSERT_TRUE(server.Start(kProgram, {QStringLiteral("--socket"), socket}));
        ASSERT_TRUE(WaitFor([&] {
            return !server.IsRunning() || SimSocketBackend(socket).IsServerReachable();
        }));
        ASSERT_TRUE(server.IsRunning());
    }
    void TearDown() override {
        server.Terminate();
        EXPECT_TRUE(server.WaitForExit(kWait));
        // The emulator says nothing on stderr while it works: no warning, no sanitizer report.
        EXPECT_EQ(server.Stderr().toStdString(), "");
    }

    CtlResult Ctl(const QStringList& action, const QString& socketPath = QString(),
                  const QString& workingDirectory = QString()) {
        test::ChildProcess ctl;
        EXPECT_TRUE(ctl.Start(kProgram,
                              QStringList{QStringLiteral("--socket"),
                                          socketPath.isEmpty() ? socket : socketPath,
                                          QStringLiteral("ctl")} + action,
                              workingDirectory));
        EXPECT_TRUE(ctl.WaitForExit(kWait));
        return {ctl.ExitCode(), ctl.Stdout(), ctl.Stderr()};
    }

    QString PathOf(SimSocketBackend& backend, int interfaceNumber) {
        QStringList paths;
        backend.Enumerate(&paths);
        for (const QString& path : paths)
            if (path.endsWith(QStringLiteral("&mi_0%1").arg(interfaceNumber))) return path;
        return {};
    }

    QTemporaryDir dir;  // in the temporary folder: a socket path holds at most 107 bytes
    QString socket;
    test::ChildProcess server;
};

QString Hex(const FirmwareReport& report) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(report.data()), 64).toHex());
}

TEST_F(SimProcess, ExchangesAReportAndLogsItFromTheHostsSide) {
    SimSocketBackend backend(socket);
    QStringList paths;
    ASSERT_TRUE(backend.Enumerate(&paths));
    ASSERT_EQ(paths.size(), 3);
    auto vendor = backend.Open(PathOf(backend, 2), true, true);
    ASSERT_TRUE(vendor);
    EXPECT_EQ(vendor->Attributes().vendorId, FirmwareVariant::B().vendorId);
    EXPECT_EQ(vendor->Attributes().versionNumber >> 8, 2);
    EXPECT_EQ(static_cast<uint8_t>(vendor->ReportDescriptor().at(0)), 0x06);

    const FirmwareReport request = MakeRequest(0x03, 44);
    FirmwareReport reply{};
    size_t moved = 0;
    ASSERT_EQ(vendor->Write(request.data(), 64, &moved, 1000), HidIoResult::Done);
    EXPECT_EQ(moved, 64u);
    ASSERT_EQ(vendor->Read(reply.data(), 64, &moved, kWait), HidIoResult::Done);
    EXPECT_EQ(reply[kReportStatusOffset], 0x01);
    EXPECT_EQ(reply[kReportPayloadOffset + 11], 8192 / 128);

    const CtlResult log = Ctl({QStringLiteral("log")});
    EXPECT_EQ(log.exitCode, 0);
    EXPECT_EQ(log.out, QStringLiteral("> ") + Hex(request) + QStringLiteral("\n< ") + Hex(reply) +
                           QStringLiteral("\n"));

    // A fault set from the command line reaches the open handle.
    ASSERT_EQ(Ctl({QStringLiteral("fault"), QStringLiteral("fe")}).exitCode, 0);
    ASSERT_EQ(vendor->Write(request.data(), 64, &moved, 1000), HidIoResult::Done);
    ASSERT_EQ(vendor->Read(reply.data(), 64, &moved, kWait), HidIoResult::Done);
    EXPECT_EQ(reply[kReportStatusOffset], 0xFE);
}

// The protocol keeps one handle per connection; a second Open on it is refused.
TEST_F(SimProcess, OneHandlePerConnection) {
    SimSocketBackend backend(socket);
    SimSocket connection;
    ASSERT_TRUE(connection.Connect(socket));
    for (uint32_t id : {1u, 2u}) {
        SimMessage open(SimOp::Open, id);
        open.strings = {PathOf(backend, 1 + id % 2)};
        open.numbers = {0, 1};  // write-only, the second time to another interface
        ASSERT_TRUE(connection.Send(open));
        SimMessage reply;
        ASSERT_EQ(connection.ReceiveReply(SimOp::OpenReply, id, &reply, kWait),
                  SimSocket::Received::Message);
        EXPECT_EQ(reply.Number(0), id == 1 ? 1 : 0);
    }
}

// A long session's log is larger than any one socket read.
TEST_F(SimProcess, LogOfManyReports) {
    SimSocketBackend backend(socket);
    auto vendor = backend.Open(PathOf(backend, 2), true, true);
    ASSERT_TRUE(vendor);
    const FirmwareReport request = MakeRequest(0x01);
    FirmwareReport reply{};
    size_t moved = 0;
    constexpr int kExchanges = 2200;  // a log of about 1.1 MB
    for (int i = 0; i < kExchanges; ++i) {
        ASSERT_EQ(vendor->Write(request.data(), 64, &moved, 1000), HidIoResult::Done);
        ASSERT_EQ(vendor->Read(reply.data(), 64, &moved, kWait), HidIoResult::Done);
    }
    const CtlResult log = Ctl({QStringLiteral("log")});
    EXPECT_EQ(log.exitCode, 0);
    EXPECT_EQ(log.out.count(u'\n'), 2 * kExchanges);
    EXPECT_TRUE(log.out.endsWith(QStringLiteral("< ") + Hex(reply) + u'\n'));
}

// A present probe leaves a watch behind that later probes only look at: the unplug must still
// reach them, and a handle's wait for the interface to go, which its own exchanges do not end.
TEST_F(SimProcess, UnplugEmptiesTheListAndFailsOpenHandles) {
    SimSocketBackend backend(socket);
    const QString vendorPath = PathOf(backend, 2);
    auto consumer = backend.Open(PathOf(backend, 1), true, false);
    ASSERT_TRUE(consumer);
    auto vendor = backend.Open(vendorPath, true, true);
    ASSERT_TRUE(vendor);
    auto waiting = std::async(std::launch::async, [&] { return vendor->WaitGone(kWait); });
    const FirmwareReport request = MakeRequest(0x03, 44);
    FirmwareReport reply{};
    size_t moved = 0;
    ASSERT_EQ(vendor->Write(request.data(), 64, &moved, 1000), HidIoResult::Done);
    ASSERT_EQ(vendor->Read(reply.data(), 64, &moved, kWait), HidIoResult::Done);
    EXPECT_EQ(waiting.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    ASSERT_TRUE(backend.Probe(vendorPath));
    ASSERT_TRUE(backend.Probe(vendorPath));
    ASSERT_EQ(Ctl({QStringLiteral("unplug")}).exitCode, 0);
    EXPECT_EQ(waiting.get(), HidIoResult::Failed);

    QStringList paths;
    EXPECT_TRUE(backend.Enumerate(&paths));
    EXPECT_TRUE(paths.isEmpty());
    EXPECT_TRUE(WaitFor([&] { return !backend.Probe(vendorPath); }));
    EXPECT_FALSE(backend.Probe(vendorPath));
    EXPECT_FALSE(backend.Open(vendorPath, true, true));
    uint8_t report[64];
    EXPECT_EQ(consumer->Read(report, 64, &moved, kWait), HidIoResult::Failed);

    ASSERT_EQ(Ctl({QStringLiteral("plug")}).exitCode, 0);
    EXPECT_TRUE(backend.Probe(vendorPath));
    EXPECT_TRUE(backend.Open(vendorPath, true, true));
}

// Two programs at once: each gets the replies to its own requests, both get the events.
TEST_F(SimProcess, ServesTwoClientsAtOnce) {
    SimSocketBackend first(socket), second(socket);
    auto vendor1 = first.Open(PathOf(first, 2), true, true);
    auto vendor2 = second.Open(PathOf(second, 2), true, true);
    auto consumer1 = first.Open(PathOf(first, 1), true, false);
    auto consumer2 = second.Open(PathOf(second, 1), true, false);
    ASSERT_TRUE(vendor1 && vendor2 && consumer1 && consumer2);

    size_t moved = 0;
    const FirmwareReport read1 = MakeRequest(0x05, 56, 0), read2 = MakeRequest(0x05, 56, 42);
    ASSERT_EQ(vendor1->Write(read1.data(), 64, &moved, 1000), HidIoResult::Done);
    ASSERT_EQ(vendor2->Write(read2.data(), 64, &moved, 1000), HidIoResult::Done);
    FirmwareReport reply{};
    ASSERT_EQ(vendor2->Read(reply.data(), 64, &moved, kWait), HidIoResult::Done);
    EXPECT_EQ(ReportAddress(reply), 42);
    ASSERT_EQ(vendor1->Read(reply.data(), 64, &moved, kWait), HidIoResult::Done);
    EXPECT_EQ(ReportAddress(reply), 0);

    ASSERT_EQ(Ctl({QStringLiteral("switch"), QStringLiteral("1")}).exitCode, 0);
    for (HidChannel* consumer : {consumer1.get(), consumer2.get()}) {
        ASSERT_EQ(consumer->Read(reply.data(), 64, &moved, kWait), HidIoResult::Done);
        EXPECT_EQ(reply[1] | (reply[2] << 8), 0x0402);
    }
    EXPECT_EQ(vendor1->Read(reply.data(), 64, &moved, 0), HidIoResult::TimedOut);
}

TEST_F(SimProcess, CommandLineErrorsHaveTheirExitCodes) {
    const CtlResult unknown = Ctl({QStringLiteral("dance")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("unknown action"))) << unknown.err.toStdString();
    EXPECT_EQ(Ctl({QStringLiteral("switch"), QStringLiteral("3")}).exitCode, 1);
    EXPECT_EQ(Ctl({}).exitCode, 2);

    // A second emulator on the same socket refuses to start; the first keeps serving.
    test::ChildProcess second;
    ASSERT_TRUE(second.Start(kProgram, {QStringLiteral("--socket"), socket}));
    ASSERT_TRUE(second.WaitForExit(kWait));
    EXPECT_EQ(second.ExitCode(), 1);
    EXPECT_TRUE(second.Stderr().contains(QStringLiteral("already running")));
    EXPECT_EQ(Ctl({QStringLiteral("log")}).exitCode, 0);

    test::ChildProcess badVariant;
    ASSERT_TRUE(badVariant.Start(kProgram, {QStringLiteral("--variant"), QStringLiteral("C"),
                                            QStringLiteral("--socket"),
                                            dir.filePath(QStringLiteral("other.sock"))}));
    ASSERT_TRUE(badVariant.WaitForExit(kWait));
    EXPECT_EQ(badVariant.ExitCode(), 2);
}

// A bare file name is a socket in the current folder, for the server as for ctl.
TEST_F(SimProcess, RelativeSocketPathIsInTheCurrentFolder) {
    test::ChildProcess other;
    ASSERT_TRUE(other.Start(kProgram, {QStringLiteral("--variant"), QStringLiteral("A"),
                                       QStringLiteral("--socket"), QStringLiteral("rel.sock")},
                            dir.path()));
    const QString absolute = dir.filePath(QStringLiteral("rel.sock"));
    ASSERT_TRUE(WaitFor([&] { return SimSocketBackend(absolute).IsServerReachable(); }));
    EXPECT_EQ(Ctl({QStringLiteral("log")}, QStringLiteral("rel.sock"), dir.path()).exitCode, 0);
    other.Terminate();
    EXPECT_TRUE(other.WaitForExit(kWait));
    EXPECT_FALSE(QFileInfo::exists(absolute));
}

TEST_F(SimProcess, StopsCleanlyOnSigterm) {
    SimSocketBackend backend(socket);
    auto vendor = backend.Open(PathOf(backend, 2), true, true);
    ASSERT_TRUE(vendor);
    server.Terminate();
    ASSERT_TRUE(server.WaitForExit(kWait));
    EXPECT_TRUE(server.ExitedNormally());
    EXPECT_EQ(server.ExitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(socket));

    uint8_t report[64];
    size_t moved = 0;
    EXPECT_EQ(vendor->Read(report, 64, &moved, kWait), HidIoResult::Failed);
    QStringList paths{QStringLiteral("stale")};
    EXPECT_TRUE(backend.Enumerate(&paths));  // no emulator: no keyboard, not an error
    EXPECT_TRUE(paths.isEmpty());

    const CtlResult ctl = Ctl({QStringLiteral("log")});
    EXPECT_EQ(ctl.exitCode, 3);
    EXPECT_TRUE(ctl.err.contains(QStringLiteral("no emulator is running"))) << ctl.err.toStdString();
}

}  // namespace
}  // namespace vantor
