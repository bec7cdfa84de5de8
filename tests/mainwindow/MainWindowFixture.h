#pragma once

// The main window on the build's skin and language files, offscreen, with an emulated keyboard
// on its link; the keyboard counts as present only once a test says so.

#include "mainwindow/MainWindow.h"

#include "device/DeviceState.h"
#include "keymodel/KeyTables.h"
#include "mainwindow/ProgramData.h"
#include "shell/tray/AboutDialog.h"
#include "support/Application.h"
#include "support/EmulatedLink.h"
#include "support/TestEnvironment.h"
#include "support/WaitUntil.h"

#include <QApplication>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <memory>

#include <unistd.h>

namespace vantor::test {

// Counts the times a widget was shown, to catch a window that flashes up and hides again.
class ShowCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
    int shows = 0;
};

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(test::CopyProgramData(m_env.ProgramFolder()))
            << "the build's skin and language files are missing";
        m_env.SetLanguageIndex(1);
        MainWindow::Setup setup = WindowSetup(m_prefix);
        setup.deviceEventsReady = [this] { ++m_deviceEventsReadyCalls; };
        setup.releaseInstance = [this] { ++m_instanceReleases; };
        m_window = std::make_unique<MainWindow>(m_env.Paths().MainSkinFile(),
                                                m_env.Paths().SkinFolder(), setup);
        m_window->installEventFilter(&m_shows);
        m_window->Initialise();
        QApplication::processEvents();
    }

    void TearDown() override {
        AboutDialog::CloseAboutIfOpen();
        if (m_window) m_window->Exit();
    }

    // A window on this fixture's keyboard and state, with named events of its own prefix.
    MainWindow::Setup WindowSetup(const QString& namedEventPrefix) {
        MainWindow::Setup setup;
        setup.link = &m_keyboard.Link();
        setup.deviceState = &m_state;
        setup.namedEventPrefix = namedEventPrefix;
        setup.requireTrayHost = false;
        return setup;
    }

    // The emulated keyboard arrives, as the device monitor reports it.
    void KeyboardArrives() {
        ASSERT_TRUE(m_keyboard.Connected());
        m_keyboard.FillDeviceState(m_state);
        m_state.SetPresent(true);
        FromDeviceThread([this] { m_window->KeyboardConnected(); });
    }

    // Runs `work` on a thread of its own (as the device threads do) while this thread's event
    // loop turns.
    void FromDeviceThread(const std::function<void()>& work) {
        auto done = std::async(std::launch::async, work);
        EXPECT_TRUE(test::WaitUntil([&done] {
            return done.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready;
        }));
        QApplication::processEvents();
    }

    test::TestEnvironment m_env;
    test::EmulatedLink m_keyboard;
    DeviceState m_state;
    int m_deviceEventsReadyCalls = 0;
    int m_instanceReleases = 0;
    const QString m_prefix = QStringLiteral("VantorWindowTest%1_").arg(::getpid());
    ShowCounter m_shows;
    std::unique_ptr<MainWindow> m_window;
};

// The key-list position of a key code.
inline int PositionOf(KeyCode code) {
    return int(std::find(KeyList.begin(), KeyList.end(), code) - KeyList.begin());
}

}  // namespace vantor::test
