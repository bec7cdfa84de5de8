// The main window's lighting panel and per-key colours, driven through the real widgets against
// an emulated keyboard: what each control sends, colour mode, painting keys, and what the
// keyboard's arrival, its events, the profile buttons and Default do to them.

#include "mainwindow/LightingSlots.h"

#include "device/CommandReport.h"
#include "emulator/KeyboardFirmware.h"
#include "keymodel/KeyTables.h"
#include "lighting/LightingBlock.h"
#include "lighting/LightingPanelView.h"
#include "lighting/LightingWire.h"
#include "lighting/UserColourFile.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/KeyButtonGrid.h"
#include "mainwindow/MainWindowFixture.h"
#include "shell/IniFile.h"
#include "shell/Paths.h"
#include "shell/lang/Language.h"
#include "support/ModalAnswers.h"
#include "ui/BitmapSlider.h"
#include "ui/ColourButton.h"
#include "ui/ImageButton.h"
#include "ui/StatePicture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace vantor {
namespace {

using test::MainWindowTest;
using test::Group;
using test::ModalAnswers;
using test::Press;
using test::Sent;
using test::SentRequests;
using test::Write;

namespace Id = ControlIds;

class LightingSlotsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        KeyboardArrives();
        Mark();
    }

    LightingSlots& Lighting() { return m_window->Lighting(); }
    LightingPanelView& View() { return Lighting().View(); }
    KeyboardFirmware Firmware() { return m_keyboard.Keyboard().Firmware(); }
    void Mark() { m_mark = m_keyboard.Requests().size(); }
    std::vector<Sent> Written() const { return SentRequests(m_keyboard, m_mark); }
    uint16_t Base() { return uint16_t(Lighting().Profile() * 42); }

    void ClickEffect(uint8_t code) {
        const auto& table = Lighting().Panel().EffectTable();
        const int row = int(std::find(table.begin(), table.end(), code) - table.begin());
        QListWidget* list = View().EffectList();
        ASSERT_LT(row, list->count());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    // A click in the middle of the slider's sixth for the position.
    static void ClickSlider(BitmapSlider* slider, int position) {
        QTest::mouseClick(slider, Qt::LeftButton, {},
                          QPoint((2 * position + 1) * slider->width() / 12, slider->height() / 2));
    }
    // The button's palette, then the preset of that index.
    static void ChoosePreset(ColourButton* button, int preset) {
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_NE(button->OpenPalette(), nullptr);
        EXPECT_EQ(button->OpenPalette()->OtherButton()->text(), QStringLiteral("other"));
        QTest::mouseClick(button->OpenPalette()->PresetButton(preset), Qt::LeftButton);
    }
    void Click(int controlId) {
        if (ImageButton* button = m_window->Button(controlId)) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QTest::mouseClick(View().Control(controlId), Qt::LeftButton);
        }
    }
    QByteArray ColourFile(int profile) {
        return IniFile::ReadBytes(AppPaths::Current()->UserColourFile(profile)).value_or(QByteArray());
    }
    QByteArray Template() { return IniFile::ReadBytes(AppPaths::Current()->SkinColourFile(3)).value_or(QByteArray()); }

    size_t m_mark = 0;
};

