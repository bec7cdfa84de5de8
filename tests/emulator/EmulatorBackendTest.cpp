#include "emulator/EmulatorBackend.h"

#include "FirmwareRequests.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace vantor {
namespace {

using test::MakeRequest;
using Direction = ReportLogEntry::Direction;

constexpr int kWait = 5000;  // ms; a deadline, never reached when things work

QString PathOf(HidBackend& backend, int interfaceNumber) {
    QStringList paths;
    backend.Enumerate(&paths);
    const QString suffix = QStringLiteral("&mi_%1").arg(interfaceNumber, 2, 10, QLatin1Char('0'));
    for (const QString& path : paths)
        if (path.endsWith(suffix)) return path;
    return {};
}

struct Opened {
    std::unique_ptr<HidChannel> vendor;
    std::unique_ptr<HidChannel> consumer;
};

Opened OpenBoth(HidBackend& backend) {
    return {backend.Open(PathOf(backend, 2), true, true),
            backend.Open(PathOf(backend, 1), true, false)};
}

HidIoResult Send(HidChannel& channel, const FirmwareReport& request) {
    size_t written = 0;
    return channel.Write(request.data(), request.size(), &written, 1000);
}

HidIoResult Receive(HidChannel& channel, FirmwareReport* reply, int timeoutMs = kWait) {
    size_t read = 0;
    return channel.Read(reply->data(), reply->size(), &read, timeoutMs);
}

TEST(EmulatorBackend, ListsThreeInterfacesOfTheVariantWhilePlugged) {
    for (const FirmwareVariant* variant : {&FirmwareVariant::A(), &FirmwareVariant::B()}) {
        EmulatorBackend backend(*variant);
        QStringList paths;
        ASSERT_TRUE(backend.Enumerate(&paths));
        ASSERT_EQ(paths.size(), 3);
        const QString ids = QStringLiteral("vid_%1&pid_%2")
                                .arg(variant->vendorId, 4, 16, QLatin1Char('0'))
                                .arg(variant->productId, 4, 16, QLatin1Char('0'));
        for (const QString& path : paths) {
            EXPECT_TRUE(path.contains(ids)) << path.toStdString();
            auto channel = backend.Open(path, true, false);
            ASSERT_TRUE(channel);
            EXPECT_EQ(channel->Attributes().vendorId, variant->vendorId);
            EXPECT_EQ(channel->Attributes().productId, variant->productId);
            EXPECT_EQ(channel->Attributes().versionNumber >> 8, 2);
            EXPECT_FALSE(channel->ReportDescriptor().isEmpty());
            EXPECT_TRUE(backend.Probe(path));
        }
        EXPECT_FALSE(backend.Open(QStringLiteral("sim:0#vid_0000&pid_0000&mi_02"), true, true));
    }
}

TEST(EmulatorBackend, UnplugRemovesTheInterfacesAndFailsOpenChannelsForGood) {
    EmulatorBackend backend;
    const QString vendorPath = PathOf(backend, 2);
    auto [vendor, consumer] = OpenBoth(backend);
    ASSERT_TRUE(vendor && consumer);

    // A listener blocked on the consumer interface learns of the removal.
    std::atomic<HidIoResult> listened{HidIoResult::Done};
    std::thread listener([&, c = consumer.get()] {
        FirmwareReport report;
        listened = Receive(*c, &report, -1);
    });
    backend.Unplug();
    listener.join();
    EXPECT_EQ(listened, HidIoResult::Failed);

    QStringList paths{QStringLiteral("stale")};
    EXPECT_TRUE(backend.Enumerate(&paths));
    EXPECT_TRUE(paths.isEmpty());
    EXPECT_FALSE(backend.Probe(vendorPath));
    EXPECT_FALSE(backend.Open(vendorPath, true, true));
    EXPECT_EQ(Send(*vendor, MakeRequest(0x01)), HidIoResult::Failed);

    // Plugged in again it is a new device: the old handle stays dead, a new one works.
    backend.Plug();
    EXPECT_TRUE(backend.Probe(vendorPath));
    EXPECT_EQ(Send(*vendor, MakeRequest(0x01)), HidIoResult::Failed);
    auto fresh = backend.Open(vendorPath, true, true);
    ASSERT_TRUE(fresh);
    FirmwareReport reply;
    EXPECT_EQ(Send(*fresh, MakeRequest(0x03, 44)), HidIoResult::Done);
    EXPECT_EQ(Receive(*fresh, &reply), HidIoResult::Done);
}

TEST(EmulatorBackend, ExchangeIsLoggedInOrderAndKeepsState) {
    EmulatorBackend backend(FirmwareVariant::A());
    auto [vendor, consumer] = OpenBoth(backend);
    const FirmwareReport write = MakeRequest(0x06, 1, 42 + 1, {5});
    const FirmwareReport read = MakeRequest(0x05, 56, 42);
    FirmwareReport reply1, reply2;
    ASSERT_EQ(Send(*vendor, write), HidIoResult::Done);
    ASSERT_EQ(Receive(*vendor, &reply1), HidIoResult::Done);
    ASSERT_EQ(Send(*vendor, read), HidIoResult::Done);
    ASSERT_EQ(Receive(*vendor, &reply2), HidIoResult::Done);
    EXPECT_EQ(reply2[kReportPayloadOffset + 1], 5);
    EXPECT_EQ(backend.Keyboard().Firmware().LightingBlock(1)[1], 5);

    const auto log = backend.Keyboard().Log();
    ASSERT_EQ(log.size(), 4u);
    const Direction directions[] = {Direction::Received, Direction::Sent, Direction::Received,
                                    Direction::Sent};
    const FirmwareReport bytes[] = {write, reply1, read, reply2};
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].direction, directions[i]);
        EXPECT_EQ(log[i].which, EmulatedInterface::Vendor);
        EXPECT_EQ(log[i].bytes, bytes[i]);
    }
    EXPECT_EQ(log[0].ToLine(), QStringLiteral("> ") + QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(write.data()), 64).toHex()));
    EXPECT_TRUE(log[1].ToLine().startsWith(QStringLiteral("< 04")));
    EXPECT_EQ(log[1].ToLine().size(), 130);
}

