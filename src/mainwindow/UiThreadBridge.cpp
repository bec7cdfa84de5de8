#include "mainwindow/UiThreadBridge.h"

#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <memory>

namespace vantor {

namespace {

// What a waiting sender shares with the work it sent.
struct Completion {
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;

    void Finish() {
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        changed.notify_all();
    }
};

// Held by every copy of a sent piece of work; when the last copy goes (the work has run, or it
// was dropped unrun by closing), the sender is released.
struct ReleaseSender {
    explicit ReleaseSender(std::shared_ptr<Completion> sender) : completion(std::move(sender)) {}
    ReleaseSender(const ReleaseSender&) = delete;
    ReleaseSender& operator=(const ReleaseSender&) = delete;
    ~ReleaseSender() { completion->Finish(); }

    std::shared_ptr<Completion> completion;
};

}  // namespace

UiThreadBridge::UiThreadBridge(QObject& context, std::function<bool()> busy)
    : m_context(context), m_busy(std::move(busy)) {
    m_retry.setInterval(kBusyRetryMs);
    QObject::connect(&m_retry, &QTimer::timeout, &m_context, [this] { RunQueued(); });
}

UiThreadBridge::~UiThreadBridge() { Close(); }

void UiThreadBridge::Send(std::function<void()> work) {
    if (IsClosed()) return;
    if (QThread::currentThread() == m_context.thread()) {
        RunOrQueue(std::move(work));
        return;
    }
    auto completion = std::make_shared<Completion>();
    {
        auto release = std::make_shared<ReleaseSender>(completion);
        if (!Hand([work = std::move(work), release] { work(); })) return;
    }
    std::unique_lock lock(completion->mutex);
    completion->changed.wait(lock, [&] { return completion->finished; });
}

void UiThreadBridge::Post(std::function<void()> work) {
    if (IsClosed()) return;
    if (QThread::currentThread() == m_context.thread()) {
        RunOrQueue(std::move(work));
        return;
    }
    Hand(std::move(work));
}

bool UiThreadBridge::Hand(std::function<void()> work) {
    std::lock_guard lock(m_inboxMutex);
    if (IsClosed()) return false;
    m_inbox.push_back(std::move(work));
    // One call per piece of work, queued in the order the work entered the inbox: each piece
    // takes the place in the thread's queue that a queued call made at that moment would have.
    Wake();
    return true;
}

void UiThreadBridge::Wake() {
    // Invoked by name, so nothing of ours crosses with the call.
    QMetaObject::invokeMethod(this, "TakeInbox", Qt::QueuedConnection);
}

void UiThreadBridge::TakeInbox() {
    std::function<void()> arrived;
    {
        std::lock_guard lock(m_inboxMutex);
        if (m_inbox.empty()) return;  // dropped by closing
        arrived = std::move(m_inbox.front());
        m_inbox.pop_front();
    }
    RunOrQueue(std::move(arrived));
}

void UiThreadBridge::Close() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(m_inboxMutex);
        m_closed.store(true);
        dropped.swap(m_inbox);
    }
    m_retry.stop();
    // Dropping the work releases the senders among it.
    for (std::function<void()>& work : m_waiting) dropped.push_back(std::move(work));
    m_waiting.clear();
}

void UiThreadBridge::RunOrQueue(std::function<void()> work) {
    if (IsClosed()) return;
    if (!m_waiting.empty() || m_busy()) {
        m_waiting.push_back(std::move(work));
        if (!m_retry.isActive()) m_retry.start();
        return;
    }
    work();
}

void UiThreadBridge::RunQueued() {
    while (!m_waiting.empty() && !IsClosed() && !m_busy()) {
        std::function<void()> work = std::move(m_waiting.front());
        m_waiting.pop_front();
        work();
    }
    if (m_waiting.empty() || IsClosed()) m_retry.stop();
}

}  // namespace vantor
