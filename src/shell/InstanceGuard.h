#pragma once

#include <QString>

namespace vantor {

// The single-instance lock: an exclusive lock on the file "QX20M44B.lock" in the user's
// runtime folder. The kernel drops it when the holder ends, however it ends, so a crashed
// instance never leaves a stale lock behind. Whoever holds it owns the instance socket too.
class InstanceGuard {
public:
    explicit InstanceGuard(QString runtimeFolder);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // Takes the lock without waiting. False when another instance holds it, or when the runtime
    // folder cannot hold the lock file (Error() says which).
    bool TryLock();
    void Release();
    bool IsHeld() const { return m_fd >= 0; }
    QString Error() const { return m_error; }

    QString LockFilePath() const;
    // The local socket a second start talks to.
    QString ServerPath() const;

private:
    QString m_runtimeFolder;
    int m_fd = -1;
    QString m_error;
};

}  // namespace vantor
