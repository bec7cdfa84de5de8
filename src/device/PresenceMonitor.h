#pragma once

#include "device/DeviceEvents.h"
#include "device/DeviceLink.h"
#include "device/DeviceState.h"
#include "device/StoppableThread.h"

#include <atomic>
#include <thread>

namespace vantor {

// Pauses of the monitor, in milliseconds. The defaults are the program's; tests shorten them.
struct MonitorTiming {
    int firstReportPauseMs = 10;  // before the first probe of a start in the tray
    int connectedPollMs = 100;    // between presence probes while connected
    int searchPollMs = 1000;      // between listings while no keyboard is open
};

// The device monitor thread: finds the keyboard's vendor interface and keeps it open in the
// link for the transport, probes that it is still there, and runs the connect and disconnect
// handling (ReportPresence) that tells the window and reloads the default key matrix and the
// macro capacity.
//
// The thread runs from Start until Stop, or until a listing of the interfaces fails. Stop
// wakes its pauses; an exchange under way finishes within its time-outs first.
class PresenceMonitor {
public:
    PresenceMonitor(DeviceLink& link, DeviceState& state, DeviceEvents& events,
                    MonitorTiming timing = {});
    ~PresenceMonitor();
    PresenceMonitor(const PresenceMonitor&) = delete;
    PresenceMonitor& operator=(const PresenceMonitor&) = delete;

    void Start();
    // Ends the thread and closes the vendor interface (the open flag is cleared first, so the
    // transport sends nothing more). Safe to call twice or without Start.
    void Stop();
    // False once the thread has ended by itself (a failed listing) or was stopped.
    bool IsRunning() const { return m_thread.IsRunning(); }

private:
    void Run();
    // The probe at start: reads the status block of the keyboard, if any, and closes it again.
    bool InitialProbe();
    // One listing while searching; false when the listing failed.
    bool Search();
    void ReportPresence(bool connected);

    DeviceLink& m_link;
    DeviceState& m_state;
    DeviceEvents& m_events;
    const MonitorTiming m_timing;
    StoppableThread m_thread;
};

}  // namespace vantor
