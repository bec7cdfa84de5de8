#include "shell/InstanceGuard.h"

#include "shell/InstanceMessages.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vantor {

namespace {

QString ErrnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

}  // namespace

InstanceGuard::InstanceGuard(QString runtimeFolder) : m_runtimeFolder(std::move(runtimeFolder)) {}

InstanceGuard::~InstanceGuard() { Release(); }

QString InstanceGuard::LockFilePath() const {
    return m_runtimeFolder + u'/' + QString::fromUtf16(kInstanceName) + QStringLiteral(".lock");
}

QString InstanceGuard::ServerPath() const {
    return m_runtimeFolder + u'/' + QString::fromUtf16(kInstanceName);
}

bool InstanceGuard::TryLock() {
    if (IsHeld()) return true;
    m_error.clear();
    // The runtime folder is private to the user; make it so when we are the ones creating it.
    if (!QDir(m_runtimeFolder).exists()) {
        QDir().mkpath(m_runtimeFolder);
        QFile::setPermissions(m_runtimeFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray path = QFile::encodeName(LockFilePath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = QStringLiteral("cannot open %1: %2").arg(LockFilePath(), ErrnoText());
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) {
            m_error = QStringLiteral("cannot lock %1: %2").arg(LockFilePath(), ErrnoText());
        }
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void InstanceGuard::Release() {
    if (m_fd < 0) return;
    // The file stays: removing it would let a third start lock a new file while a second one
    // still waits on the old one.
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

}  // namespace vantor
