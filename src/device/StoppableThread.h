#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vantor {

// A device thread that can be asked to stop: its pauses wait on the stop request rather than
// sleep, so a stop ends them at once. The body checks Requested() between steps.
class StoppableThread {
public:
    ~StoppableThread() { Stop(); }

    // Runs body on a new thread; nothing when one is already running.
    void Start(std::function<void()> body) {
        if (m_thread.joinable()) {
            return;
        }
        m_stop.store(false);
        m_running.store(true);
        m_thread = std::thread([this, body = std::move(body)] {
            body();
            m_running.store(false);
        });
    }

    void RequestStop() {
        {
            std::lock_guard lock(m_mutex);
            m_stop.store(true);
        }
        m_wake.notify_all();
    }

    // Asks for a stop and waits until the body has returned.
    void Stop() {
        RequestStop();
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    bool Requested() const { return m_stop.load(); }
    // False once the body has returned, by itself or after a stop.
    bool IsRunning() const { return m_running.load(); }

    // Pauses for ms milliseconds; false when a stop was asked for (before or during the pause).
    bool Pause(int ms) {
        std::unique_lock lock(m_mutex);
        return !m_wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stop.load(); });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::thread m_thread;
};

}  // namespace vantor
