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
    // Sized by the file rather than the limit: a buffer of the limit's size (megabytes) for a
    // file of a few kilobytes costs more in page faults than the read. One byte past the size
    // shows a file that grew meanwhile; the rest of it is read on, up to the limit.
    const qint64 size = file.size();
    if (size > maxSize) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(size + 1);
    while (bytes.size() <= maxSize && file.error() == QFileDevice::NoError) {
        const QByteArray more = file.read(std::min<qint64>(64 * 1024, maxSize + 1 - bytes.size()));
        if (more.isEmpty()) {
            break;
        }
        bytes += more;
    }
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
