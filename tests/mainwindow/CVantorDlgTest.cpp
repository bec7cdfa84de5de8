#include "mainwindow/CVantorDlg.h"

#include "device/DeviceState.h"
#include "shell/InstanceMessages.h"
#include "shell/lang/Language.h"
#include "shell/skin/SkinGeometry.h"
#include "shell/tray/CAboutDlg.h"
#include "ui/CPngButton.h"

#include "mainwindow/ProgramData.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

namespace vantor {
namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_mainwindow";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
}

// Counts the times a widget was shown, to catch a window that flashes up and hides again.
class ShowCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
    int shows = 0;
};

bool SemaphoreExists(const QString& name) {
    sem_t* semaphore = ::sem_open(("/" + name).toLocal8Bit().constData(), 0);
    if (semaphore == SEM_FAILED) return false;
    ::sem_close(semaphore);
    return true;
}

class CVantorDlgTest : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(test::CopyProgramData(m_env.ProgramFolder()))
            << "the build's skin and language files are missing";
        m_env.SetLanguageIndex(1);
        CVantorDlg::Setup setup;
        setup.deviceState = &m_state;
        setup.startListener = [this] { m_started << "listener"; };
        setup.startMonitor = [this] { m_started << "monitor"; };
        setup.releaseInstance = [this] { ++m_instanceReleases; };
        setup.namedEventPrefix = m_prefix;
        setup.requireTrayHost = false;
        m_window = std::make_unique<CVantorDlg>(m_env.Paths().MainSkinFile(),
                                                m_env.Paths().SkinFolder(), setup);
        m_window->installEventFilter(&m_shows);
        m_window->Initialise();
        QApplication::processEvents();
    }

    void TearDown() override {
        CAboutDlg::CloseAboutIfOpen();
        if (m_window) m_window->Exit();
    }

    // Runs `work` on a thread of its own (as the device threads do) while this thread's event
    // loop turns.
    void FromDeviceThread(const std::function<void()>& work) {
        auto done = std::async(std::launch::async, work);
        while (done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        QApplication::processEvents();
    }

    test::TestEnvironment m_env;
    DeviceState m_state;
    QStringList m_started;
    int m_instanceReleases = 0;
    const QString m_prefix = QStringLiteral("VantorDlgTest%1_").arg(::getpid());
    ShowCounter m_shows;
    std::unique_ptr<CVantorDlg> m_window;
};

TEST_F(CVantorDlgTest, StartsHiddenWithoutEverShowingAndSetsItselfUp) {
    QTest::qWait(50);  // let any stray show happen
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_shows.shows, 0) << "the window must never flash at start";
    EXPECT_EQ(m_started, QStringList({"listener", "monitor"}));
    EXPECT_EQ(m_window->WindowTag(), 0x4D41494Eu);
    EXPECT_EQ(m_window->windowTitle(), LanguageText("MAIN_CAPTION"));
    EXPECT_TRUE(m_window->Tray().IsValid());
    EXPECT_EQ(m_window->TrayStateCode().Shown(), 128);
    EXPECT_EQ(m_window->Events().CreatedCount(), 212);
    EXPECT_TRUE(SemaphoreExists(m_prefix + "Main_212"));
    EXPECT_EQ(m_window->Link(), "https://vantor.app/");

    // Close and Minimize sit where the skin puts them, with their tooltips.
    for (const auto& [id, key] : {std::pair{1124, "CONTROL_CLOSE"}, {1123, "CONTROL_MINIMIZE"}}) {
        CPngButton* button = m_window->Button(id);
        ASSERT_NE(button, nullptr) << id;
        const SkinGeometry geometry =
            ReadSkinGeometry(m_env.Paths().MainSkinFile(), "BUTTONINFO", key);
        EXPECT_EQ(button->geometry(), QRect(geometry.x, geometry.y, geometry.w, geometry.h)) << key;
        EXPECT_TRUE(button->isEnabled()) << key;
    }
    EXPECT_EQ(m_window->Button(1124)->ToolTipText(), LanguageText("MAIN_CLOSE_PROMPT"));
}

