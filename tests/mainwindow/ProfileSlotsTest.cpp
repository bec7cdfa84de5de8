// The main window's profile buttons, Apply, Default, import and export, and what the keyboard's
// arrival, removal and events do, driven through the real widgets against an emulated keyboard.

#include "mainwindow/ProfileSlots.h"

#include "device/CommandReport.h"
#include "device/PresenceMonitor.h"
#include "device/RecordingEvents.h"
#include "keyassign/MacroTables.h"
#include "keymodel/KeyTables.h"
#include "macros/RewriteAllMark.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/KeyButtonGrid.h"
#include "mainwindow/LightingSlots.h"
#include "mainwindow/MainWindowFixture.h"
#include "profiles/ProfileFile.h"
#include "shell/AppLocks.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "support/ModalAnswers.h"
#include "support/QuickMonitor.h"
#include "ui/ImageButton.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace vantor {
namespace {

using test::ChooseFile;
using test::MainWindowTest;
using test::ModalAnswers;
using test::Press;
using test::WaitUntil;

std::vector<uint8_t> Bytes(std::span<const uint8_t> span) { return {span.begin(), span.end()}; }

// Notes what a device thread asks of the window, then asks it of the window.
class NotedEvents : public DeviceEvents {
public:
    explicit NotedEvents(DeviceEvents& window) : m_window(window) {}
    void KeyboardGone() override { noted.KeyboardGone(), m_window.KeyboardGone(); }
    void KeyboardConnected() override { noted.KeyboardConnected(), m_window.KeyboardConnected(); }
    void OpenMainWindow() override { noted.OpenMainWindow(), m_window.OpenMainWindow(); }
    void HideMainWindow() override { noted.HideMainWindow(), m_window.HideMainWindow(); }
    void ShowMessage(const QString& key) override { noted.ShowMessage(key), m_window.ShowMessage(key); }
    void LightingChanged() override { noted.LightingChanged(), m_window.LightingChanged(); }
    void ProfileSwitched() override { noted.ProfileSwitched(), m_window.ProfileSwitched(); }
    void SetTrayState(bool special, int icon) override {
        noted.SetTrayState(special, icon), m_window.SetTrayState(special, icon);
    }

    test::RecordingEvents noted;

private:
    DeviceEvents& m_window;
};

class ProfileSlotsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        KeyboardArrives();
        m_keyboard.Keyboard().ClearLog();
    }

    ProfileSlots& Slots() { return m_window->Profiles(); }
    ImageButton* Apply() { return m_window->Button(ControlIds::kApply); }
    KeyboardFirmware Firmware() { return m_keyboard.Keyboard().Firmware(); }

    // Gives key A an assignment in a block of the store, as the key assignment dialog does.
    void AssignKeyA(int block) {
        {
            std::lock_guard lock(StoreLock());
            m_window->Store().Data().Records()[block * kRecordsPerBlock + 0x1E] =
                KeyAssignment{kAssignKey, 0, 0x15B, 0, 0};  // Left Win
            m_window->RefreshKeyButtons();
        }
        m_window->SetUnappliedChanges(true);
    }

    std::vector<uint8_t> CommandRuns() const {
        std::vector<uint8_t> runs;
        for (const CommandReport& report : m_keyboard.Requests()) {
            if (runs.empty() || runs.back() != report.command) runs.push_back(report.command);
        }
        return runs;
    }
};