// Replies go to the handle that wrote the request; events to every consumer handle.
TEST(EmulatorBackend, RepliesGoToTheWriterAndEventsToEveryListener) {
    EmulatorBackend backend;
    auto [vendor1, consumer1] = OpenBoth(backend);
    auto [vendor2, consumer2] = OpenBoth(backend);
    FirmwareReport report;
    ASSERT_EQ(Send(*vendor2, MakeRequest(0x03, 44)), HidIoResult::Done);
    EXPECT_EQ(Receive(*vendor1, &report, 0), HidIoResult::TimedOut);
    EXPECT_EQ(Receive(*vendor2, &report), HidIoResult::Done);

    struct Case { const char* what; std::function<bool()> act; uint16_t code; int profile; };
    EmulatedKeyboard& keyboard = backend.Keyboard();
    const Case cases[] = {
        {"profile key", [&] { return keyboard.SwitchProfileOnKeyboard(2); }, 0x0402, 2},
        {"effect key", [&] { return keyboard.ChangeLightingOnKeyboard(); }, 0x0401, 2},
        {"busy icon", [&] { return keyboard.SendEvent(0x1811); }, 0x1811, 2},
        {"idle icon", [&] { return keyboard.SendEvent(0x1810); }, 0x1810, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.act());
        for (HidChannel* consumer : {consumer1.get(), consumer2.get()}) {
            ASSERT_EQ(Receive(*consumer, &report), HidIoResult::Done);
            EXPECT_EQ(report[0], kConsumerReportId);
            EXPECT_EQ(report[1] | (report[2] << 8), c.code);
        }
        EXPECT_EQ(Receive(*vendor1, &report, 0), HidIoResult::TimedOut);
        EXPECT_EQ(keyboard.Firmware().ActiveProfile(), c.profile);
        EXPECT_EQ(keyboard.Log().back().which, EmulatedInterface::Consumer);
    }
    EXPECT_EQ(keyboard.Firmware().LightingBlock(2)[0], 2);  // effect 1 -> 2
    EXPECT_FALSE(keyboard.SwitchProfileOnKeyboard(3));
}

TEST(EmulatorBackend, WritesTheInterfaceCannotTakeFail) {
    EmulatorBackend backend;
    auto vendor = backend.Open(PathOf(backend, 2), true, true);
    auto readOnly = backend.Open(PathOf(backend, 2), true, false);
    auto consumer = backend.Open(PathOf(backend, 1), true, true);
    auto boot = backend.Open(PathOf(backend, 0), true, true);
    FirmwareReport otherId = MakeRequest(0x01);
    otherId[0] = 0x05;
    size_t written = 0;
    EXPECT_EQ(vendor->Write(otherId.data(), 64, &written, 1000), HidIoResult::Failed);
    EXPECT_EQ(vendor->Write(otherId.data(), 63, &written, 1000), HidIoResult::Failed);
    EXPECT_EQ(Send(*readOnly, MakeRequest(0x01)), HidIoResult::Failed);
    EXPECT_EQ(Send(*consumer, MakeRequest(0x01)), HidIoResult::Failed);
    EXPECT_TRUE(backend.Keyboard().Log().empty());

    // The boot keyboard takes its LED report (behind a 0 report-ID byte) and nothing else.
    const uint8_t leds[] = {0x00, 0x02};
    EXPECT_EQ(boot->Write(leds, 2, &written, 1000), HidIoResult::Done);
    EXPECT_EQ(Send(*boot, MakeRequest(0x01)), HidIoResult::Failed);
    ASSERT_EQ(backend.Keyboard().Log().size(), 1u);
    EXPECT_EQ(backend.Keyboard().Log()[0].which, EmulatedInterface::BootKeyboard);
}