TEST_F(LightingSlotsTest, ThePanelShowsTheProfilesBlockAndFollowsTheKeyboardsLightingEvent) {
    // The factory block: effect 1, brightness 4, speed 2, second direction, random colours.
    QListWidget* list = View().EffectList();
    EXPECT_EQ(list->count(), 19);
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(), ModeSectionText(QStringLiteral("1")));
    EXPECT_EQ(View().BrightnessSlider()->Position(), 4);
    EXPECT_EQ(View().SpeedSlider()->Position(), 3);
    EXPECT_TRUE(View().DirectionPicture(1)->IsOn());
    EXPECT_TRUE(View().HxRandomToggle()->IsOn());
    EXPECT_FALSE(View().FyColourButton()->isVisibleTo(m_window.get()));
    EXPECT_FALSE(View().ModeList()->isVisibleTo(m_window.get()));
    EXPECT_TRUE(m_window->Button(Id::kReports[0])->IsSelected());

    // The keyboard moves its effect on by itself and holds report rate 9.
    m_keyboard.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
        firmware.MutableArea(FirmwareArea::Lighting)[size_t(firmware.ActiveProfile() * 42 + 15)] = 9;
    });
    ASSERT_TRUE(m_keyboard.Keyboard().ChangeLightingOnKeyboard());
    FromDeviceThread([this] { m_window->LightingChanged(); });
    ASSERT_TRUE(test::WaitUntil([&] { return list->currentRow() == 1; }));
    EXPECT_TRUE(m_window->Button(Id::kReports[3])->IsSelected());
    EXPECT_FALSE(m_window->Button(Id::kReports[0])->IsSelected());
}

TEST_F(LightingSlotsTest, EachControlSendsItsFieldsAtOnceAsOneGroup) {
    const uint16_t p = Base();
    ClickEffect(4);
    EXPECT_EQ(Written(), Group({Write(p, {4})}));
    EXPECT_FALSE(View().HxColourButton()->isVisibleTo(m_window.get()));

    Mark();
    ClickEffect(5);  // the random flag goes with the effects that use it
    EXPECT_EQ(Written(), Group({Write(p, {5}), Write(p + 4, {1})}));

    Mark();
    ClickSlider(View().SpeedSlider(), 2);
    ClickSlider(View().SpeedSlider(), 2);  // unchanged: nothing
    ClickSlider(View().BrightnessSlider(), 0);
    std::vector<Sent> expected = Group({Write(p + 2, {3})});
    const std::vector<Sent> brightness = Group({Write(p + 1, {0})});
    expected.insert(expected.end(), brightness.begin(), brightness.end());
    EXPECT_EQ(Written(), expected);

    Mark();
    ChoosePreset(View().HxColourButton(), 10);  // 0xFF0000, while random colours are on
    EXPECT_EQ(Written(), Group({Write(p + 4, {0}), Write(p + 5, {0xFF, 0x00, 0x00})}));
    EXPECT_FALSE(View().HxRandomToggle()->IsOn());

    Mark();
    Click(Id::kReports[2]);
    EXPECT_EQ(Written(), Group({Write(p + 15, {2})}));
    EXPECT_TRUE(m_window->Button(Id::kReports[2])->IsSelected());

    Mark();
    ClickEffect(17);
    Click(Id::kColourPictures[3]);
    EXPECT_EQ(Written().back(), (Sent{kCmdGroupEnd, 0, {}}));
    EXPECT_EQ(Firmware().LightingBlock(Lighting().Profile())[17], 3);
    EXPECT_TRUE(View().ColourPicture(3)->IsOn());

    ClickEffect(12);  // the direction pictures move to the waterfall's places
    EXPECT_TRUE(View().DirectionPicture(0)->isVisibleTo(m_window.get()));
    Mark();
    Click(Id::kDirectionPictures[0]);
    EXPECT_EQ(Written(), Group({Write(p + 3, {0xFF})}));
    EXPECT_TRUE(View().DirectionPicture(0)->IsOn());
}

TEST_F(LightingSlotsTest, ARefusedWriteShowsWhatTheKeyboardHoldsAndSaysSo) {
    FaultSwitch refuse{EmulatorFault::StatusFF};
    refuse.refusedCommand = kCmdWriteLighting;
    m_keyboard.Keyboard().SetFault(refuse);
    ClickSlider(View().BrightnessSlider(), 1);
    m_keyboard.Keyboard().SetFault({EmulatorFault::None});
    EXPECT_EQ(View().BrightnessSlider()->Position(), 4);
    EXPECT_EQ(Lighting().Note()->text(), LanguageText(QStringLiteral("LIGHT_NOT_TAKEN")));
}

