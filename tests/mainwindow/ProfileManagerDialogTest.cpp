// The profile manager driven through its real widgets, over the main window and an emulated
// keyboard: the profile button opens it, its list and buttons change the rows, and its Apply
// and the main window's profile switches keep each other's state.

#include "profiles/ProfileManagerDialog.h"

#include "mainwindow/ControlIds.h"
#include "mainwindow/MainWindowFixture.h"
#include "mainwindow/ProfileSlots.h"
#include "profiles/ProfileFile.h"
#include "shell/InstanceMessages.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "shell/skin/SkinGeometry.h"
#include "support/ModalAnswers.h"
#include "ui/ImageButton.h"

#include <QFile>
#include <QDir>
#include <QHeaderView>
#include <QTableWidget>
#include <QtTest/QTest>

#include <functional>

namespace vantor {
namespace {

using test::ChooseFile;
using test::ModalAnswers;
using test::Press;
using test::WaitUntil;

class ProfileManagerDialogTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        m_keyboard.FillDeviceState(m_state);
        m_state.SetPresent(true);
        FromDeviceThread([this] { m_window->KeyboardConnected(); });
    }
    void TearDown() override {
        Dialog().reject();
        MainWindowTest::TearDown();
    }

    ProfileManagerDialog& Dialog() { return m_window->Profiles().Manager(); }
    // The dialog shown without its modal loop, so a test can go on driving it.
    ProfileManagerDialog& Shown() {
        Dialog().show();
        return Dialog();
    }
    QTableWidget& List() { return *Dialog().List(); }
    QStringList Names() {
        QStringList names;
        for (int r = 0; r < List().rowCount(); ++r) names << List().item(r, 1)->text();
        return names;
    }
    std::vector<bool> Checks() {
        std::vector<bool> checks;
        for (int r = 0; r < List().rowCount(); ++r)
            checks.push_back(List().item(r, 0)->checkState() == Qt::Checked);
        return checks;
    }
    bool ApplyEnabled() { return Dialog().Button(ProfileManagerDialog::kApply)->isEnabled(); }
    void Click(int id) { Dialog().Button(id)->click(); }
    QString UserFile(const QString& name) {
        return AppPaths::Current()->UserFolder() + u'/' + name;
    }
};

TEST_F(ProfileManagerDialogTest, TheProfileButtonOpensItModalWithTheWorkingFileInEachRow) {
    QStringList names;
    std::vector<bool> checks;
    bool applyEnabled = true;
    bool topLevel = false;
    ModalAnswers answers({[&](QWidget* modal) {
        auto* dialog = qobject_cast<ProfileManagerDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << "expected the profile manager";
        topLevel = dialog->isWindow() && dialog->isVisible();
        names = Names();
        checks = Checks();
        applyEnabled = ApplyEnabled();
        EXPECT_EQ(ProfileManager::OpenCount(), 1);
        dialog->Button(ProfileManagerDialog::kCancel)->click();
    }});
    m_window->RunCommand(ControlIds::kProfiles);
    ASSERT_EQ(answers.Answered(), 1u);
    EXPECT_TRUE(topLevel);
    // The on-board profiles by the profile buttons' names, never the working file's name.
    EXPECT_EQ(names, (QStringList{"Profile 1", "Profile 2", "Profile 3"}));
    EXPECT_EQ(checks, (std::vector<bool>{true, false, false}));  // the keyboard's profile 0
    EXPECT_FALSE(applyEnabled);
    EXPECT_EQ(ProfileManager::OpenCount(), 0);

    // Headers in the program's language, widths fixed, the list placed as the skin says.
    const QStringList headers = {"Active", "Name", "Folder"};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(List().horizontalHeaderItem(c)->text(), headers[c]);
        EXPECT_EQ(List().columnWidth(c), (std::array{60, 120, 230})[size_t(c)]);
    }
    const SkinGeometry place = ReadSkinGeometry(AppPaths::Current()->ProfileSkinFile(),
                                                QStringLiteral("BUTTONINFO"),
                                                QStringLiteral("PROGRAM_LIST"));
    EXPECT_EQ(List().geometry(), QRect(place.x, place.y, place.w, place.h));
}

