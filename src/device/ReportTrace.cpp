#include "device/ReportTrace.h"

#include <QByteArray>

namespace vantor {

ReportTrace::ReportTrace(Sink sink) : m_sink(std::move(sink)) {}

void ReportTrace::Sent(const uint8_t* data, size_t length) {
    const QString line = Line(true, data, length);
    std::lock_guard lock(m_mutex);
    m_sink(line);
}

void ReportTrace::Received(const uint8_t* data, size_t length) {
    const QString line = Line(false, data, length);
    std::lock_guard lock(m_mutex);
    m_sink(line);
}

QString ReportTrace::Line(bool sent, const uint8_t* data, size_t length) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(length));
    return QLatin1String(sent ? "> " : "< ") + QString::fromLatin1(bytes.toHex());
}

}  // namespace vantor
