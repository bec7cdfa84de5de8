#include "device/EventListener.h"

#include "device/InterfaceMatch.h"

namespace vantor {

EventListener::EventListener(std::shared_ptr<HidBackend> backend, DeviceState& state,
                             DeviceEvents& events, int retryMs)
    : m_device(std::move(backend)), m_state(state), m_events(events), m_retryMs(retryMs) {}

EventListener::~EventListener() { Stop(); }

void EventListener::Start() {
    m_thread.Start([this] { Run(); });
}

void EventListener::Stop() {
    m_thread.RequestStop();
    // Wakes a read waiting for the next event. The thread checks the stop request after each
    // open, so it cannot open again and wait after this.
    m_device.Close();
    m_thread.Stop();
    m_device.Close();
    JoinIconThreads(true);
}

uint16_t EventListener::EventCode(const std::vector<HidInputItem>& items) {
    if (items.empty() || items.front().usages.empty()) {
        return 0;
    }
    return items.front().usages.front();
}

void EventListener::Run() {
    while (!m_thread.Requested()) {
        if (!m_device.Enumerate()) {
            return;
        }
        while (const auto path = m_device.NextPath()) {
            if (m_thread.Requested()) {
                break;
            }
            if (IsKeyboardPath(*path) &&
                OpenConsumerInterface(m_device, *path) == OpenOutcome::Matched) {
                Listen();
                m_device.Close();
                break;
            }
        }
        m_device.FreePaths();
        JoinIconThreads(false);
        if (!m_thread.Pause(m_retryMs)) {
            return;
        }
    }
}

void EventListener::Listen() {
    const std::shared_ptr<std::vector<uint8_t>> report = m_device.InputReport();
    m_listening.store(true);
    while (!m_thread.Requested()) {
        size_t got = 0;
        if (!m_device.Read(report->data(), report->size(), &got, -1)) {
            break;
        }
        if (m_device.ParseInput(report->data(), got)) {
            Handle(EventCode(m_device.InputItems()));
        }
    }
    m_listening.store(false);
}

void EventListener::Handle(uint16_t code) {
    switch (code) {
    case kEventLightingChanged:
        m_events.LightingChanged();
        break;
    case kEventProfileSwitched:
        m_events.ProfileSwitched();
        break;
    case kEventIconSpecial:
        StartIconThread(true);
        break;
    case kEventIconBack:
        StartIconThread(false);
        break;
    default:
        break;  // 0x1801-0x1804, 0 and every other code: nothing to do
    }
}

// The icon threads are short and few; each finished one is joined on the next event or pass,
// and Stop joins the rest, so none outlives the listener.
void EventListener::StartIconThread(bool special) {
    JoinIconThreads(false);
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([this, special, done] {
        {
            std::lock_guard busy(m_iconBusy);
            m_events.SetTrayState(true, special ? kTrayIconKeyboardEvent : m_state.BaseTrayIcon());
        }
        done->store(true);
    });
    std::lock_guard lock(m_iconThreadsMutex);
    m_iconThreads.push_back({std::move(thread), std::move(done)});
}

void EventListener::JoinIconThreads(bool all) {
    std::vector<IconThread> finished;
    {
        std::lock_guard lock(m_iconThreadsMutex);
        for (auto it = m_iconThreads.begin(); it != m_iconThreads.end();) {
            if (all || it->done->load()) {
                finished.push_back(std::move(*it));
                it = m_iconThreads.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (IconThread& t : finished) {
        t.thread.join();
    }
}

}  // namespace vantor
