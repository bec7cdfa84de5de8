#pragma once

#include <QString>

#include <cstdint>

namespace vantor {

// What identifies one version of a file on disk: its inode, size and change times. An atomic
// replace gives a new inode, an edit in place a new size or change time, so two equal stamps
// mean the file has not changed in between.
struct FileStamp {
    bool exists = false;  // a regular file (after following symbolic links)
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    static FileStamp Of(const QString& path);

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

}  // namespace vantor
