#pragma once

// While it lives, writes of this process fail past a number of bytes per file, as on a full
// disk: write() moves what fits and then fails with EFBIG (SIGXFSZ is ignored meanwhile).
// For tests that check a failed write leaves the old file intact.

#include <csignal>

#include <sys/resource.h>

namespace vantor::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved {};
    void (*m_savedHandler)(int) = nullptr;
};

}  // namespace vantor::test
