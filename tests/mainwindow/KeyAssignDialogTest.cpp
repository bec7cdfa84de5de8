// The key assignment dialog opened from the main window's keys, offscreen, with key events
// as X11 and Wayland deliver them (native scan code = evdev + 8).

#include "keyassign/KeyAssignDialog.h"

#include "keymodel/KeyNames.h"
#include "keymodel/KeyTables.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/KeyButtonGrid.h"
#include "mainwindow/ProfileSlots.h"
#include "shell/AppLocks.h"
#include "shell/InstanceMessages.h"
#include "shell/lang/Language.h"

#include "mainwindow/KeyAssignDialogFixture.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

namespace vantor::test {
namespace {

using D = KeyAssignDialog;

TEST_F(KeyAssignDialogTest, AMouseRecordOpensOnTheMouseEntryAndOkWritesItBackUnchanged) {
    const KeyAssignment mouse{kAssignKey, 0, 0x171, 1, 0x77};
    SetRecord(RowOfCode(kKeyA), mouse);
    const int result = WhileOpen(kButtonA, [](D& d) {
        EXPECT_EQ(d.RecordIndex(), RowOfCode(kKeyA));
        EXPECT_TRUE(d.IsCapturing());
        EXPECT_TRUE(Shown(d, D::kKeyField));
        EXPECT_FALSE(Shown(d, D::kMediaList));
        EXPECT_TRUE(d.Button(D::kPageKey)->IsSelected());
        EXPECT_FALSE(d.Button(D::kPageMedia)->IsSelected());
        EXPECT_TRUE(static_cast<QRadioButton*>(d.Control(D::kMouseRadio))->isChecked());
        EXPECT_EQ(static_cast<QListWidget*>(d.Control(D::kMouseList))->currentRow(), 0);
        EXPECT_TRUE(d.Control(D::kMouseList)->isEnabled());
        EXPECT_FALSE(d.Control(D::kKeyField)->isEnabled());
        EXPECT_FALSE(d.Button(D::kApply)->isEnabled());
        d.RunCommand(D::kOk);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(Dialog().IsCapturing()) << "the grab ends with the dialog";
    const KeyAssignment& written = Record(0, RowOfCode(kKeyA));
    EXPECT_EQ(std::memcmp(&written, &mouse, sizeof mouse), 0);
    EXPECT_TRUE(m_window->HasUnappliedChanges());
}

TEST_F(KeyAssignDialogTest, KeyCaptureTakesFirstPressesAndLetsMediaKeysPass) {
    WhileOpen(kButtonA, [](D& d) {
        auto* field = static_cast<QLineEdit*>(d.Control(D::kKeyField));
        KeyCounter reached;
        field->installEventFilter(&reached);
        d.installEventFilter(&reached);

        // Held B: captured once; its auto-repeats are swallowed.
        Key(d, QEvent::KeyPress, KEY_B);
        EXPECT_EQ(d.CapturedKey(), kKeyB);
        EXPECT_EQ(field->text(), KeyName(kKeyB));
        EXPECT_TRUE(d.Button(D::kApply)->isEnabled());
        d.RunCommand(D::kApply);
        EXPECT_FALSE(d.Button(D::kApply)->isEnabled());
        for (int i = 0; i < 3; ++i) Key(d, QEvent::KeyPress, KEY_B, true);
        Key(d, QEvent::KeyRelease, KEY_B);
        EXPECT_FALSE(d.Button(D::kApply)->isEnabled()) << "a repeat is no new capture";
        EXPECT_EQ(reached.keys, 0);

        // A media key passes on and captures nothing.
        Press(d, KEY_VOLUMEUP);
        EXPECT_EQ(d.CapturedKey(), kKeyB);
        EXPECT_GE(reached.keys, 2);
        reached.keys = 0;

        // Caps Lock with the mouse radio checked: nothing changes, nothing reaches the dialog.
        d.RunCommand(D::kMouseRadio);
        Press(d, KEY_CAPSLOCK);
        EXPECT_EQ(d.CapturedKey(), kKeyB);
        EXPECT_EQ(field->text(), KeyName(kKeyB));
        EXPECT_EQ(reached.keys, 0);

        // Left Super is taken whatever the radio, as 0x15B, and kept from everyone else.
        Press(d, KEY_LEFTMETA);
        EXPECT_EQ(d.CapturedKey(), 0x15B);
        Press(d, KEY_COMPOSE);
        EXPECT_EQ(d.CapturedKey(), 0x15D);
        EXPECT_EQ(reached.keys, 0);

        // Print Screen is taken on its press; Enter and Escape are keys like any other here.
        d.RunCommand(D::kKeyRadio);
        Key(d, QEvent::KeyPress, KEY_SYSRQ);
        EXPECT_EQ(d.CapturedKey(), 0x137);
        Press(d, KEY_ESC);
        EXPECT_EQ(d.CapturedKey(), 0x001);
        EXPECT_TRUE(d.isVisible());

        // Another page ends the capture.
        d.RunCommand(D::kPageMedia);
        EXPECT_FALSE(d.IsCapturing());
        Press(d, KEY_C);
        EXPECT_EQ(d.CapturedKey(), 0x001);
        field->removeEventFilter(&reached);
        d.removeEventFilter(&reached);
    });
    EXPECT_FALSE(Dialog().IsCapturing());
}

// Each opening shows the opened key's own record: a key captured and cancelled before is gone.
TEST_F(KeyAssignDialogTest, EachOpeningShowsTheKeysOwnRecordInTheKeyField) {
    SetRecord(RowOfCode(kKeyA), {kAssignKey, 0, kKeyB, 0, 0});
    const auto field = [](D& d) { return static_cast<QLineEdit*>(d.Control(D::kKeyField))->text(); };
    WhileOpen(kButtonA, [&](D& d) {
        EXPECT_EQ(field(d), KeyName(kKeyB));
        Press(d, KEY_C);
        EXPECT_EQ(field(d), KeyName(0x2E));
        d.RunCommand(D::kCancel);
    });
    QString shown = QStringLiteral("not opened");
    WhileOpen(KeyListButtonIds[1], [&](D& d) { shown = field(d); });  // a default key
    EXPECT_EQ(shown, QString());
    WhileOpen(kButtonA, [&](D& d) { shown = field(d); });
    EXPECT_EQ(shown, KeyName(kKeyB));
}

TEST_F(KeyAssignDialogTest, RecordRulesOfOkAndCancel) {
    const struct {
        const char* what;
        KeyAssignment before;
        std::function<void(D&)> edit;
        KeyAssignment after;
    } cases[] = {
        {"A assigned to A", {kAssignKey, 0, kKeyB, 1, 0},
         [](D& d) { Press(d, KEY_A); d.RunCommand(D::kOk); }, {kAssignDefault, 0, kKeyA, 1, 0}},
        {"Clear then OK", {kAssignKey, 0, kKeyB, 0, 9},
         [](D& d) { d.RunCommand(D::kClear); d.RunCommand(D::kOk); }, {kAssignDefault, 0, 0, 0, 9}},
        {"Clear from the media page", {kAssignMedia, 0, 3, 0, 0},
         [](D& d) { d.RunCommand(D::kClear); d.RunCommand(D::kOk); }, {kAssignDefault, 0, 0, 0, 0}},
        {"media 6", {kAssignMedia, 0, 2, 0, 0},
         [](D& d) {
             EXPECT_EQ(static_cast<QListWidget*>(d.Control(D::kMediaList))->currentRow(), 2);
             EXPECT_FALSE(d.Button(D::kApply)->isEnabled());
             static_cast<QListWidget*>(d.Control(D::kMediaList))->setCurrentRow(6);
             EXPECT_TRUE(d.Button(D::kApply)->isEnabled()) << "a choice is an edit";
             d.RunCommand(D::kOk);
         },
         {kAssignMedia, 0, 6, 0, 0}},
        {"function 10", {},
         [](D& d) {
             d.RunCommand(D::kPageFunction);
             static_cast<QListWidget*>(d.Control(D::kFunctionList))->setCurrentRow(10);
             d.RunCommand(D::kOk);
         },
         {kAssignFunction, 0, 10, 0, 0}},
        {"wheel down", {},
         [](D& d) {
             d.RunCommand(D::kMouseRadio);
             static_cast<QListWidget*>(d.Control(D::kMouseList))->setCurrentRow(4);
             d.RunCommand(D::kOk);
         },
         {kAssignKey, 0, 0x162, 0, 0}},
        {"macro without macros", {},
         [](D& d) { d.RunCommand(D::kPageMacro); d.RunCommand(D::kOk); }, {kAssignDefault, 0, 0, 0, 0}},
        {"Cancel keeps the record", {kAssignMedia, 0, 3, 0, 0},
         [](D& d) { Press(d, KEY_B); d.RunCommand(D::kCancel); }, {kAssignMedia, 0, 3, 0, 0}},
        {"Enter and Escape do not close", {kAssignFunction, 0, 2, 0, 0},
         [](D& d) {
             d.RunCommand(D::kPageFunction);
             Press(d, KEY_ENTER);
             Press(d, KEY_ESC);
             EXPECT_TRUE(d.isVisible());
         },
         {kAssignFunction, 0, 2, 0, 0}},
    };
    for (const auto& c : cases) {
        SetRecord(RowOfCode(kKeyA), c.before);
        WhileOpen(kButtonA, c.edit);
        const KeyAssignment& r = Record(0, RowOfCode(kKeyA));
        EXPECT_EQ(std::tie(r.type, r.parameter, r.value, r.colourSelection, r.reserved),
                  std::tie(c.after.type, c.after.parameter, c.after.value, c.after.colourSelection,
                           c.after.reserved))
            << c.what;
        EXPECT_FALSE(Dialog().IsOpen()) << c.what;
    }
    // A's button shows what was written last and is back to its own faces.
    ImageButton* a = m_window->Keys().KeyButton(0);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_NE(a->PictureOf(ButtonFace::Selected), a->PictureOf(ButtonFace::Normal));
}

TEST_F(KeyAssignDialogTest, OpensBesideTheButtonWithTextsOfTheLanguage) {
    for (const int language : {0, 1}) {
        m_env.SetLanguageIndex(language);
        WhileOpen(ExtraKeyButtonIds[2], [language, this](D& d) {
            EXPECT_EQ(d.RecordIndex(), 258);
            EXPECT_FALSE(d.MacroOnly());
            EXPECT_TRUE(m_window->Keys().ExtraKeyButton(2)->PictureOf(ButtonFace::Normal) ==
                        m_window->Keys().ExtraKeyButton(2)->PictureOf(ButtonFace::Hover))
                << "looks hovered while the dialog is open";
            EXPECT_EQ(d.Button(D::kPageKey)->text(), LanguageText("SINGLE_KEY", language));
            EXPECT_EQ(static_cast<QLabel*>(d.Control(1199))->text(), LanguageText("KEY_SETTING_TISHI", language));
            EXPECT_EQ(static_cast<QListWidget*>(d.Control(D::kFunctionList))->item(0)->text(),
                      LanguageText("FUNC_KEY_DESC1", language));
            EXPECT_EQ(static_cast<QListWidget*>(d.Control(D::kMediaList))->count(), kMediaCount);
            EXPECT_TRUE(d.Button(D::kOsk)->ToolTipText().startsWith(LanguageText("COMPOSITE_PROMPT_OSK", language)));
            EXPECT_NE(d.Button(D::kOk)->text(), "#Error");
            // Right of and below the button when the screen has room there.
            const ImageButton* g3 = m_window->Keys().ExtraKeyButton(2);
            const QRect b(g3->mapToGlobal(QPoint(0, 0)), g3->size());
            EXPECT_EQ(d.pos(), QPoint(b.left() + b.width(), b.top() + b.height()));
            EXPECT_EQ(d.size(), d.Background().size());
        });
    }
    EXPECT_EQ(Dialog().OpenForButton(kFnButtonId), -1);
    EXPECT_EQ(Dialog().OpenForButton(ControlIds::kApply), -1);
}

TEST_F(KeyAssignDialogTest, TheMacroCommandOpensCentredOnTheMacroPageForG9OfTheBankShown) {
    {
        std::lock_guard lock(StoreLock());
        std::vector<MacroRecord> macros(2);
        macros[0].id = 4;
        macros[0].SetName("first");
        macros[1].id = 9;
        macros[1].SetName("second");
        ASSERT_TRUE(m_window->Store().Data().Macros().Replace(std::move(macros)));
    }
    for (const ExtraKeyBank bank : {ExtraKeyBank::A, ExtraKeyBank::B}) {
        m_window->SetExtraKeyBank(bank);
        const int record = bank == ExtraKeyBank::A ? 264 : 273;
        QTimer::singleShot(0, &Dialog(), [this] {
            D& d = Dialog();
            EXPECT_TRUE(d.MacroOnly());
            EXPECT_EQ(d.Type(), kAssignMacro);
            EXPECT_FALSE(d.IsCapturing());
            for (const int id : {D::kPageKey, D::kPageMedia, D::kPageFunction, D::kClear})
                EXPECT_FALSE(d.Button(id)->isEnabled()) << id;
            EXPECT_TRUE(d.Button(D::kPageMacro)->IsSelected());
            EXPECT_TRUE(Shown(d, D::kMacroList));
            EXPECT_FALSE(Shown(d, 1201));
            const QRect screen = QGuiApplication::primaryScreen()->geometry();
            EXPECT_EQ(d.pos(), QPoint((screen.width() - d.width()) / 2, (screen.height() - d.height()) / 2));
            EXPECT_EQ(d.Macros().SelectedMacro(), 0) << "G9 plays no macro: the first is shown";
            d.Macros().MacroNames()->setCurrentRow(1);
            QLineEdit* cycles = d.Macros().CycleField();
            cycles->selectAll();
            QTest::keyClicks(cycles, "3");
            d.RunCommand(D::kOk);
        });
        m_window->RunCommand(ControlIds::kMacro);
        EXPECT_FALSE(Dialog().IsOpen());
        const KeyAssignment& r = Record(0, record);
        EXPECT_EQ(r.type, kAssignMacro);
        EXPECT_EQ(r.value, 9u);
        EXPECT_EQ(r.parameter, 3);
    }
}

TEST_F(KeyAssignDialogTest, TheKeyboardGoingOrResettingClosesTheDialogAsCancel) {
    const std::function<void()> events[] = {
        [this] { m_window->HandleMessage({kMessageGone, 0}); },
        [this] { m_window->ProfileSwitched(); },
    };
    for (const auto& event : events) {
        SetRecord(RowOfCode(kKeyA), {kAssignFunction, 0, 1, 0, 0});
        const int result = WhileOpen(kButtonA, [&event](D& d) {
            Press(d, KEY_B);
            event();
            EXPECT_FALSE(d.IsOpen());
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_FALSE(Dialog().IsCapturing());
        EXPECT_NE(Record(0, RowOfCode(kKeyA)).type, kAssignKey) << "B was not written";
    }
}

TEST_F(KeyAssignDownloadTest, KeyBOnKeyAThenMediaSixReachTheActiveProfilesKeyMap) {
    WhileOpen(kButtonA, [](D& d) {
        Press(d, KEY_B);
        d.RunCommand(D::kOk);
    });
    m_window->Profiles().Apply();
    EXPECT_EQ(ActionOfKeyA(), (std::array<uint8_t, 3>{2, 2, 0x05}));

    WhileOpen(kButtonA, [](D& d) {
        d.RunCommand(D::kPageMedia);
        static_cast<QListWidget*>(d.Control(D::kMediaList))->setCurrentRow(6);
        d.RunCommand(D::kOk);
    });
    m_window->Profiles().Apply();
    EXPECT_EQ(ActionOfKeyA(), (std::array<uint8_t, 3>{3, 0xE9, 0x00}));
}

}  // namespace
}  // namespace vantor::test
