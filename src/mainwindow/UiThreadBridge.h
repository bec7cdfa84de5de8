#pragma once

#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace vantor {

// How the device threads (presence monitor, event listener) reach the window: work handed to
// the thread of a context object (the window), either sent (the caller waits until it has
// run) or posted (the caller goes on at once). Work from the context's own thread runs there
// and then.
//
// While keyboard work runs (the `busy` test holds: an Apply, an import or Default runs off the
// window's thread with the store lock held, and the window's thread turns a local event loop
// meanwhile), handed work does not run; it waits, in the order it came, until the busy period
// ends, and then runs before anything handed later. A sent call therefore returns only once the
// keyboard work has ended and its own work has run: a keyboard that leaves during an Apply
// makes the Apply fail at its next exchange, and the removal is handled right after it. The
// device thread that sent it waits that long; nothing the keyboard work does waits for a device
// thread, so this cannot deadlock.
//
// Closing (the program's exit) drops every piece of work not yet run and releases every
// sender waiting for it; from then on nothing is handed over and senders return at once. The
// closed flag is read from the device threads; Close itself runs on the context's thread.
//
// Handed work keeps its place among everything else queued to the context's thread, as a
// queued call would: work handed after something was queued there runs after it (the window's
// hide at the end of its setup, then the first sight's open).
//
// The work crosses threads through the bridge's own locked inbox; the context's thread is
// only woken through Qt. So the hand-over is plain to ThreadSanitizer.
//
// As with any blocking hand-over, a sender from another thread waits until the context's
// thread turns its event loop (or the bridge closes): that thread must not wait for a device
// thread that may be sending.
class UiThreadBridge : public QObject {
    Q_OBJECT

public:
    // How often, while work waits, the bridge looks whether the keyboard work has ended.
    static constexpr int kBusyRetryMs = 20;

    // Made on the context's thread.
    UiThreadBridge(QObject& context, std::function<bool()> busy);
    ~UiThreadBridge() override;
    UiThreadBridge(const UiThreadBridge&) = delete;
    UiThreadBridge& operator=(const UiThreadBridge&) = delete;

    // Runs `work` on the context's thread; from another thread, returns once it has run or was
    // dropped by closing.
    void Send(std::function<void()> work);
    // Runs `work` on the context's thread; returns at once.
    void Post(std::function<void()> work);

    // Drops what waits and releases its senders; later work is ignored. The context's thread.
    void Close();
    bool IsClosed() const { return m_closed.load(); }
    // How many pieces of work wait for the keyboard work to end (the context's thread).
    size_t Waiting() const { return m_waiting.size(); }

private:
    // From another thread: into the inbox, and the context's thread woken. False once closed.
    // Both out of line so that the thread check can name where the wake-up enters Qt: it
    // names a call into Qt by the function that called the caller (tests/tsan-suppressions.txt).
    [[gnu::noinline]] bool Hand(std::function<void()> work);
    // From another thread: one queued call of TakeInbox, the only thing that crosses through Qt.
    [[gnu::noinline]] void Wake();
    // On the context's thread: the oldest piece of work in the inbox.
    Q_INVOKABLE void TakeInbox();
    // On the context's thread: runs `work` now, or queues it behind what already waits.
    void RunOrQueue(std::function<void()> work);
    void RunQueued();

    QObject& m_context;
    std::function<bool()> m_busy;
    std::atomic<bool> m_closed{false};
    std::mutex m_inboxMutex;
    std::deque<std::function<void()>> m_inbox;
    QTimer m_retry;
    // Touched only on the context's thread.
    std::deque<std::function<void()>> m_waiting;
};

}  // namespace vantor
