// The main window's preview timer painting the engine's frames on the key buttons.

#include "lighting/LightingPanelView.h"
#include "lighting/PreviewTables.h"
#include "mainwindow/LightingSlots.h"
#include "mainwindow/KeyButtonGrid.h"
#include "ui/ImageButton.h"
#include "ui/StatePicture.h"

#include "mainwindow/MainWindowFixture.h"

#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace vantor {
namespace {

using test::WaitUntil;

// Runs the event loop for longer than the preview would take to tick twice.
void WaitPastTwoTicks() {
    bool passed = false;
    QTimer::singleShot(MainWindow::kPreviewFirstMs + 2 * MainWindow::kPreviewMs,
                       [&] { passed = true; });
    ASSERT_TRUE(WaitUntil([&] { return passed; }));
}

// The window with a preview source of the test's own, which counts the ticks.
class PreviewTickTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        m_window->SetPreviewSource([this] {
            ++reads;
            return input;
        });
    }

    ImageButton* Key(int id) const { return m_window->Keys().Button(id); }
    // Runs the event loop until `ticks` more ticks have read the panel.
    bool WaitTicks(int ticks) {
        const int until = reads + ticks;
        return WaitUntil([&] { return reads >= until; });
    }

    PreviewInput input{4};
    int reads = 0;
};

TEST_F(PreviewTickTest, TicksPaintTheFramesWhileColourModeIsOn) {
    m_window->SetColourMode(true);
    ASSERT_TRUE(WaitTicks(1));
    // Effect 4: every key of the picture shows the same wheel entry; keys off the grid none.
    const uint32_t colour = Key(1052)->OutlineColour();
    for (const uint16_t id : preview::KeyOrder) {
        EXPECT_TRUE(Key(id)->IsOutlined()) << id;
        EXPECT_EQ(Key(id)->OutlineColour(), colour) << id;
    }
    EXPECT_FALSE(Key(1087)->IsOutlined());
    EXPECT_FALSE(Key(ExtraKeyButtonIds[0])->IsOutlined());
    ASSERT_TRUE(WaitTicks(1));
    EXPECT_NE(Key(1052)->OutlineColour(), colour) << "the wheel turns";

    // Effect 7 has no preview: every key button back to its plain look.
    Key(ExtraKeyButtonIds[0])->SetSelected(true);
    input.effect = 7;
    m_window->RestartPreview();
    ASSERT_TRUE(WaitTicks(1));
    EXPECT_FALSE(Key(1052)->IsOutlined());
    EXPECT_FALSE(Key(ExtraKeyButtonIds[0])->IsSelected());

    // Effect 20 leaves the per-key colours as they were painted.
    input.effect = 20;
    m_window->SetKeyButtonColour(1052, 0x123456, true);
    ASSERT_TRUE(WaitTicks(2));
    EXPECT_TRUE(Key(1052)->IsOutlined());
    EXPECT_EQ(Key(1052)->OutlineColour(), 0x123456u);
    EXPECT_FALSE(Key(1053)->IsOutlined());
}

TEST_F(PreviewTickTest, NothingMovesWhileColourModeIsOff) {
    input.effect = 4;
    m_window->RestartPreview();
    WaitPastTwoTicks();
    EXPECT_EQ(reads, 0);
    for (const uint16_t id : preview::KeyOrder) EXPECT_FALSE(Key(id)->IsOutlined()) << id;

    m_window->SetColourMode(true);
    ASSERT_TRUE(WaitTicks(1));
    m_window->SetColourMode(false);
    const int ticks = reads;
    WaitPastTwoTicks();
    EXPECT_EQ(reads, ticks);
}

// The window's own source: the lighting panel, with the keyboard arrived.
class PanelPreviewTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        KeyboardArrives();
    }
    ImageButton* Key(int id) const { return m_window->Keys().Button(id); }
    void ChooseEffect(uint8_t code) {
        const auto& table = m_window->Lighting().Panel().EffectTable();
        const auto found = std::find(table.begin(), table.end(), code);
        ASSERT_NE(found, table.end());
        m_window->Lighting().View().EffectList()->setCurrentRow(int(found - table.begin()));
    }
};

TEST_F(PanelPreviewTest, ColourModePlaysTheEffectChosenOnThePanel) {
    // Outside colour mode a chosen effect changes nothing on the picture.
    ChooseEffect(12);
    WaitPastTwoTicks();
    for (const uint16_t id : preview::KeyOrder) EXPECT_FALSE(Key(id)->IsOutlined()) << id;

    QTest::mouseClick(m_window->Lighting().View().Lamp(), Qt::LeftButton);
    ASSERT_TRUE(m_window->ColourMode());
    // Effect 12: a colour per row.
    ASSERT_TRUE(WaitUntil([&] { return Key(1010)->IsOutlined() && Key(1029)->IsOutlined(); }));
    EXPECT_NE(Key(1010)->OutlineColour(), Key(1029)->OutlineColour());
    EXPECT_EQ(Key(1010)->OutlineColour(), Key(1011)->OutlineColour());
    // Effect 4: one colour for the whole picture.
    ChooseEffect(4);
    EXPECT_TRUE(WaitUntil(
        [&] { return Key(1010)->OutlineColour() == Key(1029)->OutlineColour(); }));
}

}  // namespace
}  // namespace vantor
