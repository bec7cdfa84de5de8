#pragma once

#include "device/DeviceState.h"
#include "mainwindow/MainWindow.h"
#include "shell/InstanceMessages.h"
#include "support/EmulatedLink.h"
#include "support/TestEnvironment.h"

#include <memory>

namespace vantor::test {

// The main window of a test environment with an emulated keyboard that has arrived: present,
// its facts known, the store loaded from it. No tray host is needed.
struct ConnectedWindow {
    explicit ConnectedWindow(const TestEnvironment& env, const QString& namedEventPrefix) {
        keyboard.FillDeviceState(state);
        state.SetPresent(true);
        MainWindow::Setup setup;
        setup.link = &keyboard.Link();
        setup.deviceState = &state;
        setup.namedEventPrefix = namedEventPrefix;
        setup.requireTrayHost = false;
        window = std::make_unique<MainWindow>(env.Paths().MainSkinFile(),
                                              env.Paths().SkinFolder(), setup);
        window->Initialise();
        window->HandleMessage({kMessageConnected, kTagProf});
    }
    ~ConnectedWindow() { window->Exit(); }

    EmulatedLink keyboard;
    DeviceState state;
    std::unique_ptr<MainWindow> window;
};

}  // namespace vantor::test
