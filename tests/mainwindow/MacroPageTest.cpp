// The macro page of the key assignment dialog, offscreen: recording from synthesized key
// events with a fixed clock, the in-place editors, the limits, and what Apply puts on the
// keyboard.

#include "keyassign/MacroArea.h"
#include "keymodel/KeyConversions.h"
#include "keymodel/KeyNames.h"
#include "macros/RecordDelaysSetting.h"
#include "shell/AppSettings.h"
#include "mainwindow/ProfileSlots.h"
#include "shell/lang/Language.h"

#include "mainwindow/KeyAssignDialogFixture.h"
#include "support/ModalAnswers.h"

#include "CtlExit.h"
#include "VantorCtl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest/QTest>

#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

namespace vantor::test {
namespace {

using P = MacroPage;
constexpr KeyCode kLeftSuper = 0x15B;
constexpr KeyCode kPrintScreen = 0x137;

struct Row {
    KeyCode key;
    uint16_t direction;
    uint32_t delay;
    friend bool operator==(const Row&, const Row&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Row& r) {
        return out << "{" << std::hex << r.key << std::dec << ", " << r.direction << ", " << r.delay << "}";
    }
};

struct KeyAt {
    int64_t ms;
    bool press;
    unsigned evdev;
    bool repeat = false;
};

class MacroPageTest : public KeyAssignDialogTest {
protected:
    void SetUp() override {
        KeyAssignDialogTest::SetUp();
        Dialog().SetRecorderClock([this] { return m_now; });
    }

    void SetMacros(std::vector<MacroRecord> macros) {
        std::lock_guard lock(StoreLock());
        ASSERT_TRUE(m_window->Store().Data().Macros().Replace(std::move(macros)));
    }
    static MacroRecord Macro(const char* name, uint16_t id, int actions = 0) {
        MacroRecord macro{};
        macro.SetName(QString::fromUtf8(name));
        macro.id = id;
        macro.cycleCount = 1;
        for (int i = 0; i < actions; ++i) macro.AddAction({10, kKeyA, uint16_t(i % 2)});
        return macro;
    }

    // The rows as the page's list shows them, checked against the editor's actions.
    static std::vector<Row> Rows(D& d) {
        QTableWidget* list = d.Macros().ActionList();
        const std::span<const MacroAction> actions = d.Macros().Editor().Rows();
        EXPECT_EQ(list->rowCount(), static_cast<int>(actions.size()));
        std::vector<Row> rows;
        for (int r = 0; r < list->rowCount() && r < static_cast<int>(actions.size()); ++r) {
            const MacroAction& a = actions[static_cast<size_t>(r)];
            EXPECT_EQ(list->item(r, 0)->text(), KeyName(a.keyCode)) << r;
            EXPECT_EQ(list->item(r, 1)->text(), DirectionText(a.direction)) << r;
            EXPECT_EQ(list->item(r, 2)->text(), QString::number(a.delay)) << r;
            rows.push_back({a.keyCode, a.direction, a.delay});
        }
        return rows;
    }

    // A key event at a time on the recorder's clock.
    void At(D& d, const KeyAt& key) {
        m_now = key.ms;
        Key(d, key.press ? QEvent::KeyPress : QEvent::KeyRelease, key.evdev, key.repeat);
    }

    // Opens the delay cell's editor, types into it and commits with Enter.
    static void TypeDelay(D& d, int row, const QString& text) {
        QTableWidget* list = d.Macros().ActionList();
        list->editItem(list->item(row, 2));
        auto* editor = qobject_cast<QLineEdit*>(list->indexWidget(list->model()->index(row, 2)));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        Commit(list, row, 2);
    }
    // Enter on a cell's in-place editor: the list commits it once the event loop runs.
    static void Commit(QTableWidget* list, int row, int column) {
        const QModelIndex index = list->model()->index(row, column);
        QTest::keyClick(list->indexWidget(index), Qt::Key_Return);
        ASSERT_TRUE(WaitUntil([&] { return list->indexWidget(index) == nullptr; }));
    }