TEST_F(ProfileSlotsTest, ArrivalLoadsTheKeyboardsProfilesAndSelectsItsButton) {
    EXPECT_TRUE(QFile::exists(AppPaths::Current()->WorkingProfileFile()));
    EXPECT_TRUE(m_window->Button(ControlIds::kProfileButtons[0])->IsSelected());
    EXPECT_FALSE(m_window->Button(ControlIds::kProfileButtons[1])->IsSelected());
    EXPECT_FALSE(Apply()->isEnabled());
    // The profile button names the active profile, its tooltip says so.
    EXPECT_EQ(m_window->Button(ControlIds::kProfiles)->text(), "Profile 1");
    EXPECT_EQ(m_window->Button(ControlIds::kProfiles)->ToolTipText(), LanguageText("PROFILE_TIP") + "Profile 1");

    // A keyboard that arrives on profile 3 (index 2) with A assigned there.
    m_keyboard.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        firmware.MutableArea(FirmwareArea::Status)[KeyboardFirmware::kActiveProfileOffset] = 2;
    });
    m_state.SetActiveProfile(-1);
    FromDeviceThread([this] { m_window->KeyboardConnected(); });
    EXPECT_TRUE(m_window->Button(ControlIds::kProfileButtons[2])->IsSelected());
    EXPECT_FALSE(m_window->Button(ControlIds::kProfileButtons[0])->IsSelected());
    EXPECT_EQ(Slots().SelectedProfile(), 2);
}

TEST_F(ProfileSlotsTest, ArrivalIsExchangedOnTheDeviceThreadOnceKeyboardWorkEnds) {
    using namespace std::chrono_literals;
    m_state.SetActiveProfile(-1);
    // The profile's reads, the lighting's, then the active profile's colour table.
    const std::vector<uint8_t> arrival{kCmdReadStatus,  kCmdReadKeyMap,   kCmdReadMacroArea,
                                       kCmdReadStatus,  kCmdGroupStart,   kCmdReadLighting,
                                       kCmdGroupEnd,    kCmdGroupStart,   kCmdWriteKeyColours,
                                       kCmdGroupEnd};
    std::future<void> connected;
    {
        // Keyboard work (an Apply, an import) holds the store: nothing goes out meanwhile.
        std::lock_guard work(StoreLock());
        connected = std::async(std::launch::async, [this] { m_window->KeyboardConnected(); });
        std::this_thread::sleep_for(100ms);
        EXPECT_TRUE(m_keyboard.Requests().empty());
    }
    // All of it goes out while the window's thread (this one) turns no event loop; only showing
    // it waits for that thread, and sends nothing more.
    for (int i = 0; i < 2000 && CommandRuns() != arrival; ++i) std::this_thread::sleep_for(5ms);
    EXPECT_EQ(CommandRuns(), arrival);
    EXPECT_EQ(connected.wait_for(0ms), std::future_status::timeout);
    EXPECT_TRUE(WaitUntil([&] { return connected.wait_for(0ms) == std::future_status::ready; }));
    EXPECT_EQ(CommandRuns(), arrival);

    // A keyboard that names none of its three profiles as active: the window sends the table
    // of the profile it shows.
    m_keyboard.Keyboard().ClearLog();
    m_keyboard.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        firmware.MutableArea(FirmwareArea::Status)[KeyboardFirmware::kActiveProfileOffset] = 7;
    });
    m_state.SetActiveProfile(-1);
    FromDeviceThread([this] { m_window->KeyboardConnected(); });
    EXPECT_EQ(CommandRuns(), arrival);
}

TEST_F(ProfileSlotsTest, ApplySendsTheDownloadOnlyWhenThereAreChanges) {
    const std::vector<uint8_t> before = Bytes(Firmware().KeyMap(0));
    QTest::mouseClick(Apply(), Qt::LeftButton);  // disabled: nothing
    Slots().Apply();
    EXPECT_TRUE(m_keyboard.Requests().empty()) << "Apply without changes sends nothing";

    AssignKeyA(0);
    ASSERT_TRUE(Apply()->isEnabled());
    QTest::mouseClick(Apply(), Qt::LeftButton);
    EXPECT_EQ(CommandRuns(), (std::vector<uint8_t>{kCmdGroupStart, kCmdWriteMacroArea,
                                                   kCmdWriteKeyMap, kCmdGroupEnd}));
    EXPECT_NE(Bytes(Firmware().KeyMap(0)), before);
    EXPECT_FALSE(Apply()->isEnabled());
    EXPECT_FALSE(m_window->HasUnappliedChanges());
    // The working profile file holds what was applied.
    ProfileStore reread;
    ASSERT_EQ(LoadProfileFile(reread, AppPaths::Current()->WorkingProfileFile()), 1);
    EXPECT_EQ(reread.Data().Records()[0x1E].type, kAssignKey);
}

