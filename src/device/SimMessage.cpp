#include "device/SimMessage.h"

#include <QDataStream>
#include <QIODevice>

namespace vantor {

namespace {

constexpr auto kStreamVersion = QDataStream::Qt_6_0;

// A list as QDataStream writes it: a 32-bit count, then the elements. The count comes from the
// other process, and QDataStream reserves room for that many elements before reading one, so it
// is held against the bytes left first: every element here takes at least four.
template <typename T>
bool ReadList(QDataStream& in, QList<T>* list) {
    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count > in.device()->bytesAvailable() / 4) return false;
    list->reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i) {
        T element;
        in >> element;
        if (in.status() != QDataStream::Ok) return false;
        list->append(std::move(element));
    }
    return true;
}

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
    in >> op >> id;
    const bool whole = ReadList(in, &message.strings) && (in >> message.bytes, true) &&
                       ReadList(in, &message.numbers);
    if (!whole || in.status() != QDataStream::Ok || !in.atEnd()) {
        m_broken = true;
        return std::nullopt;
    }
    message.op = static_cast<SimOp>(op);
    message.id = id;
    return message;
}

}  // namespace vantor
