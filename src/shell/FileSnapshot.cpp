#include "shell/FileSnapshot.h"

#include <QFile>

#include <algorithm>
#include <ctime>

namespace vantor {

namespace {

int64_t NowNs() {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

std::optional<QByteArray> FileSnapshot::ReadRegularFile(const QString& path, qsizetype maxSize) {
    if (!FileStamp::Of(path).exists) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(maxSize + 1);
    if (bytes.size() > maxSize || file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

bool FileSnapshot::Refresh(const QString& path, qsizetype maxSize) {
    // The stamp is taken before the bytes are read: should the file change in between, the
    // snapshot holds newer bytes under an older stamp, and the next refresh reads it again.
    const FileStamp stamp = FileStamp::Of(path);
    if (m_loaded && stamp == m_stamp && (m_trusted || !stamp.exists)) {
        return false;
    }
    std::optional<QByteArray> bytes = stamp.exists ? ReadRegularFile(path, maxSize) : std::nullopt;
    const bool changed = !m_loaded || m_exists != bytes.has_value() ||
                         (bytes && *bytes != m_bytes);
    m_loaded = true;
    m_exists = bytes.has_value();
    m_bytes = bytes ? std::move(*bytes) : QByteArray();
    m_stamp = stamp;
    m_trusted = stamp.exists &&
                NowNs() - std::max(stamp.modifiedNs, stamp.changedNs) > kRecentWindowNs;
    return changed;
}

}  // namespace vantor