TEST_F(ProfileSlotsTest, ApplyThatTheKeyboardRefusesKeepsTheChangesUnappliedAndSaysSo) {
    AssignKeyA(0);
    m_keyboard.Keyboard().SetFault({EmulatorFault::StatusFF});
    {
        test::MessageLog log;
        Slots().Apply();
        ASSERT_TRUE(log.Settle());
        EXPECT_EQ(log.texts, QStringList({LanguageText("KEYBOARD_REFUSED") + '\n' +
                                          LanguageText("APPLY_CHANGES_KEPT")}));
    }
    EXPECT_TRUE(Apply()->isEnabled());
    m_keyboard.Keyboard().SetFault({EmulatorFault::None});
    test::MessageLog log;
    Slots().Apply();
    ASSERT_TRUE(log.Settle());
    EXPECT_TRUE(log.texts.isEmpty());
    EXPECT_FALSE(Apply()->isEnabled());
}

// Default and an import go to the keyboard as Apply does, and say so when it refuses them.
TEST_F(ProfileSlotsTest, DefaultOrImportThatTheKeyboardRefusesKeepsTheChangesUnappliedAndSaysSo) {
    QTemporaryDir folder;
    const QString path = folder.filePath("backup.vpf");
    AssignKeyA(0);
    {
        ModalAnswers answers({ChooseFile(path)});
        m_window->RunCommand(ControlIds::kBackupCommand);
    }
    struct Flow {
        const char* name;
        int command;
        ModalAnswers::Answer first;
    };
    const Flow flows[] = {{"Default", ControlIds::kDefault, Press(QMessageBox::Yes)},
                          {"import", ControlIds::kRestoreCommand, ChooseFile(path)}};
    for (const Flow& flow : flows) {
        SCOPED_TRACE(flow.name);
        m_keyboard.Keyboard().SetFault({EmulatorFault::StatusFF});
        QStringList shown;
        {
            ModalAnswers answers({flow.first, Press(QMessageBox::Ok, &shown)});
            m_window->RunCommand(flow.command);
        }
        m_keyboard.Keyboard().SetFault({EmulatorFault::None});
        EXPECT_EQ(shown, QStringList({LanguageText("KEYBOARD_REFUSED") + '\n' +
                                      LanguageText("APPLY_CHANGES_KEPT")}));
        EXPECT_TRUE(Apply()->isEnabled());
        Slots().Apply();
        EXPECT_FALSE(Apply()->isEnabled());
    }
}

TEST_F(ProfileSlotsTest, OkAppliesAndHides) {
    m_window->RunCommand(TrayIcon::kCommandOpen);
    AssignKeyA(0);
    QTest::mouseClick(m_window->Button(1), Qt::LeftButton);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(m_window->HasUnappliedChanges());
    EXPECT_NE(Bytes(Firmware().KeyMap(0)), Bytes(Firmware().DefaultKeyMatrix()));
}

TEST_F(ProfileSlotsTest, ProfileButtonsSwitchTheKeyboardUnlessAlreadyActive) {
    // The button re-reads the profile's lighting and sends its per-key colours; it switches
    // nothing while the profile is already active.
    QTest::mouseClick(m_window->Button(ControlIds::kProfileButtons[0]), Qt::LeftButton);
    const std::vector<uint8_t> runs = CommandRuns();
    EXPECT_EQ(std::count(runs.begin(), runs.end(), kCmdWriteStatus), 0) << "profile 1 is already active";
    EXPECT_EQ(std::count(runs.begin(), runs.end(), kCmdWriteKeyColours), 1);

    QTest::mouseClick(m_window->Button(ControlIds::kProfileButtons[1]), Qt::LeftButton);
    EXPECT_EQ(Firmware().ActiveProfile(), 1);
    EXPECT_TRUE(m_window->Button(ControlIds::kProfileButtons[1])->IsSelected());
    EXPECT_FALSE(m_window->Button(ControlIds::kProfileButtons[0])->IsSelected());
    EXPECT_EQ(Slots().SelectedProfile(), 1);

    // With changes pending the user is asked first; No discards them.
    AssignKeyA(1);
    QStringList asked;
    ModalAnswers answers({Press(QMessageBox::No, &asked)});
    QTest::mouseClick(m_window->Button(ControlIds::kProfileButtons[2]), Qt::LeftButton);
    EXPECT_EQ(asked, QStringList{LanguageText("PROFILE_SELECT_PROMPT")});
    EXPECT_EQ(Firmware().ActiveProfile(), 2);
    EXPECT_FALSE(m_window->HasUnappliedChanges());
    std::lock_guard lock(StoreLock());
    EXPECT_EQ(m_window->Store().Data().Records()[kRecordsPerBlock + 0x1E].type, kAssignDefault);
}

