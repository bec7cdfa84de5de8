#include "shell/tray/AboutDialog.h"
#include "shell/tray/TrayIcon.h"

#include "support/Application.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::EnsureApplication;

class TrayTest : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        m_env.WriteLanguageFile(1, {{"MENU_11", "Open it"},
                                    {"MENU_22", "About it"},
                                    {"MENU_33", "Leave"},
                                    {"LANG_ABOUT_TITLE", "About title"},
                                    {"GUANYU_JIESHAO", "First line"},
                                    {"GUANYU_BANQUAN", "Second line"},
                                    {"LANG_ABOUT_OK", "Fine"}});
        m_env.WriteLanguageFile(0, {{"LANG_ABOUT_TITLE", "关于"}, {"LANG_ABOUT_OK", "确定"}});
        m_env.SetLanguageIndex(1);
    }
    void TearDown() override { AboutDialog::CloseAboutIfOpen(); }

    test::TestEnvironment m_env;
};

QStringList Titles(const QMenu* menu) {
    QStringList titles;
    for (const QAction* action : menu->actions()) titles << action->text();
    return titles;
}

QList<int> BoldCommands(const QMenu* menu) {
    QList<int> bold;
    for (const QAction* action : menu->actions())
        if (action->font().bold()) bold << action->data().toInt();
    return bold;
}

TEST_F(TrayTest, MenuIsRetitledAtEachPopUpWithTheDefaultItemBold) {
    TrayIcon tray;
    ASSERT_TRUE(tray.Create("tip", QIcon(), 140, false));
    int callbacks = 0;
    tray.SetMenuCallback([&](QMenu* menu) {
        ++callbacks;
        const QStringList texts = {"Open it", "About it", "Leave"};
        for (int i = 0; i < menu->actions().size(); ++i) menu->actions()[i]->setText(texts[i]);
    });
    QMenu* menu = tray.Menu();
    ASSERT_NE(menu, nullptr);
    emit menu->aboutToShow();
    emit menu->aboutToShow();
    EXPECT_EQ(callbacks, 2);
    EXPECT_EQ(Titles(menu), QStringList({"Open it", "About it", "Leave"}));
    EXPECT_EQ(BoldCommands(menu), QList<int>{TrayIcon::kCommandOpen});

    tray.SetDefaultMenuItem(TrayIcon::kCommandAbout);
    emit menu->aboutToShow();
    EXPECT_EQ(BoldCommands(menu), QList<int>{TrayIcon::kCommandAbout});
}

TEST_F(TrayTest, DoubleClickAndMenuItemsIssueTheirCommands) {
    TrayIcon tray;
    ASSERT_TRUE(tray.Create("tip", QIcon(), 140, false));
    QSignalSpy commands(&tray, &TrayIcon::Command);
    tray.OnDoubleClick();
    emit tray.Icon()->activated(QSystemTrayIcon::Trigger);  // a single click does nothing
    tray.Menu()->actions().at(2)->trigger();
    ASSERT_EQ(commands.size(), 2);
    EXPECT_EQ(commands[0][0].toInt(), TrayIcon::kCommandOpen);
    EXPECT_EQ(commands[1][0].toInt(), TrayIcon::kCommandExit);
}

TEST_F(TrayTest, WithoutATrayHostTheIconWaitsInvalidKeepingTheStateItWillShow) {
    TrayIcon tray;
    if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "a tray host is running";
    EXPECT_FALSE(tray.Create("tip", QIcon()));
    EXPECT_FALSE(tray.IsValid());
    EXPECT_TRUE(tray.IsWaitingForTray());
    QSignalSpy commands(&tray, &TrayIcon::Command);
    tray.SetIconResource(141);
    tray.SetTip("x");
    tray.OnDoubleClick();
    EXPECT_EQ(tray.IconResource(), 141);
    tray.Remove();
    EXPECT_FALSE(tray.IsWaitingForTray());
    tray.SetIconResource(142);
    EXPECT_EQ(tray.IconResource(), 141);
    EXPECT_EQ(commands.size(), 0);
    EXPECT_EQ(tray.Menu(), nullptr);
}

TEST_F(TrayTest, IconResourceChangesOnlyWhileValid) {
    TrayIcon tray;
    QList<int> asked;
    tray.SetIconSource([&](int code) {
        asked << code;
        return QIcon();
    });
    ASSERT_TRUE(tray.Create("tip", QIcon(), 140, false));
    tray.SetIconResource(141);
    tray.Remove();
    tray.SetIconResource(142);
    EXPECT_EQ(asked, QList<int>{141});
    EXPECT_FALSE(tray.IsValid());
}

TEST_F(TrayTest, AboutBoxIsOneAtATimeWithItsTextsAndLink) {
    AboutDialog* first = AboutDialog::ShowAbout("https://example.test/kb");
    AboutDialog* second = AboutDialog::ShowAbout("https://example.test/other");
    ASSERT_EQ(first, second);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), "About title");
    EXPECT_EQ(first->FirstLine()->text(), "First line");
    EXPECT_EQ(first->SecondLine()->text(), "Second line");
    EXPECT_EQ(first->OkButton()->text(), "Fine");
    EXPECT_EQ(first->Link(), "https://example.test/kb");
    EXPECT_TRUE(first->LinkLabel()->text().contains("href=\"https://example.test/kb\""));

    first->ApplyLanguage(0);
    EXPECT_EQ(first->windowTitle(), "关于");
    EXPECT_EQ(first->FirstLine()->text(), "#Error");

    first->OkButton()->click();
    EXPECT_EQ(AboutDialog::Instance(), nullptr);
    AboutDialog* third = AboutDialog::ShowAbout("https://example.test/kb");
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(third->isVisible());
    AboutDialog::CloseAboutIfOpen();
    EXPECT_EQ(AboutDialog::Instance(), nullptr);
}

}  // namespace
}  // namespace vantor
