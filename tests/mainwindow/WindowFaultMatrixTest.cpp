// The window's flows under every fault of the keyboard, driven through the real widgets: the
// key dialog's OK and the macro page's Apply, each followed by the main window's Apply, and the
// profile manager's Apply that switches profile.

#include "mainwindow/WindowFaultMatrix.h"

#include "keyassign/MacroArea.h"
#include "keyassign/MacroPage.h"
#include "macros/RewriteAllMark.h"
#include "mainwindow/ControlIds.h"
#include "mainwindow/ProfileSlots.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileManager.h"
#include "profiles/ProfileManagerDialog.h"
#include "profiles/ProfileMenu.h"
#include "shell/AppSettings.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QtTest/QTest>

#include <linux/input-event-codes.h>

namespace vantor::test {
namespace {

using D = KeyAssignDialog;

// The main window's Apply went through: the button is off with the unapplied-changes mark.
// A failed Apply leaves both on, so the changes are sent again, and says why in one message.
bool ApplyShownDone(WindowFaultMatrix& t, int) {
    return !t.Window().Button(ControlIds::kApply)->isEnabled() && !t.Window().HasUnappliedChanges();
}

void ClickApply(WindowFaultMatrix& t) {
    ImageButton* apply = t.Window().Button(ControlIds::kApply);
    ASSERT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
}

// Key A takes another key in each run: C, B, then D.
struct RunKey {
    unsigned evdev;
    KeyCode code;
    uint8_t usage;
};
constexpr RunKey kRunKeys[] = {{KEY_C, 0x2E, 0x06}, {KEY_B, 0x30, 0x05}, {KEY_D, 0x20, 0x07}};

// A macro of the same size in each run, with another name.
QString MacroName(int run) {
    return QStringLiteral("Run%1").arg(run);
}

const std::vector<WindowFlow>& KeyDialogFlows() {
    static const std::vector<WindowFlow> flows = {
        {"ok_then_apply", [](WindowFaultMatrix&, int) {},
         [](WindowFaultMatrix& t, int run) {
             t.WhileOpen(kButtonA, [run](D& d) {
                 WindowFaultMatrix::Press(d, kRunKeys[run].evdev);
                 d.RunCommand(D::kOk);
             });
             ClickApply(t);
         },
         ApplyShownDone,
         [](WindowFaultMatrix& t, int run) {
             return ActionOfKeyA(t.Firmware()) == std::array<uint8_t, 3>{2, 2, kRunKeys[run].usage};
         },
         [](WindowFaultMatrix& t, int run, bool done, const QStringList& messages) {
             EXPECT_EQ(messages, t.MessagesFor(done, true));
             if (done)
                 return;
             // The choice stays in the store for the next Apply.
             const KeyAssignment& a = t.Record(0, RowOfCode(kKeyA));
             EXPECT_EQ(a.type, kAssignKey);
             EXPECT_EQ(a.value, kRunKeys[run].code);
         }},
        {"macro_page_apply",
         [](WindowFaultMatrix& t, int) {
             t.SetRecord(RowOfCode(kKeyA), KeyAssignment{});
             std::lock_guard lock(StoreLock());
             ASSERT_TRUE(t.Window().Store().Data().Macros().Replace({}));
         },
         [](WindowFaultMatrix& t, int run) {
             t.WhileOpen(kButtonA, [run](D& d) {
                 d.RunCommand(D::kPageMacro);
                 d.RunCommand(MacroPage::kAdd);
                 d.Macros().NameField()->selectAll();
                 QTest::keyClicks(d.Macros().NameField(), MacroName(run));
                 d.RunCommand(MacroPage::kRecord);
                 WindowFaultMatrix::Press(d, KEY_H);
                 WindowFaultMatrix::Press(d, KEY_I);
                 d.RunCommand(MacroPage::kRecord);
                 // The page's Apply puts the macro into the store and on key A; OK closes.
                 d.RunCommand(D::kApply);
                 d.RunCommand(D::kOk);
             });
             ClickApply(t);
         },
         ApplyShownDone,
         [](WindowFaultMatrix& t, int run) {
             const KeyboardFirmware firmware = t.Firmware();
             const auto macros = ParseKeyboardMacroArea(firmware.MacroAreaBytes());
             return macros && macros->size() == 1 && macros->front().name == MacroName(run) &&
                    macros->front().actions.size() == 4 &&
                    ActionOfKeyA(firmware) == std::array<uint8_t, 3>{5, 1, 0};
         },
         [](WindowFaultMatrix& t, int run, bool done, const QStringList& messages) {
             EXPECT_EQ(messages, t.MessagesFor(done, true));
             if (done)
                 return;
             std::lock_guard lock(StoreLock());
             const MacroTable& macros = t.Window().Store().Data().Macros();
             ASSERT_EQ(macros.Count(), 1);
             EXPECT_EQ(macros.Records()[0].Name(), MacroName(run));
             EXPECT_EQ(t.Record(0, RowOfCode(kKeyA)).type, kAssignMacro);
         }},
    };
    return flows;
}

// The row the profile manager shows checked, -1 for none.
int CheckedRow(ProfileManagerDialog& manager) {
    for (int r = 0; r < manager.List()->rowCount(); ++r)
        if (manager.List()->item(r, 0)->checkState() == Qt::Checked)
            return r;
    return -1;
}

constexpr int kTarget = 2;

// What the keyboard holds before the profile manager's cells: key A plays B in every profile,
// and one macro.
void GiveTheKeyboardProfiles(WindowFaultMatrix& t) {
    {
        std::lock_guard lock(StoreLock());
        ProfileData& data = t.Window().Store().Data();
        for (int block = 0; block < kOnBoardProfileCount; ++block)
            data.Records()[BlockStart(block) + RowOfCode(kKeyA)] =
                KeyAssignment{kAssignKey, 0, kKeyB, 0, 0};
        MacroRecord macro{};
        macro.SetName(QStringLiteral("Kept"));
        macro.id = 1;
        macro.cycleCount = 1;
        macro.AddAction({10, kKeyA, 0});
        ASSERT_TRUE(data.Macros().Replace({macro}));
    }
    SetRewriteAllMark();
    t.Window().SetUnappliedChanges(true);
    ASSERT_EQ(t.Window().Profiles().Apply(), 1);
}

// The store still shows what the keyboard holds, whatever the switch did: a store emptied to
// the default profile would be downloaded over the keyboard's profiles with the next Apply.
void ExpectStoreHoldsTheKeyboardsProfiles(WindowFaultMatrix& t) {
    std::lock_guard lock(StoreLock());
    const ProfileData& data = t.Window().Store().Data();
    for (int block = 0; block < kOnBoardProfileCount; ++block) {
        const KeyAssignment& a = data.Records()[BlockStart(block) + RowOfCode(kKeyA)];
        EXPECT_EQ(a.type, kAssignKey) << "profile " << block;
        EXPECT_EQ(a.value, kKeyB) << "profile " << block;
    }
    EXPECT_EQ(data.Macros().Count(), 1);
}

const std::vector<WindowFlow>& ProfileManagerFlows() {
    static const std::vector<WindowFlow> flows = {
        {"switch",
         [](WindowFaultMatrix& t, int) {
             ProfileManagerDialog& manager = t.Window().Profiles().Manager();
             manager.reject();
             t.Keyboard().EditFirmware([](KeyboardFirmware& firmware) {
                 firmware.MutableArea(
                     FirmwareArea::Status)[KeyboardFirmware::kActiveProfileOffset] = 0;
             });
             t.State().SetActiveProfile(0);
             t.Window().Profiles().UpdateProfileButtons();
             RebuildProfileMenu(t.Window().Profiles().Context());
             // Settings that the Apply changes, so that their old bytes differ from the new.
             ASSERT_TRUE(WriteAppSetting(QString::fromUtf16(ProfileManager::kSection),
                                         ProfileManager::ValueName(0), QStringLiteral("0")));
             manager.show();
             ASSERT_EQ(CheckedRow(manager), 0);
         },
         [](WindowFaultMatrix& t, int) {
             ProfileManagerDialog& manager = t.Window().Profiles().Manager();
             manager.List()->item(kTarget, 0)->setCheckState(Qt::Checked);
             manager.Button(ProfileManagerDialog::kApply)->click();
         },
         [](WindowFaultMatrix& t, int) {
             return CheckedRow(t.Window().Profiles().Manager()) == kTarget &&
                    t.Window().Button(ControlIds::kProfiles)->text() == OnBoardProfileName(kTarget);
         },
         [](WindowFaultMatrix& t, int) { return t.Firmware().ActiveProfile() == kTarget; },
         [](WindowFaultMatrix& t, int, bool done, const QStringList& messages) {
             // The switch is said only when it failed, without the note for Apply.
             EXPECT_EQ(messages, t.MessagesFor(done, false));
             ExpectStoreHoldsTheKeyboardsProfiles(t);
             ProfileManagerDialog& manager = t.Window().Profiles().Manager();
             EXPECT_FALSE(manager.Button(ProfileManagerDialog::kApply)->isEnabled());
             if (done)
                 return;
             // Neither window names the profile the keyboard did not take.
             EXPECT_NE(CheckedRow(manager), kTarget);
             EXPECT_NE(t.Window().Button(ControlIds::kProfiles)->text(),
                       OnBoardProfileName(kTarget));
         }},
    };
    return flows;
}

class KeyDialogFaultMatrix : public WindowFaultMatrix {};

TEST_P(KeyDialogFaultMatrix, TheWindowShowsWhatTheKeyboardTookAndWorksAfterwards) {
    RunCell(KeyDialogFlows());
}

INSTANTIATE_TEST_SUITE_P(EveryFaultAndFlow, KeyDialogFaultMatrix,
                         testing::ValuesIn(MatrixCells(KeyDialogFlows().size())),
                         CellNamer(KeyDialogFlows()));

class ProfileManagerFaultMatrix : public WindowFaultMatrix {
protected:
    void SetUp() override {
        WindowFaultMatrix::SetUp();
        GiveTheKeyboardProfiles(*this);
    }
    void TearDown() override {
        m_window->Profiles().Manager().reject();
        WindowFaultMatrix::TearDown();
    }
};

TEST_P(ProfileManagerFaultMatrix, TheWindowShowsWhatTheKeyboardTookAndWorksAfterwards) {
    RunCell(ProfileManagerFlows());
}

INSTANTIATE_TEST_SUITE_P(EveryFaultAndFlow, ProfileManagerFaultMatrix,
                         testing::ValuesIn(MatrixCells(ProfileManagerFlows().size())),
                         CellNamer(ProfileManagerFlows()));

}  // namespace
}  // namespace vantor::test