    int64_t m_now = 0;
};

TEST_F(MacroPageTest, RecordingTakesTheKeysWithTheirGapsOnTheEarlierRow) {
    const std::vector<KeyAt> ab = {{1100, true, KEY_A}, {1180, false, KEY_A}, {1300, true, KEY_B}, {1420, false, KEY_B}};
    const struct {
        const char* what;
        bool recordDelays;
        bool mediaKeyPasses;
        std::vector<KeyAt> keys;
        std::vector<Row> rows;
    } cases[] = {
        {"A, B with measured delays", true, false, ab,
         {{kKeyA, 0, 80}, {kKeyA, 1, 120}, {kKeyB, 0, 120}, {kKeyB, 1, 0}}},
        {"A, B without", false, false, ab, {{kKeyA, 0, 50}, {kKeyA, 1, 50}, {kKeyB, 0, 50}, {kKeyB, 1, 0}}},
        // A held key, a media key, Left Super, Print Screen (one press and one release, the
        // press 2 ms after the row before them).
        {"held, media, Super, Print Screen", true, true,
         {{1100, true, KEY_A}, {1130, true, KEY_A, true}, {1160, true, KEY_A, true}, {1190, true, KEY_A, true},
          {1400, false, KEY_A}, {1450, true, KEY_VOLUMEUP}, {1460, false, KEY_VOLUMEUP},
          {1500, true, KEY_LEFTMETA}, {1550, false, KEY_LEFTMETA}, {1600, true, KEY_SYSRQ}, {1660, false, KEY_SYSRQ}},
         {{kKeyA, 0, 300}, {kKeyA, 1, 100}, {kLeftSuper, 0, 50}, {kLeftSuper, 1, 2},
          {kPrintScreen, 0, 110}, {kPrintScreen, 1, 0}}},
        {"Print Screen without measured delays", false, false,
         {{1100, true, KEY_A}, {1600, true, KEY_SYSRQ}, {1660, false, KEY_SYSRQ}},
         {{kKeyA, 0, 50}, {kPrintScreen, 0, 50}, {kPrintScreen, 1, 0}}},
    };
    SetMacros({Macro("Jump", 1)});
    for (const auto& c : cases) {
        WhileOpen(kButtonA, [&](D& d) {
            d.RunCommand(D::kPageMacro);
            ASSERT_EQ(d.Macros().SelectedMacro(), 0) << "a key without a value shows the first macro";
            if (d.Macros().RecordDelaysBox()->isChecked() != c.recordDelays) d.RunCommand(P::kRecordDelays);
            EXPECT_EQ(ReadRecordDelaysSetting(), c.recordDelays ? 1 : 0) << "persisted at once";
            KeyCounter reached;
            d.installEventFilter(&reached);

            m_now = 1000;
            d.RunCommand(P::kRecord);
            ASSERT_TRUE(d.Macros().IsRecording());
            EXPECT_TRUE(d.IsCapturing());
            EXPECT_TRUE(d.Button(P::kRecord)->IsSelected());
            EXPECT_EQ(d.Button(P::kRecord)->text(), LanguageText("MACRO_ACTION_STOP_RECORD"));
            for (const int id : {P::kAdd, P::kDelete, P::kMacroList}) EXPECT_FALSE(d.Control(id)->isEnabled()) << id;
            for (const KeyAt& key : c.keys) At(d, key);
            EXPECT_EQ(Rows(d), c.rows) << c.what;
            EXPECT_EQ(reached.keys > 0, c.mediaKeyPasses) << c.what << ": only the media key passes";
            EXPECT_TRUE(d.Button(D::kApply)->isEnabled());

            d.RunCommand(P::kRecord);
            EXPECT_FALSE(d.Macros().IsRecording());
            EXPECT_FALSE(d.IsCapturing());
            EXPECT_EQ(d.Button(P::kRecord)->text(), LanguageText("MACRO_ACTION_RECORD"));
            for (const int id : {P::kAdd, P::kDelete, P::kMacroList}) EXPECT_TRUE(d.Control(id)->isEnabled()) << id;
            d.removeEventFilter(&reached);
        });
    }
}

// Leaving a recording for the key page (its button, or Clear, which acts as it) ends the
// recording first; the key page then holds the keyboard and captures the next key.
TEST_F(MacroPageTest, TheKeyPageCapturesAgainAfterARecording) {
    const struct {
        const char* what;
        int command;
    } cases[] = {{"Key page button", D::kPageKey}, {"Clear", D::kClear}};
    for (const auto& c : cases) {
        SetMacros({Macro("Jump", 1)});
        SetRecord(RowOfCode(kKeyA), {});
        WhileOpen(kButtonA, [&](D& d) {
            d.RunCommand(D::kPageMacro);
            d.RunCommand(P::kRecord);
            ASSERT_TRUE(d.Macros().IsRecording()) << c.what;
            Press(d, KEY_X);
            d.RunCommand(c.command);
            EXPECT_FALSE(d.Macros().IsRecording()) << c.what;
            EXPECT_TRUE(d.IsCapturing()) << c.what;
            EXPECT_EQ(QWidget::keyboardGrabber(), &d) << c.what;
            KeyCounter reached;
            d.installEventFilter(&reached);
            Press(d, KEY_B);
            Press(d, KEY_LEFTMETA);
            EXPECT_EQ(reached.keys, 0) << c.what << ": the keys stay with the capture";
            d.removeEventFilter(&reached);
            Press(d, KEY_B);
            EXPECT_EQ(d.CapturedKey(), kKeyB) << c.what;
            d.RunCommand(D::kOk);
        });
        const KeyAssignment& r = Record(0, RowOfCode(kKeyA));
        EXPECT_EQ(std::tie(r.type, r.value), std::make_tuple(uint16_t(kAssignKey), uint32_t(kKeyB))) << c.what;
        EXPECT_EQ(QWidget::keyboardGrabber(), nullptr) << c.what;
    }
}

TEST_F(MacroPageTest, ARecordedEventGoesAfterTheSelectedRowAndEditingADelayStopsTheRecording) {
    MacroRecord jump = Macro("Jump", 1);
    for (const MacroAction a : {MacroAction{100, kKeyA, 0}, {200, kKeyA, 1}, {300, kKeyB, 0}, {0, kKeyB, 1}})
        jump.AddAction(a);
    SetMacros({jump});
    WhileOpen(kButtonA, [this](D& d) {
        d.RunCommand(D::kPageMacro);
        if (!d.Macros().RecordDelaysBox()->isChecked()) d.RunCommand(P::kRecordDelays);
        d.Macros().ActionList()->setCurrentCell(1, 0);
        m_now = 5000;
        d.RunCommand(P::kRecord);
        At(d, {5040, true, KEY_C});
        EXPECT_EQ(Rows(d), (std::vector<Row>{{kKeyA, 0, 100}, {kKeyA, 1, 40}, {0x2E, 0, 200}, {kKeyB, 0, 300}, {kKeyB, 1, 0}}));
        EXPECT_EQ(d.Macros().ActionList()->currentRow(), 2);

        TypeDelay(d, 0, "12345");
        EXPECT_FALSE(d.Macros().IsRecording());
        EXPECT_EQ(Rows(d)[0].delay, 12340u);

        // Above the longest delay: the message, and the longest delay.
        // The box shows once the editor has closed; until then the dialog is the modal window.
        QStringList texts;
        ModalAnswers answers({test::Press(QMessageBox::Ok, &texts)}, &d);
        TypeDelay(d, 1, "45000");
        EXPECT_EQ(Rows(d)[1].delay, 40000u);
        ASSERT_TRUE(WaitUntil([&] { return answers.Answered() == 1; }));
        EXPECT_EQ(texts, QStringList{FormatLanguageText("MACRO_ACTION_ERR_DELAY_MAX", "40000")});

        // The key and direction editors offer the 106 keys and the two directions.
        QTableWidget* list = d.Macros().ActionList();
        list->editItem(list->item(3, 1));
        auto* direction = qobject_cast<QComboBox*>(list->indexWidget(list->model()->index(3, 1)));
        ASSERT_NE(direction, nullptr);
        EXPECT_EQ(direction->count(), 2);
        direction->setCurrentIndex(1);
        Commit(list, 3, 1);
        EXPECT_EQ(Rows(d)[3].direction, kMacroRelease);
        list->editItem(list->item(3, 0));
        auto* key = qobject_cast<QComboBox*>(list->indexWidget(list->model()->index(3, 0)));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->count(), kKeyListSize);
        EXPECT_EQ(key->currentText(), KeyName(kKeyB));
        key->setCurrentIndex(0);
        d.RunCommand(D::kOk);  // ends the edit and stores it
    });
    std::lock_guard lock(StoreLock());
    const MacroRecord& stored = m_window->Store().Data().Macros().Records()[0];
    ASSERT_EQ(stored.actionCount, 5);
    EXPECT_EQ(stored.actions[0].delay, 12340u);
    EXPECT_EQ(stored.actions[1].delay, 40000u);
    EXPECT_EQ(stored.actions[3].keyCode, CodeOfOrdinal(0));
    EXPECT_EQ(stored.actions[3].direction, kMacroRelease);
}

// The record-delays setting is written back as the 0 or 1 it reads as, when the dialog opens.
TEST_F(MacroPageTest, OpeningWritesTheRecordDelaysSettingBackNormalised) {
    const QString section = QStringLiteral("PROFILES");
    const QString name = LanguageText("MACRO_ACTION_RECORD_DELAY");
    for (const auto& [stored, written] : {std::pair{"yes", "0"}, {"2", "0"}, {" 01 ", "1"}}) {
        ASSERT_TRUE(WriteAppSetting(section, name, QString::fromLatin1(stored)));
        bool checked = false;
        WhileOpen(kButtonA, [&](D& d) { checked = d.Macros().RecordDelaysBox()->isChecked(); });
        EXPECT_EQ(ReadAppSetting(section, name, QString()), QString::fromLatin1(written)) << stored;
        EXPECT_EQ(checked, *written == '1') << stored;
    }
}

TEST_F(MacroPageTest, TheCycleCountIsKeptWithinOneTo255AsItIsTyped) {
    SetMacros({Macro("Jump", 1)});
    WhileOpen(kButtonA, [](D& d) {
        d.RunCommand(D::kPageMacro);
        QLineEdit* cycles = d.Macros().CycleField();
        for (const auto& [typed, shown] : {std::pair{"0", "1"}, {"300", "255"}, {"42", "42"}}) {
            cycles->selectAll();
            QTest::keyClicks(cycles, typed);
            EXPECT_EQ(cycles->text(), shown) << typed;
        }
        d.RunCommand(D::kOk);
    });
    const KeyAssignment& r = Record(0, RowOfCode(kKeyA));
    EXPECT_EQ(std::tie(r.type, r.value, r.parameter), std::make_tuple(uint16_t(kAssignMacro), 1u, uint16_t(42)));
    std::lock_guard lock(StoreLock());
    EXPECT_EQ(m_window->Store().Data().Macros().Records()[0].cycleCount, 42);
}

TEST_F(MacroPageTest, ListLimitsNamesAndTheButtonsThatNeedASelection) {
    std::vector<MacroRecord> full;
    // QByteArray, not "M" + std::to_string: GCC 12 at -O3 reports a false -Wrestrict inside
    // std::string's insert for that.
    for (uint16_t id = 1; id <= kMaxMacros; ++id) full.push_back(Macro(("M" + QByteArray::number(id)).constData(), id));
    full[0] = Macro("Full", 1, kMaxMacroActions);
    SetMacros(std::move(full));
    WhileOpen(kButtonA, [this](D& d) {
        d.RunCommand(D::kPageMacro);
        QStringList texts;
        ModalAnswers answers({test::Press(QMessageBox::Ok, &texts)});
        d.RunCommand(P::kAdd);
        ASSERT_TRUE(WaitUntil([&] { return answers.Answered() == 1; }));
        EXPECT_EQ(texts, QStringList{FormatLanguageText("MACRO_ERR_MAX", "100")});
        EXPECT_EQ(d.Macros().MacroNames()->count(), kMaxMacros);

        // The 4001st action is ignored.
        d.RunCommand(P::kRecord);
        At(d, {10, true, KEY_B});
        EXPECT_EQ(d.Macros().ActionList()->rowCount(), kMaxMacroActions);
        EXPECT_EQ(d.Macros().Editor().Rows().back().keyCode, kKeyA);
        d.RunCommand(P::kRecord);
        d.RunCommand(D::kCancel);
    });

    SetMacros({Macro("Jump", 1), Macro("Macro 1", 2)});
    WhileOpen(kButtonA, [](D& d) {
        d.RunCommand(D::kPageMacro);
        // No macro selected: nothing to record into or edit.
        QListWidget* names = d.Macros().MacroNames();
        names->setCurrentRow(-1);
        for (int id = P::kRecord; id <= P::kBottom; ++id) EXPECT_FALSE(d.Button(id)->isEnabled()) << id;
        names->setCurrentRow(1);
        for (int id = P::kRecord; id <= P::kBottom; ++id) EXPECT_TRUE(d.Button(id)->isEnabled()) << id;

        // Renaming onto a taken name: the list keeps the macro under a free generated name.
        QLineEdit* field = d.Macros().NameField();
        field->selectAll();
        QTest::keyClicks(field, "ju");
        EXPECT_EQ(field->text(), "ju") << "the field keeps what is typed";
        EXPECT_EQ(names->count(), 2);
        EXPECT_EQ(names->item(1)->text(), LanguageText("MACRO_NEW_PREFIX") + "2");
        QTest::keyClicks(field, "mp!");
        EXPECT_EQ(names->item(1)->text(), "jump!");

        // A new macro is appended, selected and shown empty.
        d.RunCommand(P::kAdd);
        EXPECT_EQ(names->count(), 3);
        EXPECT_EQ(names->currentRow(), 2);
        EXPECT_EQ(d.Macros().ActionList()->rowCount(), 0);
        d.RunCommand(D::kOk);
    });
    std::lock_guard lock(StoreLock());
    const auto macros = m_window->Store().Data().Macros().Records();
    ASSERT_EQ(macros.size(), 3u);
    EXPECT_EQ(macros[1].Name(), "jump!");
    EXPECT_EQ(macros[2].id, 3);
    EXPECT_EQ(macros[2].pending, 0);
    EXPECT_EQ(Record(0, RowOfCode(kKeyA)).value, 3u) << "the key plays the macro selected";
}

TEST_F(MacroPageTest, DeletingAMacroThatKeysPlayAsksFirstAndClearingAsks) {
    MacroRecord jump = Macro("Jump", 1, 3);
    SetMacros({jump, Macro("Walk", 2)});
    SetRecord(RowOfCode(kKeyB), {kAssignMacro, 1, 1, 0, 0});
    WhileOpen(kButtonA, [](D& d) {
        d.RunCommand(D::kPageMacro);
        QStringList texts;
        ModalAnswers answers({test::Press(QMessageBox::No, &texts), test::Press(QMessageBox::Yes, &texts),
                              test::Press(QMessageBox::Yes, &texts)});
        d.RunCommand(P::kClearActions);
        ASSERT_TRUE(WaitUntil([&] { return answers.Answered() == 1; }));
        EXPECT_EQ(d.Macros().ActionList()->rowCount(), 3) << "No keeps the actions";
        d.RunCommand(P::kClearActions);
        ASSERT_TRUE(WaitUntil([&] { return answers.Answered() == 2; }));
        EXPECT_EQ(d.Macros().ActionList()->rowCount(), 0);
        d.RunCommand(P::kDelete);
        ASSERT_TRUE(WaitUntil([&] { return answers.Answered() == 3; }));
        EXPECT_EQ(texts, (QStringList{LanguageText("MACRO_ACTION_CLEAR_CONFIRM"), LanguageText("MACRO_ACTION_CLEAR_CONFIRM"),
                                      LanguageText("MACRO_DELETE_CONFIRM_OF_KEYS")}));
        EXPECT_EQ(d.Macros().MacroNames()->count(), 1);
        d.RunCommand(D::kApply);
    });
    EXPECT_EQ(Record(0, RowOfCode(kKeyB)).type, kAssignDefault) << "its key lost the deleted macro";
}

// Recorded in the dialog, put on key A, applied: the keyboard's macro area holds it, key A
// plays it, and vantorctl reads it back.
TEST_F(KeyAssignDownloadTest, ARecordedMacroReachesTheKeyboardAndVantorctlShowsIt) {
    int64_t now = 0;
    Dialog().SetRecorderClock([&now] { return now; });
    WhileOpen(kButtonA, [&now](D& d) {
        d.RunCommand(D::kPageMacro);
        d.RunCommand(MacroPage::kAdd);
        d.Macros().NameField()->selectAll();
        QTest::keyClicks(d.Macros().NameField(), "Greet");
        if (!d.Macros().RecordDelaysBox()->isChecked()) d.RunCommand(MacroPage::kRecordDelays);
        now = 1000;
        d.RunCommand(MacroPage::kRecord);
        const std::pair<int64_t, std::pair<QEvent::Type, unsigned>> keys[] = {
            {1010, {QEvent::KeyPress, KEY_H}}, {1130, {QEvent::KeyRelease, KEY_H}},
            {1250, {QEvent::KeyPress, KEY_I}}, {1300, {QEvent::KeyRelease, KEY_I}}};
        for (const auto& [at, key] : keys) {
            now = at;
            Key(d, key.first, key.second);
        }
        d.RunCommand(D::kOk);  // stops the recording too
    });
    m_window->Profiles().Apply();

    const KeyboardFirmware firmware = m_keyboard.Keyboard().Firmware();
    const std::span<const uint8_t> area = firmware.MacroAreaBytes();
    const auto macros = ParseKeyboardMacroArea(area);
    ASSERT_TRUE(macros && macros->size() == 1);
    // The first action word: kind 2, press bit, 120 ms in 10 ms units.
    const size_t entry = area[16] | (area[17] << 8);
    const uint16_t word = static_cast<uint16_t>(area[entry + 4] | (area[entry + 5] << 8));
    EXPECT_EQ(word & 0x0FFF, 12);
    EXPECT_EQ((word >> 12) & 0x7, 2);
    EXPECT_EQ(word & 0x8000, 0x8000);
    const std::vector<std::pair<KeyCode, uint16_t>> expected = {{0x23, 12}, {0x23, 12}, {0x17, 5}, {0x17, 0}};
    ASSERT_EQ(macros->front().actions.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(macros->front().actions[i].keyCode, expected[i].first) << i;
        EXPECT_EQ(macros->front().actions[i].delayField, expected[i].second) << i;
        EXPECT_EQ(macros->front().actions[i].direction, i % 2) << i;
    }
    EXPECT_EQ(ActionOfKeyA(), (std::array<uint8_t, 3>{5, 1, 0}));

    QString out, err;
    QTextStream o(&out), e(&err);
    const std::shared_ptr<HidBackend> emulator = m_keyboard.Emulator();
    ASSERT_EQ(ctl::RunVantorCtl({"--reply-timeout", "300", "macros"}, o, e,
                                [emulator](const QString&, std::shared_ptr<ReportTrace>) { return emulator; }),
              ctl::kExitOk)
        << err.toStdString();
    o.flush();
    EXPECT_EQ(out.toStdString(),
              "slot 0  \"Greet\"  plays 1  4 actions\n"
              "  H press 120 ms\n"
              "  H release 120 ms\n"
              "  I press 50 ms\n"
              "  I release 0 ms\n");
}

}  // namespace
}  // namespace vantor::test
