#include "mainwindow/MainWindow.h"

#include "device/DeviceState.h"
#include "lighting/KeyColours.h"
#include "lighting/UserColourFile.h"
#include "mainwindow/LightingSlots.h"
#include "mainwindow/ProfileSlots.h"
#include "profiles/KeyboardProfiles.h"
#include "shell/InstanceMessages.h"

#include <cstdio>

namespace vantor {

namespace {

// The soak benchmark waits for these lines to know that the window took in a keyboard's
// arrival or departure.
void MarkDeviceChange(const char* what) {
    static const bool mark = qEnvironmentVariableIsSet("VANTOR_MARK_DEVICE");
    if (mark) {
        std::fprintf(stderr, "vantor: %s\n", what);
        std::fflush(stderr);
    }
}

}  // namespace

void MainWindow::RefreshLightingPanel(int profile) { m_lighting->ShowProfile(profile); }

void MainWindow::OnLightingTimer() { m_lighting->LightingEvent(); }

void MainWindow::OnProfileSwitchTimer() { m_lighting->ProfilesReset(m_profiles->SelectedProfile()); }

void MainWindow::OnKeyboardConnected(const LightingReadout& lighting, bool coloursSent) {
    m_lighting->KeyboardConnected(m_profiles->SelectedProfile(), lighting, coloursSent);
}

MainWindow::KeyboardArrival MainWindow::ExchangeOnArrival() {
    std::lock_guard lock(m_store.Lock());
    KeyboardArrival arrival;
    arrival.profile = ReadKeyboardForReload(m_profiles->Context());
    arrival.lighting = ReadLightingReadout(*m_setup.link);
    // The profile the window shows is the keyboard's active one, when the keyboard said it.
    const int active = m_setup.deviceState->ActiveProfile();
    if (active >= 0 && active < kColourProfileCount &&
        arrival.lighting.status == CommandResult::Ok &&
        OffersEffect(arrival.lighting.statusBlock, kUserDefinedEffect)) {
        WriteColourTable(*m_setup.link, active, ColourTableOfFile(active, std::nullopt));
        arrival.coloursSent = active;
    }
    return arrival;
}

void MainWindow::ShowKeyboardArrival(const KeyboardArrival& arrival) {
    m_profiles->KeyboardArrived(arrival.profile);
    OnKeyboardConnected(arrival.lighting,
                        arrival.coloursSent == m_profiles->SelectedProfile());
    m_awaitingKeyboard = false;
    MarkDeviceChange("keyboard shown");
}

bool MainWindow::IsKeyboardConnected() const {
    return m_setup.deviceState != nullptr && m_setup.deviceState->Present();
}

// Device threads ------------------------------------------------------------------------------

void MainWindow::KeyboardGone() {
    m_bridge.Send([this] {
        HandleMessage({kMessageGone, 0});
        MarkDeviceChange("keyboard gone");
    });
}

void MainWindow::KeyboardConnected() {
    if (IsClosing()) return;
    // The first sight of the keyboard at start opens the window: it is shown as soon as it is
    // set up, and shows the keyboard (and takes input) once it has been read here.
    if (!m_setup.deviceState->FirstReportDone()) {
        m_bridge.Post([this] {
            m_awaitingKeyboard = true;
            ShowWindow();
        });
    }
    const KeyboardArrival arrival = ExchangeOnArrival();
    m_bridge.Send([this, arrival] { ShowKeyboardArrival(arrival); });
}

void MainWindow::OpenMainWindow() {
    m_bridge.Post([this] { HandleMessage({kMessageOpen, kTagOpen}); });
}

void MainWindow::HideMainWindow() {
    m_bridge.Post([this] { hide(); });
}

void MainWindow::ShowMessage(const QString& languageKey) {
    m_bridge.Post([this, languageKey] { ShowPrompt(languageKey); });
}

void MainWindow::LightingChanged() {
    m_bridge.Post([this] { OnLightingTimer(); });
}

void MainWindow::ProfileSwitched() {
    m_bridge.Post([this] {
        // The records under an open key assignment dialog are about to be reset.
        m_keyAssign->CloseIfOpen();
        m_profiles->KeyboardProfilesReset();
        OnProfileSwitchTimer();
    });
}

void MainWindow::SetTrayState(bool special, int icon) {
    m_bridge.Post([this, special, icon] {
        // A keyboard event shows 142 or returns to the base; a presence change sets the base.
        const bool changed = special ? m_trayState.Set(icon == TrayState::kSpecial, 0)
                                     : m_trayState.Set(false, icon);
        if (changed) m_tray.SetIconResource(m_trayState.Shown());
    });
}

}  // namespace vantor
