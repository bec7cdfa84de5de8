#include "mainwindow/MainWindow.h"

#include "device/DeviceState.h"
#include "keymodel/AssignmentRecords.h"
#include "keymodel/KeyNames.h"
#include "keymodel/KeyTables.h"
#include "lighting/LightingPanelView.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/LightingSlots.h"
#include "mainwindow/KeyButtonGrid.h"
#include "profiles/ProfileMenu.h"
#include "shell/AppLocks.h"
#include "shell/AppSettings.h"
#include "shell/InstanceMessages.h"
#include "shell/lang/Language.h"
#include "shell/skin/SkinGeometry.h"
#include "shell/tray/AboutDialog.h"
#include "ui/ImageButton.h"

#include "mainwindow/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <future>
#include <thread>
#include <tuple>

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

namespace vantor {
namespace {

using test::MainWindowTest;
using test::PositionOf;
using test::WaitUntil;

bool SemaphoreExists(const QString& name) {
    sem_t* semaphore = ::sem_open(("/" + name).toLocal8Bit().constData(), 0);
    if (semaphore == SEM_FAILED) return false;
    ::sem_close(semaphore);
    return true;
}

TEST_F(MainWindowTest, StartsHiddenWithoutEverShowingAndSetsItselfUp) {
    // Whatever the start queued has run: a stray show would have happened.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_shows.shows, 0) << "the window must never flash at start";
    EXPECT_EQ(m_deviceEventsReadyCalls, 1);
    EXPECT_EQ(m_window->WindowTag(), 0x4D41494Eu);
    EXPECT_EQ(m_window->windowTitle(), LanguageText("MAIN_CAPTION"));
    EXPECT_TRUE(m_window->Tray().IsValid());
    EXPECT_EQ(m_window->TrayStateCode().Shown(), 128);
    EXPECT_EQ(m_window->Events().CreatedCount(), 212);
    EXPECT_TRUE(SemaphoreExists(m_prefix + "Main_212"));
    EXPECT_EQ(m_window->Link(), "https://vantor.app/");

    // Close and Minimize sit where the skin puts them, with their tooltips.
    for (const auto& [id, key] : {std::pair{ControlIds::kClose, "CONTROL_CLOSE"}, {ControlIds::kMinimize, "CONTROL_MINIMIZE"}}) {
        ImageButton* button = m_window->Button(id);
        ASSERT_NE(button, nullptr) << id;
        const SkinGeometry geometry =
            ReadSkinGeometry(m_env.Paths().MainSkinFile(), "BUTTONINFO", key);
        EXPECT_EQ(button->geometry(), QRect(geometry.x, geometry.y, geometry.w, geometry.h)) << key;
        EXPECT_TRUE(button->isEnabled()) << key;
    }
    EXPECT_EQ(m_window->Button(ControlIds::kClose)->ToolTipText(), LanguageText("MAIN_CLOSE_PROMPT"));
}

TEST_F(MainWindowTest, OpenRequestShowsTheWindowOnlyWithAKeyboard) {
    EXPECT_EQ(m_window->HandleMessage({kMessageOpen, kTagKill}), 0u);
    EXPECT_EQ(m_window->NoDevicePrompt(), nullptr) << "an untagged request does nothing";

    EXPECT_EQ(m_window->HandleMessage({kMessageOpen, kTagOpen}), 1u);
    ASSERT_NE(m_window->NoDevicePrompt(), nullptr);
    EXPECT_TRUE(m_window->NoDevicePrompt()->isVisible());
    EXPECT_EQ(m_window->NoDevicePrompt()->Text(), LanguageText("MAIN_NO_DEVICE_PROMPT"));
    EXPECT_TRUE(m_window->NoDevicePrompt()->windowTitle().isEmpty());
    MessageBox* prompt = m_window->NoDevicePrompt();
    m_window->RunCommand(TrayIcon::kCommandOpen);  // the tray's Open: still one box
    EXPECT_EQ(m_window->NoDevicePrompt(), prompt);
    EXPECT_FALSE(m_window->isVisible());
    prompt->close();

    m_state.SetPresent(true);
    m_window->RunCommand(TrayIcon::kCommandOpen);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(m_window->windowFlags().testFlag(Qt::Tool)) << "shown with a taskbar button";

    // Enter and Escape neither apply nor hide.
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(MainWindowTest, DeviceThreadsReachTheWindowOnItsOwnThread) {
    AboutDialog::ShowAbout(m_window->Link());
    m_state.SetPresent(true);
    FromDeviceThread([this] {
        m_window->SetTrayState(false, 141);  // connected
        m_window->SetTrayState(true, 142);   // event 0x1811
    });
    EXPECT_EQ(m_window->TrayStateCode().Shown(), 142);
    EXPECT_EQ(m_window->Tray().IconResource(), 142);
    FromDeviceThread([this] { m_window->SetTrayState(true, 141); });  // 0x1810: the base again
    EXPECT_EQ(m_window->Tray().IconResource(), 141);

    FromDeviceThread([this] { m_window->OpenMainWindow(); });
    EXPECT_TRUE(m_window->isVisible());

    // Gone: child dialogs close before the call returns, then the window hides.
    std::atomic<bool> aboutClosedOnReturn{false};
    FromDeviceThread([&] {
        m_window->KeyboardGone();
        aboutClosedOnReturn = AboutDialog::Instance() == nullptr;
        m_window->HideMainWindow();
    });
    EXPECT_TRUE(aboutClosedOnReturn);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(MainWindowTest, CloseRunsTheShutdownInOrderOnce) {
    AboutDialog::ShowAbout(m_window->Link());
    QSignalSpy ended(m_window.get(), &MainWindow::Ended);
    QTest::mouseClick(m_window->Button(ControlIds::kClose), Qt::LeftButton);

    EXPECT_EQ(m_window->Shutdown().Completed(),
              QStringList({"hide the main window", "close child dialogs",
                           "release the single instance", "remove the named events",
                           "remove the tray icon", "clear unapplied changes",
                           "release the profile store", "release the download snapshot",
                           "end the dialog"}));
    EXPECT_EQ(ended.size(), 1);
    EXPECT_EQ(m_instanceReleases, 1);
    EXPECT_EQ(AboutDialog::Instance(), nullptr);
    EXPECT_FALSE(m_window->Tray().IsValid());
    EXPECT_FALSE(SemaphoreExists(m_prefix + "Main_01"));

    // A KILL or the tray's Exit afterwards runs nothing more; device calls are dropped.
    EXPECT_EQ(m_window->HandleMessage({kMessageKill, kTagKill}), 1u);
    m_window->RunCommand(TrayIcon::kCommandExit);
    m_window->KeyboardGone();
    EXPECT_EQ(ended.size(), 1);
    EXPECT_EQ(m_instanceReleases, 1);
}

TEST_F(MainWindowTest, TrayMenuAndTextsFollowTheLanguage) {
    QMenu* menu = m_window->Tray().Menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    QStringList titles;
    for (QAction* action : menu->actions()) titles << action->text();
    EXPECT_EQ(titles, QStringList({LanguageText("MENU_11"), LanguageText("MENU_22"),
                                   LanguageText("MENU_33")}));
    EXPECT_TRUE(menu->actions().first()->font().bold());

    m_env.SetLanguageIndex(0);
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().first()->text(), LanguageText("MENU_11", 0));
    EXPECT_NE(LanguageText("MENU_11", 0), LanguageText("MENU_11", 1));

    EXPECT_EQ(m_window->HandleMessage({kMessageLanguage, kTagLang, 0}), 1u);
    EXPECT_EQ(m_window->windowTitle(), LanguageText("MAIN_CAPTION", 0));
    EXPECT_EQ(m_window->HandleMessage({kMessageLanguage, kTagOpen, 1}), 0u);
    EXPECT_EQ(m_window->windowTitle(), LanguageText("MAIN_CAPTION", 0));
}

// Key buttons -----------------------------------------------------------------------------

constexpr KeyCode kKeyA = 0x1E;
constexpr KeyCode kKeyB = 0x30;
constexpr KeyCode kKeyBreak = 0x146;  // has a record but no button

KeyAssignment& Record(MainWindow& window, int block, int record) {
    return window.Store().Data().Records()[BlockStart(block) + record];
}

TEST_F(MainWindowTest, KeyButtonsArePlacedFromTheSkinAndShowAssignmentsFromTheStore) {
    KeyButtonGrid& keys = m_window->Keys();
    ImageButton* a = keys.KeyButton(PositionOf(kKeyA));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, m_window->Keys().Button(KeyListButtonIds[PositionOf(kKeyA)]));
    EXPECT_EQ(a->geometry(), QRect(177, 291, 38, 38));  // KEY_01E of the skin
    EXPECT_EQ(keys.KeyButton(PositionOf(0x137))->geometry().topLeft(), QPoint(717, 161));  // KEY_0B7
    EXPECT_EQ(keys.ExtraKeyButton(0)->geometry(), QRect(38, 161, 50, 25));
    ASSERT_NE(keys.FnButton(), nullptr);
    EXPECT_EQ(keys.FnButton()->geometry().topLeft(), QPoint(587, 371));
    // Keys the skin leaves out (K45 and K56) stay 1 x 1 and disabled.
    for (const KeyCode code : {KeyCode(0x56), KeyCode(0x73)}) {
        ImageButton* absent = keys.KeyButton(PositionOf(code));
        ASSERT_NE(absent, nullptr) << code;
        EXPECT_EQ(absent->size(), QSize(1, 1));
        EXPECT_FALSE(absent->isEnabled());
    }
    EXPECT_TRUE(keys.ExtraKeyButton(4)->isEnabled());
    EXPECT_FALSE(keys.ExtraKeyButton(5)->isEnabled());
    EXPECT_NE(a->PictureOf(ButtonFace::Selected), a->PictureOf(ButtonFace::Normal));

    // The default profile: nothing selected, tooltips are the names alone.
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(a->ToolTipText(), KeyName(kKeyA));
    EXPECT_EQ(keys.ExtraKeyButton(0)->ToolTipText(), "G1");

    {
        std::lock_guard lock(StoreLock());
        Record(*m_window, 0, RowOfCode(kKeyA)) = KeyAssignment{kAssignKey, 0, kKeyB, 0, 0};
        Record(*m_window, 1, RowOfCode(kKeyB)) = KeyAssignment{kAssignKey, 0, kKeyA, 0, 0};
    }
    m_window->RefreshKeyButtons();
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(a->CurrentFace(), ButtonFace::Selected);
    EXPECT_EQ(a->ToolTipText(), KeyName(kKeyA) + LanguageText("KEY_PROMPT_SET") +
                                    LanguageText("KEY_PROMPT_SINGLE") + KeyName(kKeyB) + ")");
    // Block 1 is not shown while the active profile is unknown; then it is.
    ImageButton* b = keys.KeyButton(PositionOf(kKeyB));
    EXPECT_FALSE(b->IsSelected());
    m_state.SetActiveProfile(1);
    m_window->RefreshKeyButtons();
    m_state.SetActiveProfile(-1);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(a->ToolTipText(), KeyName(kKeyA));
}

TEST_F(MainWindowTest, MacroTooltipNamesTheStoresMacro) {
    {
        std::lock_guard lock(StoreLock());
        std::vector<MacroRecord> macros(1);
        macros[0].SetName("Greeting");
        macros[0].id = 7;
        ASSERT_TRUE(m_window->Store().Data().Macros().Replace(std::move(macros)));
        Record(*m_window, 0, RowOfCode(kKeyB)) = KeyAssignment{kAssignMacro, 1, 7, 0, 0};
    }
    m_window->RefreshKeyButtons();
    EXPECT_EQ(m_window->Keys().KeyButton(PositionOf(kKeyB))->ToolTipText(),
              KeyName(kKeyB) + LanguageText("KEY_PROMPT_SET") + LanguageText("KEY_PROMPT_MACRO") +
                  "Greeting)");
}

TEST_F(MainWindowTest, ResetProfileAssignmentsClearsOnlyTheButtonsRecords) {
    const int recordA = RowOfCode(kKeyA);
    const int breakRecord = RowOfCode(kKeyBreak);
    ASSERT_EQ(PositionOf(kKeyBreak), kKeyListSize) << "Break must have no button";
    const KeyAssignment breakAssignment{kAssignKey, 0, kKeyA, 0, 0};
    {
        std::lock_guard lock(StoreLock());
        for (int block : {0, 1}) {
            Record(*m_window, block, recordA) = KeyAssignment{kAssignKey, 0, kKeyB, 1, 0};
            Record(*m_window, block, breakRecord) = breakAssignment;
            Record(*m_window, block, 256).type = kAssignFunction;  // G1, bank A
            Record(*m_window, block, 265).type = kAssignFunction;  // G10, bank B: not shown
        }
    }
    m_window->RefreshKeyButtons();
    ImageButton* a = m_window->Keys().KeyButton(PositionOf(kKeyA));
    ASSERT_TRUE(a->IsSelected());

    // Another block: its records reset, the buttons keep showing block 0.
    m_window->ResetProfileAssignments(1);
    EXPECT_TRUE(m_window->HasUnappliedChanges());
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(Record(*m_window, 1, recordA).type, kAssignDefault);

    m_window->ResetProfileAssignments(0);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(a->ToolTipText(), KeyName(kKeyA));
    EXPECT_FALSE(m_window->Keys().ExtraKeyButton(0)->IsSelected());
    std::lock_guard lock(StoreLock());
    for (int block : {0, 1}) {
        const KeyAssignment& reset = Record(*m_window, block, recordA);
        EXPECT_EQ(reset.type, kAssignDefault);
        EXPECT_EQ(reset.value, 0u);
        // The colour-selection word belongs to the key at key-list position 0x1E: kept.
        EXPECT_EQ(reset.colourSelection, 1u);
        EXPECT_EQ(std::memcmp(&Record(*m_window, block, breakRecord), &breakAssignment,
                              sizeof(KeyAssignment)), 0);
        EXPECT_EQ(Record(*m_window, block, 256).type, kAssignDefault);
        EXPECT_EQ(Record(*m_window, block, 256).parameter, ExtraKeyParameter(1));
        EXPECT_EQ(Record(*m_window, block, 265).type, kAssignFunction);
    }
}

TEST_F(MainWindowTest, ExtraKeyButtonsFollowTheBankShown) {
    KeyButtonGrid& keys = m_window->Keys();
    ImageButton* g4 = keys.ExtraKeyButton(3);
    {
        std::lock_guard lock(StoreLock());
        Record(*m_window, 0, 268) = KeyAssignment{kAssignFunction, 0, 2, 0, 0};
    }
    m_window->RefreshKeyButtons();
    EXPECT_FALSE(g4->IsSelected()) << "bank A shows record 259";

    m_window->SetExtraKeyBank(ExtraKeyBank::B);
    EXPECT_TRUE(g4->IsSelected());
    EXPECT_TRUE(g4->ToolTipText().startsWith("G4" + LanguageText("KEY_PROMPT_SET")))
        << g4->ToolTipText().toStdString();

    // The look goes back to plain without touching the store; bank A's record has no button now.
    m_window->ResetKeyButton(259);
    EXPECT_TRUE(g4->IsSelected());
    m_window->ResetKeyButton(268);
    EXPECT_FALSE(g4->IsSelected());
    EXPECT_EQ(g4->ToolTipText(), "G4");
    EXPECT_EQ(Record(*m_window, 0, 268).type, kAssignFunction);
    m_window->ResetKeyButton(511);  // no button: nothing happens
}

TEST_F(MainWindowTest, FunctionButtonsArePlacedWithTheirFacesTextsAndStyles) {
    const std::array<uint32_t, 5> colours = {0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF};
    // Buttons with a language text: the text of the current language, the shared style.
    const std::pair<int, const char*> texts[] = {
        {ControlIds::kMacro, "PROFILE_MACRO"},
        {ControlIds::kOk, "PROFILE_OK"},
        {ControlIds::kCancel, "PROFILE_CANCLE"},
        {ControlIds::kApply, "PROFILE_APPLY"},
        {ControlIds::kProfileButtons[0], "PROFILE_1"},
        {ControlIds::kDefault, "PROFILE_DEFAULT"}};
    for (const auto& [id, key] : texts) {
        ImageButton* button = m_window->Button(id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), LanguageText(key)) << id;
        EXPECT_NE(button->text(), "#Error") << id;
        const ButtonTextStyle& style = button->TextStyle();
        EXPECT_TRUE(style.drawText) << id;
        EXPECT_EQ(style.family, "Arial Unicode MS");
        const bool large = id == ControlIds::kMacro || id == ControlIds::kProfileButtons[0];
        EXPECT_EQ(style.pointSize, large ? 10 : 8) << id;
        EXPECT_EQ(style.colours, colours) << id;
        EXPECT_EQ(style.format, 0x25u) << id;
    }
    EXPECT_EQ(m_window->Button(ControlIds::kApply)->text(), "Apply");  // the English file's own word

