#pragma once

// A home for runs of the program as a process against vantor-sim: a temporary folder with the
// program's runtime, settings and data folders and a copy of the build's program data (the
// environment of this process points the program there), and an emulator that answers on a
// socket inside it. The program comes from VANTOR_BINARY_DIR's bin/.

#include "shell/InstanceGuard.h"

#include "mainwindow/ProgramData.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <chrono>

namespace vantor::bench {

using Clock = std::chrono::steady_clock;

class SimProgramHome {
public:
    SimProgramHome() {
        static int argc = 1;
        static char name[] = "bench_app";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
        if (!m_root.isValid() || !test::CopyProgramData(m_root.filePath("program"))) {
            m_error = "the build's bin/ with Skins is missing (set VANTOR_BINARY_DIR)";
            return;
        }
        const QString socket = m_root.filePath("sim.sock");
        qputenv("XDG_RUNTIME_DIR", m_root.filePath("runtime").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_root.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_root.filePath("data").toLocal8Bit());
        qputenv("VANTOR_PROGRAM_DIR", m_root.filePath("program").toLocal8Bit());
        qputenv("VANTOR_SIM", socket.toLocal8Bit());
        m_sim.start(Bin() + "/vantor-sim", {"--socket", socket});
        if (!m_sim.waitForStarted() || !test::WaitFor([&] { return QFile::exists(socket); }, 10000)) {
            m_error = "vantor-sim did not start";
        }
    }

    ~SimProgramHome() {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }

    SimProgramHome(const SimProgramHome&) = delete;
    SimProgramHome& operator=(const SimProgramHome&) = delete;

    // Empty when the home is ready.
    const char* Error() const { return m_error; }
    static QString Bin() { return test::BuildProgramFolder(); }
    // The socket the running instance answers on.
    QString InstanceServer() const {
        return InstanceGuard(m_root.filePath("runtime")).ServerPath();
    }
    // Ends the running instance with "/Kill" and waits for `program` to end.
    static void Kill(QProcess& program) {
        QProcess::execute(Bin() + "/vantor", {"/Kill"});
        program.waitForFinished(20000);
    }

private:
    QTemporaryDir m_root;
    QProcess m_sim;
    const char* m_error = nullptr;
};

}  // namespace vantor::bench
