// The update window driven through its real widgets over the main window and an emulated
// keyboard: the messages it gives, what stays chosen, and the backup.

#include "update/UpdateDialog.h"

#include "mainwindow/ControlIds.h"
#include "mainwindow/MainWindowFixture.h"
#include "profiles/ProfileFile.h"
#include "shell/InstanceMessages.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "shell/skin/SkinGeometry.h"
#include "support/ModalAnswers.h"
#include "ui/ImageButton.h"

#include "UpdaterScript.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>

namespace vantor {
namespace {

using test::CancelFile;
using test::ChooseFile;
using test::ModalAnswers;
using test::Press;
using test::WaitUntil;

class UpdateDialogTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(AppPaths::Current()->PackageFolder()));
        ASSERT_TRUE(test::WriteUpdaterScript(Updater()));
        m_keyboard.Keyboard().ClearLog();
    }
    void TearDown() override {
        Dialog().reject();
        MainWindowTest::TearDown();
    }

    UpdateDialog& Dialog() { return m_window->UpdateWindow(); }
    UpdateDialog& Shown() {
        Dialog().show();
        return Dialog();
    }
    QString Updater() const { return AppPaths::Current()->PackageFolder() + "/flash.sh"; }
    QString Chosen() { return Dialog().Handoff().Chosen(); }
    void Click(int id) { Dialog().Button(id)->click(); }
    // Opens the file box and answers it.
    void Open(ModalAnswers::Answer answer) {
        ModalAnswers answers({std::move(answer)});
        Click(UpdateDialog::kOpenButton);
        ASSERT_EQ(answers.Answered(), 1u);
    }
    // Presses Update and notes the message it gives, if any.
    QStringList Update() {
        QStringList said;
        ModalAnswers answers({Press(QMessageBox::Ok, &said)});
        Click(UpdateDialog::kUpdateButton);
        return said;
    }
    static QString NoFile() { return LanguageText("UPDATE_NO_FILE"); }
};

TEST_F(UpdateDialogTest, CommandRequestOpensItAsAWindowPlacedByItsSkin) {
    bool topLevel = false;
    ModalAnswers answers({[&](QWidget* modal) {
        topLevel = modal == &Dialog() && modal->isWindow() && modal->isVisible();
        Dialog().reject();
    }});
    // The command arrives as the instance socket hands it over, from the event loop.
    EXPECT_EQ(m_window->HandleMessage({kMessageCommand, kTagCommand, ControlIds::kUpdateCommand}), 1u);
    EXPECT_EQ(m_window->HandleMessage({kMessageCommand, kTagOpen, ControlIds::kUpdateCommand}), 0u);
    ASSERT_TRUE(WaitUntil([&] { return answers.Answered() == 1u; }));
    EXPECT_TRUE(topLevel);

    const QString ini = AppPaths::Current()->UpdateSkinFile();
    const auto place = [&ini](const char* key) {
        return ReadSkinGeometry(ini, QStringLiteral("BUTTONINFO"), QString::fromLatin1(key)).Rect();
    };
    EXPECT_EQ(Dialog().PathText()->geometry(), place("CONTROL_UPStatic"));
    EXPECT_EQ(Dialog().findChild<QComboBox*>("1178")->geometry(), place("CONTROL_UPCombox"));
    EXPECT_FALSE(Dialog().findChild<QComboBox*>("1178")->isVisible());
    EXPECT_EQ(Dialog().Button(UpdateDialog::kUpdateButton)->geometry(),
              place("CONTROL_UPButton"));
}

TEST_F(UpdateDialogTest, UpdateWithoutAStartableUpdaterSaysSoAndSendsNothing) {
    Shown();
    EXPECT_EQ(Update(), QStringList{NoFile()});  // none chosen

    const QString plain = AppPaths::Current()->PackageFolder() + "/readme.sh";
    ASSERT_TRUE(test::WriteUpdaterScript(plain, {}, false));
    Open(ChooseFile(plain));
    EXPECT_EQ(Dialog().PathText()->toolTip(), plain);  // shown at once
    EXPECT_TRUE(Dialog().PathText()->text().endsWith(QStringLiteral("readme.sh")));
    EXPECT_EQ(Update(), QStringList{NoFile()});
    EXPECT_EQ(Chosen(), plain);
    EXPECT_TRUE(m_keyboard.Requests().empty());
    EXPECT_TRUE(Dialog().isVisible());

    // Cancelling the box after a choice leaves none.
    Open(CancelFile());
    EXPECT_TRUE(Chosen().isEmpty());
    EXPECT_TRUE(Dialog().PathText()->text().isEmpty());
}