    // Placed from the skin, faces cut at their own place.
    ImageButton* apply = m_window->Button(ControlIds::kApply);
    EXPECT_EQ(apply->geometry(), QRect(708, 706, 100, 34));
    EXPECT_NE(apply->PictureOf(ButtonFace::Disabled), apply->PictureOf(ButtonFace::Normal));
    EXPECT_FALSE(apply->isEnabled()) << "nothing to apply yet";
    m_window->SetUnappliedChanges(true);
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_TRUE(m_window->HasUnappliedChanges());

    ImageButton* profiles = m_window->Button(ControlIds::kProfiles);
    EXPECT_EQ(profiles->TextStyle().pointSize, 10);
    EXPECT_EQ(profiles->TextStyle().format, 0x28u);

    ImageButton* version = m_window->Button(ControlIds::kVersion);
    EXPECT_TRUE(version->text().isEmpty());
    EXPECT_EQ(version->TextStyle().family, "Verdana Unicode MS");
    EXPECT_EQ(version->TextStyle().format, 0x24u);
    EXPECT_FALSE(version->isEnabled());
    for (const int id : {ControlIds::kLockCaps, ControlIds::kLockNum, ControlIds::kLockScroll,
                         ControlIds::kLockAb, ControlIds::kFlip0, ControlIds::kLeftArrow,
                         ControlIds::kRightArrow})
        EXPECT_FALSE(m_window->Button(id)->isEnabled()) << id;
    EXPECT_FALSE(m_window->Button(ControlIds::kSwitch)->isVisibleTo(m_window.get())) << "Switch stays hidden";
    EXPECT_EQ(m_window->Button(ControlIds::kLink)->ToolTipText(), m_window->Link());
    EXPECT_EQ(m_window->Button(ControlIds::kBackupMenu)->ToolTipText(), LanguageText("MAIN_MENU_PROMPT"));
}

TEST_F(MainWindowTest, MacroAndCancelButtonsDoTheirCommands) {
    m_state.SetPresent(true);
    m_window->RunCommand(TrayIcon::kCommandOpen);
    ASSERT_TRUE(m_window->isVisible());
    int openedFor = 0;
    QTimer::singleShot(0, m_window.get(), [&] {
        openedFor = m_window->KeyAssign().RecordIndex();
        m_window->KeyAssign().CloseIfOpen();
    });
    m_window->RunCommand(ControlIds::kMacro);
    EXPECT_EQ(openedFor, 264) << "G9 of bank A";
    m_window->RunCommand(2);
    EXPECT_FALSE(m_window->isVisible());
}

// A hidden window holds none of its full-window pictures and shows the same when it opens again.
TEST_F(MainWindowTest, HiddenWindowLetsGoOfItsPicturesAndShowsTheSameAgain) {
    const auto normalPicture = [](MainWindow& window) {
        return window.Button(ControlIds::kClose)->PictureOf(ButtonFace::Normal);
    };
    m_state.SetPresent(true);
    m_window->RunCommand(TrayIcon::kCommandOpen);
    ASSERT_TRUE(m_window->isVisible());
    const QImage opened = m_window->grab().toImage();
    ASSERT_FALSE(normalPicture(*m_window)->isNull());

    m_window->RunCommand(ControlIds::kCancel);
    ASSERT_FALSE(m_window->isVisible());
    EXPECT_TRUE(m_window->Background().isNull());
    EXPECT_TRUE(normalPicture(*m_window)->isNull());
    EXPECT_EQ(m_window->windowHandle(), nullptr) << "its surface in the window system is gone";

    for (int opening = 0; opening < 2; ++opening) {
        m_window->RunCommand(TrayIcon::kCommandOpen);
        ASSERT_TRUE(m_window->isVisible());
        EXPECT_TRUE(m_window->grab().toImage() == opened) << "opening " << opening;
        m_window->RunCommand(ControlIds::kCancel);
    }

    // Started in the tray, a window builds and decodes nothing until it first shows, then
    // shows the same.
    MainWindow inTray(m_env.Paths().MainSkinFile(), m_env.Paths().SkinFolder(),
                      WindowSetup(m_prefix + QStringLiteral("Tray")));
    inTray.Start();
    QApplication::processEvents();
    EXPECT_FALSE(inTray.IsBuilt());
    EXPECT_TRUE(inTray.findChildren<ImageButton*>().isEmpty());
    EXPECT_TRUE(inTray.findChildren<QLineEdit*>().isEmpty());
    EXPECT_TRUE(inTray.Background().isNull());
    EXPECT_FALSE(inTray.isVisible());
    inTray.RunCommand(TrayIcon::kCommandOpen);
    ASSERT_TRUE(inTray.isVisible());
    EXPECT_TRUE(inTray.grab().toImage() == opened);
    inTray.Exit();
}

// At start, the first sight of the keyboard shows the window at once; what was read of the
// keyboard reaches it after that, and until then the window takes no input.
TEST_F(MainWindowTest, FirstSightOfTheKeyboardShowsTheWindowBeforeTheKeyboardIsRead) {
    struct ShowWatch : QObject {
        QListWidget* effects = nullptr;
        ImageButton* flip = nullptr;
        int effectsWhenShown = -1;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Show && effectsWhenShown < 0) {
                effectsWhenShown = effects->count();
                QTest::mouseClick(flip, Qt::LeftButton);
            }
            return false;
        }
    } watch;
    const auto flipSetting = [] { return ReadAppSetting("PROFILES", "Flip", "missing"); };
    watch.effects = m_window->Lighting().View().EffectList();
    watch.flip = m_window->Button(ControlIds::kFlip1);
    m_window->installEventFilter(&watch);
    ASSERT_FALSE(m_state.FirstReportDone());
    KeyboardArrives();
    m_window->removeEventFilter(&watch);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(watch.effectsWhenShown, 0) << "shown before the lighting was read";
    EXPECT_EQ(flipSetting(), "missing") << "a click before the keyboard was shown";
    EXPECT_GT(watch.effects->count(), 0) << "the lighting read shows once it is in";
    QTest::mouseClick(watch.flip, Qt::LeftButton);
    EXPECT_EQ(flipSetting(), "1") << "a click once the keyboard is shown";

    // The device monitor's request to open follows; the window on the screen stays as it is.
    m_window->OpenMainWindow();
    QApplication::processEvents();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_shows.shows, 1) << "not hidden and shown again";
}

