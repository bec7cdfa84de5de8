// The skinned message box on the build's default skin: which answer each key gives, the words
// of its buttons in each language, and where it stands.

#include "ui/MessageBox.h"

#include "mainwindow/ProgramData.h"
#include "shell/lang/Language.h"
#include "support/Application.h"
#include "support/TestEnvironment.h"
#include "ui/ImageButton.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vantor {
namespace {

class MessageBoxTest : public testing::Test {
protected:
    void SetUp() override {
        test::EnsureApplication();
        ASSERT_TRUE(test::CopyProgramData(m_env.ProgramFolder())) << "the build's skin is missing";
        m_env.SetLanguageIndex(1);
    }

    // Runs the box modally and types the key into it once it shows; the answer.
    static QMessageBox::StandardButton Answer(MessageBox& box, Qt::Key key) {
        QTimer::singleShot(0, &box, [&box, key] {
            QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, key);
        });
        box.exec();
        return box.Answer();
    }

    test::TestEnvironment m_env;
};

TEST_F(MessageBoxTest, EnterTakesTheDefaultAndEscapeTheNoOrCancelAnswer) {
    struct Case {
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        Qt::Key key;
        QMessageBox::StandardButton answer;
    };
    const Case cases[] = {
        {QMessageBox::Yes | QMessageBox::No, QMessageBox::No, Qt::Key_Return, QMessageBox::No},
        {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, Qt::Key_Enter, QMessageBox::Yes},
        {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, Qt::Key_Escape, QMessageBox::No},
        {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, Qt::Key_Escape,
         QMessageBox::Cancel},
        {QMessageBox::Ok, QMessageBox::Ok, Qt::Key_Escape, QMessageBox::Ok},
        {QMessageBox::Ok, QMessageBox::Ok, Qt::Key_Return, QMessageBox::Ok},
        // Space presses the button that has the focus, which is the default one.
        {QMessageBox::Yes | QMessageBox::No, QMessageBox::No, Qt::Key_Space, QMessageBox::No},
    };
    for (const Case& c : cases) {
        MessageBox box(QStringLiteral("question"), c.buttons, c.defaultButton);
        EXPECT_EQ(Answer(box, c.key), c.answer)
            << "key " << c.key << " default " << c.defaultButton;
    }
}

TEST_F(MessageBoxTest, ButtonsAreImageButtonsWordedInTheChosenLanguage) {
    for (const int language : {0, 1}) {
        m_env.SetLanguageIndex(language);
        MessageBox box(QStringLiteral("text"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        box.show();
        for (const auto& [button, key] :
             {std::pair{QMessageBox::Yes, "MSGBOX_YES"}, std::pair{QMessageBox::No, "MSGBOX_NO"}}) {
            ImageButton* face = box.ButtonOf(button);
            ASSERT_NE(face, nullptr);
            EXPECT_EQ(face->text(), LanguageText(key, language));
            EXPECT_NE(face->text(), QStringLiteral("#Error"));
        }
        // Yes stands left of No, both inside the box.
        EXPECT_LT(box.ButtonOf(QMessageBox::Yes)->x(), box.ButtonOf(QMessageBox::No)->x());
        EXPECT_TRUE(box.rect().contains(box.ButtonOf(QMessageBox::No)->geometry()));
        EXPECT_EQ(box.windowTitle(), QString::fromUtf16(kApplicationName));
        box.reject();
    }
    EXPECT_EQ(LanguageText("MSGBOX_NO", 0), QStringLiteral("否"));
}

TEST_F(MessageBoxTest, StandsOverItsParentOrInTheMiddleOfTheScreen) {
    QWidget parent;
    parent.setGeometry(100, 80, 900, 600);
    parent.show();
    MessageBox over(QStringLiteral("text"), QMessageBox::Ok, QMessageBox::Ok, &parent);
    over.show();
    EXPECT_LE((over.frameGeometry().center() - parent.frameGeometry().center()).manhattanLength(),
              2);
    over.reject();

    MessageBox alone(QStringLiteral("text"), QMessageBox::Ok, QMessageBox::Ok);
    alone.show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((alone.frameGeometry().center() - screen.center()).manhattanLength(), 2);
    alone.reject();
}

}  // namespace
}  // namespace vantor