TEST_F(LightingSlotsTest, ColourModePaintsKeysOfTheActiveProfileAndIsRemembered) {
    Click(Id::kProfileButtons[1]);
    ClickEffect(kUserDefinedEffect);
    ASSERT_FALSE(Lighting().ColourMode());
    Click(Id::kLamp);
    ASSERT_TRUE(Lighting().ColourMode());
    EXPECT_TRUE(ColourModeSetting());
    EXPECT_TRUE(View().Lamp()->IsOn());
    EXPECT_TRUE(View().ModeList()->isVisibleTo(m_window.get()));
    EXPECT_EQ(View().ModeList()->count(), LightingSlots::kModeListEntries);
    // Every key shows its colour from the profile's file.
    ImageButton* enter = m_window->Keys().Button(KeyListButtonIds[size_t(test::PositionOf(0x1C))]);
    ASSERT_NE(enter, nullptr);
    EXPECT_TRUE(enter->IsOutlined());

    ChoosePreset(View().KeyColourButton(), 18);  // 0x0000FF
    Mark();
    QTest::mouseClick(enter, Qt::LeftButton);
    const std::vector<Sent> painted = Written();
    ASSERT_EQ(painted.size(), 3u);
    EXPECT_EQ(painted[1], (Sent{kCmdWriteKeyColours, 740, {0x00, 0x00, 0xFF}}));
    EXPECT_EQ(UserColourFile(AppPaths::Current()->UserColourFile(1)).Entry(0, 76),
              (KeyColourEntry{{0, 0, 0xFF}, false}));

    // A profile button switches colour mode off, and the setting with it.
    Click(Id::kProfileButtons[0]);
    EXPECT_FALSE(Lighting().ColourMode());
    EXPECT_FALSE(ColourModeSetting());
    EXPECT_FALSE(enter->IsOutlined());
}

// Colour mode comes back at connect as "wskb.ini" left it.
TEST_F(LightingSlotsTest, ColourModeIsRestoredFromTheSettingAtConnect) {
    ClickEffect(kUserDefinedEffect);
    ASSERT_FALSE(Lighting().ColourMode());
    ASSERT_TRUE(SetColourModeSetting(true));
    KeyboardArrives();
    EXPECT_TRUE(Lighting().ColourMode());
    EXPECT_TRUE(View().Lamp()->IsOn());
    ASSERT_TRUE(SetColourModeSetting(false));
    Click(Id::kLamp);  // off, and written so
    KeyboardArrives();
    EXPECT_FALSE(Lighting().ColourMode());
}

TEST_F(LightingSlotsTest, TheModeListLoadsAndRenamesModesOfTheProfilesFile) {
    ClickEffect(kUserDefinedEffect);
    Click(Id::kLamp);
    QComboBox* modes = View().ModeList();
    ASSERT_EQ(modes->count(), LightingSlots::kModeListEntries);
    const UserColourFile file(AppPaths::Current()->UserColourFile(Lighting().Profile()));

    Mark();
    modes->setCurrentIndex(2);
    emit modes->activated(2);  // as a choice from the drop-down
    EXPECT_EQ(file.PresentMode(), 2);
    const std::vector<Sent> sent = Written();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                            [](const Sent& s) { return s.command == kCmdWriteKeyColours; }),
              8);
    const Rgb key = file.Brush(2).key;
    EXPECT_EQ(View().KeyColourButton()->Colour(), QColor(key.red, key.green, key.blue));

    modes->lineEdit()->selectAll();
    QTest::keyClicks(modes->lineEdit(), QStringLiteral("Night"));
    EXPECT_EQ(file.ModeName(2), QStringLiteral("Night"));
    EXPECT_EQ(modes->itemText(2), QStringLiteral("Night"));
}