// A window started in the tray follows the keyboard without its controls and, opened, shows
// what a window built from the start shows after the same events. A command of its controls
// (a second start's command message) builds it and runs, the window staying hidden.
TEST_F(MainWindowTest, WindowStartedInTheTrayFollowsTheKeyboardAndOpensAsOneBuiltAtStart) {
    test::EmulatedLink trayKeyboard;
    DeviceState trayState;
    const auto startInTray = [&](const QString& prefix) {
        MainWindow::Setup setup = WindowSetup(m_prefix + prefix);
        setup.link = &trayKeyboard.Link();
        setup.deviceState = &trayState;
        // As a "/Start" start: the keyboard's first sight does not open the window.
        trayState.SetFirstReportDone(true);
        auto window = std::make_unique<MainWindow>(m_env.Paths().MainSkinFile(),
                                                   m_env.Paths().SkinFolder(), setup);
        window->Start();
        trayKeyboard.FillDeviceState(trayState);
        trayState.SetPresent(true);
        FromDeviceThread([&window] { window->KeyboardConnected(); });
        return window;
    };
    std::unique_ptr<MainWindow> inTray = startInTray(QStringLiteral("Tray"));

    // The same events reach both windows: the keyboard's arrival, the tray's profile menu, a
    // lighting event.
    const auto bothWindows = [&](const std::function<void(MainWindow&)>& event) {
        event(*m_window);
        event(*inTray);
        QApplication::processEvents();
    };
    KeyboardArrives();
    bothWindows([](MainWindow& window) { window.RunCommand(kProfileMenuFirstProfileItem + 2); });
    EXPECT_EQ(trayState.ActiveProfile(), 2) << "the profile menu reached the keyboard";
    EXPECT_EQ(inTray->Lighting().Profile(), 2);
    bothWindows([](MainWindow& window) { window.LightingChanged(); });
    EXPECT_FALSE(inTray->IsBuilt()) << "the tray's own commands need no window";
    EXPECT_TRUE(inTray->findChildren<QLineEdit*>().isEmpty());

    bothWindows([](MainWindow& window) { window.RunCommand(TrayIcon::kCommandOpen); });
    ASSERT_TRUE(m_window->isVisible());
    ASSERT_TRUE(inTray->isVisible());
    EXPECT_TRUE(inTray->grab().toImage() == m_window->grab().toImage());
    EXPECT_TRUE(inTray->Button(ControlIds::kProfileButtons[2])->IsSelected());
    EXPECT_EQ(inTray->Lighting().View().EffectList()->count(),
              m_window->Lighting().View().EffectList()->count());
    inTray->Exit();

    inTray = startInTray(QStringLiteral("Command"));
    inTray->RunCommand(ControlIds::kProfileButtons[1]);
    EXPECT_EQ(trayState.ActiveProfile(), 1) << "the profile button reached the keyboard";
    EXPECT_TRUE(inTray->IsBuilt());
    EXPECT_FALSE(inTray->isVisible());
    EXPECT_TRUE(inTray->Background().isNull()) << "hidden, it holds no pictures";
    inTray->RunCommand(TrayIcon::kCommandOpen);
    ASSERT_TRUE(inTray->isVisible());
    EXPECT_TRUE(inTray->Button(ControlIds::kProfileButtons[1])->IsSelected());
    inTray->Exit();
}

