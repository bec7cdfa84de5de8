#include "device/PresenceMonitor.h"

#include "device/CommandResult.h"
#include "device/KeyMapCommands.h"
#include "device/StatusCommands.h"
#include "device/VendorInterfaceSearch.h"

namespace vantor {

PresenceMonitor::PresenceMonitor(DeviceLink& link, DeviceState& state, DeviceEvents& events,
                                 MonitorTiming timing)
    : m_link(link), m_state(state), m_events(events), m_timing(timing) {}

PresenceMonitor::~PresenceMonitor() { Stop(); }

void PresenceMonitor::Start() {
    m_thread.Start([this] { Run(); });
}

void PresenceMonitor::Stop() {
    m_thread.RequestStop();
    // The transport sends nothing more, and closing the interface wakes the thread from its
    // wait for the keyboard's departure and from an exchange it is in.
    m_link.SetDeviceOpen(false);
    m_link.VendorDevice().Close();
    m_thread.Stop();
    // An interface the thread opened while it was being stopped.
    m_link.SetDeviceOpen(false);
    m_link.VendorDevice().Close();
}

void PresenceMonitor::Run() {
    if (m_state.FirstReportDone() && !m_thread.Pause(m_timing.firstReportPauseMs)) {
        return;
    }
    if (!InitialProbe()) {
        return;
    }
    HidDevice& device = m_link.VendorDevice();
    bool firstPass = true;
    while (!m_thread.Requested()) {
        if (m_link.IsDeviceOpen()) {
            if (!AwaitDeparture()) {
                return;
            }
            // The handle is closed now rather than at the next open, which also ends at once
            // an exchange that another thread is waiting in.
            m_link.SetDeviceOpen(false);
            device.Close();
            ReportPresence(false);
        } else {
            if (!Search()) {
                return;
            }
            if (firstPass) {
                ReportPresence(m_link.IsDeviceOpen());
                if (!m_link.IsDeviceOpen()) {
                    m_state.SetFirstReportDone(true);
                }
            }
        }
        firstPass = false;
        if (!m_link.IsDeviceOpen() && !m_thread.Pause(m_timing.searchPollMs)) {
            return;
        }
    }
}

bool PresenceMonitor::AwaitDeparture() {
    HidDevice& device = m_link.VendorDevice();
    while (!m_thread.Requested()) {
        const HidIoResult waited = device.WaitGone(m_timing.connectedProbeMs);
        if (m_thread.Requested()) {
            return false;
        }
        if (waited == HidIoResult::Failed || !device.Probe()) {
            return true;
        }
        // Closed under the monitor by another thread: nothing to wait on until it reopens.
        if (waited == HidIoResult::Aborted && !m_thread.Pause(m_timing.connectedProbeMs)) {
            return false;
        }
    }
    return false;
}

bool PresenceMonitor::InitialProbe() {
    HidDevice& device = m_link.VendorDevice();
    const VendorSearch search = FindVendorInterface(device);
    if (!search.enumerated) {
        return false;
    }
    if (search.found) {
        m_link.SetDeviceOpen(true);
        StatusBlock status{};
        ReadStatus(m_link, &status);  // wakes the keyboard; the reply is not needed
        m_link.SetDeviceOpen(false);
        device.Close();
    }
    m_link.SetDeviceOpen(false);
    return true;
}

bool PresenceMonitor::Search() {
    HidDevice& device = m_link.VendorDevice();
    const VendorSearch search = FindVendorInterface(device);
    if (!search.enumerated) {
        return false;
    }
    if (search.found) {
        const DeviceVariant* variant = FindDeviceVariant(device.VendorId(), device.ProductId());
        // The variant first, so a thread that sees the open flag also sees the right sizes.
        m_link.SetVariant(variant != nullptr ? *variant : kVariantA);
        m_link.SetDeviceOpen(true);
        ReportPresence(true);
    }
    return true;
}

void PresenceMonitor::ReportPresence(bool connected) {
    if (connected == m_state.Present() || m_thread.Requested()) {
        return;
    }
    if (!connected) {
        m_state.SetActiveProfile(-1);
        m_events.KeyboardGone();
        m_events.HideMainWindow();
    } else {
        KeyMatrix matrix{};
        const bool matrixRead = ReadDefaultKeyMatrix(m_link, matrix) == CommandResult::Ok;
        StatusBlock status{};
        const bool statusRead = ReadStatus(m_link, &status) == CommandResult::Ok;
        if (m_thread.Requested()) {
            return;  // a stop cut the reads short: the window is going and hears nothing
        }
        if (matrixRead) {
            m_state.SetDefaultKeyMatrix(matrix);
        } else {
            m_events.ShowMessage(QStringLiteral("MAIN_DEFAULT_MATRIX_PROMPT"));
        }
        if (statusRead) {
            m_state.SetMacroCapacity(size_t(status[kStatusMacroCapacity]) * kMacroCapacityUnit);
        }
        m_events.KeyboardConnected();
    }
    const int icon = connected ? kTrayIconConnected : kTrayIconDisconnected;
    m_state.SetBaseTrayIcon(icon);
    m_events.SetTrayState(false, icon);
    m_state.SetPresent(connected);
    if (!m_state.FirstReportDone()) {
        if (connected) {
            m_events.OpenMainWindow();
        }
        m_state.SetFirstReportDone(true);
    }
}

}  // namespace vantor
