#include "device/SimMessage.h"

#include <QDataStream>
#include <QIODevice>

namespace vantor {

namespace {

constexpr auto kStreamVersion = QDataStream::Qt_6_0;

}  // namespace

QByteArray EncodeSimFrame(const SimMessage& message) {
    QByteArray body;
    {
        QDataStream out(&body, QIODevice::WriteOnly);
        out.setVersion(kStreamVersion);
        out << static_cast<quint8>(message.op) << static_cast<quint32>(message.id)
            << message.strings << message.bytes << message.numbers;
    }
    const auto length = static_cast<uint32_t>(body.size());
    QByteArray frame(4, '\0');
    for (int i = 0; i < 4; ++i) frame[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return frame + body;
}

std::optional<SimMessage> SimFrameReader::Next() {
    if (m_broken || m_buffer.size() < 4) return std::nullopt;
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) length |= uint32_t(static_cast<uint8_t>(m_buffer[i])) << (8 * i);
    if (length > kMaxSimFrame) {
        m_broken = true;
        return std::nullopt;
    }
    if (static_cast<uint32_t>(m_buffer.size()) < 4 + length) return std::nullopt;

    const QByteArray body = m_buffer.mid(4, length);
    m_buffer.remove(0, 4 + length);
    QDataStream in(body);
    in.setVersion(kStreamVersion);
    quint8 op = 0;
    quint32 id = 0;
    SimMessage message;
    in >> op >> id >> message.strings >> message.bytes >> message.numbers;
    if (in.status() != QDataStream::Ok || !in.atEnd()) {
        m_broken = true;
        return std::nullopt;
    }
    message.op = static_cast<SimOp>(op);
    message.id = id;
    return message;
}

}  // namespace vantor