TEST_F(MainWindowTest, FlipTogglesTheFnLayerAndTwiceReturnsToTheStart) {
    const auto stored = [] { return ReadAppSetting("PROFILES", "Flip", "missing"); };
    const auto expectLayer = [this](bool flipped) {
        for (const int id : ControlIds::kF1ToF4)
            EXPECT_EQ(m_window->Keys().Button(id)->isEnabled(), !flipped) << id;
        for (const int id : ControlIds::kD1ToD6)
            EXPECT_EQ(m_window->Button(id)->isEnabled(), flipped) << id;
        EXPECT_TRUE(m_window->Keys().Button(ControlIds::kF5)->isEnabled()) << "F5 is not part of it";
    };
    EXPECT_EQ(stored(), "missing");
    expectLayer(false);

    // The arrows follow the setting once their Flip button is drawn.
    m_state.SetPresent(true);
    m_window->RunCommand(TrayIcon::kCommandOpen);
    ImageButton* left = m_window->Button(ControlIds::kLeftArrow);
    ImageButton* right = m_window->Button(ControlIds::kRightArrow);
    EXPECT_TRUE(WaitUntil([&] { return left->FaceOrigin() == QPoint(61, 21); }));  // DOWN_ARROW_LEFT1
    EXPECT_EQ(left->geometry(), QRect(190, 118, 24, 28));
    EXPECT_TRUE(WaitUntil([&] { return right->FaceOrigin() == QPoint(141, 21); }));

    m_window->RunCommand(ControlIds::kFlip1);
    EXPECT_EQ(stored(), "1");
    EXPECT_EQ(m_window->Flip(), 1);
    expectLayer(true);
    EXPECT_TRUE(WaitUntil([&] { return left->FaceOrigin() == QPoint(21, 21); }));  // UP_ARROW_LEFT1
    EXPECT_TRUE(WaitUntil([&] { return right->FaceOrigin() == QPoint(101, 21); }));

    m_window->RunCommand(ControlIds::kFlip2);
    EXPECT_EQ(stored(), "0");
    expectLayer(false);
    EXPECT_TRUE(WaitUntil([&] { return left->FaceOrigin() == QPoint(61, 21); }));

    // A stored value other than 0 counts as on; toggling it writes 0. Garbage counts as off.
    for (const auto& [value, flippedBefore, after] :
         {std::tuple{"7", true, "0"}, std::tuple{"x", false, "1"}, std::tuple{"-1", true, "0"}}) {
        ASSERT_TRUE(WriteAppSetting("PROFILES", "Flip", value));
        m_window->ApplyFlip();
        expectLayer(flippedBefore);
        m_window->RunCommand(ControlIds::kFlip2);
        EXPECT_EQ(stored(), after) << value;
    }
}