TEST(EmulatorBackend, EnterBootModeMakesTheKeyboardLeave) {
    EmulatorBackend backend;
    auto [vendor, consumer] = OpenBoth(backend);
    ASSERT_EQ(Send(*vendor, test::BootRequest()), HidIoResult::Done);
    EXPECT_FALSE(backend.Keyboard().IsPlugged());
    QStringList paths;
    backend.Enumerate(&paths);
    EXPECT_TRUE(paths.isEmpty());
    FirmwareReport report;
    EXPECT_EQ(Receive(*consumer, &report), HidIoResult::Failed);
    ASSERT_EQ(backend.Keyboard().Log().size(), 1u);
    EXPECT_EQ(backend.Keyboard().Log()[0].bytes, test::BootRequest());
}

// --- Fault switches --------------------------------------------------------------------

class EmulatorFaults : public ::testing::Test {
protected:
    EmulatorBackend backend{FirmwareVariant::B()};
    std::unique_ptr<HidChannel> vendor = backend.Open(PathOf(backend, 2), true, true);
    EmulatedKeyboard& keyboard = backend.Keyboard();
    const FirmwareReport write = MakeRequest(0x06, 1, 1, {3});  // brightness of profile 0
    uint8_t Brightness() { return keyboard.Firmware().LightingBlock(0)[1]; }
};

TEST_F(EmulatorFaults, StatusFaultsRefuseWithTheirStatus) {
    for (const auto& [fault, status] : {std::pair{EmulatorFault::StatusFF, 0xFF},
                                        std::pair{EmulatorFault::StatusFE, 0xFE}}) {
        keyboard.SetFault({fault});
        FirmwareReport reply;
        ASSERT_EQ(Send(*vendor, write), HidIoResult::Done);
        ASSERT_EQ(Receive(*vendor, &reply), HidIoResult::Done);
        EXPECT_EQ(reply[kReportStatusOffset], status);
        EXPECT_EQ(Brightness(), 4);
    }
    keyboard.SetFault({});
    FirmwareReport reply;
    ASSERT_EQ(Send(*vendor, write), HidIoResult::Done);
    ASSERT_EQ(Receive(*vendor, &reply), HidIoResult::Done);
    EXPECT_EQ(reply[kReportStatusOffset], KeyboardFirmware::kStatusOk);
    EXPECT_EQ(Brightness(), 3);
}

TEST_F(EmulatorFaults, NoReplyReceivesButNeitherActsNorAnswers) {
    keyboard.SetFault({EmulatorFault::NoReply});
    FirmwareReport reply;
    for (int attempt = 0; attempt < 4; ++attempt) {
        ASSERT_EQ(Send(*vendor, write), HidIoResult::Done);
        EXPECT_EQ(Receive(*vendor, &reply, 10), HidIoResult::TimedOut);
    }
    EXPECT_EQ(keyboard.Log().size(), 4u);
    EXPECT_EQ(Brightness(), 4);
}

TEST_F(EmulatorFaults, WriteFailureNeverReachesTheKeyboard) {
    keyboard.SetFault({EmulatorFault::WriteFailure});
    EXPECT_EQ(Send(*vendor, write), HidIoResult::Failed);
    EXPECT_EQ(keyboard.FailedWriteCount(), 1u);
    EXPECT_TRUE(keyboard.Log().empty());
    EXPECT_EQ(Brightness(), 4);
}

// The reply of a late keyboard is carried out at once but arrives after the delay, so a
// host that gave up on it finds it queued before the reply to its next request.
TEST_F(EmulatorFaults, LateReplyArrivesAfterTheDelay) {
    constexpr int kDelayMs = 300;
    keyboard.SetFault({EmulatorFault::LateReply, kDelayMs});
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_EQ(Send(*vendor, write), HidIoResult::Done);
    EXPECT_EQ(Brightness(), 3);
    FirmwareReport reply;
    const HidIoResult early = Receive(*vendor, &reply, 0);
    if (std::chrono::steady_clock::now() - sent < std::chrono::milliseconds(kDelayMs)) {
        EXPECT_EQ(early, HidIoResult::TimedOut);
        EXPECT_EQ(keyboard.Log().size(), 1u);  // the reply is not on the bus yet
    }
    ASSERT_EQ(Receive(*vendor, &reply), HidIoResult::Done);
    EXPECT_EQ(reply[kReportCommandOffset], 0x06);
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(kDelayMs));
    EXPECT_EQ(keyboard.Log().size(), 2u);
}