TEST_F(ProfileSlotsTest, DefaultAsksThenResetsEveryProfileAndEndsOnTheFirst) {
    // Assignments on the keyboard in two profiles, and profile 2 active.
    AssignKeyA(0);
    AssignKeyA(1);
    SetRewriteAllMark();
    Slots().Apply();
    QTest::mouseClick(m_window->Button(ControlIds::kProfileButtons[1]), Qt::LeftButton);
    ASSERT_NE(Bytes(Firmware().KeyMap(1)), Bytes(Firmware().DefaultKeyMatrix()));

    // No changes nothing.
    m_keyboard.Keyboard().ClearLog();
    QStringList asked;
    {
        ModalAnswers answers({Press(QMessageBox::No, &asked)});
        QTest::mouseClick(m_window->Button(ControlIds::kDefault), Qt::LeftButton);
    }
    EXPECT_EQ(asked, QStringList{LanguageText("MAIN_PROMPT_DEFAULT")});
    EXPECT_TRUE(m_keyboard.Requests().empty());

    ModalAnswers answers({Press(QMessageBox::Yes)});
    QTest::mouseClick(m_window->Button(ControlIds::kDefault), Qt::LeftButton);
    EXPECT_EQ(answers.Answered(), 1u);
    const KeyboardFirmware firmware = Firmware();
    for (int profile = 0; profile < 3; ++profile) {
        EXPECT_EQ(Bytes(firmware.KeyMap(profile)), Bytes(firmware.DefaultKeyMatrix())) << profile;
    }
    EXPECT_EQ(firmware.ActiveProfile(), 0);
    EXPECT_TRUE(m_window->Button(ControlIds::kProfileButtons[0])->IsSelected());
    EXPECT_FALSE(m_window->HasUnappliedChanges());
    std::lock_guard lock(StoreLock());
    for (int block = 0; block < 3; ++block) {
        EXPECT_EQ(m_window->Store().Data().Records()[block * kRecordsPerBlock + 0x1E].type,
                  kAssignDefault);
    }
}

TEST_F(ProfileSlotsTest, DefaultsQuestionIsTheSkinnedBoxAndEnterOrEscapeAnswerNo) {
    AssignKeyA(0);
    SetRewriteAllMark();
    Slots().Apply();
    m_keyboard.Keyboard().ClearLog();
    // The box as it shows: the skin's dark picture, its image buttons with the language's
    // words, No the default, over the main window.
    const auto look = [this](MessageBox* box) {
        EXPECT_EQ(box->Text(), LanguageText("MAIN_PROMPT_DEFAULT"));
        EXPECT_EQ(box->DefaultButton(), QMessageBox::No);
        ASSERT_FALSE(box->Background().isNull());
        const QImage drawn = box->grab().toImage();
        EXPECT_LT(qGray(drawn.pixel(drawn.width() / 2, drawn.height() / 2)), 80) << "a dark box";
        for (const auto& [button, key] : {std::pair{QMessageBox::Yes, "MSGBOX_YES"},
                                         std::pair{QMessageBox::No, "MSGBOX_NO"}}) {
            ImageButton* face = box->ButtonOf(button);
            ASSERT_NE(face, nullptr);
            EXPECT_TRUE(face->isVisible());
            EXPECT_EQ(face->text(), LanguageText(key));
        }
        EXPECT_EQ(box->ButtonOf(QMessageBox::Ok), nullptr);
        EXPECT_LE((box->geometry().center() - m_window->frameGeometry().center()).manhattanLength(), 2);
    };
    m_window->show();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        ModalAnswers answers({test::TypeKey(key, look)});
        QTest::mouseClick(m_window->Button(ControlIds::kDefault), Qt::LeftButton);
        EXPECT_EQ(answers.Answered(), 1u);
    }
    EXPECT_TRUE(m_keyboard.Requests().empty()) << "No resets nothing";
}