TEST_F(MainWindowTest, ColourViewShowsTheColourWordEachButtonOwns) {
    const int five = PositionOf(0x006);  // key-list position 30 = 0x1E, the number of A's record
    {
        std::lock_guard lock(StoreLock());
        Record(*m_window, 0, 0).colourSelection = 1;             // owned by A, position 0
        Record(*m_window, 0, RowOfCode(kKeyA)).colourSelection = 1;  // owned by position 0x1E
        Record(*m_window, 0, 3).colourSelection = 1;             // owned by G4 in bank A
    }
    ImageButton* a = m_window->Keys().KeyButton(PositionOf(kKeyA));
    ImageButton* b = m_window->Keys().KeyButton(PositionOf(kKeyB));
    ASSERT_EQ(five, 0x1E);
    EXPECT_FALSE(m_window->ColourView());
    EXPECT_EQ(a->CurrentFace(), ButtonFace::Normal);

    m_window->RunCommand(ControlIds::kSwitch);
    EXPECT_TRUE(m_window->ColourView());
    EXPECT_EQ(a->CurrentFace(), ButtonFace::ToggleSecond);
    EXPECT_EQ(b->CurrentFace(), ButtonFace::ToggleFirst);
    EXPECT_EQ(m_window->Keys().KeyButton(five)->CurrentFace(), ButtonFace::ToggleSecond);
    EXPECT_EQ(m_window->Keys().ExtraKeyButton(3)->CurrentFace(), ButtonFace::ToggleSecond);
    // G1 in bank A owns record 0 too, with A.
    EXPECT_EQ(m_window->Keys().ExtraKeyButton(0)->CurrentFace(), ButtonFace::ToggleSecond);
    EXPECT_EQ(m_window->Keys().ExtraKeyButton(2)->CurrentFace(), ButtonFace::ToggleFirst);
    EXPECT_EQ(m_window->Button(ControlIds::kSwitch)->text(), LanguageText("MAIN_SWITCH_COLOR_TEXT"));
    EXPECT_NE(a->PictureOf(ButtonFace::ToggleFirst), a->PictureOf(ButtonFace::ToggleSecond));

    // A click toggles the word the view shows, marks it unapplied and opens no dialog.
    b->click();
    EXPECT_FALSE(m_window->KeyAssign().IsOpen());
    EXPECT_EQ(b->CurrentFace(), ButtonFace::ToggleSecond);
    EXPECT_EQ(Record(*m_window, 0, PositionOf(kKeyB)).colourSelection, 1u);
    EXPECT_EQ(Record(*m_window, 0, RowOfCode(kKeyB)).colourSelection, 0u);
    EXPECT_TRUE(m_window->HasUnappliedChanges());
    m_window->Keys().ExtraKeyButton(3)->click();
    EXPECT_EQ(m_window->Keys().ExtraKeyButton(3)->CurrentFace(), ButtonFace::ToggleFirst);
    EXPECT_EQ(Record(*m_window, 0, 3).colourSelection, 0u);

    m_window->RunCommand(ControlIds::kSwitch);
    EXPECT_FALSE(m_window->ColourView());
    EXPECT_EQ(a->CurrentFace(), ButtonFace::Normal);
    EXPECT_EQ(m_window->Button(ControlIds::kSwitch)->text(), LanguageText("MAIN_SWITCH_FUNCTION_TEXT"));
}


