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
    // An exchange the monitor is in gives up at its next attempt instead of retrying.
    m_link.SetDeviceOpen(false);
    m_thread.Stop();
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
            if (!device.Probe()) {
                // The node is gone: the handle is closed now rather than at the next open,
                // which also ends at once an exchange that another thread is waiting in.
                m_link.SetDeviceOpen(false);
                device.Close();
                ReportPresence(false);
            }
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
        if (!m_thread.Pause(m_link.IsDeviceOpen() ? m_timing.connectedPollMs
                                                : m_timing.searchPollMs)) {
            return;
        }
    }
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
        if (ReadDefaultKeyMatrix(m_link, matrix) == CommandResult::Ok) {
            m_state.SetDefaultKeyMatrix(matrix);
        } else {
            m_events.ShowMessage(QStringLiteral("MAIN_DEFAULT_MATRIX_PROMPT"));
        }
        StatusBlock status{};
        if (ReadStatus(m_link, &status) == CommandResult::Ok) {
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
