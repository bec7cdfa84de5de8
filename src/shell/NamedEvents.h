#pragma once

#include <QString>

#include <thread>
#include <vector>

#include <semaphore.h>

namespace vantor {

// The program's named events: POSIX named semaphores "Vantor_Event_Main_01" …
// "Vantor_Event_Main_212" ("%sMain_%02d" of the prefix and 1..count), initially not signalled.
// They exist while the program runs: created at start, closed and removed at exit. Nothing in
// the program waits on them; other programs may look for them.
class NamedEvents {
public:
    static constexpr int kCount = 212;
    static constexpr char16_t kPrefix[] = u"Vantor_Event_";

    explicit NamedEvents(QString prefix = QString::fromUtf16(kPrefix), int count = kCount);
    ~NamedEvents();
    NamedEvents(const NamedEvents&) = delete;
    NamedEvents& operator=(const NamedEvents&) = delete;

    // Creates every event; a name that cannot be made (another user's, say) is skipped. The
    // number created.
    int Create();
    // The same on a thread of its own at the lowest priority, so the program's start goes on
    // while two hundred files are made. WaitUntilCreated(), Close(), CreatedCount() and the
    // destructor wait for it.
    void CreateInBackground();
    void WaitUntilCreated() const;
    // Closes and removes the events this object created; the others are left alone.
    void Close();
    int CreatedCount() const;

    // The name of event n (1-based), without the leading '/' of the semaphore name.
    QString Name(int n) const;
    static QString Name(const QString& prefix, int n);

private:
    struct Event {
        QString name;
        sem_t* semaphore = SEM_FAILED;
    };

    void CreateEach();
    static constexpr int kLowestPriority = 19;

    QString m_prefix;
    int m_count;
    std::vector<Event> m_events;
    mutable std::thread m_creation;
};

}  // namespace vantor
