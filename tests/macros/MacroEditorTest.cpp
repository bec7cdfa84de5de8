// The macro page's rules without a window: names, limits, the delay rule of added actions,
// the in-place edits and the recorder's timing.

#include "macros/MacroEditor.h"
#include "macros/MacroRecorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantor {
namespace {

constexpr KeyCode kA = 0x1E, kB = 0x30, kC = 0x2E, kPrintScreen = 0x137;

std::vector<uint32_t> Delays(const MacroEditor& editor) {
    std::vector<uint32_t> delays;
    for (const MacroAction& action : editor.Rows()) delays.push_back(action.delay);
    return delays;
}

std::vector<QString> Names(const MacroEditor& editor) {
    std::vector<QString> names;
    for (int i = 0; i < editor.Count(); ++i) names.push_back(editor.Macro(i).Name());
    return names;
}

MacroRecord Named(const char* name, uint16_t id) {
    MacroRecord macro{};
    macro.SetName(QString::fromUtf8(name));
    macro.id = id;
    macro.cycleCount = 1;
    return macro;
}

class MacroEditorTest : public ::testing::Test {
protected:
    void SetUp() override { m_editor.SetNamePrefix(QStringLiteral("Macro ")); }
    MacroEditor m_editor;
};

TEST_F(MacroEditorTest, AddedMacrosTakeFreeGeneratedNamesAndIdsUpToTheLimit) {
    // "Macro 10" begins with "Macro 1", so the counter passes over it; id 1 is free.
    const MacroRecord table[] = {Named("Macro 10", 2), Named("Macro 2", 3)};
    m_editor.Load(table);
    EXPECT_EQ(m_editor.Selected(), -1);
    ASSERT_EQ(m_editor.AddMacro(), AddMacroResult::Added);
    EXPECT_EQ(m_editor.Count(), 3);
    EXPECT_EQ(m_editor.Selected(), 2);
    const MacroRecord& added = m_editor.Macro(2);
    EXPECT_EQ(added.Name(), "Macro 3");
    EXPECT_EQ(added.id, 1);
    EXPECT_EQ(added.pending, 1);
    EXPECT_EQ(added.cycleCount, 1);
    EXPECT_EQ(added.actionCount, 0);

    while (m_editor.Count() < kMaxMacros) ASSERT_EQ(m_editor.AddMacro(), AddMacroResult::Added);
    EXPECT_EQ(m_editor.AddMacro(), AddMacroResult::ListFull);
    EXPECT_EQ(m_editor.Count(), kMaxMacros);
}

TEST_F(MacroEditorTest, RenamingOntoATakenNameGivesTheNextFreeGeneratedName) {
    const MacroRecord table[] = {Named("Jump", 1), Named("Macro 1", 2), Named("Macro 2", 3), Named("Walk", 4)};
    m_editor.Load(table);
    m_editor.Select(3);
    const struct {
        QString typed;
        QString stored;
    } cases[] = {
        {"Run", "Run"},
        {"ju", "Macro 3"},   // "Jump" begins with it, ignoring case; Macro 1 and 2 are taken
        {"Jumper", "Jumper"},  // no name begins with it
        {"", "Macro 4"},
        {" x", "Macro 5"},
        {"walk", "walk"},    // its own name does not count
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_editor.Rename(c.typed), c.stored) << c.typed.toStdString();
        EXPECT_EQ(m_editor.Count(), 4) << "the renamed macro stays in the list";
        EXPECT_EQ(m_editor.Macro(3).Name(), c.stored);
    }

    // With the list empty the typed name starts a new macro.
    m_editor.Load({});
    EXPECT_EQ(m_editor.Rename("Fire"), "Fire");
    ASSERT_EQ(m_editor.Count(), 1);
    EXPECT_EQ(m_editor.Selected(), 0);
    EXPECT_EQ(m_editor.Macro(0).pending, 1);
}

