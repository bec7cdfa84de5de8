#include "device/BootCommands.h"
#include "device/ColourCommands.h"
#include "device/CommandResult.h"
#include "device/ControlCommands.h"
#include "device/KeyMapCommands.h"
#include "device/LightingCommands.h"
#include "device/MacroAreaCommands.h"
#include "device/StatusCommands.h"
#include "support/EmulatedLink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace vantor {
namespace {

using test::EmulatedLink;

// Passes everything through, but one byte of every reply is replaced (the status byte unless
// told otherwise).
class StatusRewritingBackend : public HidBackend {
public:
    StatusRewritingBackend(std::shared_ptr<HidBackend> inner, uint8_t status, size_t offset = 7)
        : m_inner(std::move(inner)), m_status(status), m_offset(offset) {}

    bool Enumerate(QStringList* paths) override { return m_inner->Enumerate(paths); }
    bool Probe(const QString& path) override { return m_inner->Probe(path); }
    std::unique_ptr<HidChannel> Open(const QString& path, bool read, bool write) override {
        auto inner = m_inner->Open(path, read, write);
        return inner ? std::make_unique<Channel>(std::move(inner), m_status, m_offset) : nullptr;
    }

private:
    class Channel : public HidChannel {
    public:
        Channel(std::unique_ptr<HidChannel> inner, uint8_t status, size_t offset)
            : m_inner(std::move(inner)), m_status(status), m_offset(offset) {}
        HidAttributes Attributes() const override { return m_inner->Attributes(); }
        QByteArray ReportDescriptor() const override { return m_inner->ReportDescriptor(); }
        HidIoResult Read(uint8_t* buffer, size_t length, size_t* n, int timeoutMs) override {
            const HidIoResult result = m_inner->Read(buffer, length, n, timeoutMs);
            if (result == HidIoResult::Done && *n > m_offset) {
                buffer[m_offset] = m_status;
            }
            return result;
        }
        HidIoResult Write(const uint8_t* buffer, size_t length, size_t* n,
                          int timeoutMs) override {
            return m_inner->Write(buffer, length, n, timeoutMs);
        }
        HidIoResult WaitGone(int timeoutMs) override { return m_inner->WaitGone(timeoutMs); }
        void Abort() override { m_inner->Abort(); }

    private:
        std::unique_ptr<HidChannel> m_inner;
        uint8_t m_status;
        size_t m_offset;
    };

    std::shared_ptr<HidBackend> m_inner;
    uint8_t m_status;
    size_t m_offset;
};

// A keyboard whose replies come late: nothing is read back until the request has been written
// a second time, as when each reply arrives only after the host's read gave up and it sent the
// request again. Then every reply is there at once, the retry's own one queued behind the first.
class RepliesAfterRetryBackend : public HidBackend {
public:
    explicit RepliesAfterRetryBackend(std::shared_ptr<HidBackend> inner) : m_inner(std::move(inner)) {}

    bool Enumerate(QStringList* paths) override { return m_inner->Enumerate(paths); }
    bool Probe(const QString& path) override { return m_inner->Probe(path); }
    std::unique_ptr<HidChannel> Open(const QString& path, bool read, bool write) override {
        auto inner = m_inner->Open(path, read, write);
        return inner ? std::make_unique<Channel>(std::move(inner)) : nullptr;
    }

private:
    class Channel : public HidChannel {
    public:
        explicit Channel(std::unique_ptr<HidChannel> inner) : m_inner(std::move(inner)) {}
        HidAttributes Attributes() const override { return m_inner->Attributes(); }
        QByteArray ReportDescriptor() const override { return m_inner->ReportDescriptor(); }
        HidIoResult Read(uint8_t* buffer, size_t length, size_t* n, int timeoutMs) override {
            if (m_writes < 2) return HidIoResult::TimedOut;
            return m_inner->Read(buffer, length, n, timeoutMs);
        }
        HidIoResult Write(const uint8_t* buffer, size_t length, size_t* n,
                          int timeoutMs) override {
            ++m_writes;
            return m_inner->Write(buffer, length, n, timeoutMs);
        }
        HidIoResult WaitGone(int timeoutMs) override { return m_inner->WaitGone(timeoutMs); }
        void Abort() override { m_inner->Abort(); }

    private:
        std::unique_ptr<HidChannel> m_inner;
        int m_writes = 0;
    };