TEST_F(CVantorDlgTest, OpenRequestShowsTheWindowOnlyWithAKeyboard) {
    EXPECT_EQ(m_window->HandleMessage(kMessageOpen, kTagKill), 0u);
    EXPECT_EQ(m_window->NoDevicePrompt(), nullptr) << "an untagged request does nothing";

    EXPECT_EQ(m_window->HandleMessage(kMessageOpen, kTagOpen), 1u);
    ASSERT_NE(m_window->NoDevicePrompt(), nullptr);
    EXPECT_TRUE(m_window->NoDevicePrompt()->isVisible());
    EXPECT_EQ(m_window->NoDevicePrompt()->text(), LanguageText("MAIN_NO_DEVICE_PROMPT"));
    EXPECT_TRUE(m_window->NoDevicePrompt()->windowTitle().isEmpty());
    QMessageBox* prompt = m_window->NoDevicePrompt();
    m_window->OnCommand(CTrayIcon::kCommandOpen);  // the tray's Open: still one box
    EXPECT_EQ(m_window->NoDevicePrompt(), prompt);
    EXPECT_FALSE(m_window->isVisible());
    prompt->close();

    m_state.SetPresent(true);
    m_window->OnCommand(CTrayIcon::kCommandOpen);
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_FALSE(m_window->windowFlags().testFlag(Qt::Tool)) << "shown with a taskbar button";

    // Enter and Escape neither apply nor hide.
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QTest::keyClick(m_window.get(), Qt::Key_Return);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(CVantorDlgTest, DeviceThreadsReachTheWindowOnItsOwnThread) {
    CAboutDlg::ShowAbout(m_window->Link());
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
        aboutClosedOnReturn = CAboutDlg::Instance() == nullptr;
        m_window->HideMainWindow();
    });
    EXPECT_TRUE(aboutClosedOnReturn);
    EXPECT_FALSE(m_window->isVisible());
}

TEST_F(CVantorDlgTest, CloseRunsTheShutdownInOrderOnce) {
    CAboutDlg::ShowAbout(m_window->Link());
    QSignalSpy ended(m_window.get(), &CVantorDlg::Ended);
    QTest::mouseClick(m_window->Button(1124), Qt::LeftButton);

    EXPECT_EQ(m_window->Shutdown().Completed(),
              QStringList({"hide the main window", "close child dialogs",
                           "release the single instance", "remove the named events",
                           "remove the tray icon", "clear unapplied changes",
                           "release the profile store", "release the download snapshot",
                           "end the dialog"}));
    EXPECT_EQ(ended.size(), 1);
    EXPECT_EQ(m_instanceReleases, 1);
    EXPECT_EQ(CAboutDlg::Instance(), nullptr);
    EXPECT_FALSE(m_window->Tray().IsValid());
    EXPECT_FALSE(SemaphoreExists(m_prefix + "Main_01"));

    // A KILL or the tray's Exit afterwards runs nothing more; device calls are dropped.
    EXPECT_EQ(m_window->HandleMessage(kMessageKill, kTagKill), 1u);
    m_window->OnCommand(CTrayIcon::kCommandExit);
    m_window->KeyboardGone();
    EXPECT_EQ(ended.size(), 1);
    EXPECT_EQ(m_instanceReleases, 1);
}

TEST_F(CVantorDlgTest, TrayMenuAndTextsFollowTheLanguage) {
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

    EXPECT_EQ(m_window->HandleMessage(kMessageLanguage, kTagLang, 0), 1u);
    EXPECT_EQ(m_window->windowTitle(), LanguageText("MAIN_CAPTION", 0));
    EXPECT_EQ(m_window->HandleMessage(kMessageLanguage, kTagOpen, 1), 0u);
    EXPECT_EQ(m_window->windowTitle(), LanguageText("MAIN_CAPTION", 0));
}

}  // namespace
}  // namespace vantor
