#pragma once

#include "profiles/ProfileData.h"

#include <mutex>

namespace vantor {

// A profile store with its lock: the working store that the windows edit and that mirrors the
// working profile file, or the download snapshot copied from it. The lock is re-entrant
// because the download takes it again inside its callers; where both stores are locked the
// working store's lock is taken first. The program gives its two stores the process-wide
// store and snapshot locks; a store made without one has a lock of its own.
class ProfileStore {
public:
    ProfileStore() : m_lock(&m_ownLock), m_data(ProfileData::Default()) {}
    explicit ProfileStore(std::recursive_mutex& lock)
        : m_lock(&lock), m_data(ProfileData::Default()) {}
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    std::recursive_mutex& Lock() const { return *m_lock; }
    // The contents; read and change them only while holding Lock().
    ProfileData& Data() { return m_data; }
    const ProfileData& Data() const { return m_data; }

    // Installs new contents in one locked step (the old ones are freed after the lock).
    void Replace(ProfileData data) {
        {
            std::lock_guard guard(*m_lock);
            std::swap(m_data, data);
        }
    }
    void Clear() {
        std::lock_guard guard(*m_lock);
        m_data.Clear();
    }

private:
    std::recursive_mutex m_ownLock;
    std::recursive_mutex* m_lock;
    ProfileData m_data;
};

}  // namespace vantor
