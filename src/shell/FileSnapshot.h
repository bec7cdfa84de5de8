#pragma once

#include "shell/FileStamp.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vantor {

// The last read contents of one file, read again only when the file may have changed.
//
// A stamp alone can miss an edit: file times move in coarse clock ticks, so two same-size
// writes within one tick leave inode, size and times all equal. While a file's times are
// that recent, each refresh reads it and compares the bytes; once they are older than
// kRecentWindowNs (wider than any file system's time resolution) the stamp is trusted and a
// refresh costs one stat().
class FileSnapshot {
public:
    static constexpr int64_t kRecentWindowNs = 3'000'000'000;

    // Brings the snapshot up to date; true when the contents (or the file's presence)
    // differ from those of the previous refresh. A file that cannot be read, is not a regular
    // file or is larger than maxSize counts as missing.
    bool Refresh(const QString& path, qsizetype maxSize);

    // The whole of a regular file, or nothing when it is missing, unreadable, not a regular
    // file or larger than maxSize.
    static std::optional<QByteArray> ReadRegularFile(const QString& path, qsizetype maxSize);

    bool Exists() const { return m_exists; }
    const QByteArray& Bytes() const { return m_bytes; }

private:
    bool m_loaded = false;
    bool m_exists = false;
    bool m_trusted = false;
    FileStamp m_stamp;
    QByteArray m_bytes;
};

}  // namespace vantor