// Default ends as profile button 1 does: after profile 0's lighting refresh the status block
// is written only when the keyboard is on another profile, once, with profile 0 active.
TEST_F(ProfileSlotsTest, DefaultWritesTheStatusOnlyToLeaveAnotherProfile) {
    for (const int active : {0, 2}) {
        QTest::mouseClick(m_window->Button(ControlIds::kProfileButtons[active]), Qt::LeftButton);
        ASSERT_EQ(Firmware().ActiveProfile(), active);
        m_keyboard.Keyboard().ClearLog();
        ModalAnswers answers({Press(QMessageBox::Yes)});
        QTest::mouseClick(m_window->Button(ControlIds::kDefault), Qt::LeftButton);
        ASSERT_EQ(answers.Answered(), 1u);

        std::vector<uint8_t> commands;
        std::vector<uint8_t> statusProfiles;  // byte 10 of each status block written
        for (const CommandReport& report : m_keyboard.Requests()) {
            commands.push_back(report.command);
            if (report.command == kCmdWriteStatus) statusProfiles.push_back(report.payload[10]);
        }
        EXPECT_EQ(statusProfiles, active == 0 ? std::vector<uint8_t>{} : std::vector<uint8_t>{0})
            << "on profile " << active;
        if (active != 0) {
            const auto last = [&commands](uint8_t command) {
                return std::find(commands.rbegin(), commands.rend(), command).base() - commands.begin();
            };
            EXPECT_GT(last(kCmdWriteStatus), last(kCmdReadLighting))
                << "the status is written after the lighting refresh";
        }
        EXPECT_EQ(Firmware().ActiveProfile(), 0);
        EXPECT_EQ(m_window->Lighting().Profile(), 0);
        EXPECT_TRUE(m_window->Button(ControlIds::kProfileButtons[0])->IsSelected());
        EXPECT_FALSE(m_window->HasUnappliedChanges());
    }
}

TEST_F(ProfileSlotsTest, ExportThenImportPutsTheFileOnTheKeyboardAtOnce) {
    QTemporaryDir folder;
    const QString path = folder.filePath("backup.vpf");
    AssignKeyA(0);
    AssignKeyA(2);
    {
        ModalAnswers answers({ChooseFile(path)});
        m_window->RunCommand(ControlIds::kBackupCommand);
    }
    ASSERT_EQ(ValidateProfileFile(path), ProfileCheck::Valid);

    // Back to defaults in the store and on the keyboard, then the backup comes back.
    {
        ModalAnswers answers({Press(QMessageBox::Yes)});
        m_window->RunCommand(ControlIds::kDefault);
    }
    ASSERT_EQ(Bytes(Firmware().KeyMap(2)), Bytes(Firmware().DefaultKeyMatrix()));
    m_keyboard.Keyboard().ClearLog();
    {
        ModalAnswers answers({ChooseFile(path)});
        m_window->RunCommand(ControlIds::kRestoreCommand);
    }
    EXPECT_EQ(CommandRuns(),
              (std::vector<uint8_t>{kCmdGroupStart, kCmdWriteMacroArea, kCmdWriteKeyMap,
                                    kCmdGroupEnd}));
    EXPECT_NE(Bytes(Firmware().KeyMap(0)), Bytes(Firmware().DefaultKeyMatrix()));
    EXPECT_EQ(Bytes(Firmware().KeyMap(1)), Bytes(Firmware().DefaultKeyMatrix()));
    EXPECT_NE(Bytes(Firmware().KeyMap(2)), Bytes(Firmware().DefaultKeyMatrix()));
    EXPECT_FALSE(Apply()->isEnabled());
    EXPECT_TRUE(m_window->Keys().KeyButton(test::PositionOf(KeyCode(0x1E)))->IsSelected());
}

