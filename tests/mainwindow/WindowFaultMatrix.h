#pragma once

// The fault matrix of the window's flows: what a person does through the real widgets,
// offscreen, against the emulated keyboard under every fault row of support/FaultMatrix.h.
// Each cell checks that what the window shows agrees with what the keyboard took, that the
// user's files hold their old bytes or their new ones, and that with the keyboard healthy
// again the same flow goes through.

#include "mainwindow/KeyAssignDialogFixture.h"

#include "profiles/ProfileFile.h"
#include "shell/AppLocks.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "support/FaultMatrix.h"
#include "support/ModalAnswers.h"
#include "ui/ImageButton.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

namespace vantor::test {

class WindowFaultMatrix;

// One flow of a window's table. A cell runs it up to three times, numbered so that each run
// may change something different: 0 counts its requests, 1 meets the fault, 2 goes to the
// healthy keyboard afterwards.
struct WindowFlow {
    const char* name;
    // Brings the window and the keyboard to where the flow starts.
    std::function<void(WindowFaultMatrix&, int run)> prepare;
    // The person's clicks.
    std::function<void(WindowFaultMatrix&, int run)> act;
    // Whether the window shows the flow as gone through, and whether the keyboard holds it.
    std::function<bool(WindowFaultMatrix&, int run)> shownDone;
    std::function<bool(WindowFaultMatrix&, int run)> keyboardHolds;
    // The rest of what the person must see after a run that went through, or did not, with
    // the texts of the message boxes it showed.
    std::function<void(WindowFaultMatrix&, int run, bool done, const QStringList& messages)>
        expectShown;
    // Only written, never answered (the boot request): the request written is the flow done.
    bool sendOnly = false;
};

class WindowFaultMatrix : public KeyAssignDialogTest,
                          public testing::WithParamInterface<MatrixCell> {
public:
    using Files = std::map<QString, QByteArray>;
    using KeyAssignDialogTest::Dialog;
    using KeyAssignDialogTest::Press;
    using KeyAssignDialogTest::Record;
    using KeyAssignDialogTest::SetRecord;
    using KeyAssignDialogTest::WhileOpen;

    void SetUp() override {
        KeyAssignDialogTest::SetUp();
        KeyboardArrives();
        m_keyboard.Link().SetTimeouts({1000, kMatrixReplyTimeoutMs, 10});
    }

    EmulatedKeyboard& Keyboard() { return m_keyboard.Keyboard(); }
    KeyboardFirmware Firmware() { return m_keyboard.Keyboard().Firmware(); }
    MainWindow& Window() { return *m_window; }
    DeviceState& State() { return m_state; }
    std::vector<CommandReport> Requests() const { return m_keyboard.Requests(); }

    // The user's files a flow may write: the working profile file, the settings, the colour
    // settings and the three colour files.
    static Files UserFiles() {
        const std::shared_ptr<const AppPaths> paths = AppPaths::Current();
        Files files;
        for (const QString& path :
             {paths->WorkingProfileFile(), paths->SettingsFile(), paths->ColourSettingsFile(),
              paths->UserColourFile(0), paths->UserColourFile(1), paths->UserColourFile(2)})
            files[path] = FileBytes(path);
        return files;
    }

    // The keyboard healthy and present again. One that left comes back as the device monitor
    // reports it: gone, then arrived.
    void HealKeyboard() {
        Keyboard().SetFault({});
        if (Keyboard().IsPlugged() && m_keyboard.Link().IsDeviceOpen())
            return;
        FromDeviceThread([this] { m_window->KeyboardGone(); });
        m_state.SetPresent(false);
        m_state.SetActiveProfile(-1);
        Keyboard().Plug();
        ASSERT_TRUE(m_keyboard.Reconnect());
        m_keyboard.Link().SetTimeouts({1000, kMatrixReplyTimeoutMs, 10});
        KeyboardArrives();
    }

    // What a run must show in message boxes: nothing when it went through, else the one
    // message naming the cell's true cause. A late keyboard that missed every attempt did not
    // answer; one that was pulled out is told as disconnected.
    QStringList MessagesFor(bool done, bool changesKept) const {
        if (done)
            return {};
        const Cause cause = kFaultRows[GetParam().fault].expected;
        const char* key = cause == Cause::Refused  ? "KEYBOARD_REFUSED"
                          : cause == Cause::Absent ? "KEYBOARD_GONE"
                                                   : "KEYBOARD_NO_ANSWER";
        QString text = LanguageText(QString::fromLatin1(key));
        if (changesKept)
            text += QLatin1Char('\n') + LanguageText(QStringLiteral("APPLY_CHANGES_KEPT"));
        return {text};
    }

    // Runs one run of a flow and says whether the window shows it done.
    bool Run(const WindowFlow& flow, int run, MessageLog& log) {
        flow.act(*this, run);
        EXPECT_TRUE(log.Settle()) << "a message box stayed up";
        return flow.shownDone(*this, run);
    }

    void RunCell(const std::vector<WindowFlow>& flows) {
        const FaultRow& row = kFaultRows[GetParam().fault];
        const WindowFlow& flow = flows[GetParam().operation];

        int reportsBeforeUnplug = 0;
        if (row.unplug != UnplugAt::Never) {
            // Count the flow's requests on a run without faults.
            flow.prepare(*this, 0);
            Keyboard().ClearLog();
            MessageLog counting;
            ASSERT_TRUE(Run(flow, 0, counting));
            reportsBeforeUnplug = ReportsBeforeUnplug(row.unplug, int(Requests().size()));
            HealKeyboard();
        }

        // The run that meets the fault.
        flow.prepare(*this, 1);
        const Files before = UserFiles();
        const KeyboardFirmware firmware = Firmware();
        Keyboard().ClearLog();
        Keyboard().SetFault(row.Switch(reportsBeforeUnplug));
        if (row.Absent()) {
            Keyboard().Unplug();
            m_keyboard.Link().SetDeviceOpen(false);
        }
        MessageLog log;
        const bool shown = Run(flow, 1, log);
        Keyboard().SetFault({});
        const bool holds = flow.keyboardHolds(*this, 1);
        ExpectOwnStatusWrites(firmware.StatusBlock(), Requests());
        const Files during = UserFiles();
        QByteArray storeBytes;
        {
            std::lock_guard lock(StoreLock());
            storeBytes = SerializeProfile(m_window->Store().Data()).value_or(QByteArray());
        }

        // A flow the keyboard cannot have taken must not show as done, nor one it took in full
        // as failed. Where it may have gone either way (a late keyboard, or one pulled out
        // midway) the window may say it failed, but it says done only when the keyboard has it.
        const bool requestWritten =
            !(row.fault == EmulatorFault::WriteFailure ||
              row.fault == EmulatorFault::UnplugMidTransfer || row.Absent());
        const bool either =
            !flow.sendOnly && (row.mayFallSilent || row.unplug == UnplugAt::Middle ||
                               row.unplug == UnplugAt::NearEnd);
        if (!either) {
            const bool expected = flow.sendOnly ? requestWritten : row.expected == Cause::Done;
            EXPECT_EQ(shown, expected) << "what the window shows";
            EXPECT_EQ(holds, expected) << "what the keyboard took";
        } else if (shown) {
            EXPECT_TRUE(holds) << "shown done, but the keyboard does not have it";
        }
        flow.expectShown(*this, 1, shown, log.texts);

        // Back to a healthy keyboard: the same flow goes through.
        HealKeyboard();
        flow.prepare(*this, 2);
        Keyboard().ClearLog();
        MessageLog after;
        EXPECT_TRUE(Run(flow, 2, after)) << "the window does not work afterwards";
        EXPECT_TRUE(flow.keyboardHolds(*this, 2));
        flow.expectShown(*this, 2, true, after.texts);
        const Files healthy = UserFiles();

        // Each file holds its old bytes or new ones, never a mix: the working profile file
        // what the store held, the others what the flow leaves on a healthy keyboard.
        const QString working = AppPaths::Current()->WorkingProfileFile();
        for (const auto& [path, bytes] : during) {
            const QByteArray& now = bytes;
            const QByteArray& fresh = path == working ? storeBytes : healthy.at(path);
            EXPECT_TRUE(now == before.at(path) || now == fresh)
                << path.toStdString() << " is neither its old bytes nor its new ones";
        }
    }
};

// The test's name for a cell of a table.
inline auto CellNamer(const std::vector<WindowFlow>& flows) {
    return [&flows](const testing::TestParamInfo<MatrixCell>& info) {
        return CellName(info.param, flows[info.param.operation].name);
    };
}

}  // namespace vantor::test
