// The fault matrix in the core: every operation that talks to the keyboard, against the
// in-process emulated keyboard under every fault. Each cell checks that the result names the
// true cause, that a failed operation leaves the export target, the working profile file and
// (for a paint) the colour file as they were, and that the keyboard's status block is only
// ever written with its own bytes.

#include "device/CommandReport.h"
#include "device/StatusCommands.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingBlock.h"
#include "lighting/LightingRead.h"
#include "lighting/LightingWrites.h"
#include "lighting/UserColourFile.h"
#include "macros/RewriteAllMark.h"
#include "profiles/KeyChoice.h"
#include "profiles/KeyboardProfiles.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFlows.h"
#include "shell/Paths.h"

#include "ProfileRig.h"
#include "support/FaultMatrix.h"
#include "support/TestEnvironment.h"
#include "tools/vantorctl/SampleProfile.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstring>
#include <functional>
#include <memory>

namespace vantor {
namespace {

using test::Cause;
using test::FaultRow;

Cause CauseOf(CommandResult result) {
    switch (result) {
    case CommandResult::Ok: return Cause::Done;
    case CommandResult::NoReply:
    case CommandResult::WriteFailed: return Cause::Silent;
    case CommandResult::StatusFF:
    case CommandResult::StatusFE: return Cause::Refused;
    case CommandResult::BadArgument: break;
    }
    return Cause::Other;
}

Cause CauseOf(ProfileResult result) {
    switch (result) {
    case ProfileResult::Done: return Cause::Done;
    case ProfileResult::NothingToDo:
    case ProfileResult::KeyboardNoAnswer: return Cause::Silent;
    case ProfileResult::KeyboardRefused: return Cause::Refused;
    default: return Cause::Other;
    }
}

// What an operation works on: the program's side as it stands when a command starts. The
// default key matrix is known; the macro capacity and the active profile are not, so the
// operations must read them from the keyboard under the fault.
struct ProgramSide {
    explicit ProgramSide(test::EmulatedLink& keyboard, const KeyMatrix& matrix)
        : context{keyboard.Link(), device, store, snapshot, ui} {
        device.SetDefaultKeyMatrix(matrix);
    }
    DeviceState device;
    ProfileStore store;
    ProfileStore snapshot;
    test::FakeUi ui;
    ProfileContext context;
};

struct Files {
    QString keyboardHolds;  // the profile the keyboard holds before the operation
    QString toImport;       // a different one, for import
    QString exportTarget;
    QString working;
};

struct Operation {
    const char* name;
    std::function<Cause(ProgramSide&, const Files&)> run;
    // What must hold when the operation was done.
    std::function<void(const test::EmulatedLink&, ProgramSide&, const Files&)> checkDone;
};

// A colour table with a different colour at every position, and the key a paint changes.
ColourTable PatternTable() {
    ColourTable table{};
    for (size_t i = 0; i < table.size(); ++i) table[i] = uint8_t(i * 7 + 1);
    return table;
}
constexpr int kPaintedKey = 10;

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> operations = {
        {"status",
         [](ProgramSide& side, const Files&) {
             StatusBlock status{};
             const Cause cause = CauseOf(ReadStatus(side.context.link, &status));
             side.ui.asked << QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(status.data()),
                                                             int(status.size())).toHex());
             return cause;
         },
         [](const test::EmulatedLink& keyboard, ProgramSide& side, const Files&) {
             const KeyboardFirmware firmware =
                 const_cast<test::EmulatedLink&>(keyboard).Keyboard().Firmware();
             const auto block = firmware.StatusBlock();
             const QByteArray expected(reinterpret_cast<const char*>(block.data()), int(block.size()));
             EXPECT_EQ(side.ui.asked.value(0), QString::fromLatin1(expected.toHex()));
         }},
        {"switch",
         [](ProgramSide& side, const Files&) { return CauseOf(SetCurrentProfile(side.context, 1)); },
         [](const test::EmulatedLink& keyboard, ProgramSide&, const Files&) {
             EXPECT_EQ(const_cast<test::EmulatedLink&>(keyboard).Keyboard().Firmware().ActiveProfile(), 1);
         }},
        {"lighting",
         [](ProgramSide& side, const Files&) {
             LightingBlocks blocks{};
             const Cause cause = CauseOf(ReadLightingBlocks(side.context.link, &blocks));
             for (const LightingBlock& block : blocks) {
                 side.ui.asked << QString::fromLatin1(
                     QByteArray(reinterpret_cast<const char*>(&block), int(sizeof block)).toHex());
             }
             return cause;
         },
         [](const test::EmulatedLink& keyboard, ProgramSide& side, const Files&) {
             const KeyboardFirmware firmware =
                 const_cast<test::EmulatedLink&>(keyboard).Keyboard().Firmware();
             for (int profile = 0; profile < 3; ++profile) {
                 const auto block = firmware.LightingBlock(profile);
                 EXPECT_EQ(side.ui.asked.value(profile),
                           QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(block.data()),
                                                          int(block.size()))
                                                   .toHex()))
                     << profile;
             }
         }},
        {"set_lighting",
         [](ProgramSide& side, const Files&) {
             return CauseOf(SendLightingGroup(side.context.link, BrightnessWrites(2, 1)));
         },
         [](const test::EmulatedLink& keyboard, ProgramSide&, const Files&) {
             const KeyboardFirmware firmware =
                 const_cast<test::EmulatedLink&>(keyboard).Keyboard().Firmware();
             EXPECT_EQ(firmware.LightingBlock(2)[offsetof(LightingBlock, brightness)], 1);
         }},
        {"export",
         [](ProgramSide& side, const Files& files) {
             return CauseOf(ReadKeyboardProfile(side.context, files.exportTarget));
         },
         [](const test::EmulatedLink&, ProgramSide&, const Files& files) {
             test::ExpectSameProfiles(files.keyboardHolds, files.exportTarget);
         }},
        {"import",
         [](ProgramSide& side, const Files& files) {
             return CauseOf(ImportProfile(side.context, std::move(*ReadProfileFile(files.toImport).data)));
         },
         [](const test::EmulatedLink&, ProgramSide&, const Files& files) {
             test::ExpectSameProfiles(files.toImport, files.working);
         }},
        {"reset",
         [](ProgramSide& side, const Files&) {
             const ProfileResult read = ReadKeyboardIntoStore(side.context);
             if (read != ProfileResult::Done) return CauseOf(read);
             return CauseOf(RestoreDefaultProfiles(side.context, std::nullopt));
         },
         [](const test::EmulatedLink& keyboard, ProgramSide&, const Files&) {
             const KeyboardFirmware firmware =
                 const_cast<test::EmulatedLink&>(keyboard).Keyboard().Firmware();
             const auto factory = FactoryLightingBlock();
             for (int profile = 0; profile < 3; ++profile) {
                 EXPECT_TRUE(std::ranges::equal(
                     firmware.LightingBlock(profile).first(factory.size()), factory))
                     << profile;
             }
             EXPECT_EQ(firmware.ActiveProfile(), 0);
         }},
        {"assign",
         [](ProgramSide& side, const Files&) {
             return CauseOf(AssignKey(side.context, 1, 0x1E, KeyChoice{kAssignKey, 0x15B}));
         },
         [](const test::EmulatedLink&, ProgramSide&, const Files& files) {
             // The working profile file mirrors the keyboard, which took the new key.
             std::optional<ProfileData> working = ParseProfileBytes(test::FileBytes(files.working));
             ASSERT_TRUE(working);
             EXPECT_EQ(working->Records()[512 + 0x1E].type, kAssignKey);
             EXPECT_EQ(working->Records()[512 + 0x1E].value, 0x15Bu);
         }},
        {"colour_table",
         [](ProgramSide& side, const Files&) {
             return CauseOf(WriteColourTable(side.context.link, 1, PatternTable()).command);
         },
         [](const test::EmulatedLink& keyboard, ProgramSide& side, const Files&) {
             const KeyboardFirmware firmware =
                 const_cast<test::EmulatedLink&>(keyboard).Keyboard().Firmware();
             const size_t used = side.context.link.Variant().ledSlotCount * 3;
             const ColourTable table = PatternTable();
             EXPECT_TRUE(std::ranges::equal(firmware.KeyColours(1).first(used),
                                            std::span(table).first(used)));
         }},
        {"paint",
         [](ProgramSide& side, const Files&) {
             KeyColours colours(side.context.link);
             colours.SetProfile(1);
             colours.PickKeyColour({1, 2, 3});
             const QString file = AppPaths::Current()->UserColourFile(1);
             const QByteArray before = test::FileBytes(file);
             const LightingResult painted = colours.PaintKey(kPaintedKey);
             // A paint the keyboard did not take leaves the colour file as it was.
             if (painted.outcome != LightingOutcome::Taken) {
                 EXPECT_EQ(test::FileBytes(file), before);
             }
             return CauseOf(painted.command);
         },
         [](const test::EmulatedLink& keyboard, ProgramSide&, const Files&) {
             const KeyboardFirmware firmware =
                 const_cast<test::EmulatedLink&>(keyboard).Keyboard().Firmware();
             const size_t led = size_t(LedPositionOfColourKey(kPaintedKey));
             const auto colour = firmware.KeyColours(1).subspan(led * 3, 3);
             EXPECT_EQ(std::vector<uint8_t>(colour.begin(), colour.end()),
                       (std::vector<uint8_t>{1, 2, 3}));
             EXPECT_EQ(UserColourFile(AppPaths::Current()->UserColourFile(1)).Entry(0, int(led)).colour,
                       (Rgb{1, 2, 3}));
         }},
    };
    return operations;
}