TEST_F(ProfileSlotsTest, ImportedMacrosReachTheKeyboard) {
    QTemporaryDir folder;
    const QString path = folder.filePath("macros.vpf");
    {
        ProfileStore file;
        std::lock_guard lock(file.Lock());
        const MacroTable table = test::SampleTable(2, 12, 8);
        std::vector<MacroRecord> macros(table.Records().begin(), table.Records().end());
        file.Data().Records()[0x1E] = KeyAssignment{kAssignMacro, 1, macros.front().id, 0, 0};
        ASSERT_TRUE(file.Data().Macros().Replace(std::move(macros)));
        ASSERT_TRUE(SaveProfileToPath(file, path));
    }
    const std::vector<uint8_t> emptyArea = Bytes(Firmware().MacroAreaBytes());
    ModalAnswers answers({ChooseFile(path)});
    m_window->RunCommand(ControlIds::kRestoreCommand);
    EXPECT_NE(Bytes(Firmware().MacroAreaBytes()), emptyArea);
    std::lock_guard lock(StoreLock());
    EXPECT_EQ(m_window->Store().Data().Macros().Count(), 2u);
}

TEST_F(ProfileSlotsTest, CorruptImportSaysSoAndChangesNothing) {
    QTemporaryDir folder;
    const QString path = folder.filePath("corrupt.vpf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(40000, '\x5A'));
    file.close();
    AssignKeyA(0);

    QStringList shown;
    ModalAnswers answers({ChooseFile(path), Press(QMessageBox::Ok, &shown),
                          Press(QMessageBox::Ok, &shown)});
    m_window->RunCommand(ControlIds::kRestoreCommand);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last(), LanguageText("MAIN_PROMPT_INPORT"));
    EXPECT_TRUE(m_keyboard.Requests().empty());
    EXPECT_TRUE(Apply()->isEnabled());
    std::lock_guard lock(StoreLock());
    EXPECT_EQ(m_window->Store().Data().Records()[0x1E].type, kAssignKey);
}

TEST_F(ProfileSlotsTest, ExportToAnUnwritablePlaceSaysSo) {
    QStringList shown;
    ModalAnswers answers({ChooseFile("/proc/vantor/backup.vpf"), Press(QMessageBox::Ok, &shown)});
    m_window->RunCommand(ControlIds::kBackupCommand);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("/proc/vantor/backup.vpf")) << shown[0].toStdString();
}

TEST_F(ProfileSlotsTest, BusyPictureMovesWhileASlowKeyboardTakesTheDownload) {
    AssignKeyA(0);
    BusyAnimation& busy = m_window->Busy();
    int frames = 0;
    QObject::connect(&busy, &BusyAnimation::FrameShown, [&frames] { ++frames; });
    m_keyboard.Link().SetTimeouts({1000, 200, 10});
    FaultSwitch slow{EmulatorFault::LateReply};
    slow.lateReplyMs = 30;
    m_keyboard.Keyboard().SetFault(slow);
    Slots().Apply();
    EXPECT_FALSE(m_window->HasUnappliedChanges());
    EXPECT_GT(frames, 2) << "the frames advance while the download runs";
    EXPECT_FALSE(busy.isHidden()) << "it stays up a little after the work";
    EXPECT_TRUE(WaitUntil([&busy] { return busy.isHidden(); }));
}

TEST_F(ProfileSlotsTest, ProfileMenuIsMadeOnFirstUseAndSwitches) {
    EXPECT_EQ(Slots().ProfileMenuWidget(), nullptr);
    m_window->RunCommand(ControlIds::kProfileMenuCommand);
    QMenu* menu = Slots().ProfileMenuWidget();
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions()) texts << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(texts, QStringList({LanguageText("DEFAULT_PROFILE_NAME"), "-", "Profile 1",
                                  "Profile 2", "Profile 3"}));
    EXPECT_TRUE(menu->actions()[2]->isChecked());
    menu->close();

    m_window->RunCommand(9003);
    EXPECT_EQ(Firmware().ActiveProfile(), 2);
    EXPECT_TRUE(menu->actions()[4]->isChecked());
    EXPECT_TRUE(m_window->Button(ControlIds::kProfileButtons[2])->IsSelected());
}