TEST_F(UpdateDialogTest, ALaunchClosesTheWindowAndTheNextOpeningHasNoneChosen) {
    Shown();
    Open(ChooseFile(Updater()));
    EXPECT_TRUE(Update().isEmpty());
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_TRUE(Chosen().isEmpty());
    ASSERT_TRUE(WaitUntil([this] { return QFile::exists(Updater() + ".pwd"); }));
    ASSERT_EQ(m_keyboard.Requests().size(), 1u);
    EXPECT_EQ(m_keyboard.Requests()[0].command, kCmdEnterBootMode);

    Shown();
    EXPECT_TRUE(Dialog().PathText()->text().isEmpty());
    EXPECT_EQ(Update(), QStringList{NoFile()});
}

// A failure after the checks says where the update stopped and leaves the window open.
TEST_F(UpdateDialogTest, BootModeAndStartFailuresAreSaidAndTheWindowStays) {
    Shown();
    Open(ChooseFile(Updater()));
    m_keyboard.Link().SetDeviceOpen(false);
    EXPECT_EQ(Update(), QStringList{LanguageText("UPDATE_NO_BOOT_MODE")});
    m_keyboard.Link().SetDeviceOpen(true);
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_EQ(Chosen(), Updater()) << "the choice stays";

    // A file the system cannot run: boot mode is entered, the start fails.
    const QString garbage = AppPaths::Current()->PackageFolder() + "/garbage";
    ASSERT_TRUE(test::WriteUpdaterScript(garbage));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray(64, '\x7f'));
    file.close();
    Open(ChooseFile(garbage));
    EXPECT_EQ(Update(), QStringList{LanguageText("UPDATE_CANNOT_START")});
    EXPECT_TRUE(Dialog().isVisible());
    EXPECT_TRUE(Chosen().isEmpty());
    ASSERT_EQ(m_keyboard.Requests().size(), 1u);
    EXPECT_EQ(m_keyboard.Requests()[0].command, kCmdEnterBootMode);
}

// The messages are the language's: the Chinese ones as they always were, the English ones in
// the English program, and a change of language is followed.
TEST_F(UpdateDialogTest, MessagesAreInTheLanguageChosen) {
    const QString chinese[] = {QString::fromUtf16(u"请选择正确的更新文件! "), QString::fromUtf16(u"无法进入Boot模式! "),
                               QString::fromUtf16(u"无法执行更新文件! "), QString::fromUtf16(u"备份成功!"),
                               QString::fromUtf16(u"备份失败,请重新备份!")};
    const auto messages = [] {
        return std::vector<QString>{UpdateMessage(UpdateResult::NoUpdater), UpdateMessage(UpdateResult::BootModeFailed),
                                    UpdateMessage(UpdateResult::CannotStart), BackupMessage(true), BackupMessage(false)};
    };
    const std::vector<QString> english = messages();
    for (size_t i = 0; i < english.size(); ++i) {
        EXPECT_NE(english[i], chinese[i]) << i;
        EXPECT_FALSE(english[i].startsWith(u'#')) << i;
    }
    ASSERT_TRUE(SetLanguageIndex(0));
    EXPECT_EQ(m_window->HandleMessage({kMessageLanguage, kTagLang, 0}), 1u);
    EXPECT_EQ(messages(), std::vector<QString>(std::begin(chinese), std::end(chinese)));
    Shown();
    EXPECT_EQ(Update(), QStringList{chinese[0]});
}

TEST_F(UpdateDialogTest, CancelUpdateForgetsTheChoiceAndCloses) {
    Shown();
    Open(ChooseFile(Updater()));
    Click(UpdateDialog::kCancelUpdateButton);
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_TRUE(Chosen().isEmpty());
}

TEST_F(UpdateDialogTest, BackupWritesTheStoreOrSaysItFailed) {
    Shown();
    const QString good = m_env.Root() + "/backup.vpf";
    QStringList said;
    {
        ModalAnswers answers({ChooseFile(good), Press(QMessageBox::Ok, &said)});
        Click(UpdateDialog::kBackupButton);
    }
    EXPECT_EQ(ValidateProfileFile(good), ProfileCheck::Valid);
    // A place no file can be written, whoever runs the test.
    {
        ModalAnswers answers({ChooseFile("/proc/vantor-backup.vpf"), Press(QMessageBox::Ok, &said)});
        Click(UpdateDialog::kBackupButton);
    }
    EXPECT_EQ(said, (QStringList{LanguageText("UPDATE_BACKUP_DONE"), LanguageText("UPDATE_BACKUP_FAILED")}));
    EXPECT_TRUE(m_keyboard.Requests().empty());
}

}  // namespace
}  // namespace vantor