TEST_F(ProfileManagerDialogTest, ApplySwitchesToTheCheckedRowAndTurnsApplyOffInBothWindows) {
    Shown();
    List().item(2, 0)->setCheckState(Qt::Checked);
    List().item(1, 0)->setCheckState(Qt::Checked);  // a second check unchecks the first
    EXPECT_EQ(Checks(), (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(ApplyEnabled());

    m_window->SetUnappliedChanges(true);
    Click(ProfileManagerDialog::kApply);
    EXPECT_EQ(m_keyboard.Keyboard().Firmware().ActiveProfile(), 1);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(m_window->Button(ControlIds::kApply)->isEnabled());
    EXPECT_FALSE(m_window->HasUnappliedChanges());
    EXPECT_TRUE(Dialog().isVisible());

    // OK with nothing changed closes without applying again.
    m_keyboard.Keyboard().ClearLog();
    Click(ProfileManagerDialog::kOk);
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_TRUE(m_keyboard.Requests().empty());
}

TEST_F(ProfileManagerDialogTest, AProfileSwitchWhileOpenChecksItsRowOrAsksAboutTheChecks) {
    Shown();
    m_window->RunCommand(ControlIds::kProfileButtons[2]);
    EXPECT_EQ(m_keyboard.Keyboard().Firmware().ActiveProfile(), 2);
    EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true}));
    EXPECT_FALSE(ApplyEnabled());

    // With a check not yet applied the switch asks first.
    List().item(0, 0)->setCheckState(Qt::Checked);
    QStringList asked;
    ModalAnswers answers({Press(QMessageBox::No, &asked)});
    m_window->RunCommand(ControlIds::kProfileButtons[1]);
    EXPECT_EQ(asked, QStringList{LanguageText(QStringLiteral("PROFILE_SELECT_PROMPT"))});
    EXPECT_EQ(m_keyboard.Keyboard().Firmware().ActiveProfile(), 1);
}

TEST_F(ProfileManagerDialogTest, AddLoadAndDeleteChangeRowsNotFiles) {
    Shown();
    // Add proposes the language's name in the profile folder and writes a default profile.
    const QString created = UserFile(QStringLiteral("Gaming.vpf"));
    QString proposed;
    ModalAnswers add({[&](QWidget* modal) {
        auto* box = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(box, nullptr);
        proposed = box->directory().absolutePath() + u'/' +
                   box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        ChooseFile(created)(modal);
    }});
    Click(ProfileManagerDialog::kAdd);
    EXPECT_EQ(proposed, UserFile(QStringLiteral("New profile.vpf")));
    EXPECT_EQ(ValidateProfileFile(created), ProfileCheck::Valid);
    EXPECT_EQ(Names().last(), QStringLiteral("Gaming"));
    EXPECT_TRUE(ApplyEnabled());

    // Load takes a row for a file it does not read: not a profile file, and no message.
    const QString junk = m_env.Root() + QStringLiteral("/junk.vpf");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a profile");
    file.close();
    ModalAnswers load({ChooseFile(junk)});
    Click(ProfileManagerDialog::kLoad);
    EXPECT_EQ(load.Answered(), 1u);
    EXPECT_EQ(Names(), (QStringList{"Profile 1", "Profile 2", "Profile 3", "Gaming", "junk"}));
    EXPECT_EQ(List().item(4, 2)->text(), QDir::toNativeSeparators(m_env.Root() + u'/'));

    List().selectRow(3);
    Click(ProfileManagerDialog::kDelete);
    EXPECT_EQ(Names().size(), 4);
    EXPECT_EQ(Names().last(), QStringLiteral("junk"));
    EXPECT_TRUE(QFile::exists(created));

    // A new file that cannot be written is said, and gives no row.
    QStringList said;
    ModalAnswers unwritable({ChooseFile(QStringLiteral("/proc/vantor-x.vpf")),
                             Press(QMessageBox::Ok, &said)});
    Click(ProfileManagerDialog::kAdd);
    EXPECT_EQ(said.size(), 1);
    EXPECT_EQ(Names().size(), 4);
}

