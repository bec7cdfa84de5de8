#pragma once

// The key assignment dialog opened from the main window's keys, offscreen, with key events
// as X11 and Wayland deliver them (native scan code = evdev + 8).

#include "keyassign/KeyAssignDialog.h"
#include "keymodel/KeyTables.h"
#include "mainwindow/MainWindowFixture.h"
#include "shell/AppLocks.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <array>
#include <functional>

#include <gtest/gtest.h>

namespace vantor::test {

inline constexpr KeyCode kKeyA = 0x1E;
inline constexpr KeyCode kKeyB = 0x30;
inline const int kButtonA = KeyListButtonIds[0];

// The active profile's key action at the position where the default matrix has key A.
inline std::array<uint8_t, 3> ActionOfKeyA(const KeyboardFirmware& firmware) {
    const auto matrix = firmware.DefaultKeyMatrix();
    const auto keyMap = firmware.KeyMap(firmware.ActiveProfile());
    for (size_t p = 0; p + 2 < matrix.size(); p += 3)
        if (matrix[p] == 2 && matrix[p + 1] == 2 && matrix[p + 2] == 0x04)
            return {keyMap[p], keyMap[p + 1], keyMap[p + 2]};
    ADD_FAILURE() << "no key A in the default matrix";
    return {};
}

// Counts the key events that reach a widget past the application's filters.
class KeyCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) ++keys;
        return false;
    }
    int keys = 0;
};

class KeyAssignDialogTest : public MainWindowTest {
protected:
    using D = KeyAssignDialog;

    D& Dialog() { return m_window->KeyAssign(); }

    KeyAssignment& Record(int block, int record) {
        return m_window->Store().Data().Records()[BlockStart(block) + record];
    }
    void SetRecord(int record, KeyAssignment assignment) {
        {
            std::lock_guard lock(StoreLock());
            Record(0, record) = assignment;
        }
        m_window->RefreshKeyButtons();
    }

    // Opens the dialog for a button and runs `inside` while it is open modally; the dialog is
    // closed as by Cancel afterwards if `inside` left it open. The dialog's result.
    int WhileOpen(int controlId, const std::function<void(D&)>& inside) {
        QTimer::singleShot(0, &Dialog(), [this, inside] {
            inside(Dialog());
            Dialog().CloseIfOpen();
        });
        return Dialog().OpenForButton(controlId);
    }

    // A key as the display server gives it: the widget with the focus receives it.
    static void Key(D& dialog, QEvent::Type type, unsigned evdev, bool repeat = false) {
        QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
        QKeyEvent event(type, 0, Qt::NoModifier, evdev + 8, 0, 0, QString(), repeat);
        QApplication::sendEvent(target, &event);
    }
    static void Press(D& dialog, unsigned evdev) {
        Key(dialog, QEvent::KeyPress, evdev);
        Key(dialog, QEvent::KeyRelease, evdev);
    }
    static bool Shown(D& dialog, int id) { return dialog.Control(id)->isVisibleTo(&dialog); }
};

// With the keyboard connected: what the dialog writes goes out with the main window's Apply.
class KeyAssignDownloadTest : public KeyAssignDialogTest {
protected:
    void SetUp() override {
        KeyAssignDialogTest::SetUp();
        m_keyboard.FillDeviceState(m_state);
        m_state.SetPresent(true);
        FromDeviceThread([this] { m_window->KeyboardConnected(); });
    }

    std::array<uint8_t, 3> ActionOfKeyA() { return test::ActionOfKeyA(m_keyboard.Keyboard().Firmware()); }
};

}  // namespace vantor::test