using Cell = test::MatrixCell;


class CoreFaultMatrix : public ::testing::TestWithParam<Cell> {
protected:
    CoreFaultMatrix() {
        ClearRewriteAllMark();
        m_files.keyboardHolds = m_env.Root() + "/keyboard.vpf";
        m_files.toImport = m_env.Root() + "/import.vpf";
        m_files.exportTarget = m_env.Root() + "/export.vpf";
        m_files.working = m_env.Paths().WorkingProfileFile();
        test::WriteSampleProfile(m_files.keyboardHolds, 2, 5, false);
        test::WriteSampleProfile(m_files.toImport, 3, 6);
        m_keyboard.Link().SetTimeouts({1000, test::kMatrixReplyTimeoutMs, 10});
        // The keyboard takes the first profile file, as it would from an earlier import.
        KeyMatrix matrix{};
        const KeyboardFirmware firmware = m_keyboard.Keyboard().Firmware();
        const auto factory = firmware.DefaultKeyMatrix();
        std::copy(factory.begin(), factory.end(), matrix.begin());
        m_matrix = matrix;
        ProgramSide earlier(m_keyboard, m_matrix);
        earlier.device.SetMacroCapacity(m_keyboard.Keyboard().Firmware().MacroCapacity());
        earlier.device.SetActiveProfile(0);
        EnsureProfileFolder();
        EXPECT_EQ(ImportProfile(earlier.context,
                                std::move(*ReadProfileFile(m_files.keyboardHolds).data)),
                  ProfileResult::Done);
    }
    ~CoreFaultMatrix() override { ClearRewriteAllMark(); }

