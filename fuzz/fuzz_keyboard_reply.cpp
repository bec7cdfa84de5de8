// The keyboard's replies are outside input: a device that claims the vendor interface may send
// anything. The input is the sequence of reads the transport sees: each record is a control
// byte (what the read gives, and whether it echoes the request's header so that it passes as
// the reply) and the reply's bytes. The commands that read the keyboard run over it; whatever
// comes, every copy stays inside its buffer and every result is one the callers know.

#include "device/ColourCommands.h"
#include "device/CommandResult.h"
#include "device/DeviceLink.h"
#include "device/KeyMapCommands.h"
#include "device/LightingCommands.h"
#include "device/MacroAreaCommands.h"
#include "device/StatusCommands.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace vantor;

// The vendor interface's descriptor: report 4, 63 bytes each way.
const uint8_t kVendorDescriptor[] = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04,
                                     0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F,
                                     0x09, 0x01, 0x81, 0x02, 0x09, 0x02, 0x91, 0x02, 0xC0};

struct Replies {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t at = 0;
    uint8_t lastRequest[DeviceLink::kReportSize] = {};
};

class ReplyChannel : public HidChannel {
public:
    explicit ReplyChannel(Replies& replies) : m_replies(replies) {}

    HidAttributes Attributes() const override { return {0x0C45, 0x5004, 0x0200}; }
    QByteArray ReportDescriptor() const override {
        return QByteArray(reinterpret_cast<const char*>(kVendorDescriptor),
                          sizeof kVendorDescriptor);
    }
    HidIoResult Read(uint8_t* buffer, size_t length, size_t* bytesRead, int timeoutMs) override {
        *bytesRead = 0;
        Replies& r = m_replies;
        if (r.at >= r.size)
            return HidIoResult::TimedOut;
        const uint8_t control = r.data[r.at];
        // A read that must not wait (the drain before a request) sees only replies marked as
        // already queued.
        if (timeoutMs == 0 && !(control & 0x40))
            return HidIoResult::TimedOut;
        ++r.at;
        switch (control & 0x07) {
            case 0:
                return HidIoResult::TimedOut;
            case 1:
                return HidIoResult::Failed;
            default:
                break;
        }
        const size_t wanted = (control & 0x08) ? DeviceLink::kReportSize : 1 + (control >> 4);
        const size_t n = std::min({wanted, length, r.size - r.at});
        std::memcpy(buffer, r.data + r.at, n);
        r.at += n;
        if ((control & 0x80) && length >= 7) {
            std::memcpy(buffer + 3, r.lastRequest + 3, 4);  // the header a reply echoes
        }
        *bytesRead = std::min(length, (control & 0x08) ? DeviceLink::kReportSize : n);
        return HidIoResult::Done;
    }
    HidIoResult Write(const uint8_t* buffer, size_t length, size_t* bytesWritten, int) override {
        std::memcpy(m_replies.lastRequest, buffer, std::min(length, sizeof m_replies.lastRequest));
        *bytesWritten = length;
        return HidIoResult::Done;
    }
    HidIoResult WaitGone(int) override { return HidIoResult::TimedOut; }
    void Abort() override {}

private:
    Replies& m_replies;
};

class ReplyBackend : public HidBackend {
public:
    explicit ReplyBackend(Replies& replies) : m_replies(replies) {}
    bool Enumerate(QStringList* paths) override {
        *paths = {QStringLiteral("fuzz/vid_0c45&pid_5004")};
        return true;
    }
    std::unique_ptr<HidChannel> Open(const QString&, bool, bool) override {
        return std::make_unique<ReplyChannel>(m_replies);
    }
    bool Probe(const QString&) override { return true; }

private:
    Replies& m_replies;
};

void ExpectKnown(CommandResult result) {
    switch (result) {
        case CommandResult::Ok:
        case CommandResult::NoReply:
        case CommandResult::WriteFailed:
        case CommandResult::StatusFF:
        case CommandResult::StatusFE:
            return;
        default:
            std::abort();  // nothing here is refused for its arguments
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Replies replies;
    replies.data = data;
    replies.size = size;
    DeviceLink link(std::make_shared<ReplyBackend>(replies));
    if (!link.VendorDevice().Open(QStringLiteral("fuzz/vid_0c45&pid_5004"), true, true, true,
                                  false)) {
        std::abort();
    }
    link.SetTimeouts({0, 0, 0});
    link.SetVariant(size > 0 && (data[0] & 0x20) ? kVariantB : kVariantA);
    link.SetDeviceOpen(true);

    StatusBlock status{};
    const CommandResult statusResult = ReadStatus(link, &status);
    ExpectKnown(statusResult);
    std::vector<uint8_t> buffer(kLightingReplySize);
    ExpectKnown(ReadLighting(link, buffer, kLightingReplySize, kLightingBlockSize));
    ExpectKnown(ReadKeyColours(link, 1, kColourPieceSize, 18, buffer));
    std::vector<uint8_t> keyMap(link.Variant().keyMapBlockSize);
    ExpectKnown(ReadKeyMap(link, 2, keyMap));
    ExpectKnown(ReadDefaultKeyMatrix(link, keyMap));
    if (statusResult == CommandResult::Ok) {
        std::vector<uint8_t> area(size_t(status[kStatusMacroCapacity]) * kMacroCapacityUnit);
        ExpectKnown(ReadMacroArea(link, area));
    }
    return 0;
}