TEST_F(MacroEditorTest, DeletingSelectsTheMacroBeforeAndTheCycleCountTravelsWithTheSelection) {
    const MacroRecord table[] = {Named("a", 1), Named("b", 2), Named("c", 3)};
    m_editor.Load(table);
    m_editor.Select(1);
    EXPECT_EQ(m_editor.SetCycleText("7"), 7);
    m_editor.Select(2);
    EXPECT_EQ(m_editor.CycleCount(), 1);
    EXPECT_EQ(m_editor.Macro(1).cycleCount, 7) << "stored when the selection moved";
    ASSERT_TRUE(m_editor.DeleteSelected());
    EXPECT_EQ(Names(m_editor), (std::vector<QString>{"a", "b"}));
    EXPECT_EQ(m_editor.Selected(), 1);
    EXPECT_EQ(m_editor.CycleCount(), 7);
    m_editor.Select(0);
    ASSERT_TRUE(m_editor.DeleteSelected());
    EXPECT_EQ(m_editor.Selected(), 0) << "the first when there is none before";
    ASSERT_TRUE(m_editor.DeleteSelected());
    EXPECT_EQ(m_editor.Selected(), -1);
    EXPECT_FALSE(m_editor.DeleteSelected());
}

TEST_F(MacroEditorTest, AStoredCycleCountOfZeroIsShownAndStoredAsOne) {
    MacroRecord zero = Named("z", 1);
    zero.cycleCount = 0;
    const MacroRecord table[] = {zero, Named("a", 2)};
    m_editor.Load(table);
    m_editor.Select(0);
    EXPECT_EQ(m_editor.CycleCount(), 1);
    m_editor.Select(1);
    EXPECT_EQ(m_editor.Macro(0).cycleCount, 1);
}

TEST_F(MacroEditorTest, AnAddedActionHandsItsDelayToTheRowAbove) {
    m_editor.Load({});
    ASSERT_EQ(m_editor.AddMacro(), AddMacroResult::Added);
    const AddActionMode append{};
    EXPECT_EQ(m_editor.AddAction({900, kA, 0}, append), 0);
    EXPECT_EQ(Delays(m_editor), (std::vector<uint32_t>{0})) << "a first row gets 0";
    m_editor.AddAction({100, kA, 1}, append);
    m_editor.AddAction({200, kB, 7}, append);
    EXPECT_EQ(Delays(m_editor), (std::vector<uint32_t>{100, 200, 0}));
    EXPECT_EQ(m_editor.Rows()[2].direction, kMacroPress) << "an odd direction is a press";

    // After a selected middle row: it takes the new gap, the new row the gap it had.
    m_editor.SelectRow(1);
    EXPECT_EQ(m_editor.AddRecorded({30, kC, 0}, true), 2);
    EXPECT_EQ(Delays(m_editor), (std::vector<uint32_t>{100, 30, 200, 0}));
    EXPECT_EQ(m_editor.Rows()[2].keyCode, kC);
    EXPECT_EQ(m_editor.SelectedRow(), 2) << "a recorded row is selected";
    // Without measured delays the gap is 50.
    EXPECT_EQ(m_editor.AddRecorded({30, kC, 1}, false), 3);
    EXPECT_EQ(Delays(m_editor), (std::vector<uint32_t>{100, 30, 50, 200, 0}));
    // A stored macro's delays are shown as they are.
    EXPECT_EQ(m_editor.AddAction({45000, kA, 0}, {.keepDelay = true}), 5);
    EXPECT_EQ(m_editor.Rows()[5].delay, kMaxMacroDelayMs);
}

TEST_F(MacroEditorTest, TheFourThousandFirstActionIsIgnored) {
    m_editor.Load({});
    m_editor.AddMacro();
    for (int i = 0; i < kMaxMacroActions; ++i) ASSERT_EQ(m_editor.AddAction({10, kA, 0}, {}), i);
    EXPECT_EQ(m_editor.AddAction({10, kB, 0}, {}), -1);
    EXPECT_EQ(m_editor.AddRecorded({10, kB, 0}, true), -1);
    EXPECT_EQ(m_editor.Rows().size(), size_t(kMaxMacroActions));
    EXPECT_EQ(m_editor.Rows().back().keyCode, kA);
}

