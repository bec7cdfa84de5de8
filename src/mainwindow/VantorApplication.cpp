#include "mainwindow/VantorApplication.h"

#include "device/BackendSelection.h"
#include "device/DeviceLink.h"
#include "device/DeviceState.h"
#include "device/DeviceThreads.h"
#include "device/SimBackendSelection.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/DeviceEventsGate.h"
#include "shell/CommandLine.h"
#include "shell/DaemonLauncher.h"
#include "shell/InstanceGuard.h"
#include "shell/InstanceHandOff.h"
#include "shell/InstanceServer.h"
#include "shell/Paths.h"
#include "shell/SettingsStore.h"
#include "ui/FirstPaint.h"

#include <QApplication>
#include <QEvent>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <future>
#include <memory>

namespace vantor {

namespace {

QStringList ArgumentsAfterProgram(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Writes a line on standard error once the window has been painted after each showing: for
// benchmarks that time the start, and each later opening, to a visible window. Armed at once and
// again after each hiding, ahead of the next showing.
class PaintedLine : public QObject {
public:
    explicit PaintedLine(QWidget& window) : QObject(&window), m_window(window) {
        Arm();
        window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        // Not from inside the filter: a filter installed while the window's filters are
        // being run would be run for this same event.
        if (event->type() == QEvent::Hide)
            QMetaObject::invokeMethod(this, [this] { Arm(); }, Qt::QueuedConnection);
        return false;
    }

private:
    void Arm() {
        AfterFirstPaint(m_window, [] {
            std::fputs("vantor: main window painted\n", stderr);
            std::fflush(stderr);
        });
    }

    QWidget& m_window;
};

void Say(const QString& text) {
    std::fprintf(stderr, "vantor: %s\n", text.toLocal8Bit().constData());
}

// The device threads run until the process ends; at exit they are stopped while the event
// loop still turns, since the monitor may be waiting for the window to answer it.
void StopWhilePumping(const std::function<void()>& stop) {
    auto stopped = std::async(std::launch::async, stop);
    while (stopped.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

}  // namespace

int RunVantor(int argc, char** argv) {
    // Qt takes the first thread that asks for its thread data for the main thread, the one the
    // application object and the windows belong to. The device threads start before the
    // application object and make Qt objects of their own, so this thread asks first: were a
    // device thread first, the window would belong to no event loop and never show.
    QThread::currentThread();
    const CommandLine commandLine = ParseCommandLine(ArgumentsAfterProgram(argc, argv));
    // Every path from the running executable and the environment.
    const std::shared_ptr<const AppPaths> paths = AppPaths::Current();

    // A second start and a "/Kill" start end here, before any window exists.
    InstanceGuard guard(paths->RuntimeFolder());
    const HandOffResult handOff = HandOffAtStart(commandLine, guard);
    if (!handOff.message.isEmpty()) Say(handOff.message);
    if (!handOff.keepStarting) return handOff.exitCode;

    // The device threads start before anything else, so the keyboard is found and first read
    // while the window is built; what they ask of the window waits until it can take it.
    std::shared_ptr<HidBackend> backend =
        SelectBackend(commandLine.simSocket ? (commandLine.simSocket->isEmpty()
                                                   ? DefaultSimSocketPath()
                                                   : *commandLine.simSocket)
                                            : QString());
    DeviceLink link(backend);
    DeviceState deviceState;
    deviceState.SetFirstReportDone(commandLine.start);
    DeviceEventsGate gate;
    DeviceThreads deviceThreads(backend, link, deviceState, gate);
    deviceThreads.Start();

    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QString::fromUtf16(kApplicationName));

    // Requests of later starts wait in the socket until the event loop runs.
    std::unique_ptr<MainWindow> window;
    InstanceServer server([&window](const WindowMessage& message) -> uint32_t {
        return window ? window->AnswerOtherProgram(message) : 0;
    });
    QString serverError;
    if (guard.IsHeld() && !server.Listen(guard.ServerPath(), &serverError)) {
        Say(QStringLiteral("cannot serve %1: %2").arg(guard.ServerPath(), serverError));
    }
    LaunchDaemon(paths->DaemonPath());

    // The settings store before the window.
    SettingsStore::Current();

    MainWindow::Setup setup;
    setup.link = &link;
    setup.deviceState = &deviceState;
    setup.deviceEventsReady = [&] { gate.Open(*window); };
    setup.releaseInstance = [&] {
        server.Close();
        guard.Release();
    };
    window = std::make_unique<MainWindow>(paths->MainSkinFile(), paths->SkinFolder(),
                                          std::move(setup));
    // Benchmarks ask for a line on each first paint of the window to time it to a visible window.
    if (qEnvironmentVariableIsSet("VANTOR_MARK_FIRST_PAINT")) new PaintedLine(*window);
    QObject::connect(window.get(), &MainWindow::Ended, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (commandLine.start) {
        // In the tray until asked for: the window is built when it first shows.
        window->Start();
    } else {
        window->Initialise();
        // The native window is made now, while the keyboard's arrival is still being read,
        // rather than when the window is first shown.
        window->winId();
    }

    const int result = application.exec();

    gate.Close();
    StopWhilePumping([&] { deviceThreads.Stop(); });
    window.reset();
    return result;
}

}  // namespace vantor
