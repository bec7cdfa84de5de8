#include "shell/FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace vantor {

FileStamp FileStamp::Of(const QString& path) {
    FileStamp stamp;
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 ||
        !S_ISREG(info.st_mode)) {
        return stamp;
    }
    stamp.exists = true;
    stamp.device = static_cast<uint64_t>(info.st_dev);
    stamp.inode = static_cast<uint64_t>(info.st_ino);
    stamp.size = static_cast<int64_t>(info.st_size);
    stamp.modifiedNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changedNs = static_cast<int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return stamp;
}

}  // namespace vantor