TEST_F(LightingSlotsTest, TheColourValueBoxesHoldNumbersUpTo255) {
    QLineEdit* red = View().ColourValueBox(0);
    const struct { const char* typed; const char* shown; } cases[] = {
        {"7", "7"}, {"255", "255"}, {"256", "255"}, {"999", "255"}, {"007", "7"}, {"", ""}};
    for (const auto& c : cases) {
        red->clear();
        QTest::keyClicks(red, QString::fromLatin1(c.typed));
        EXPECT_EQ(red->text(), QString::fromLatin1(c.shown)) << c.typed;
    }
    // A pasted number is taken whole, then brought into range.
    red->clear();
    red->insert(QStringLiteral("1000"));
    EXPECT_EQ(red->text(), QStringLiteral("255"));
}

TEST_F(LightingSlotsTest, DefaultAndTheKeyboardsResetReturnColourFilesToTheTemplate) {
    ClickEffect(kUserDefinedEffect);
    Click(Id::kLamp);
    ASSERT_TRUE(Lighting().ColourMode());
    QTest::mouseClick(m_window->Keys().KeyButton(0), Qt::LeftButton);
    const int edited = Lighting().Profile();
    ASSERT_NE(ColourFile(edited), Template());

    // The keyboard reset its profiles: colour mode off, every file back to the template and
    // loaded, and no colour sent (the keyboard has reset its own).
    Mark();
    FromDeviceThread([this] { m_window->ProfileSwitched(); });
    ASSERT_TRUE(test::WaitUntil([&] { return ColourFile(edited) == Template(); }));
    EXPECT_FALSE(Lighting().ColourMode());
    EXPECT_EQ(View().ModeList()->count(), LightingSlots::kModeListEntriesAfterKeyboardReset);
    for (const Sent& s : Written()) EXPECT_NE(s.command, kCmdWriteKeyColours) << "no colour table sent";
    const KeyColours& colours = Lighting().Colours();
    for (int profile = 0; profile < 3; ++profile) {
        ASSERT_EQ(ColourFile(profile), Template()) << profile;
        const UserColourFile file(AppPaths::Current()->UserColourFile(profile));
        const int mode = file.PresentMode();
        for (const int led : {0, 64, 76}) {
            const int key = int(std::find(KeyListLedPositions.begin(), KeyListLedPositions.end(), led) -
                                KeyListLedPositions.begin());
            EXPECT_EQ(colours.ColourOfKey(profile, key), file.Entry(mode, led).colour)
                << "profile " << profile << " led " << led;
        }
    }

    // Default: each profile's colours from the template are sent before its factory block.
    ASSERT_TRUE(UserColourFile(AppPaths::Current()->UserColourFile(2)).SetPresentMode(1));
    Mark();
    {
        ModalAnswers answers({Press(QMessageBox::Yes)});
        Click(Id::kDefault);
    }
    EXPECT_EQ(ColourFile(2), Template());
    const std::vector<Sent> sent = Written();
    const auto firstColours = std::find_if(sent.begin(), sent.end(),
                                           [](const Sent& s) { return s.command == kCmdWriteKeyColours; });
    const auto firstFactory = std::find_if(sent.begin(), sent.end(), [](const Sent& s) {
        return s.command == kCmdWriteLighting && s.payload.size() == 35;
    });
    ASSERT_NE(firstColours, sent.end());
    ASSERT_NE(firstFactory, sent.end());
    EXPECT_LT(firstColours - sent.begin(), firstFactory - sent.begin());
    const KeyboardFirmware firmware = Firmware();
    for (int profile = 0; profile < 3; ++profile) {
        const auto block = firmware.LightingBlock(profile);
        EXPECT_EQ(block[0], 1) << profile;
        EXPECT_EQ(block[1], 4) << profile;
        EXPECT_EQ(block[4], 0xFF) << profile;
    }
}

}  // namespace
}  // namespace vantor
