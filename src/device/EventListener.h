#pragma once

#include "device/DeviceEvents.h"
#include "device/DeviceState.h"
#include "device/HidBackend.h"
#include "device/HidDevice.h"
#include "device/StoppableThread.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vantor {

// Event codes the keyboard sends on its consumer interface.
inline constexpr uint16_t kEventLightingChanged = 0x0401;
inline constexpr uint16_t kEventProfileSwitched = 0x0402;
inline constexpr uint16_t kEventIconBack = 0x1810;
inline constexpr uint16_t kEventIconSpecial = 0x1811;

// The event listener thread: holds the keyboard's consumer interface open, reads its event
// reports one after another and turns each into an action for the window. Events 0x1811 and
// 0x1810 switch the tray icon from short threads of their own, one at a time.
//
// The thread runs from Start until Stop (which closes the interface to wake the waiting
// read), or until a listing of the interfaces fails. Stop also waits for the icon threads.
class EventListener {
public:
    EventListener(std::shared_ptr<HidBackend> backend, DeviceState& state, DeviceEvents& events,
                  int retryMs = 1000);
    ~EventListener();
    EventListener(const EventListener&) = delete;
    EventListener& operator=(const EventListener&) = delete;

    void Start();
    void Stop();
    bool IsRunning() const { return m_thread.IsRunning(); }
    // True while the consumer interface is open and being read.
    bool IsListening() const { return m_listening.load(); }

    // The event code of a parsed input report: the first usage of the first input item.
    static uint16_t EventCode(const std::vector<HidInputItem>& items);

private:
    void Run();
    // Reads events until a read fails or a stop is asked for.
    void Listen();
    void Handle(uint16_t code);
    void StartIconThread(bool special);
    void JoinIconThreads(bool all);

    HidDevice m_device;
    DeviceState& m_state;
    DeviceEvents& m_events;
    const int m_retryMs;
    std::atomic<bool> m_listening{false};
    StoppableThread m_thread;

    // The icon-event busy flag: an icon thread holds it while it sets the icon.
    std::mutex m_iconBusy;
    std::mutex m_iconThreadsMutex;
    struct IconThread {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<IconThread> m_iconThreads;
};

}  // namespace vantor