TEST_F(MainWindowTest, KeyButtonsTakeOutlineColoursAndLoseThemOnReset) {
    KeyButtonGrid& keys = m_window->Keys();
    const struct {
        int id;
        int keyPosition;    // KeyPositionOfControl
        int extraPosition;  // KeyPositionOfExtraKey
    } cases[] = {
        {KeyListButtonIds[0], KeyListLedPositions[0], 0},
        {kFnButtonId, 110, 0},
        {ExtraKeyButtonIds[8], 0, 125},
        {ControlIds::kApply, 0, 0},  // Apply is no key
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyPositionOfControl(c.id), c.keyPosition) << c.id;
        EXPECT_EQ(KeyPositionOfExtraKey(c.id), c.extraPosition) << c.id;
    }

    ImageButton* fn = keys.FnButton();
    ImageButton* g1 = keys.ExtraKeyButton(0);
    m_window->SetKeyButtonColour(kFnButtonId, 0x0000FF, true);
    m_window->SetKeyButtonColour(ExtraKeyButtonIds[0], 0x00FF00, true);
    g1->SetSelected(true);
    EXPECT_TRUE(fn->IsOutlined());
    m_window->SetKeyButtonColour(ControlIds::kApply, 0x0000FF, true);  // not a key: nothing
    EXPECT_FALSE(m_window->Button(ControlIds::kApply)->IsOutlined());

    m_window->ResetKeyButtonLooks();
    EXPECT_FALSE(fn->IsOutlined());
    EXPECT_FALSE(g1->IsOutlined());
    EXPECT_FALSE(g1->IsSelected());
}

