#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace vantor {

// One message of the emulator's socket protocol. On the wire each message is a frame: a
// 32-bit little-endian body length, then the body (QDataStream of the fields below).
//
// A connection either asks one-off questions (enumerate, control), watches one interface
// after a present Probe, or, after Open, is one open handle on one interface: it writes
// reports and the server pushes the input reports of that handle (Input) as they arrive, and
// ChannelFailed when the interface goes.
// A reply carries the id of its request.
enum class SimOp : uint8_t {
    Enumerate = 1,      // -> EnumerateReply: strings = paths
    Probe = 2,          // strings[0] = path -> ProbeReply: numbers[0] = 1 when present. A
                        //    present answer makes the connection a watch on the interface:
                        //    nothing more is sent on it, and the server closes it when the
                        //    interface goes, so the client checks presence without asking.
    Open = 3,           // strings[0] = path, numbers = {read, write}
                        // -> OpenReply: numbers = {ok, vid, pid, version}, bytes = descriptor
    Write = 4,          // bytes = report -> WriteReply: numbers = {HidIoResult, bytes written}
    Control = 5,        // strings = action and arguments -> ControlReply: numbers[0] = ok,
                        //    strings[0] = text
    EnumerateReply = 65,
    ProbeReply = 66,
    OpenReply = 67,
    WriteReply = 68,
    ControlReply = 69,
    Input = 96,          // bytes = one input report of the open handle
    ChannelFailed = 97,  // the interface is gone; the handle is dead
};

struct SimMessage {
    SimMessage() = default;
    explicit SimMessage(SimOp op_, uint32_t id_ = 0) : op(op_), id(id_) {}

    SimOp op = SimOp::Enumerate;
    uint32_t id = 0;
    QStringList strings;
    QByteArray bytes;
    QList<int32_t> numbers;

    // Missing fields, at either end, read as 0 and "".
    int32_t Number(int i) const { return numbers.value(i); }
    QString String(int i) const { return strings.value(i); }
};

// Frames larger than this are a protocol error. Room for the log of a long session: each
// report is one line of about 260 bytes.
inline constexpr uint32_t kMaxSimFrame = 64u << 20;

QByteArray EncodeSimFrame(const SimMessage& message);

// Splits a byte stream into messages.
class SimFrameReader {
public:
    void Append(const QByteArray& bytes) { m_buffer.append(bytes); }
    // The next complete message, or nothing when more bytes are needed. A frame that is too
    // large or does not decode sets Broken(): the stream cannot be trusted any further.
    std::optional<SimMessage> Next();
    bool Broken() const { return m_broken; }

private:
    QByteArray m_buffer;
    bool m_broken = false;
};

}  // namespace vantor
