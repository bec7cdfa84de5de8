// The fault matrix through the built vantorctl against vantor-sim running as a process of its
// own: every command that talks to the keyboard under every fault. Each cell checks the exit
// code names the true cause, that a failed command leaves the export target and the working
// profile file as they were, and that the status block is only ever written with the
// keyboard's own bytes.

#include "SampleProfile.h"
#include "SimServer.h"
#include "support/FaultMatrix.h"
#include "support/TestEnvironment.h"

#include "emulator/KeyboardFirmware.h"
#include "lighting/LightingBlock.h"

#include <gtest/gtest.h>

#include <QFile>

#include <functional>

namespace vantor {
namespace {

using test::Cause;
using test::FaultRow;

int ExitOf(Cause cause) {
    switch (cause) {
    case Cause::Done: return 0;
    case Cause::Absent: return 3;
    case Cause::Silent: return 5;
    case Cause::Refused: return 6;
    case Cause::Other: break;
    }
    return -1;
}

// The reports of a "ctl log" in one direction ('>' received by the keyboard, '<' sent).
std::vector<QByteArray> Reports(const QStringList& log, char direction) {
    std::vector<QByteArray> reports;
    for (const QString& line : log) {
        if (line.startsWith(QLatin1Char(direction)))
            reports.push_back(QByteArray::fromHex(line.mid(2).toLatin1()));
    }
    return reports;
}

struct Files {
    QString socket;
    QString keyboardHolds;  // the profile the keyboard holds before the command
    QString toImport;       // a different one, for import
    QString exportTarget;
    QString working;
};

test::CtlRun Ctl(const Files& files, const QStringList& command) {
    return test::RunCtl(QStringList{"--sim", files.socket, "--reply-timeout",
                                    QString::number(test::kMatrixReplyTimeoutMs)} +
                        command);
}

struct Operation {
    const char* name;
    std::function<QStringList(const Files&)> command;
    // What must hold when the command was done (the fault is off again by then).
    std::function<void(const Files&, const test::CtlRun&)> checkDone;
};

// The output of a command that only reads is what the same command shows without a fault.
void SameAsWithoutFault(const Files& files, const QStringList& command, const test::CtlRun& run) {
    const test::CtlRun clean = Ctl(files, command);
    ASSERT_EQ(clean.exit, 0) << clean.err.toStdString();
    EXPECT_EQ(run.out, clean.out);
}

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> operations = {
        {"status", [](const Files&) { return QStringList{"status"}; },
         [](const Files& files, const test::CtlRun& run) {
             EXPECT_TRUE(run.out.contains("macro capacity: 8192 bytes")) << run.out.toStdString();
             SameAsWithoutFault(files, {"status"}, run);
         }},
        {"switch", [](const Files&) { return QStringList{"switch", "1"}; },
         [](const Files& files, const test::CtlRun&) {
             EXPECT_TRUE(Ctl(files, {"status"}).out.contains("active profile: 1"));
         }},
        {"lighting", [](const Files&) { return QStringList{"lighting", "1"}; },
         [](const Files& files, const test::CtlRun& run) {
             SameAsWithoutFault(files, {"lighting", "1"}, run);
         }},
        {"set_lighting", [](const Files&) { return QStringList{"set-lighting", "2", "brightness=1"}; },
         [](const Files& files, const test::CtlRun&) {
             EXPECT_TRUE(Ctl(files, {"lighting", "2"}).out.contains("brightness: 1\n"));
         }},
        {"export", [](const Files& files) { return QStringList{"export", files.exportTarget}; },
         [](const Files& files, const test::CtlRun&) {
             test::ExpectSameProfiles(files.keyboardHolds, files.exportTarget);
         }},
        {"import", [](const Files& files) { return QStringList{"import", files.toImport}; },
         [](const Files& files, const test::CtlRun&) {
             test::ExpectSameProfiles(files.toImport, files.working);
         }},
        {"reset", [](const Files&) { return QStringList{"reset"}; },
         [](const Files& files, const test::CtlRun&) {
             EXPECT_TRUE(Ctl(files, {"status"}).out.contains("active profile: 0"));
             const int factory = FactoryLightingBlock()[offsetof(LightingBlock, brightness)];
             EXPECT_TRUE(Ctl(files, {"lighting", "2"})
                             .out.contains(QStringLiteral("brightness: %1\n").arg(factory)));
         }},
    };
    return operations;
}

using Cell = test::MatrixCell;


class CtlFaultMatrix : public ::testing::TestWithParam<Cell> {
protected:
    test::TestEnvironment m_env;
    test::ChildEnvironment m_childEnvironment{m_env.ProcessEnvironment()};
    test::SimServer m_sim;
};

TEST_P(CtlFaultMatrix, TheExitCodeNamesTheTrueCauseAndNothingIsLeftHalfDone) {
    const FaultRow& row = test::kFaultRows[GetParam().fault];
    const Operation& operation = Operations()[GetParam().operation];
    Files files{m_env.Root() + "/sim.sock", m_env.Root() + "/keyboard.vpf",
                m_env.Root() + "/import.vpf", m_env.Root() + "/export.vpf",
                m_env.Paths().WorkingProfileFile()};
    test::WriteSampleProfile(files.keyboardHolds, 2, 5, false);
    test::WriteSampleProfile(files.toImport, 3, 6);
    ASSERT_TRUE(m_sim.Start(files.socket));
    if (operation.name == std::string_view("export")) {
        const test::CtlRun run = Ctl(files, {"import", files.keyboardHolds});
        ASSERT_EQ(run.exit, 0) << run.err.toStdString();
    }
    const KeyboardFirmware factory(FirmwareVariant::B());
    const auto status = factory.StatusBlock();
    const QByteArray ownStatus(reinterpret_cast<const char*>(status.data()), int(status.size()));

    int reportsBeforeUnplug = 0;
    if (row.unplug != test::UnplugAt::Never) {
        // Count the command's requests on a run without faults.
        const size_t before = Reports(m_sim.Log(), '>').size();
        const test::CtlRun counting = Ctl(files, operation.command(files));
        ASSERT_EQ(counting.exit, 0) << counting.err.toStdString();
        reportsBeforeUnplug = test::ReportsBeforeUnplug(
            row.unplug, int(Reports(m_sim.Log(), '>').size() - before));
    }
    EnsureProfileFolder();
    const QByteArray oldExport = "an export from before";
    const QByteArray oldWorking = "the working file from before";
    ASSERT_TRUE(test::SetFileBytes(files.exportTarget, oldExport));
    ASSERT_TRUE(test::SetFileBytes(files.working, oldWorking));
    const size_t requestsBefore = Reports(m_sim.Log(), '>').size();
    ASSERT_TRUE(m_sim.Control(row.Absent() ? QStringList{"unplug"}
                                           : row.SimAction(reportsBeforeUnplug)));

    const test::CtlRun run = Ctl(files, operation.command(files));
    const QStringList log = m_sim.Log();

    const bool fellSilent = row.mayFallSilent && run.exit == ExitOf(Cause::Silent);
    ASSERT_TRUE(fellSilent || run.exit == ExitOf(row.expected))
        << "exit " << run.exit << ", expected " << row.expected << ": " << run.err.toStdString();
    if (run.exit == 0) {
        if (row.fault != EmulatorFault::None) {
            ASSERT_TRUE(m_sim.Control({"fault", "none"}));
        }
        operation.checkDone(files, run);
    } else {
        EXPECT_EQ(run.err.count(u'\n'), 1) << "one message: " << run.err.toStdString();
        EXPECT_EQ(test::FileBytes(files.exportTarget), oldExport);
        EXPECT_EQ(test::FileBytes(files.working), oldWorking);
    }
    // Every status block written carries the keyboard's own bytes, the active profile aside.
    const std::vector<QByteArray> requests = Reports(log, '>');
    for (size_t i = requestsBefore; i < requests.size(); ++i) {
        if (requests[i][3] != 0x04) continue;
        QByteArray written = requests[i].mid(8, 44);
        written[10] = ownStatus[10];
        EXPECT_EQ(written.toHex(), ownStatus.toHex());
    }
    EXPECT_TRUE(m_sim.Stop());
}

INSTANTIATE_TEST_SUITE_P(
    EveryFaultAndCommand, CtlFaultMatrix, ::testing::ValuesIn(test::MatrixCells(Operations().size())),
    [](const ::testing::TestParamInfo<Cell>& info) {
        return test::CellName(info.param, Operations()[info.param.operation].name);
    });

}  // namespace
}  // namespace vantor