TEST_F(MainWindowTest, ArrowsDoNotMoveTheEffectListAndEnterReachesNoControl) {
    m_state.SetPresent(true);
    m_window->RunCommand(TrayIcon::kCommandOpen);
    // The lighting panel's effect list, and another list of the window.
    auto* effects = new QComboBox(m_window.get());
    effects->setObjectName(QString::number(ControlIds::kEffectList));
    auto* other = new QComboBox(m_window.get());
    for (QComboBox* list : {effects, other}) list->addItems({"one", "two", "three"});
    effects->setFocus();
    QTest::keyClick(effects, Qt::Key_Down);
    EXPECT_EQ(effects->currentIndex(), 0);
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Down);
    EXPECT_EQ(other->currentIndex(), 1) << "arrows elsewhere work";

    // Enter and Escape on a focused button neither press it nor close the window.
    m_window->SetUnappliedChanges(true);
    ImageButton* apply = m_window->Button(ControlIds::kApply);
    apply->setFocus();
    QTest::keyClick(apply, Qt::Key_Return);
    QTest::keyClick(apply, Qt::Key_Escape);
    EXPECT_TRUE(m_window->HasUnappliedChanges());
    EXPECT_TRUE(m_window->isVisible());
}

// A main window that counts its lighting-event and preview-tick calls, and notes the thread of
// the lighting one.
class TimerCountingWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    std::atomic<int> lightingTimers{0};
    std::atomic<int> previewTicks{0};
    std::atomic<bool> onUiThread{true};

protected:
    void OnLightingTimer() override {
        onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
        ++lightingTimers;
    }
    void PreviewTick() override { ++previewTicks; }
};

TEST_F(MainWindowTest, LightingEventAndPreviewTickReachTheWindow) {
    TimerCountingWindow window(m_env.Paths().MainSkinFile(), m_env.Paths().SkinFolder(),
                            WindowSetup(m_prefix + "Timers_"));
    window.Initialise();

    // Event 0x0401 from the listener's thread: one handler run, on the window's thread.
    FromDeviceThread([&window] { window.LightingChanged(); });
    EXPECT_TRUE(WaitUntil([&window] { return window.lightingTimers == 1; }));
    EXPECT_TRUE(window.onUiThread);

    // The preview ticks only while colour mode is on.
    EXPECT_FALSE(window.PreviewTicking());
    EXPECT_EQ(window.previewTicks, 0);
    window.SetColourMode(true);
    EXPECT_TRUE(WaitUntil([&window] { return window.previewTicks >= 2; }));
    window.SetColourMode(false);
    EXPECT_FALSE(window.PreviewTicking());
    window.Exit();
}

}  // namespace
}  // namespace vantor
