// qt-floor: the least a Qt Widgets program that lives in the tray can be, for the program's
// memory and start-up to be held against. A tray icon (where the desktop has a tray, as the
// program does) and one plain window of a given size that paints itself, nothing else.
//   qt-floor --size WIDTHxHEIGHT [--show]
// It writes "qt-floor: ready" on standard error once its event loop runs and "qt-floor: window
// painted" once its window has first been painted and that frame has gone out. With --show
// the window shows at start; otherwise a line "show" or "hide" on standard input shows or
// hides it.

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace {

void Say(const char* line) {
    std::fprintf(stderr, "qt-floor: %s\n", line);
    std::fflush(stderr);
}

// Writes the painted line after the first paint of the visible window, once the frame is out.
class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(0x20, 0x20, 0x28));
        if (m_painted) return;
        m_painted = true;
        QMetaObject::invokeMethod(this, [] { Say("window painted"); }, Qt::QueuedConnection);
    }

private:
    bool m_painted = false;
};

QSize SizeArgument(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--size"));
    const QStringList parts = arguments.value(at + 1).split(u'x');
    if (at < 0 || parts.size() != 2) return {};
    return {parts[0].toInt(), parts[1].toInt()};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QSize size = SizeArgument(application.arguments());
    if (size.isEmpty()) {
        std::fputs("usage: qt-floor --size WIDTHxHEIGHT [--show]\n", stderr);
        return 2;
    }
    Window window;
    window.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    window.setFixedSize(size);

    QPixmap iconPicture(32, 32);
    iconPicture.fill(Qt::darkCyan);
    QSystemTrayIcon tray{QIcon(iconPicture)};
    if (QSystemTrayIcon::isSystemTrayAvailable()) tray.show();

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &window, [&] {
        char line[64] = {};
        const ssize_t got = ::read(STDIN_FILENO, line, sizeof line - 1);
        if (got <= 0) {
            input.setEnabled(false);
            return;
        }
        const QByteArray command = QByteArray(line, got).trimmed();
        if (command == "show") window.show();
        if (command == "hide") window.hide();
    });

    if (application.arguments().contains(QStringLiteral("--show"))) window.show();
    QMetaObject::invokeMethod(&window, [] { Say("ready"); }, Qt::QueuedConnection);
    return application.exec();
}