TEST_F(EmulatorFaults, UnplugAfterSomeReportsOfATransfer) {
    keyboard.SetFault({EmulatorFault::UnplugMidTransfer, 0, 3});
    FirmwareReport reply;
    const std::vector<uint8_t> chunk(56, 0x42);
    for (uint16_t i = 0; i < 3; ++i) {
        ASSERT_EQ(Send(*vendor, MakeRequest(0x08, 56, i * 56, chunk)), HidIoResult::Done);
        ASSERT_EQ(Receive(*vendor, &reply), HidIoResult::Done);
    }
    EXPECT_EQ(Send(*vendor, MakeRequest(0x08, 56, 3 * 56, chunk)), HidIoResult::Failed);
    EXPECT_FALSE(keyboard.IsPlugged());
    const KeyboardFirmware firmware = keyboard.Firmware();
    const auto map = firmware.KeyMap(0);
    EXPECT_EQ(map[3 * 56 - 1], 0x42);
    EXPECT_NE(map[3 * 56], 0x42);
    EXPECT_EQ(keyboard.Log().size(), 6u);

    // Plugged in again, the keyboard behaves.
    keyboard.Plug();
    auto fresh = backend.Open(PathOf(backend, 2), true, true);
    ASSERT_EQ(Send(*fresh, write), HidIoResult::Done);
    EXPECT_EQ(Receive(*fresh, &reply), HidIoResult::Done);
}

// --- Threads ---------------------------------------------------------------------------

TEST(EmulatorThreads, AbortWakesAWaitingReadAndStaysAborted) {
    EmulatorBackend backend;
    auto [vendor, consumer] = OpenBoth(backend);
    std::atomic<HidIoResult> result{HidIoResult::Done};
    std::thread reader([&, c = consumer.get()] {
        FirmwareReport report;
        result = Receive(*c, &report, -1);
    });
    consumer->Abort();
    reader.join();
    EXPECT_EQ(result, HidIoResult::Aborted);
    FirmwareReport report;
    backend.Keyboard().SendEvent(0x0401);
    EXPECT_EQ(Receive(*consumer, &report), HidIoResult::Aborted);
    EXPECT_EQ(Send(*consumer, MakeRequest(0x01)), HidIoResult::Aborted);
    // Other handles are not affected.
    EXPECT_EQ(Send(*vendor, MakeRequest(0x01)), HidIoResult::Done);
    EXPECT_EQ(Receive(*vendor, &report), HidIoResult::Done);
}

// Exchanges on several handles from several threads, with a listener reading events and
// the keyboard's own keys pressed meanwhile: every reply answers its own request.
TEST(EmulatorThreads, ConcurrentExchangesAndEventsStayApart) {
    EmulatorBackend backend;
    auto consumer = backend.Open(PathOf(backend, 1), true, false);
    std::atomic<int> events{0};
    std::thread listener([&] {
        FirmwareReport report;
        while (Receive(*consumer, &report, -1) == HidIoResult::Done) ++events;
    });
    constexpr int kThreads = 3, kRounds = 200;
    std::atomic<int> mismatches{0};
    std::vector<std::thread> hosts;
    for (int t = 0; t < kThreads; ++t) {
        hosts.emplace_back([&, t] {
            auto vendor = backend.Open(PathOf(backend, 2), true, true);
            for (int i = 0; i < kRounds; ++i) {
                const auto address = static_cast<uint16_t>(t * 512 + (i % 100) * 3);
                FirmwareReport reply;
                if (Send(*vendor, MakeRequest(0x11, 3, address, {uint8_t(t), uint8_t(i), 0})) !=
                        HidIoResult::Done ||
                    Receive(*vendor, &reply) != HidIoResult::Done ||
                    ReportAddress(reply) != address)
                    ++mismatches;
            }
        });
    }
    for (int i = 0; i < 50; ++i) backend.Keyboard().SendEvent(0x1811);
    for (auto& host : hosts) host.join();
    test::WaitFor([&] { return events >= 50; }, kWait);
    consumer->Abort();
    listener.join();
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(events, 50);
    EXPECT_EQ(backend.Keyboard().Log().size(), size_t(kThreads * kRounds * 2 + 50));
}

}  // namespace
}  // namespace vantor