TEST_F(MacroEditorTest, TypedDelaysAndCycleCountsAreBroughtIntoRange) {
    m_editor.Load({});
    m_editor.AddMacro();
    m_editor.AddAction({0, kA, 0}, {});
    const struct {
        const char* typed;
        uint32_t delay;
        bool clamped;
    } delays[] = {{"12345", 12340, false}, {"45000", 40000, true}, {"40000", 40000, false},
                  {"7", 0, false},         {"", 0, false},         {"-5", 40000, true},
                  {"99999999999999999999", 40000, true}};
    for (const auto& c : delays) {
        const DelayEdit edit = m_editor.SetDelay(0, c.typed);
        EXPECT_EQ(edit.delay, c.delay) << c.typed;
        EXPECT_EQ(edit.clampedToMax, c.clamped) << c.typed;
        EXPECT_EQ(m_editor.Rows()[0].delay, c.delay) << c.typed;
    }
    const struct {
        const char* typed;
        int count;
    } cycles[] = {{"0", 1}, {"300", 255}, {"42", 42}, {"", 1}, {"99999999999999999999", 255}};
    for (const auto& c : cycles) EXPECT_EQ(m_editor.SetCycleText(c.typed), c.count) << c.typed;
}

TEST_F(MacroEditorTest, RowsMoveWithTheirActions) {
    m_editor.Load({});
    m_editor.AddMacro();
    const KeyCode keys[] = {kA, kB, kC};
    for (const KeyCode key : keys) m_editor.AddAction({0, key, 0}, {});
    const auto order = [this] {
        std::vector<KeyCode> codes;
        for (const MacroAction& action : m_editor.Rows()) codes.push_back(action.keyCode);
        return codes;
    };
    EXPECT_EQ(m_editor.MoveRow(2, RowMove::Top), 0);
    EXPECT_EQ(order(), (std::vector<KeyCode>{kC, kA, kB}));
    EXPECT_EQ(m_editor.MoveRow(0, RowMove::Bottom), 2);
    EXPECT_EQ(order(), (std::vector<KeyCode>{kA, kB, kC}));
    EXPECT_EQ(m_editor.MoveRow(0, RowMove::Up), 0);
    EXPECT_EQ(m_editor.MoveRow(0, RowMove::Down), 1);
    EXPECT_EQ(order(), (std::vector<KeyCode>{kB, kA, kC}));
    EXPECT_EQ(m_editor.SelectedRow(), 1);
    EXPECT_TRUE(m_editor.DeleteRow(1));
    EXPECT_EQ(order(), (std::vector<KeyCode>{kB, kC}));
    EXPECT_EQ(m_editor.SelectedRow(), -1);
}

// A recording as the dialog feeds it: the recorder measures, the editor places the gaps.
TEST(MacroRecorderTest, GapsLandOnTheEarlierEventAndPrintScreenIsOnePressAndOneRelease) {
    int64_t now = 1000;
    MacroRecorder recorder([&now] { return now; });
    MacroEditor editor;
    editor.Load({});
    editor.AddMacro();
    const auto event = [&](int64_t at, KeyCode code, bool press, bool recordDelays) {
        now = at;
        for (const MacroAction& action : recorder.Take(code, press)) editor.AddRecorded(action, recordDelays);
    };
    EXPECT_TRUE(recorder.Take(kA, true).empty()) << "nothing before Start";
    recorder.Start();
    event(1120, kA, true, true);
    event(1200, kA, false, true);
    event(1470, kPrintScreen, true, true);
    event(1530, kPrintScreen, false, true);
    EXPECT_EQ(Delays(editor), (std::vector<uint32_t>{80, 2, 330, 0}));
    ASSERT_EQ(editor.Rows().size(), 4u);
    EXPECT_EQ(editor.Rows()[2].keyCode, kPrintScreen);
    EXPECT_EQ(editor.Rows()[2].direction, kMacroPress);
    EXPECT_EQ(editor.Rows()[3].direction, kMacroRelease);

    // A pause past the longest delay is kept at the longest.
    event(100000, kB, true, true);
    EXPECT_EQ(editor.Rows()[3].delay, kMaxMacroDelayMs);
    recorder.Stop();
    EXPECT_TRUE(recorder.Take(kB, false).empty());
}

}  // namespace
}  // namespace vantor