// Delete removes the row the person selected and no other: not the current row left after a
// Ctrl+click took the selection away or after Tab moved into the list, and not the row that
// moved up into the deleted one's place.
TEST_F(ProfileManagerDialogTest, DeleteRemovesTheSelectedRowOnly) {
    const auto rowCentre = [this](int row) { return List().visualRect(List().model()->index(row, 1)).center(); };
    const struct {
        const char* what;
        std::function<void()> select;
        QStringList left;
    } cases[] = {
        {"the selected row", [&] { QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, rowCentre(1)); },
         {"Profile 1", "Profile 3"}},
        {"selection taken away by Ctrl+click",
         [&] {
             QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, rowCentre(1));
             QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(1));
         },
         {"Profile 1", "Profile 2", "Profile 3"}},
        // Tab into the list makes a row current and selects none.
        {"current row, none selected",
         [&] { List().selectionModel()->setCurrentIndex(List().model()->index(2, 1), QItemSelectionModel::NoUpdate); },
         {"Profile 1", "Profile 2", "Profile 3"}},
        {"nothing selected", [] {}, {"Profile 1", "Profile 2", "Profile 3"}},
    };
    for (const auto& c : cases) {
        Shown();
        c.select();
        Click(ProfileManagerDialog::kDelete);
        EXPECT_EQ(Names(), c.left) << c.what;
        Click(ProfileManagerDialog::kDelete);
        EXPECT_EQ(Names(), c.left) << c.what << ": a second Delete removes nothing more";
        EXPECT_EQ(ApplyEnabled(), c.left.size() < 3) << c.what;
        Dialog().reject();
    }
}

TEST_F(ProfileManagerDialogTest, OkAppliesAChangeAndCancelDropsIt) {
    Shown();
    List().item(1, 0)->setCheckState(Qt::Checked);
    Click(ProfileManagerDialog::kCancel);
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(m_keyboard.Keyboard().Firmware().ActiveProfile(), 0);
    EXPECT_EQ(ProfileManager::OpenCount(), 0);

    Shown();
    EXPECT_EQ(Checks(), (std::vector<bool>{true, false, false})) << "the next opening starts afresh";
    EXPECT_FALSE(ApplyEnabled());
    List().item(2, 0)->setCheckState(Qt::Checked);
    Click(ProfileManagerDialog::kOk);
    EXPECT_FALSE(Dialog().isVisible());
    EXPECT_EQ(m_keyboard.Keyboard().Firmware().ActiveProfile(), 2);
}

TEST_F(ProfileManagerDialogTest, ATypedNameWithoutExtensionGetsVpf) {
    Shown();
    ModalAnswers add({ChooseFile(UserFile(QStringLiteral("Racing")))});
    Click(ProfileManagerDialog::kAdd);
    ASSERT_EQ(add.Answered(), 1u);
    EXPECT_EQ(ValidateProfileFile(UserFile(QStringLiteral("Racing.vpf"))), ProfileCheck::Valid);
    EXPECT_EQ(Names().last(), QStringLiteral("Racing"));
}

// The headers and the on-board profiles' names follow a change of language.
TEST_F(ProfileManagerDialogTest, TextsFollowTheLanguage) {
    Shown();
    ASSERT_TRUE(SetLanguageIndex(0));
    EXPECT_EQ(m_window->HandleMessage({kMessageLanguage, kTagLang, 0}), 1u);
    const QStringList headers = {QString::fromUtf16(u"激活"), QString::fromUtf16(u"名称"), QString::fromUtf16(u"路径")};
    for (int c = 0; c < 3; ++c) EXPECT_EQ(List().horizontalHeaderItem(c)->text(), headers[c]);
    EXPECT_EQ(Names(), (QStringList{LanguageText("PROFILE_1", 0), LanguageText("PROFILE_2", 0), LanguageText("PROFILE_3", 0)}));
    EXPECT_EQ(m_window->Button(ControlIds::kProfiles)->text(), LanguageText("PROFILE_1", 0));
}

}  // namespace
}  // namespace vantor
