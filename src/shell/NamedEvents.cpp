#include "shell/NamedEvents.h"

#include <QFile>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vantor {

namespace {

QByteArray SemaphoreName(const QString& name) { return QFile::encodeName(u'/' + name); }

}  // namespace

NamedEvents::NamedEvents(QString prefix, int count) : m_prefix(std::move(prefix)), m_count(count) {}

NamedEvents::~NamedEvents() { Close(); }

QString NamedEvents::Name(const QString& prefix, int n) {
    return QStringLiteral("%1Main_%2").arg(prefix).arg(n, 2, 10, QChar(u'0'));
}

QString NamedEvents::Name(int n) const { return Name(m_prefix, n); }

int NamedEvents::Create() {
    Close();
    CreateEach();
    return int(m_events.size());
}

void NamedEvents::CreateEach() {
    for (int n = 1; n <= m_count; ++n) {
        Event event{Name(n), SEM_FAILED};
        event.semaphore = ::sem_open(SemaphoreName(event.name).constData(), O_CREAT, 0600, 0);
        if (event.semaphore != SEM_FAILED) m_events.push_back(std::move(event));
    }
}

void NamedEvents::CreateInBackground() {
    Close();
    // Only this thread touches the list until it is joined. It runs at the lowest priority:
    // nothing in the program waits for the events, and other programs only once the window
    // answers them, so the start does not share the processor with it.
    m_creation = std::thread([this] {
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), kLowestPriority);
        CreateEach();
    });
}

void NamedEvents::WaitUntilCreated() const {
    if (m_creation.joinable()) m_creation.join();
}

void NamedEvents::Close() {
    WaitUntilCreated();
    for (Event& event : m_events) {
        ::sem_close(event.semaphore);
        ::sem_unlink(SemaphoreName(event.name).constData());
    }
    m_events.clear();
}

int NamedEvents::CreatedCount() const {
    WaitUntilCreated();
    return int(m_events.size());
}

}  // namespace vantor