TEST_F(ProfileSlotsTest, RemovalClosesTheWindowsQuestions) {
    m_window->RunCommand(TrayIcon::kCommandOpen);
    AssignKeyA(0);
    bool closedWithoutAnswer = false;
    QTimer::singleShot(0, [this, &closedWithoutAnswer] {
        // The keyboard leaves while the Default question is on screen.
        WaitUntil([] { return QApplication::activeModalWidget() != nullptr; });
        FromDeviceThread([this] {
            m_window->KeyboardGone();
            m_window->HideMainWindow();
        });
        closedWithoutAnswer = QApplication::activeModalWidget() == nullptr;
    });
    m_window->RunCommand(ControlIds::kDefault);
    EXPECT_TRUE(closedWithoutAnswer);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_keyboard.Requests().empty()) << "a closed question counts as No";
}

TEST_F(ProfileSlotsTest, KeyboardLeavingDuringApplyIsHandledOnceTheApplyEnds) {
    // The real device monitor sees the keyboard arrive and then leave.
    NotedEvents events(*m_window);
    m_state.SetPresent(false);
    PresenceMonitor monitor(m_keyboard.Link(), m_state, events, test::kQuickMonitor);
    monitor.Start();
    ASSERT_TRUE(WaitUntil([&] { return m_state.Present() && m_window->isVisible(); }));

    AssignKeyA(0);
    m_keyboard.Link().SetTimeouts({1000, 200, 10});
    FaultSwitch slow{EmulatorFault::LateReply};
    slow.lateReplyMs = 30;
    m_keyboard.Keyboard().SetFault(slow);
    bool heldDuringApply = false;
    // Runs inside the Apply, while its download goes to the slow keyboard.
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(Slots().IsBusy());
        m_keyboard.Keyboard().Unplug();
        ASSERT_TRUE(WaitUntil([&] { return events.noted.Count("gone") == 1; }));
        // The monitor waits in its blocking call: the removal is not handled yet.
        heldDuringApply = m_state.Present() && m_window->isVisible() && Slots().IsBusy();
    });
    test::MessageLog log;
    Slots().Apply();
    EXPECT_TRUE(heldDuringApply);
    EXPECT_TRUE(m_window->HasUnappliedChanges());
    // The failed Apply names the cause; the removal handled after it closes that box too.
    ASSERT_TRUE(log.Settle());
    EXPECT_EQ(log.texts, QStringList({LanguageText("KEYBOARD_GONE") + '\n' +
                                      LanguageText("APPLY_CHANGES_KEPT")}));

    EXPECT_TRUE(WaitUntil([&] { return !m_state.Present() && !m_window->isVisible(); }));
    EXPECT_EQ(m_window->TrayStateCode().Shown(), TrayState::kDisconnected);
    monitor.Stop();
}

TEST_F(ProfileSlotsTest, HiddenTestCommandSendsCommand0D) {
    m_window->RunCommand(ControlIds::kTestCommand);
    EXPECT_EQ(CommandRuns(), std::vector<uint8_t>{kCmd0D});
}

TEST_F(ProfileSlotsTest, KeyboardResetEventReturnsAssignmentsToDefaultsAndFollowsItsProfile) {
    AssignKeyA(0);
    Slots().Apply();
    m_keyboard.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        firmware.MutableArea(FirmwareArea::Status)[KeyboardFirmware::kActiveProfileOffset] = 1;
    });
    FromDeviceThread([this] { m_window->ProfileSwitched(); });
    EXPECT_TRUE(WaitUntil([this] { return m_window->Button(ControlIds::kProfileButtons[1])->IsSelected(); }));
    EXPECT_TRUE(m_window->HasUnappliedChanges());
    std::lock_guard lock(StoreLock());
    EXPECT_EQ(m_window->Store().Data().Records()[0x1E].type, kAssignDefault);
}

}  // namespace
}  // namespace vantor
