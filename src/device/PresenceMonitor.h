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
    int searchPollMs = 1000;      // between listings while no keyboard is open
    // While connected the monitor sleeps until the open interface reports that it has gone.
    // It probes the path as well after this long without news, and this long after another
    // thread closed the interface under it.
    int connectedProbeMs = 5000;
};

// The device monitor thread: finds the keyboard's vendor interface and keeps it open in the
// link for the transport, sleeps until that interface goes away, and runs the connect and
// disconnect handling (ReportPresence) that tells the window and reloads the default key
// matrix and the macro capacity.
//
// The thread runs from Start until Stop, or until a listing of the interfaces fails. Stop
// wakes its pauses and its wait on the interface, and ends an exchange under way.
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
    // Sleeps while the keyboard stays; true once it has gone, false on a stop.
    bool AwaitDeparture();
    void ReportPresence(bool connected);

    DeviceLink& m_link;
    DeviceState& m_state;
    DeviceEvents& m_events;
    const MonitorTiming m_timing;
    StoppableThread m_thread;
};

}  // namespace vantor