    test::TestEnvironment m_env;
    test::EmulatedLink m_keyboard;
    KeyMatrix m_matrix{};
    Files m_files;
};

TEST_P(CoreFaultMatrix, TheResultNamesTheTrueCauseAndNothingIsLeftHalfDone) {
    const FaultRow& row = test::kFaultRows[GetParam().fault];
    const Operation& operation = Operations()[GetParam().operation];
    EmulatedKeyboard& keyboard = m_keyboard.Keyboard();

    int reportsBeforeUnplug = 0;
    if (row.unplug != test::UnplugAt::Never) {
        // Count the operation's requests on a run without faults.
        keyboard.ClearLog();
        ProgramSide counting(m_keyboard, m_matrix);
        ASSERT_EQ(operation.run(counting, m_files), Cause::Done);
        reportsBeforeUnplug =
            test::ReportsBeforeUnplug(row.unplug, int(m_keyboard.Requests().size()));
        ClearRewriteAllMark();
    }
    const KeyboardFirmware before = keyboard.Firmware();
    const QByteArray oldExport = "an export from before";
    const QByteArray oldWorking = "the working file from before";
    ASSERT_TRUE(test::SetFileBytes(m_files.exportTarget, oldExport));
    ASSERT_TRUE(test::SetFileBytes(m_files.working, oldWorking));
    keyboard.ClearLog();
    keyboard.SetFault(row.Switch(reportsBeforeUnplug));
    if (row.Absent()) m_keyboard.Link().SetDeviceOpen(false);

    ProgramSide side(m_keyboard, m_matrix);
    const Cause cause = operation.run(side, m_files);
    keyboard.SetFault({});

    // The core cannot tell a keyboard that left from one that fell silent.
    const Cause expected = row.expected == Cause::Absent ? Cause::Silent : row.expected;
    if (row.mayFallSilent && cause == Cause::Silent) {
        SUCCEED() << "the late keyboard missed every attempt";
    } else {
        ASSERT_EQ(cause, expected);
    }
    if (cause == Cause::Done) {
        operation.checkDone(m_keyboard, side, m_files);
    } else {
        EXPECT_EQ(test::FileBytes(m_files.exportTarget), oldExport);
        EXPECT_EQ(test::FileBytes(m_files.working), oldWorking);
    }
    test::ExpectOwnStatusWrites(before.StatusBlock(), m_keyboard.Requests());
}

INSTANTIATE_TEST_SUITE_P(
    EveryFaultAndOperation, CoreFaultMatrix, ::testing::ValuesIn(test::MatrixCells(Operations().size())),
    [](const ::testing::TestParamInfo<Cell>& info) {
        return test::CellName(info.param, Operations()[info.param.operation].name);
    });

}  // namespace
}  // namespace vantor