    std::shared_ptr<HidBackend> m_inner;
};

// A backend that fails the test when anything reaches it.
class UntouchableBackend : public HidBackend {
public:
    bool Enumerate(QStringList*) override {
        ADD_FAILURE() << "enumerated";
        return false;
    }
    std::unique_ptr<HidChannel> Open(const QString&, bool, bool) override {
        ADD_FAILURE() << "opened";
        return nullptr;
    }
    bool Probe(const QString&) override {
        ADD_FAILURE() << "probed";
        return false;
    }
};

// Every command once, with sound arguments.
const std::vector<std::pair<const char*, std::function<CommandResult(DeviceLink&)>>>& EveryCommand() {
    static const std::vector<std::pair<const char*, std::function<CommandResult(DeviceLink&)>>> commands = {
        {"Group start", [](DeviceLink& l) { return GroupStart(l); }},
        {"Group end", [](DeviceLink& l) { return GroupEnd(l); }},
        {"0x0B", [](DeviceLink& l) { return Command0B(l); }},
        {"0x0C", [](DeviceLink& l) { return Command0C(l); }},
        {"0x0D", [](DeviceLink& l) { return Command0D(l); }},
        {"0x0E", [](DeviceLink& l) { return Command0E(l); }},
        {"Read status", [](DeviceLink& l) { StatusBlock s{}; return ReadStatus(l, &s); }},
        {"Write status", [](DeviceLink& l) { return WriteStatus(l, StatusBlock{}); }},
        {"Read lighting",
         [](DeviceLink& l) { uint8_t b[56]; return ReadLighting(l, b, 56, 0); }},
        {"Write lighting",
         [](DeviceLink& l) { const uint8_t b[3] = {1, 2, 3}; return WriteLighting(l, b, 0); }},
        {"Read lighting, two-byte form",
         [](DeviceLink& l) { uint8_t b[56]; return ReadLightingTwoByte(l, 1, 2, b); }},
        {"Write lighting, two-byte form",
         [](DeviceLink& l) { return WriteLightingTwoByte(l, 1, 2); }},
        {"Read key map",
         [](DeviceLink& l) { std::vector<uint8_t> b(512); return ReadKeyMap(l, 0, b); }},
        {"Write key map",
         [](DeviceLink& l) { std::vector<uint8_t> b(512); return WriteKeyMap(l, 0, b); }},
        {"Read default key matrix",
         [](DeviceLink& l) { std::vector<uint8_t> b(512); return ReadDefaultKeyMatrix(l, b); }},
        {"Read macro area",
         [](DeviceLink& l) { std::vector<uint8_t> b(128); return ReadMacroArea(l, b); }},
        {"Write macro area",
         [](DeviceLink& l) { std::vector<uint8_t> b(128); return WriteMacroArea(l, b); }},
        {"Write key colours",
         [](DeviceLink& l) { std::vector<uint8_t> b(54); return WriteKeyColours(l, 0, b, 0); }},
        {"Read key colours",
         [](DeviceLink& l) { uint8_t b[56]; return ReadKeyColours(l, 0, 54, 0, b); }},
        {"Enter boot mode", [](DeviceLink& l) { return EnterBootMode(l); }},
    };
    return commands;
}

TEST(Transport, EveryRequestCarriesTheSumOfItsBytesFromOffset3) {
    EmulatedLink link;
    ASSERT_TRUE(link.Connected());
    ASSERT_EQ(GroupStart(link.Link()), CommandResult::Ok);
    StatusBlock status{};
    ASSERT_EQ(ReadStatus(link.Link(), &status), CommandResult::Ok);
    const auto requests = link.Requests();
    ASSERT_EQ(requests.size(), 2u);
    const uint8_t groupStart[8] = {0x04, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00};
    const uint8_t readStatus[8] = {0x04, 0x2F, 0x00, 0x03, 0x2C, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(requests[0].Bytes(), groupStart, 8), 0);
    EXPECT_EQ(std::memcmp(requests[1].Bytes(), readStatus, 8), 0);
    // Every command: the keyboard (which checks the sum and answers 0xFE when it is wrong)
    // accepts each request.
    for (const auto& [name, command] : EveryCommand()) {
        if (std::string(name) != "Enter boot mode") {
            EXPECT_EQ(command(link.Link()), CommandResult::Ok) << name;
        }
    }
}

TEST(Transport, TheReplyStatusByteDecidesTheResult) {
    const struct {
        const char* what;
        EmulatorFault fault;
        int rewrittenStatus;  // -1: as the keyboard answers
        CommandResult expected;
    } cases[] = {
        {"keyboard's own success, 0x01", EmulatorFault::None, -1, CommandResult::Ok},
        {"0x55 is success too", EmulatorFault::None, 0x55, CommandResult::Ok},
        {"0x00 is success too", EmulatorFault::None, 0x00, CommandResult::Ok},
        {"0xFF", EmulatorFault::StatusFF, -1, CommandResult::StatusFF},
        {"0xFE", EmulatorFault::StatusFE, -1, CommandResult::StatusFE},
    };
    for (const auto& c : cases) {
        EmulatedLink::Wrap wrap;
        if (c.rewrittenStatus >= 0) {
            wrap = [&](std::shared_ptr<HidBackend> inner) {
                return std::make_shared<StatusRewritingBackend>(inner, uint8_t(c.rewrittenStatus));
            };
        }
        EmulatedLink link(FirmwareVariant::B(), wrap);
        ASSERT_TRUE(link.Connected()) << c.what;
        link.Keyboard().SetFault({c.fault});
        StatusBlock status{};
        status.fill(0xAA);
        EXPECT_EQ(ReadStatus(link.Link(), &status), c.expected) << c.what;
        EXPECT_EQ(link.Requests().size(), 1u) << c.what;  // a reply, good or bad, ends it
        // Only a successful read hands out the block.
        EXPECT_EQ(status[0] == 0xAA, c.expected != CommandResult::Ok) << c.what;
    }
}

TEST(Transport, SilenceGivesZeroAfterFourIdenticalRequests) {
    EmulatedLink link;
    link.Keyboard().SetFault({EmulatorFault::NoReply});
    StatusBlock status{};
    EXPECT_EQ(ReadStatus(link.Link(), &status), CommandResult::NoReply);
    const auto requests = link.Requests();
    ASSERT_EQ(requests.size(), 4u);
    for (const CommandReport& r : requests) {
        EXPECT_EQ(std::memcmp(r.Bytes(), requests[0].Bytes(), sizeof r), 0);
    }
}

TEST(Transport, AFailedWriteEndsTheCommandWithoutRetry) {
    EmulatedLink link;
    link.Keyboard().SetFault({EmulatorFault::WriteFailure});
    EXPECT_EQ(GroupStart(link.Link()), CommandResult::WriteFailed);
    EXPECT_EQ(link.Keyboard().FailedWriteCount(), 1u);
    EXPECT_EQ(EnterBootMode(link.Link()), CommandResult::NoReply);
    EXPECT_EQ(link.Keyboard().FailedWriteCount(), 2u);
    EXPECT_TRUE(link.Requests().empty());
}

TEST(Transport, NothingIsSentWhileNoKeyboardIsOpen) {
    DeviceLink link(std::make_shared<UntouchableBackend>());
    for (const auto& [name, command] : EveryCommand()) {
        EXPECT_EQ(command(link), CommandResult::NoReply) << name;
    }
    uint8_t reply[64];
    size_t received = 99;
    const uint8_t request[64] = {0x04};
    EXPECT_EQ(link.Exchange(request, sizeof request, reply, sizeof reply, &received),
              CommandResult::NoReply);
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(link.SendOnly(request, sizeof request), CommandResult::NoReply);
}

TEST(Transport, ArgumentsOutOfRangeSendNothing) {
    EmulatedLink link;
    DeviceLink& l = link.Link();
    std::vector<uint8_t> map(512);
    std::vector<uint8_t> bytes57(57);
    std::vector<uint8_t> colours(54);
    uint8_t small[55];
    const struct {
        const char* what;
        std::function<CommandResult()> command;
    } cases[] = {
        {"Read key map, profile 3", [&] { return ReadKeyMap(l, 3, map); }},
        {"Write key map, profile 3", [&] { return WriteKeyMap(l, 3, map); }},
        {"Write key map, profile -1", [&] { return WriteKeyMap(l, -1, map); }},
        {"Write key map, short block",
         [&] { return WriteKeyMap(l, 0, std::span(map).first(511)); }},
        {"Read default key matrix, short buffer",
         [&] { return ReadDefaultKeyMatrix(l, std::span(map).first(100)); }},
        {"Write lighting, 57 bytes", [&] { return WriteLighting(l, bytes57, 0); }},
        {"Write lighting, no bytes", [&] { return WriteLighting(l, {}, 0); }},
        {"Read lighting into 55 bytes", [&] { return ReadLighting(l, small, 56, 0); }},
        {"Read lighting, count 57", [&] { return ReadLighting(l, bytes57, 57, 0); }},
        {"Write key colours, profile 3", [&] { return WriteKeyColours(l, 3, colours, 0); }},
        {"Write key colours, profile -1", [&] { return WriteKeyColours(l, -1, colours, 0); }},
        {"Write key colours past the profile's table",
         [&] { return WriteKeyColours(l, 0, colours, 153); }},
        {"Write macro area beyond 16-bit addresses",
         [&] { return WriteMacroArea(l, std::vector<uint8_t>(65537)); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.command(), CommandResult::BadArgument) << c.what;
    }
    EXPECT_TRUE(link.Requests().empty());
}

// A reply that comes after its read gave up is taken by the retry; the duplicate reply to the
// retry must not then be taken as the answer to the next command.
TEST(Transport, ALateReplyNeverAnswersTheNextCommand) {
    EmulatedLink link(FirmwareVariant::B(), [](std::shared_ptr<HidBackend> inner) {
        return std::make_shared<RepliesAfterRetryBackend>(inner);
    });
    StatusBlock status{};
    ASSERT_EQ(ReadStatus(link.Link(), &status), CommandResult::Ok);
    ASSERT_EQ(link.Requests().size(), 2u);
    ASSERT_EQ(link.Replies().size(), 2u) << "the retry's own reply waits, unread";
    uint8_t lighting[56] = {};
    ASSERT_EQ(ReadLighting(link.Link(), lighting, 56, 0), CommandResult::Ok);
    const auto replies = link.Replies();
    EXPECT_EQ(replies.back().command, kCmdReadLighting);
    EXPECT_EQ(std::memcmp(lighting, replies.back().payload, 56), 0);
    EXPECT_EQ(std::memcmp(lighting, link.Keyboard().Firmware().LightingBlock(0).data(), 42), 0);
}

// The keyboard echoes the request's header; a reply naming another command answered an
// earlier request and is passed over, while one whose command code is 0 is taken, since a
// keyboard need not echo at all.
TEST(Transport, AReplyNamingAnotherCommandIsStaleButAZeroCommandCodeIsTaken) {
    for (const auto& [command, expected] : {std::pair{uint8_t(0x00), CommandResult::Ok},
                                            std::pair{uint8_t(kCmdReadLighting), CommandResult::NoReply}}) {
        EmulatedLink link(FirmwareVariant::B(),
                          [command = command](std::shared_ptr<HidBackend> inner) {
                              return std::make_shared<StatusRewritingBackend>(inner, command, 3);
                          });
        StatusBlock status{};
        EXPECT_EQ(ReadStatus(link.Link(), &status), expected) << int(command);
        EXPECT_EQ(link.Link().StaleReplyCount(), expected == CommandResult::Ok ? 0u : 4u);
    }
}

// Whole exchanges under the lock: each thread only ever gets the reply to its own request.
TEST(Transport, ExchangesFromTwoThreadsNeverTakeEachOthersReplies) {
    EmulatedLink link;
    const auto firmware = link.Keyboard().Firmware();
    std::atomic<int> wrong{0};
    std::thread statusReader([&] {
        for (int i = 0; i < 200; ++i) {
            StatusBlock status{};
            if (ReadStatus(link.Link(), &status) != CommandResult::Ok ||
                !std::equal(status.begin(), status.end(), firmware.StatusBlock().begin())) {
                ++wrong;
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        uint8_t lighting[56] = {};
        if (ReadLighting(link.Link(), lighting, 56, 42) != CommandResult::Ok ||
            std::memcmp(lighting, firmware.LightingBlock(1).data(), 42) != 0) {
            ++wrong;
        }
    }
    statusReader.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(Transport, AKeyboardLeavingMidTransferEndsItAtTheFailedChunk) {
    EmulatedLink link;
    FaultSwitch unplug;
    unplug.fault = EmulatorFault::UnplugMidTransfer;
    unplug.reportsBeforeUnplug = 3;
    link.Keyboard().SetFault(unplug);
    std::vector<uint8_t> map(512, 0x5A);
    EXPECT_EQ(WriteKeyMap(link.Link(), 1, map), CommandResult::WriteFailed);
    EXPECT_EQ(link.Requests().size(), 3u);
    const KeyboardFirmware firmware = link.Keyboard().Firmware();
    const auto stored = firmware.KeyMap(1);
    EXPECT_EQ(stored[167], 0x5A);  // the three chunks that went through stay written
    EXPECT_NE(stored[168], 0x5A);
}

}  // namespace
}  // namespace vantor
